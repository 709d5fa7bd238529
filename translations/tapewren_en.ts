<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>DiskSpaceGuard</name>
    <message numerus="yes">
        <source>Low disk space: room for %n more minute(s) of recording.</source>
        <translation>
            <numerusform>Low disk space: room for %n more minute of recording.</numerusform>
            <numerusform>Low disk space: room for %n more minutes of recording.</numerusform>
        </translation>
    </message>
</context>
</TS>
