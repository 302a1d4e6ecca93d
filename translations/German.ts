<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>Application</name>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Cannot write the file %1: %2</source>
        <translation>Die Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot read the file %1: %2</source>
        <translation>Die Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
</context>
<context>
    <name>CatalogueRead</name>
    <message>
        <source>the query did not run</source>
        <translation>die Abfrage wurde nicht ausgeführt</translation>
    </message>
    <message>
        <source>The catalogue could not be read: %1</source>
        <translation>Der Katalog konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The catalogue file rc.db is damaged. Close the program and restore rc.db from a copy.</source>
        <translation>Die Katalogdatei rc.db ist beschädigt. Schließen Sie das Programm und stellen Sie rc.db aus einer Sicherung wieder her.</translation>
    </message>
    <message>
        <source>Another program is using rc.db. Close it, or wait until it is done, and try again.</source>
        <translation>Ein anderes Programm verwendet rc.db. Schließen Sie es oder warten Sie, bis es fertig ist, und versuchen Sie es erneut.</translation>
    </message>
</context>
<context>
    <name>CheckedFile</name>
    <message>
        <source>not a regular file but a folder</source>
        <translation>keine gewöhnliche Datei, sondern ein Ordner</translation>
    </message>
    <message>
        <source>not a regular file but a named pipe</source>
        <translation>keine gewöhnliche Datei, sondern eine benannte Pipe</translation>
    </message>
    <message>
        <source>not a regular file but a device</source>
        <translation>keine gewöhnliche Datei, sondern ein Gerät</translation>
    </message>
    <message>
        <source>not a regular file but a socket</source>
        <translation>keine gewöhnliche Datei, sondern ein Socket</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>larger than %1 MiB</source>
        <translation>größer als %1 MiB</translation>
    </message>
    <message>
        <source>larger than %1 bytes</source>
        <translation>größer als %1 Bytes</translation>
    </message>
    <message>
        <source>Cannot read the file %1: %2</source>
        <translation>Die Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>it changed while it was read</source>
        <translation>sie hat sich beim Lesen geändert</translation>
    </message>
    <message>
        <source>Cannot write the file %1: %2</source>
        <translation>Die Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>Changer8in1Dialog</name>
    <message>
        <source>Remote control replacer</source>
        <translation>Fernbedienungs-Ersetzer</translation>
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
        <source>Date and Time:</source>
        <translation>Datum und Uhrzeit:</translation>
    </message>
</context>
<context>
    <name>ConvertDialog</name>
    <message>
        <source>Convert</source>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Convert Dialog</source>
        <translation>Umwandlungsdialog</translation>
    </message>
</context>
<context>
    <name>EmitWaitDelegate</name>
    <message>
        <source>Times go in steps of %1 ms; a time in between is rounded to the nearest step.</source>
        <translation>Zeiten gehen in Schritten von %1 ms; eine Zeit dazwischen wird auf den nächsten Schritt gerundet.</translation>
    </message>
</context>
<context>
    <name>ExchangeFile</name>
    <message>
        <source>The %1 of model %2 holds characters an XML file cannot carry.</source>
        <translation>Das Feld %1 des Modells %2 enthält Zeichen, die eine XML-Datei nicht aufnehmen kann.</translation>
    </message>
    <message>
        <source>The %1 of key %2 of model %3 holds characters an XML file cannot carry.</source>
        <translation>Das Feld %1 der Taste %2 des Modells %3 enthält Zeichen, die eine XML-Datei nicht aufnehmen kann.</translation>
    </message>
    <message>
        <source>The version text holds characters an XML file cannot carry.</source>
        <translation>Der Versionstext enthält Zeichen, die eine XML-Datei nicht aufnehmen kann.</translation>
    </message>
    <message>
        <source>The Documentation of model %1 is longer than %2 characters, more than an import takes.</source>
        <translation>Die Dokumentation des Modells %1 ist länger als %2 Zeichen, mehr als ein Import annimmt.</translation>
    </message>
    <message>
        <source>Correction &quot;%1&quot; is not a number from -20 to 20</source>
        <translation>Correction „%1“ ist keine Zahl von -20 bis 20</translation>
    </message>
    <message>
        <source>Documentation is longer than %1 characters</source>
        <translation>Documentation ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>Prot &quot;%1&quot; is not a protocol number</source>
        <translation>Prot „%1“ ist keine Protokollnummer</translation>
    </message>
    <message>
        <source>the file has a document type declaration</source>
        <translation>die Datei hat eine Dokumenttyp-Deklaration</translation>
    </message>
    <message>
        <source>elements nested deeper than %1 levels</source>
        <translation>Elemente sind tiefer als %1 Ebenen verschachtelt</translation>
    </message>
    <message>
        <source>not well-formed XML (line %1, column %2: %3)</source>
        <translation>kein wohlgeformtes XML (Zeile %1, Spalte %2: %3)</translation>
    </message>
    <message>
        <source>the first child of the root is not RCDescription</source>
        <translation>das erste Kindelement der Wurzel ist nicht RCDescription</translation>
    </message>
    <message>
        <source>Rcid, Brand, Type, Model or RCTypeId is missing</source>
        <translation>Rcid, Brand, Type, Model oder RCTypeId fehlt</translation>
    </message>
    <message>
        <source>Rcid &quot;%1&quot; is not a model identity</source>
        <translation>Rcid „%1“ ist keine Modellkennung</translation>
    </message>
    <message>
        <source>RCTypeId &quot;%1&quot; is not a remote type</source>
        <translation>RCTypeId „%1“ ist kein Fernbedienungstyp</translation>
    </message>
    <message>
        <source>no RCKeys group follows RCDescription</source>
        <translation>auf RCDescription folgt keine Gruppe RCKeys</translation>
    </message>
    <message>
        <source>key position &quot;%1&quot; has no key on remote type %2</source>
        <translation>die Tastenposition „%1“ hat keine Taste auf dem Fernbedienungstyp %2</translation>
    </message>
    <message>
        <source>key &quot;%1&quot;: position &quot;%2&quot; has no key on remote type %3</source>
        <translation>Taste „%1“: die Position „%2“ hat keine Taste auf dem Fernbedienungstyp %3</translation>
    </message>
    <message>
        <source>key number &quot;%1&quot; is not 0 to %2</source>
        <translation>die Tastennummer „%1“ liegt nicht zwischen 0 und %2</translation>
    </message>
    <message>
        <source>link Rcid &quot;%1&quot; is not a model identity</source>
        <translation>die Rcid „%1“ eines verknüpften Modells ist keine Modellkennung</translation>
    </message>
    <message>
        <source>link %1: %2</source>
        <translation>verknüpftes Modell %1: %2</translation>
    </message>
