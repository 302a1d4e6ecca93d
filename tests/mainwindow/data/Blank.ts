<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>MainWindowImpl</name>
    <message>
        <source>LanguageName</source>
        <translation>   </translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe (Blank)</translation>
    </message>
</context>
</TS>
