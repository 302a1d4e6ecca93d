<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="en">
<context>
    <name>Application</name>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write the file %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the file %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CatalogueRead</name>
    <message>
        <source>the query did not run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The catalogue could not be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The catalogue file rc.db is damaged. Close the program and restore rc.db from a copy.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Another program is using rc.db. Close it, or wait until it is done, and try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Changer8in1Dialog</name>
    <message>
        <source>Remote control replacer</source>
        <translation>Remote control replacer</translation>
    </message>
    <message>
        <source>Brand:</source>
        <translation>Brand:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>Date and Time:</source>
        <translation>Date and Time:</translation>
    </message>
</context>
<context>
    <name>ConvertDialog</name>
    <message>
        <source>Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert Dialog</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmitWaitDelegate</name>
    <message>
        <source>Times go in steps of %1 ms; a time in between is rounded to the nearest step.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExchangeFile</name>
    <message>
        <source>The %1 of model %2 holds characters an XML file cannot carry.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The %1 of key %2 of model %3 holds characters an XML file cannot carry.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The version text holds characters an XML file cannot carry.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IdentityConversion</name>
    <message>
        <source>These photos could not be renamed and keep their old names:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These photos could not be renamed and were deleted, as no model has their identity:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These photos could not be deleted:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KeySheet</name>
    <message>
        <source>The keys of the model cannot be read; nothing is printed.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The print template &quot;%1&quot; is missing; nothing is printed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The print template &quot;%1&quot; cannot be read; nothing is printed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The key legend cannot be read; nothing is printed.
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MacroTreeModel</name>
    <message>
        <source>Switch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Emit, ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait, ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macro</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Id:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert Remote Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert DB</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindowImpl</name>
    <message>
        <source>Catalogue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LanguageName</source>
        <translation>English</translation>
    </message>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Remote Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit Remote Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Remote Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert Remote Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transmit mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Receiver Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modulated Signal (30kHz-56kHz)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Non-modulated Signal (ITT)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program RC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program Macro</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simple version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whole Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Own</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Factory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whole without links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DATABASE:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brand:</source>
        <translation type="unfinished">Brand:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation type="unfinished">Type:</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation type="unfinished">Model:</translation>
    </message>
    <message>
        <source>Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image 1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image 2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image 3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image 4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image 5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Main</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oscillograph</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Own data base</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Correction:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Company:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contact:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print only first image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced filter. Show more results.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simple programming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for updates on startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ID</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Filters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove Filters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote control replacer</source>
        <translation type="unfinished">Remote control replacer</translation>
    </message>
    <message>
        <source>Automatic updates checking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Updates are available. Do you want to update?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Database Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot delete key from FACTORY database.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The key could not be deleted.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB request failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB remote control not connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB remote control found, but it cannot be opened: install the udev rule (see README, Devices)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB infrared receiver is connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB infrared receiver not connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link master %1 of this model is missing; no linked model can be added.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The model was not saved.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The model was not deleted.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to delete  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This remote control has links.
All links will be deleted too!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The model was not deleted; nothing was changed.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The link master %1 of this model is missing; the photo was not stored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>do you realy want to delete this image?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo was not deleted.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The model could not be exported.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Irvanta XML Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 was not written.
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These photos could not be copied:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Irvanta Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 could not be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong import file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file was not imported.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This RC is already exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to create copy?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes - copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No - replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel - no need import</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macro programing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macro</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Program</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Information</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>device busy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too many macro keys, please delete some.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adds a step after the selected step, or at the end of the selected macro</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deletes the selected step; a macro itself stays</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro keys or names could not be read from the catalogue:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro page could not be saved in &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The search failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This conversion has the same remote type as source and target; nothing was converted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to convert?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The keys were not converted; nothing was changed.
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The key sheet could not be printed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New Remote Control Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add New RC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Edit RC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add New RC Link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This remote control cannot be deleted: its links include models of the FACTORY database.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cannot write this remote control.</source>
        <translation>cannot write this remote control.</translation>
    </message>
    <message>
        <source>cannot write this remote control. not enough flash.</source>
        <translation>cannot write this remote control. not enough flash.</translation>
    </message>
    <message>
        <source>cannot write more than two different protocols.</source>
        <translation>cannot write more than two different protocols.</translation>
    </message>
    <message>
        <source>Cannot write this protocols. Please update the programm.</source>
        <translation>Cannot write this protocols. Please update the programm.</translation>
    </message>
    <message>
        <source>The assignment could not be saved: %1</source>
        <translation>The assignment could not be saved: %1</translation>
    </message>
    <message>
        <source>The assignment could not be cleared: %1</source>
        <translation>The assignment could not be cleared: %1</translation>
    </message>
    <message>
        <source>Simple programming needs a connected programmable remote control with simple slots; nothing was sent.</source>
        <translation>Simple programming needs a connected programmable remote control with simple slots; nothing was sent.</translation>
    </message>
    <message>
        <source>Simple programming: remote type %1 has no simple slots; nothing was sent.</source>
        <translation>Simple programming: remote type %1 has no simple slots; nothing was sent.</translation>
    </message>
    <message>
        <source>Simple programming: the simple slots could not be read: %1</source>
        <translation>Simple programming: the simple slots could not be read: %1</translation>
    </message>
    <message>
        <source>DEV%1: the image of %2 is larger than the slot.</source>
        <translation>DEV%1: the image of %2 is larger than the slot.</translation>
    </message>
    <message>
        <source>DEV%1: model %2 cannot be written; the slot stays as it is.</source>
        <translation>DEV%1: model %2 cannot be written; the slot stays as it is.</translation>
    </message>
    <message>
        <source>Simple programming: %1 slots to write, %2 to clear, %3 left as they are.</source>
        <translation>Simple programming: %1 slots to write, %2 to clear, %3 left as they are.</translation>
    </message>
    <message>
        <source>are you sure you want to replace this key?</source>
        <translation>are you sure you want to replace this key?</translation>
    </message>
    <message>
        <source>cannot transmit this protocol. Please update programm.</source>
        <translation>cannot transmit this protocol. Please update programm.</translation>
    </message>
    <message>
        <source>The keys of this remote control are factory data and cannot be changed.</source>
        <translation>The keys of this remote control are factory data and cannot be changed.</translation>
    </message>
    <message>
        <source>The key could not be stored: %1</source>
        <translation>The key could not be stored: %1</translation>
    </message>
    <message>
        <source>The settings could not be saved, because &quot;%1&quot; cannot be written.