</context>
<context>
    <name>ExchangeImport</name>
    <message>
        <source>no RCLinks group follows RCKeys</source>
        <translation>auf RCKeys folgt keine Gruppe RCLinks</translation>
    </message>
    <message>
        <source>The file&apos;s model %1 is linked to the link master %2 in the catalogue; an import does not rewrite a model of another link master.</source>
        <translation>Das Modell %1 der Datei ist im Katalog mit dem Leitmodell %2 verknüpft; ein Import überschreibt kein Modell eines anderen Leitmodells.</translation>
    </message>
    <message>
        <source>Link %1 skipped: it is the imported model itself.</source>
        <translation>Verknüpfung %1 übersprungen: sie ist das importierte Modell selbst.</translation>
    </message>
    <message>
        <source>Link %1 skipped: it is a link master of the catalogue.</source>
        <translation>Verknüpfung %1 übersprungen: sie ist ein Leitmodell des Katalogs.</translation>
    </message>
    <message>
        <source>Link %1 skipped: it belongs to master %2 of the catalogue.</source>
        <translation>Verknüpfung %1 übersprungen: sie gehört zum Leitmodell %2 des Katalogs.</translation>
    </message>
</context>
<context>
    <name>IdentityConversion</name>
    <message>
        <source>These photos could not be renamed and keep their old names:
%1</source>
        <translation>Diese Fotos konnten nicht umbenannt werden und behalten ihre alten Namen:
%1</translation>
    </message>
    <message>
        <source>These photos could not be renamed and were deleted, as no model has their identity:
%1</source>
        <translation>Diese Fotos konnten nicht umbenannt werden und wurden gelöscht, da kein Modell ihre Kennung hat:
%1</translation>
    </message>
    <message>
        <source>These photos could not be deleted:
%1</source>
        <translation>Diese Fotos konnten nicht gelöscht werden:
%1</translation>
    </message>
</context>
<context>
    <name>ImportValues</name>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>Lines skipped: %1</source>
        <translation>Übersprungene Zeilen: %1</translation>
    </message>
    <message>
        <source>the brand is longer than %1 characters</source>
        <translation>die Marke ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>the type is longer than %1 characters</source>
        <translation>der Typ ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>the model is longer than %1 characters</source>
        <translation>das Modell ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>the key name is longer than %1 characters</source>
        <translation>der Tastenname ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>the key code is longer than %1 characters</source>
        <translation>der Tastencode ist länger als %1 Zeichen</translation>
    </message>
</context>
<context>
    <name>KestrulFile</name>
    <message>
        <source>the file is larger than %1 bytes</source>
        <translation>die Datei ist größer als %1 Bytes</translation>
    </message>
    <message>
        <source>the first line is not &quot;FileFormat=KESTRUL&quot;</source>
        <translation>die erste Zeile ist nicht „FileFormat=KESTRUL“</translation>
    </message>
    <message>
        <source>key line &quot;%1&quot; has no code</source>
        <translation>die Tastenzeile „%1“ hat keinen Code</translation>
    </message>
    <message>
        <source>key %1 is not 0 to 85</source>
        <translation>die Taste %1 liegt nicht zwischen 0 und 85</translation>
    </message>
    <message>
        <source>code &quot;%1&quot; is unknown or has too few numbers</source>
        <translation>der Code „%1“ ist unbekannt oder hat zu wenige Zahlen</translation>
    </message>
</context>
<context>
    <name>KeySheet</name>
    <message>
        <source>The keys of the model cannot be read; nothing is printed.
%1</source>
        <translation>Die Tasten des Modells können nicht gelesen werden; es wird nichts gedruckt.
%1</translation>
    </message>
    <message>
        <source>The print template &quot;%1&quot; is missing; nothing is printed.</source>
        <translation>Die Druckvorlage &quot;%1&quot; fehlt; es wird nichts gedruckt.</translation>
    </message>
    <message>
        <source>The print template &quot;%1&quot; cannot be read; nothing is printed.</source>
        <translation>Die Druckvorlage &quot;%1&quot; kann nicht gelesen werden; es wird nichts gedruckt.</translation>
    </message>
    <message>
        <source>The key legend cannot be read; nothing is printed.
%1</source>
        <translation>Die Tastenbeschriftung kann nicht gelesen werden; es wird nichts gedruckt.
%1</translation>
    </message>
</context>
<context>
    <name>KeysPanelRules</name>
    <message>
        <source>The connected remote control is not of the chosen remote control type %1.</source>
        <translation>Die angeschlossene Fernbedienung gehört nicht zum gewählten Fernbedienungstyp %1.</translation>
    </message>
    <message>
        <source>%1 %2 has no keys for the remote control type %3.</source>
        <translation>%1 %2 hat keine Tasten für den Fernbedienungstyp %3.</translation>
    </message>
    <message>
        <source>No model is chosen.</source>
        <translation>Es ist kein Modell gewählt.</translation>
    </message>
    <message>
        <source>No slot holds a model yet: add one with &quot;+&quot;.</source>
        <translation>Noch ist kein Speicherplatz belegt: fügen Sie mit „+“ ein Modell hinzu.</translation>
    </message>
    <message>
        <source>%1 %2 has only one key for the remote control type %3; a slot needs at least two.</source>
        <translation>%1 %2 hat nur eine Taste für den Fernbedienungstyp %3; ein Speicherplatz braucht mindestens zwei.</translation>
    </message>
    <message>
        <source>No programmable remote control is connected.</source>
        <translation>Es ist keine programmierbare Fernbedienung angeschlossen.</translation>
    </message>
