<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>quorva::Formats</name>
    <message numerus="yes">
        <source>%1, %Ln days ago</source>
        <translation>
            <numerusform>%1, %Ln day ago</numerusform>
            <numerusform>%1, %Ln days ago</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>quorva::texts</name>
    <message numerus="yes">
        <source>Scan complete. %Ln focused candidates reviewed by Quorva.</source>
        <translation>
            <numerusform>Scan complete. %Ln focused candidate reviewed by Quorva.</numerusform>
            <numerusform>Scan complete. %Ln focused candidates reviewed by Quorva.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Last scan: %Ln recent incoming messages inspected</source>
        <translation>
            <numerusform>Last scan: %Ln recent incoming message inspected</numerusform>
            <numerusform>Last scan: %Ln recent incoming messages inspected</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln sent for safety review.</source>
        <translation>
            <numerusform>%Ln sent for safety review.</numerusform>
            <numerusform>%Ln sent for safety review.</numerusform>
        </translation>
    </message>
</context>
</TS>
