<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>MainWindowImpl</name>
    <message>
        <source>LanguageName</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>New Remote Control</source>
        <translation>Neue Fernbedienung</translation>
    </message>
    <message>
        <source>New Link</source>
        <translation>Neue Verknüpfung</translation>
    </message>
    <message>
        <source>Edit Remote Control</source>
        <translation>Fernbedienung bearbeiten</translation>
    </message>
    <message>
        <source>Delete Remote Control</source>
        <translation>Fernbedienung löschen</translation>
    </message>
    <message>
        <source>Convert Remote Control</source>
        <translation>Fernbedienung umwandeln</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Druckvorschau</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Transmit mode</source>
        <translation>Sendemodus</translation>
    </message>
    <message>
        <source>Receiver Type</source>
        <translation>Empfängertyp</translation>
    </message>
    <message>
        <source>Modulated Signal (30kHz-56kHz)</source>
        <translation>Moduliertes Signal (30kHz-56kHz)</translation>
    </message>
    <message>
        <source>Non-modulated Signal (ITT)</source>
        <translation>Unmoduliertes Signal (ITT)</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Program RC</source>
        <translation>Fernbedienung programmieren</translation>
    </message>
    <message>
        <source>Program Macro</source>
        <translation>Makro programmieren</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>Werkzeuge</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Full version</source>
        <translation>Vollversion</translation>
    </message>
    <message>
        <source>Simple version</source>
        <translation>Einfache Version</translation>
    </message>
    <message>
        <source>Whole Database</source>
        <translation>Gesamte Datenbank</translation>
    </message>
    <message>
        <source>Own</source>
        <translation>Eigene</translation>
    </message>
    <message>
        <source>Factory</source>
        <translation>Werk</translation>
    </message>
    <message>
        <source>Whole without links</source>
        <translation>Gesamt ohne Verknüpfungen</translation>
    </message>
    <message>
        <source>DATABASE:</source>
        <translation>DATENBANK:</translation>
    </message>
    <message>
        <source>Brand:</source>
        <translation>Marke:</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>Modell:</translation>
    </message>
    <message>
        <source>Image</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Image 1</source>
        <translation>Bild 1</translation>
    </message>
    <message>
        <source>Image 2</source>
        <translation>Bild 2</translation>
    </message>
    <message>
        <source>Image 3</source>
        <translation>Bild 3</translation>
    </message>
    <message>
        <source>Image 4</source>
        <translation>Bild 4</translation>
    </message>
    <message>
        <source>Image 5</source>
        <translation>Bild 5</translation>
    </message>
    <message>
        <source>Main</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Oscillograph</source>
        <translation>Oszillograph</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Verknüpfungen</translation>
    </message>
    <message>
        <source>Own data base</source>
        <translation>Eigene Datenbank</translation>
    </message>
    <message>
        <source>Correction:</source>
        <translation>Korrektur:</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Firma:</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Adresse:</translation>
    </message>
    <message>
        <source>Contact:</source>
        <translation>Kontakt:</translation>
    </message>
    <message>
        <source>Print only first image</source>
        <translation>Nur das erste Bild drucken</translation>
    </message>
    <message>
        <source>Save changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Print Options</source>
        <translation>Druckoptionen</translation>
    </message>
    <message>
        <source>Advanced filter. Show more results.</source>
        <translation>Erweiterter Filter. Mehr Ergebnisse zeigen.</translation>
    </message>
    <message>
        <source>Simple programming</source>
        <translation>Einfache Programmierung</translation>
    </message>
    <message>
        <source>Check for updates on startup</source>
        <translation>Beim Start nach Updates suchen</translation>
    </message>
    <message>
        <source>Brand</source>
        <translation>Marke</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Set Filters</source>
        <translation>Filter setzen</translation>
    </message>
    <message>
        <source>Remove Filters</source>
        <translation>Filter entfernen</translation>
    </message>
    <message>
        <source>New Search</source>
        <translation>Neue Suche</translation>
    </message>
    <message>
        <source>Remote control replacer</source>
        <translation>Fernbedienungs-Ersetzer</translation>
    </message>
    <message>
        <source>Automatic updates checking</source>
        <translation>Automatische Suche nach Updates</translation>
    </message>
    <message>
        <source>Updates are available. Do you want to update?</source>
        <translation>Es gibt Updates. Möchten Sie aktualisieren?</translation>
    </message>
    <message>
        <source>About Application</source>
        <translation>Über das Programm</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Database Date</source>
        <translation>Datenbankdatum</translation>
    </message>
</context>
<context>
    <name>UpdateDialog</name>
    <message>
        <source>Update</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Check for updates</source>
        <translation>Suche nach Updates</translation>
    </message>
    <message>
        <source>You have new software version. No need update.</source>
        <translation>Ihre Software ist aktuell. Keine Aktualisierung nötig.</translation>
    </message>
    <message>
        <source>Download updates</source>
        <translation>Updates werden heruntergeladen</translation>
    </message>
    <message>
        <source>Unable to save the file %1: %2.</source>
        <translation>Die Datei %1 kann nicht gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Update server not found</source>
        <translation>Update-Server nicht gefunden</translation>
    </message>
    <message>
        <source>Download canceled.</source>
        <translation>Herunterladen abgebrochen.</translation>
    </message>
    <message>
        <source>All updates have been downloaded.</source>
        <translation>Alle Updates wurden heruntergeladen.</translation>
    </message>
    <message>
        <source>Unpack update-software.zip</source>
        <translation>update-software.zip wird entpackt</translation>
    </message>
    <message>
        <source>The updater has been started.</source>
        <translation>Das Aktualisierungsprogramm wurde gestartet.</translation>
    </message>
    <message>
        <source>The update information on the server cannot be read.</source>
        <translation>Die Update-Angaben des Servers sind nicht lesbar.</translation>
    </message>
    <message>
        <source>Unable to unpack %1: %2</source>
        <translation>%1 kann nicht entpackt werden: %2</translation>
    </message>
    <message>
        <source>Unable to record the update in %1.</source>
        <translation>Das Update kann nicht in %1 vermerkt werden.</translation>
    </message>
    <message>
        <source>Unable to start the updater %1.</source>
        <translation>Das Aktualisierungsprogramm %1 kann nicht gestartet werden.</translation>
    </message>
</context>
</TS>