</context>
<context>
    <name>Leftovers</name>
    <message>
        <source>The leftover %1 of an interrupted write cannot be removed.</source>
        <translation>Der Rest %1 eines unterbrochenen Schreibvorgangs kann nicht entfernt werden.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be searched for leftovers of interrupted writes: %2</source>
        <translation>Der Ordner %1 kann nicht nach Resten unterbrochener Schreibvorgänge durchsucht werden: %2</translation>
    </message>
    <message>
        <source>The folder %1 cannot be put back from %2: %3</source>
        <translation>Der Ordner %1 kann nicht aus %2 zurückgelegt werden: %3</translation>
    </message>
</context>
<context>
    <name>MacroDialog</name>
    <message>
        <source>Program</source>
        <translation type="vanished">Programmieren</translation>
    </message>
</context>
<context>
    <name>MacroTreeModel</name>
    <message>
        <source>Switch</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Taste</translation>
    </message>
    <message>
        <source>Emit, ms</source>
        <translation>Senden, ms</translation>
    </message>
    <message>
        <source>Wait, ms</source>
        <translation>Warten, ms</translation>
    </message>
    <message>
        <source>Macro</source>
        <translation>Makro</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Id:</source>
        <translation>Id:</translation>
    </message>
    <message>
        <source>Link:</source>
        <translation>Verknüpfung:</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programmieren</translation>
    </message>
    <message>
        <source>Convert Remote Control</source>
        <translation>Fernbedienung umwandeln</translation>
    </message>
    <message>
        <source>Convert DB</source>
        <translation>Datenbank umwandeln</translation>
    </message>
</context>
<context>
    <name>MainWindowImpl</name>
    <message>
        <source>Catalogue</source>
        <translation>Katalog</translation>
    </message>
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
        <translation>Gesamt</translation>
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
        <translation>Gesamt ohne Links</translation>
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
        <translation>Links</translation>
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
    <message>
        <source>information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>cannot delete key from FACTORY database.</source>
        <translation>Tasten der Werksdatenbank können nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>The key could not be deleted.
%1</source>
        <translation>Die Taste konnte nicht gelöscht werden.
%1</translation>
    </message>
    <message>
        <source>USB request failed: %1</source>
        <translation>USB-Auftrag fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>USB remote control not connected</source>
        <translation>USB-Fernbedienung nicht angeschlossen</translation>
    </message>
    <message>
        <source>USB remote control found, but it cannot be opened: install the udev rule (see README, Devices)</source>
        <translation>USB-Fernbedienung gefunden, lässt sich aber nicht öffnen: udev-Regel installieren (siehe README, Devices)</translation>
    </message>
    <message>
        <source>USB infrared receiver is connected</source>
        <translation>USB-Infrarotempfänger ist angeschlossen</translation>
    </message>
    <message>
        <source>is connected</source>
        <translation>ist angeschlossen</translation>
    </message>
    <message>
        <source>USB infrared receiver not connected</source>
        <translation>USB-Infrarotempfänger nicht angeschlossen</translation>
    </message>
    <message>
        <source>The settings could not be saved, because &quot;%1&quot; cannot be written.
Your changes stay in effect until the program ends.</source>
        <translation type="vanished">Die Einstellungen konnten nicht gespeichert werden, weil &quot;%1&quot; nicht geschrieben werden kann.
Ihre Änderungen gelten bis zum Programmende.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>The link master %1 of this model is missing; no linked model can be added.</source>
        <translation>Das Leitmodell %1 dieses Modells fehlt; es kann kein verknüpftes Modell hinzugefügt werden.</translation>
    </message>
    <message>
        <source>The model was not saved.
%1</source>
        <translation>Das Modell wurde nicht gespeichert.
%1</translation>
    </message>
    <message>
        <source>The model was not deleted.
%1</source>
        <translation>Das Modell wurde nicht gelöscht.
%1</translation>
    </message>
    <message>
        <source>Do you really want to delete  </source>
        <translation>Wollen Sie wirklich löschen:  </translation>
    </message>
    <message>
        <source>This remote control has links.
All links will be deleted too!</source>
        <translation>Diese Fernbedienung hat Verknüpfungen.
Alle Verknüpfungen werden ebenfalls gelöscht!</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>The model was not deleted; nothing was changed.
%1</source>
        <translation>Das Modell wurde nicht gelöscht; nichts wurde geändert.
%1</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <source>Image Files</source>
        <translation>Bilddateien</translation>
    </message>
    <message>
        <source>The link master %1 of this model is missing; the photo was not stored.</source>
        <translation>Das Leitmodell %1 dieses Modells fehlt; das Foto wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>do you realy want to delete this image?</source>
        <translation>Wollen Sie dieses Bild wirklich löschen?</translation>
    </message>
    <message>
        <source>The photo was not deleted.
%1</source>
        <translation>Das Foto wurde nicht gelöscht.
%1</translation>
    </message>
    <message>
        <source>The model could not be exported.
%1</source>
        <translation>Das Modell konnte nicht exportiert werden.
%1</translation>
    </message>
    <message>
        <source>Irvanta XML Files</source>
        <translation>Irvanta-XML-Dateien</translation>
    </message>
    <message>
        <source>The file %1 was not written.
%2</source>
        <translation>Die Datei %1 wurde nicht geschrieben.
%2</translation>
    </message>
    <message>
        <source>These photos could not be copied:
%1</source>
        <translation>Diese Fotos konnten nicht kopiert werden:
