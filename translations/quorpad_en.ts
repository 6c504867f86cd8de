<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>FindBar</name>
    <message numerus="yes">
        <source>Replaced %n match(es).</source>
        <translation>
            <numerusform>Replaced 1 match.</numerusform>
            <numerusform>Replaced %n matches.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n match(es)</source>
        <translation>
            <numerusform>1 match</numerusform>
            <numerusform>%n matches</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message numerus="yes">
        <source>%n recovery copies of unsaved changes cannot be read. They were set aside, the first as
%1

%2</source>
        <translation>
            <numerusform>%n recovery copies of unsaved changes cannot be read. They were set aside, the first as
%1

%2</numerusform>
            <numerusform>%n recovery copies of unsaved changes cannot be read. They were set aside, the first as
%1

%2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>quorpad ended without saving changes to %n documents and kept copies of them.

Restore brings back the first document checked as an unsaved document (the other copies stay for the next start); Discard deletes the copies checked; Later keeps them all for the next start.</source>
        <translation>
            <numerusform>quorpad ended without saving changes to %n documents and kept copies of them.

Restore brings back the first document checked as an unsaved document (the other copies stay for the next start); Discard deletes the copies checked; Later keeps them all for the next start.</numerusform>
            <numerusform>quorpad ended without saving changes to %n documents and kept copies of them.

Restore brings back the first document checked as an unsaved document (the other copies stay for the next start); Discard deletes the copies checked; Later keeps them all for the next start.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>StoreVersions</name>
    <message numerus="yes">
        <source>%n template(s)</source>
        <translation>
            <numerusform>1 template</numerusform>
            <numerusform>%n templates</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> and %n more</numerusform>
            <numerusform> and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>rename %n more</source>
        <translation>
            <numerusform>rename %n more</numerusform>
            <numerusform>rename %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>change %n more</source>
        <translation>
            <numerusform>change %n more</numerusform>
            <numerusform>change %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>TemplateFiles</name>
    <message numerus="yes">
        <source>line %1: a row has a name and a value; this one has %n field(s)</source>
        <translation>
            <numerusform>line %1: a row has a name and a value; this one has %n field(s)</numerusform>
            <numerusform>line %1: a row has a name and a value; this one has %n field(s)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>frmManage</name>
    <message numerus="yes">
        <source>Export the %1 chosen in the list, or all %n templates?</source>
        <translation>
            <numerusform>Export the %1 chosen in the list, or all %n templates?</numerusform>
            <numerusform>Export the %1 chosen in the list, or all %n templates?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Exported %n template(s) to %1.</source>
        <translation>
            <numerusform>Exported 1 template to %1.</numerusform>
            <numerusform>Exported %n templates to %1.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n templates in %2 have names that exist already. Skip them, replace the existing ones, or keep both (the imported ones get a number after their name)?</source>
        <translation>
            <numerusform>%1 of the %n templates in %2 have names that exist already. Skip them, replace the existing ones, or keep both (the imported ones get a number after their name)?</numerusform>
            <numerusform>%1 of the %n templates in %2 have names that exist already. Skip them, replace the existing ones, or keep both (the imported ones get a number after their name)?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Imported %n template(s) from %1</source>
        <translation>
            <numerusform>Imported 1 template from %1</numerusform>
            <numerusform>Imported %n templates from %1</numerusform>
        </translation>
    </message>
</context>
</TS>