%2
Your changes stay in effect until the program ends.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The programmed image could not be saved: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slot %1 was written.</source>
        <translation>Slot %1 was written.</translation>
    </message>
    <message>
        <source>Slot %1 was cleared.</source>
        <translation>Slot %1 was cleared.</translation>
    </message>
    <message>
        <source>Simple programming: all slots were written.</source>
        <translation>Simple programming: all slots were written.</translation>
    </message>
    <message>
        <source>The macros were written to the remote control.</source>
        <translation>The macros were written to the remote control.</translation>
    </message>
    <message>
        <source>Show Log</source>
        <translation>Show Log</translation>
    </message>
    <message>
        <source>The model was not saved: these fields are empty: %1</source>
        <translation>The model was not saved: these fields are empty: %1</translation>
    </message>
    <message>
        <source>The model %1 was saved.</source>
        <translation>The model %1 was saved.</translation>
    </message>
    <message>
        <source>The model %1 was saved; the filters hide it from the list.</source>
        <translation>The model %1 was saved; the filters hide it from the list.</translation>
    </message>
    <message>
        <source>Writing the macros to the remote control...</source>
        <translation>Writing the macros to the remote control...</translation>
    </message>
    <message>
        <source>Choose a conversion in the list first; nothing was converted.</source>
        <translation>Choose a conversion in the list first; nothing was converted.</translation>
    </message>
    <message>
        <source>The model was exported to %1.</source>
        <translation>The model was exported to %1.</translation>
    </message>
    <message numerus="yes">
        <source>The model was exported without %n photo(s) to %1.</source>
        <translation>
            <numerusform>The model was exported without %n photo to %1.</numerusform>
            <numerusform>The model was exported without %n photos to %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>The catalogue was converted.</source>
        <translation>The catalogue was converted.</translation>
    </message>
    <message numerus="yes">
        <source>The keys were converted: the target remote type now holds %n key(s).</source>
        <translation>
            <numerusform>The keys were converted: the target remote type now holds %n key.</numerusform>
            <numerusform>The keys were converted: the target remote type now holds %n keys.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 software uses Qt Open Source Edition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written and maintained by the Irvanta developers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert DB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The help page could not be opened. Open it in a web browser: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file %1 is larger than %2 MiB and was not imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you really want to convert DB?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The catalogue was not converted: these identities would become one:
%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The catalogue was not converted.
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModelPhotos</name>
    <message>
        <source>The file %1 cannot be read as a picture: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo folder &quot;%1/&quot; does not exist; the photo was not stored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All %1 photo places of this model are taken; the photo was not stored.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo cannot be converted to JPEG: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; in the working directory is a file, not the photo folder; the photo was not stored.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ModelRecords</name>
    <message>
        <source>The link master %1 of this model does not exist; nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No free model identity was found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The model %1 no longer exists; nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The model %1 no longer exists.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This remote control cannot be deleted: its links include models of the FACTORY database.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo %1 was left as it is: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo %1 of a deleted model cannot be removed.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NewRemoteDialog</name>
    <message>
        <source>Rcid:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NewRemoteDialogImpl</name>
    <message>
        <source>No link master was chosen; nothing was written.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PhotoPlaces</name>
    <message>
        <source>The photo folder &quot;%1/&quot; does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo place %1 is already taken.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot remove the photo %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no photo %1 to delete.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot rename the photo %1 to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a file, not the photo folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot remove the photo %1: %2 is in the way.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo %1 cannot be put back: all %2 photo places are taken.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The photo %1 cannot be put back as %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RCModelsTableView</name>
    <message>
        <source>Catalogue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The change could not be saved.
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Company:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contact:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print only first image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advanced filter. Show more results.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simple programming</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for updates on startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWriter</name>
    <message>
        <source>the settings could not be written in full</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the file %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write the file %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SignalDisplay</name>
    <message>
        <source>address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>command:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SlotNames</name>
    <message>
        <source>1th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2nd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3rd</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>6th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>9th</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10th</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>no answer within %1 ms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the server&apos;s config.ini holds no update dates</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <source>Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You have new software version. No need update.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to save the file %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update server not found</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download canceled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All updates have been downloaded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unpack update-software.zip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The updater has been started.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update information on the server cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to unpack %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to record the update in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to start the updater %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update was stopped: %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateDownloader</name>
    <message>
        <source>no file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>received %1 of %2 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>the server %1 did not answer within %n second(s)</source>
        <translation>
            <numerusform>the server %1 did not answer within %n second</numerusform>
            <numerusform>the server %1 did not answer within %n seconds</numerusform>
        </translation>
    </message>
    <message>
        <source>the server sent the request on to another address, %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is larger than %2 bytes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ZipUnpacker</name>
    <message>
        <source>it unpacks to more than %1 bytes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it holds more than %1 entries</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>stopped</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