%1</translation>
    </message>
    <message>
        <source>Irvanta Files</source>
        <translation>Irvanta-Dateien</translation>
    </message>
    <message>
        <source>The file %1 could not be read.</source>
        <translation>Die Datei %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Import: %1</source>
        <translation>Import: %1</translation>
    </message>
    <message>
        <source>Export: %1</source>
        <translation>Export: %1</translation>
    </message>
    <message>
        <source>These files were not read; the program goes on without them.</source>
        <translation>Diese Dateien wurden nicht gelesen; das Programm arbeitet ohne sie weiter.</translation>
    </message>
    <message>
        <source>The program&apos;s default settings are used.</source>
        <translation>Es gelten die Voreinstellungen des Programms.</translation>
    </message>
    <message>
        <source>Wrong import file</source>
        <translation>Falsche Importdatei</translation>
    </message>
    <message>
        <source>The file was not imported.
%1</source>
        <translation>Die Datei wurde nicht importiert.
%1</translation>
    </message>
    <message>
        <source>This RC is already exists.</source>
        <translation>Diese Fernbedienung ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>Do you want to create copy?</source>
        <translation>Möchten Sie eine Kopie anlegen?</translation>
    </message>
    <message>
        <source>Yes - copy</source>
        <translation>Ja - kopieren</translation>
    </message>
    <message>
        <source>No - replace</source>
        <translation>Nein - ersetzen</translation>
    </message>
    <message>
        <source>Cancel - no need import</source>
        <translation>Abbrechen - nicht importieren</translation>
    </message>
    <message>
        <source>Macro programing</source>
        <translation>Makroprogrammierung</translation>
    </message>
    <message>
        <source>Macro</source>
        <translation>Makro</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programmieren</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>device busy</source>
        <translation>Gerät beschäftigt</translation>
    </message>
    <message>
        <source>Too many macro keys, please delete some.</source>
        <translation>Zu viele Makrotasten, bitte einige löschen.</translation>
    </message>
    <message>
        <source>Adds a step after the selected step, or at the end of the selected macro</source>
        <translation>Fügt einen Schritt nach dem gewählten Schritt ein, oder am Ende des gewählten Makros</translation>
    </message>
    <message>
        <source>Deletes the selected step; a macro itself stays</source>
        <translation>Löscht den gewählten Schritt; ein Makro selbst bleibt</translation>
    </message>
    <message>
        <source>The macro keys or names could not be read from the catalogue:
%1</source>
        <translation>Die Makrotasten oder -namen konnten nicht aus dem Katalog gelesen werden:
%1</translation>
    </message>
    <message>
        <source>The macro page could not be saved in &quot;%1&quot;.</source>
        <translation>Die Makroseite konnte nicht in „%1“ gespeichert werden.</translation>
    </message>
    <message>
        <source>The search failed: %1</source>
        <translation>Die Suche ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The model list is empty until a search or filter can be read.</source>
        <translation>Die Modellliste bleibt leer, bis eine Suche oder ein Filter gelesen werden kann.</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Converting</source>
        <translation>Umwandlung</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>This conversion has the same remote type as source and target; nothing was converted.</source>
        <translation>Diese Umwandlung hat denselben Fernbedienungstyp als Quelle und Ziel; nichts wurde umgewandelt.</translation>
    </message>
    <message>
        <source>Do you really want to convert?</source>
        <translation>Wollen Sie wirklich umwandeln?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>The keys were not converted; nothing was changed.
%1</source>
        <translation>Die Tasten wurden nicht umgewandelt; nichts wurde geändert.
%1</translation>
    </message>
    <message>
        <source>The key sheet could not be printed.</source>
        <translation>Das Tastenblatt konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>New Remote Control Link</source>
        <translation>Neue verknüpfte Fernbedienung</translation>
    </message>
    <message>
        <source>Add New RC</source>
        <translation>Neue FB hinzufügen</translation>
    </message>
    <message>
        <source>Edit RC</source>
        <translation>FB bearbeiten</translation>
    </message>
    <message>
        <source>Add New RC Link</source>
        <translation>Neue FB-Verknüpfung hinzufügen</translation>
    </message>
    <message>
        <source>This remote control cannot be deleted: its links include models of the FACTORY database.</source>
        <translation>Diese Fernbedienung kann nicht gelöscht werden: Zu ihren Verknüpfungen gehören Modelle der Werksdatenbank.</translation>
    </message>
    <message>
        <source>cannot write this remote control.</source>
        <translation>Diese Fernbedienung kann nicht beschrieben werden.</translation>
    </message>
    <message>
        <source>cannot write this remote control. not enough flash.</source>
        <translation>Diese Fernbedienung kann nicht beschrieben werden. Nicht genug Speicher.</translation>
    </message>
    <message>
        <source>cannot write more than two different protocols.</source>
        <translation>Mehr als zwei verschiedene Protokolle können nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Cannot write this protocols. Please update the programm.</source>
        <translation>Diese Protokolle können nicht geschrieben werden. Bitte aktualisieren Sie das Programm.</translation>
    </message>
    <message>
        <source>The assignment could not be saved: %1</source>
        <translation>Die Zuordnung konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The assignment could not be cleared: %1</source>
        <translation>Die Zuordnung konnte nicht gelöscht werden: %1</translation>
    </message>
    <message>
        <source>Simple programming needs a connected programmable remote control with simple slots; nothing was sent.</source>
        <translation>Die einfache Programmierung braucht eine angeschlossene programmierbare Fernbedienung mit einfachen Speicherplätzen; es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>Simple programming: remote type %1 has no simple slots; nothing was sent.</source>
        <translation>Einfache Programmierung: Fernbedienungstyp %1 hat keine einfachen Speicherplätze; es wurde nichts gesendet.</translation>
    </message>
    <message>
        <source>Simple programming: the simple slots could not be read: %1</source>
        <translation>Einfache Programmierung: Die einfachen Speicherplätze konnten nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>DEV%1: the image of %2 is larger than the slot.</source>
        <translation>DEV%1: Das Abbild von %2 ist größer als der Speicherplatz.</translation>
    </message>
    <message>
        <source>DEV%1: model %2 cannot be written; the slot stays as it is.</source>
        <translation>DEV%1: Modell %2 kann nicht geschrieben werden; der Speicherplatz bleibt, wie er ist.</translation>
    </message>
    <message>
        <source>Simple programming: %1 slots to write, %2 to clear, %3 left as they are.</source>
        <translation>Einfache Programmierung: %1 Speicherplätze zu schreiben, %2 zu löschen, %3 bleiben, wie sie sind.</translation>
    </message>
    <message>
        <source>are you sure you want to replace this key?</source>
        <translation>Sind Sie sicher, dass Sie diese Taste ersetzen wollen?</translation>
    </message>
    <message>
        <source>cannot transmit this protocol. Please update programm.</source>
        <translation>Dieses Protokoll kann nicht gesendet werden. Bitte aktualisieren Sie das Programm.</translation>
    </message>
    <message>
        <source>Cannot transmit this key: the code of protocol %1 for this remote makes a frame of %2 reports, one transmission carries at most %3.</source>
        <translation>Diese Taste kann nicht gesendet werden: Der Code von Protokoll %1 für diese Fernbedienung ergibt einen Rahmen aus %2 Berichten, eine Sendung fasst höchstens %3.</translation>
    </message>
    <message>
        <source>The keys of this remote control are factory data and cannot be changed.</source>
        <translation>Die Tasten dieser Fernbedienung sind Werksdaten und können nicht geändert werden.</translation>
    </message>
    <message>
        <source>The key could not be stored: %1</source>
        <translation>Die Taste konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>The settings could not be saved, because &quot;%1&quot; cannot be written.
%2
Your changes stay in effect until the program ends.</source>
        <translation>Die Einstellungen konnten nicht gespeichert werden, weil &quot;%1&quot; nicht geschrieben werden kann.
%2
Ihre Änderungen gelten bis zum Programmende.</translation>
    </message>
    <message>
        <source>The programmed image could not be saved: %1</source>
        <translation>Das programmierte Abbild konnte nicht gespeichert werden: %1</translation>
    </message>
    <message>
        <source>Slot %1 was written.</source>
        <translation>Steckplatz %1 wurde geschrieben.</translation>
    </message>
    <message>
        <source>Slot %1 was cleared.</source>
        <translation>Steckplatz %1 wurde gelöscht.</translation>
    </message>
    <message>
        <source>Simple programming: all slots were written.</source>
        <translation>Einfache Programmierung: alle Steckplätze wurden geschrieben.</translation>
    </message>
    <message>
        <source>The macros were written to the remote control.</source>
        <translation>Die Makros wurden in die Fernbedienung geschrieben.</translation>
    </message>
    <message>
        <source>Show Log</source>
        <translation>Protokoll anzeigen</translation>
    </message>
    <message>
        <source>The model was not saved: these fields are empty: %1</source>
        <translation>Das Modell wurde nicht gespeichert: diese Felder sind leer: %1</translation>
    </message>
    <message>
        <source>The model %1 %2 was saved.</source>
        <translation>Das Modell %1 %2 wurde gespeichert.</translation>
    </message>
    <message>
        <source>The model %1 %2 was saved; the filters hide it from the list.</source>
        <translation>Das Modell %1 %2 wurde gespeichert; die Filter blenden es in der Liste aus.</translation>
    </message>
    <message>
        <source>The model %1 %2 and its links were deleted.</source>
        <translation>Das Modell %1 %2 und seine Verknüpfungen wurden gelöscht.</translation>
    </message>
    <message>
        <source>The model %1 %2 was deleted.</source>
        <translation>Das Modell %1 %2 wurde gelöscht.</translation>
    </message>
    <message>
        <source>The model %1 %2 was imported.</source>
        <translation>Das Modell %1 %2 wurde importiert.</translation>
    </message>
    <message>
        <source>The key sheet was sent to the printer %1.</source>
        <translation>Das Tastenblatt wurde an den Drucker %1 gesendet.</translation>
    </message>
    <message>
        <source>The key sheet was printed to %1.</source>
        <translation>Das Tastenblatt wurde in die Datei %1 gedruckt.</translation>
    </message>
    <message>
        <source>The code %1 replaced the key&apos;s former code in %2 %3.</source>
        <translation>Der Code %1 hat den bisherigen Code der Taste in %2 %3 ersetzt.</translation>
    </message>
    <message>
        <source>The code %1 was stored in %2 %3.</source>
        <translation>Der Code %1 wurde in %2 %3 gespeichert.</translation>
    </message>
    <message>
        <source>The settings were not saved; they stay in effect until the program ends.</source>
        <translation>Die Einstellungen wurden nicht gespeichert; sie gelten bis zum Ende des Programms.</translation>
    </message>
    <message>
        <source>The settings were saved.</source>
        <translation>Die Einstellungen wurden gespeichert.</translation>
    </message>
    <message>
        <source>Writing the macros to the remote control...</source>
        <translation>Die Makros werden in die Fernbedienung geschrieben...</translation>
    </message>
    <message>
        <source>Choose a conversion in the list first; nothing was converted.</source>
        <translation>Wählen Sie zuerst eine Umwandlung in der Liste; es wurde nichts umgewandelt.</translation>
    </message>
    <message>
        <source>The model was exported to %1.</source>
        <translation>Das Modell wurde nach %1 exportiert.</translation>
    </message>
    <message numerus="yes">
        <source>The model was exported without %n photo(s) to %1.</source>
        <translation>
            <numerusform>Das Modell wurde ohne %n Foto nach %1 exportiert.</numerusform>
            <numerusform>Das Modell wurde ohne %n Fotos nach %1 exportiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>The catalogue was converted.</source>
        <translation>Der Katalog wurde umgewandelt.</translation>
    </message>
    <message numerus="yes">
        <source>The keys were converted: the target remote type now holds %n key(s).</source>
        <translation>
            <numerusform>Die Tasten wurden umgewandelt: der Ziel-Fernbedienungstyp hat jetzt %n Taste.</numerusform>
            <numerusform>Die Tasten wurden umgewandelt: der Ziel-Fernbedienungstyp hat jetzt %n Tasten.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 software uses Qt Open Source Edition</source>
        <translation>Die Software %1 verwendet Qt Open Source Edition</translation>
    </message>
    <message>
        <source>Written and maintained by the Irvanta developers.</source>
        <translation>Geschrieben und gepflegt von den Irvanta-Entwicklern.</translation>
    </message>
    <message>
        <source>Convert DB</source>
        <translation>Datenbank umwandeln</translation>
    </message>
    <message>
        <source>The help page could not be opened. Open it in a web browser: %1</source>
        <translation>Die Hilfeseite konnte nicht geöffnet werden. Öffnen Sie sie in einem Webbrowser: %1</translation>
    </message>
    <message>
        <source>The file %1 is larger than %2 MiB and was not imported.</source>
        <translation>Die Datei %1 ist größer als %2 MiB und wurde nicht importiert.</translation>
    </message>
    <message>
        <source>Do you really want to convert DB?</source>
        <translation>Möchten Sie die Datenbank wirklich umwandeln?</translation>
    </message>
    <message>
        <source>The catalogue was not converted: these identities would become one:
%1</source>
        <translation>Der Katalog wurde nicht umgewandelt: Diese Kennungen würden zu einer:
%1</translation>
    </message>
    <message>
        <source>The catalogue was not converted.
%1</source>
        <translation>Der Katalog wurde nicht umgewandelt.
%1</translation>
    </message>
    <message>
        <source>The model %1 %2 was imported without keys: the file holds no key this program can read.</source>
        <translation>Das Modell %1 %2 wurde ohne Tasten importiert: die Datei enthält keine Taste, die dieses Programm lesen kann.</translation>
    </message>
</context>
<context>
    <name>ModelPhotos</name>
    <message>
        <source>The file %1 cannot be read as a picture: %2</source>
        <translation>Die Datei %1 ist kein lesbares Bild: %2</translation>
    </message>
    <message>
        <source>The photo folder &quot;%1/&quot; does not exist; the photo was not stored.</source>
        <translation>Der Fotoordner &quot;%1/&quot; fehlt; das Foto wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>All %1 photo places of this model are taken; the photo was not stored.</source>
        <translation>Alle %1 Fotoplätze dieses Modells sind belegt; das Foto wurde nicht gespeichert.</translation>
    </message>
    <message>
        <source>The photo cannot be converted to JPEG: %1</source>
        <translation>Das Foto kann nicht in JPEG umgewandelt werden: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; in the working directory is a file, not the photo folder; the photo was not stored.</source>
        <translation>&quot;%1&quot; im Arbeitsverzeichnis ist eine Datei, kein Fotoordner; das Foto wurde nicht gespeichert.</translation>
    </message>
</context>
<context>
    <name>ModelRecords</name>
    <message>
        <source>The link master %1 of this model does not exist; nothing was written.</source>
        <translation>Das Leitmodell %1 dieses Modells fehlt; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>No free model identity was found.</source>
        <translation>Es wurde keine freie Modellkennung gefunden.</translation>
    </message>
    <message>
        <source>The model %1 no longer exists; nothing was written.</source>
        <translation>Das Modell %1 gibt es nicht mehr; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>The model %1 no longer exists.</source>
        <translation>Das Modell %1 gibt es nicht mehr.</translation>
    </message>
    <message>
        <source>cannot delete key from FACTORY database.</source>
        <translation type="vanished">Tasten der Werksdatenbank können nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>This remote control cannot be deleted: its links include models of the FACTORY database.</source>
        <translation>Diese Fernbedienung kann nicht gelöscht werden: Zu ihren Verknüpfungen gehören Modelle der Werksdatenbank.</translation>
    </message>
    <message>
        <source>The photo %1 was left as it is: %2</source>
        <translation>Das Foto %1 wurde unverändert gelassen: %2</translation>
    </message>
    <message>
        <source>The photo %1 of a deleted model cannot be removed.</source>
        <translation>Das Foto %1 eines gelöschten Modells kann nicht entfernt werden.</translation>
    </message>
</context>
<context>
    <name>NewRemoteDialog</name>
    <message>
        <source>Rcid:</source>
        <translation>Rcid:</translation>
    </message>
    <message>
        <source>Link:</source>
        <translation>Verknüpfung:</translation>
    </message>
    <message>
        <source>Protocol</source>
        <translation>Protokoll</translation>
    </message>
</context>
<context>
    <name>NewRemoteDialogImpl</name>
    <message>
        <source>No link master was chosen; nothing was written.</source>
        <translation>Kein Leitmodell gewählt; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>The documentation is longer than %1 characters; nothing was written.</source>
        <translation>Die Dokumentation ist länger als %1 Zeichen; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>The documentation has grown too large to be shown formatted; nothing was written.</source>
        <translation>Die Dokumentation ist zu groß geworden, um formatiert gezeigt zu werden; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>This documentation is longer than %1 characters: only its start is shown, and it is kept as it is.</source>
        <translation>Diese Dokumentation ist länger als %1 Zeichen: nur ihr Anfang wird gezeigt, und sie bleibt, wie sie ist.</translation>
    </message>
</context>
<context>
    <name>PhotoPlaces</name>
    <message>
        <source>The photo folder &quot;%1/&quot; does not exist.</source>
        <translation>Der Fotoordner &quot;%1/&quot; fehlt.</translation>
    </message>
    <message>
        <source>The photo place %1 is already taken.</source>
        <translation>Der Fotoplatz %1 ist schon belegt.</translation>
    </message>
    <message>
        <source>Cannot write the photo %1: %2</source>
        <translation type="vanished">Das Foto %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot remove the photo %1.</source>
        <translation>Das Foto %1 kann nicht entfernt werden.</translation>
    </message>
    <message>
        <source>There is no photo %1 to delete.</source>
        <translation>Es gibt kein Foto %1 zum Löschen.</translation>
    </message>
    <message>
        <source>Cannot rename the photo %1 to %2.</source>
        <translation>Das Foto %1 kann nicht in %2 umbenannt werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a file, not the photo folder.</source>
        <translation>&quot;%1&quot; ist eine Datei, kein Fotoordner.</translation>
    </message>
    <message>
        <source>Cannot remove the photo %1: %2 is in the way.</source>
        <translation>Das Foto %1 kann nicht entfernt werden: %2 ist im Weg.</translation>
    </message>
    <message>
        <source>The photo %1 cannot be put back: all %2 photo places are taken.</source>
        <translation type="vanished">Das Foto %1 kann nicht zurückgelegt werden: alle %2 Fotoplätze sind belegt.</translation>
    </message>
    <message>
        <source>The photo %1 cannot be put back as %2.</source>
        <translation>Das Foto %1 kann nicht als %2 zurückgelegt werden.</translation>
    </message>
    <message>
        <source>The photo %1 cannot be put back: the place %2 is taken.</source>
        <translation>Das Foto %1 kann nicht zurückgelegt werden: der Platz %2 ist belegt.</translation>
    </message>
    <message>
        <source>The deleted photo %1 cannot be removed.</source>
        <translation>Das gelöschte Foto %1 kann nicht entfernt werden.</translation>
    </message>
    <message>
        <source>The folder %1 for unfinished photo work cannot be made: %2</source>
        <translation>Der Ordner %1 für unfertige Arbeit an Fotos kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>The photos %1 were left as they are: they come from more than one unfinished deletion.</source>
        <translation>Die Fotos %1 wurden gelassen, wie sie sind: sie stammen aus mehr als einem unfertigen Löschen.</translation>
    </message>
    <message>
        <source>The photo %1 cannot be put back: the photos of the model are not as its deletion left them.</source>
        <translation>Das Foto %1 kann nicht zurückgelegt werden: die Fotos des Modells sind nicht mehr so, wie das Löschen sie hinterließ.</translation>
    </message>
</context>
<context>
    <name>RCKeysTableView</name>
    <message>
        <source>Catalogue</source>
        <translation type="vanished">Katalog</translation>
    </message>
    <message>
        <source>The change could not be saved.
%1</source>
        <translation type="vanished">Die Änderung konnte nicht gespeichert werden.
%1</translation>
    </message>
</context>
<context>
    <name>RCModelsTableView</name>
    <message>
        <source>Catalogue</source>
        <translation>Katalog</translation>
    </message>
    <message>
        <source>The change could not be saved.
%1</source>
        <translation>Die Änderung konnte nicht gespeichert werden.
%1</translation>
    </message>
</context>
<context>
    <name>SettingsDialog</name>
    <message>
        <source>Save</source>
        <translation type="vanished">Speichern</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Print Options</source>
        <translation>Druckoptionen</translation>
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
        <source>Save changes</source>
        <translation>Änderungen speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>SettingsWriter</name>
    <message>
        <source>Cannot write the file %1: another program is writing the settings in its folder.</source>
        <translation>Die Datei %1 kann nicht geschrieben werden: ein anderes Programm schreibt gerade die Einstellungen in ihrem Ordner.</translation>
    </message>
    <message>
        <source>the settings could not be written in full</source>
        <translation>die Einstellungen konnten nicht vollständig geschrieben werden</translation>
    </message>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Die Datei %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Cannot write the file %1: %2</source>
        <translation>Die Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>SignalDisplay</name>
    <message>
        <source>address:</source>
        <translation>Adresse:</translation>
    </message>
    <message>
        <source>command:</source>
        <translation>Befehl:</translation>
    </message>
</context>
<context>
    <name>SlotNames</name>
    <message>
        <source>1th</source>
        <translation>1.</translation>
    </message>
    <message>
        <source>2nd</source>
        <translation>2.</translation>
    </message>
    <message>
        <source>3rd</source>
        <translation>3.</translation>
    </message>
    <message>
        <source>4th</source>
        <translation>4.</translation>
    </message>
    <message>
        <source>5th</source>
        <translation>5.</translation>
    </message>
    <message>
        <source>6th</source>
        <translation>6.</translation>
    </message>
    <message>
        <source>7th</source>
        <translation>7.</translation>
    </message>
    <message>
        <source>8th</source>
        <translation>8.</translation>
    </message>
    <message>
        <source>9th</source>
        <translation>9.</translation>
    </message>
    <message>
        <source>10th</source>
        <translation>10.</translation>
    </message>
</context>
<context>
    <name>UpdateCheck</name>
    <message>
        <source>no answer within %1 ms</source>
        <translation>keine Antwort binnen %1 ms</translation>
    </message>
    <message>
        <source>the server&apos;s config.ini holds no update dates</source>
        <translation>die config.ini des Servers nennt keine Update-Daten</translation>
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
        <translation type="vanished">Das Update kann nicht in %1 vermerkt werden.</translation>
    </message>
    <message>
        <source>Unable to record the update in %1: %2</source>
        <translation>Das Update kann nicht in %1 vermerkt werden: %2</translation>
    </message>
    <message>
        <source>Unable to start the updater %1.</source>
        <translation>Das Aktualisierungsprogramm %1 kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>The update was stopped: %1.</source>
        <translation>Die Aktualisierung wurde abgebrochen: %1.</translation>
    </message>
</context>
<context>
    <name>UpdateDownloader</name>
    <message>
        <source>no file name</source>
        <translation>kein Dateiname</translation>
    </message>
    <message>
        <source>received %1 of %2 bytes</source>
        <translation>%1 von %2 Bytes empfangen</translation>
    </message>
    <message numerus="yes">
        <source>the server %1 did not send %2 within %n second(s)</source>
        <translation>
            <numerusform>der Server %1 hat %2 nicht innerhalb von %n Sekunde gesendet</numerusform>
            <numerusform>der Server %1 hat %2 nicht innerhalb von %n Sekunden gesendet</numerusform>
        </translation>
    </message>
    <message>
        <source>the server sent the request on to another address, %1</source>
        <translation>der Server hat die Anfrage an eine andere Adresse weitergeleitet, %1</translation>
    </message>
    <message>
        <source>the server sent the request on to an address whose host is not valid, %1</source>
        <translation>der Server hat die Anfrage an eine Adresse mit ungültigem Host weitergeleitet, %1</translation>
    </message>
    <message>
        <source>the server sent the request on to an address that is not valid, %1</source>
        <translation>der Server hat die Anfrage an eine ungültige Adresse weitergeleitet, %1</translation>
    </message>
    <message>
        <source>the server answered with a redirect that names no address</source>
        <translation>der Server hat mit einer Weiterleitung ohne Adresse geantwortet</translation>
    </message>
    <message>
        <source>the server redirected the request in a loop</source>
        <translation>der Server hat die Anfrage im Kreis weitergeleitet</translation>
    </message>
    <message numerus="yes">
        <source>the server redirected the request more than %n time(s)</source>
        <translation>
            <numerusform>der Server hat die Anfrage mehr als %n Mal weitergeleitet</numerusform>
            <numerusform>der Server hat die Anfrage mehr als %n Mal weitergeleitet</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 is larger than %2 bytes</source>
        <translation>%1 ist größer als %2 Bytes</translation>
    </message>
</context>
<context>
    <name>VrcFile</name>
    <message>
        <source>the file is larger than %1 bytes</source>
        <translation>die Datei ist größer als %1 Bytes</translation>
    </message>
    <message>
        <source>the file ends inside its header</source>
        <translation>die Datei endet innerhalb ihres Kopfes</translation>
    </message>
    <message>
        <source>the documentation is longer than %1 characters</source>
        <translation>die Dokumentation ist länger als %1 Zeichen</translation>
    </message>
    <message>
        <source>unknown remote-type picture &quot;%1&quot;</source>
        <translation>unbekanntes Bild eines Fernbedienungstyps „%1“</translation>
    </message>
    <message>
        <source>the file has no end marker</source>
        <translation>die Datei hat keine Endmarke</translation>
    </message>
    <message>
        <source>key &quot;%1&quot;: position &quot;%2&quot; has no key on remote type %3</source>
        <translation>Taste „%1“: die Position „%2“ hat keine Taste auf dem Fernbedienungstyp %3</translation>
    </message>
    <message>
        <source>line %1: key &quot;%2&quot;: position &quot;%3&quot; has no key on remote type %4</source>
        <translation>Zeile %1: Taste „%2“: die Position „%3“ hat keine Taste auf dem Fernbedienungstyp %4</translation>
    </message>
    <message>
        <source>Photo %1 skipped: it is a symbolic link.</source>
        <translation>Das Foto %1 wurde übersprungen: es ist ein symbolischer Link.</translation>
    </message>
    <message>
        <source>Photo %1 skipped: it is not a plain file.</source>
        <translation>Das Foto %1 wurde übersprungen: es ist keine gewöhnliche Datei.</translation>
    </message>
</context>
<context>
    <name>XmlInput</name>
    <message>
        <source>the encoding in the XML declaration cannot be read</source>
        <translation>die Kodierung in der XML-Deklaration ist nicht lesbar</translation>
    </message>
    <message>
        <source>the encoding &quot;%1&quot; is not supported</source>
        <translation>die Kodierung „%1“ wird nicht unterstützt</translation>
    </message>
    <message>
        <source>the file has a document type declaration</source>
        <translation>die Datei hat eine Dokumenttyp-Deklaration</translation>
    </message>
    <message>
        <source>the element on line %1 has more than %2 attributes</source>
        <translation>das Element in Zeile %1 hat mehr als %2 Attribute</translation>
    </message>
</context>
<context>
    <name>ZipUnpacker</name>
    <message>
        <source>it unpacks to more than %1 bytes</source>
        <translation>es entpackt zu mehr als %1 Bytes</translation>
    </message>
    <message>
        <source>it holds more than %1 entries</source>
        <translation>es enthält mehr als %1 Einträge</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>cannot create the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 ist ein Ordner</translation>
    </message>
    <message>
        <source>cannot replace %1</source>
        <translation>%1 kann nicht ersetzt werden</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>not a readable zip archive (error %1)</source>
        <translation>kein lesbares ZIP-Archiv (Fehler %1)</translation>
    </message>
    <message>
        <source>unreadable entry (error %1)</source>
        <translation>unlesbarer Eintrag (Fehler %1)</translation>
    </message>
    <message>
        <source>the entry &quot;%1&quot; leaves its folder</source>
        <translation>der Eintrag „%1“ verlässt seinen Ordner</translation>
    </message>
    <message>
        <source>the entry &quot;%1&quot; is a symbolic link</source>
        <translation>der Eintrag „%1“ ist ein symbolischer Link</translation>
    </message>
    <message>
        <source>damaged archive (error %1)</source>
        <translation>beschädigtes Archiv (Fehler %1)</translation>
    </message>
    <message>
        <source>cannot create a staging folder: %1</source>
        <translation>ein Zwischenordner kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>cannot read the entry &quot;%1&quot; (error %2)</source>
        <translation>der Eintrag „%1“ kann nicht gelesen werden (Fehler %2)</translation>
    </message>
    <message>
        <source>damaged entry &quot;%1&quot;</source>
        <translation>beschädigter Eintrag „%1“</translation>
    </message>
    <message>
        <source>damaged entry &quot;%1&quot; (error %2)</source>
        <translation>beschädigter Eintrag „%1“ (Fehler %2)</translation>
    </message>
    <message>
        <source>cannot read the folder %1: %2</source>
        <translation>der Ordner %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot replace %1: %2</source>
        <translation>%1 kann nicht ersetzt werden: %2</translation>
    </message>
</context>
</TS>
