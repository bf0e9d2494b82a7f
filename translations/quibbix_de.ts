<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>quibbix::app::GameHost</name>
    <message>
        <source>Level:</source>
        <translation>Stufe:</translation>
    </message>
    <message>
        <source>Score:</source>
        <translation>Punkte:</translation>
    </message>
</context>
<context>
    <name>quibbix::dialogs::AboutBox</name>
    <message>
        <source>Info about...</source>
        <translation>Info über...</translation>
    </message>
    <message>
        <source>Closes the box.</source>
        <translation>Schließt das Fenster.</translation>
    </message>
</context>
<context>
    <name>quibbix::dialogs::HighscoreDlg</name>
    <message>
        <source>Quibbix - Highscore</source>
        <translation>Quibbix - Bestenliste</translation>
    </message>
    <message>
        <source>Really clear all ten entries?</source>
        <translation>Wirklich alle zehn Einträge löschen?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Clear all entries.</source>
        <translation>Alle Einträge löschen.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbruch</translation>
    </message>
    <message>
        <source>Keeps the table and the name.</source>
        <translation>Übernimmt die Liste und den Namen.</translation>
    </message>
    <message>
        <source>Closes the table without a change.</source>
        <translation>Schließt die Liste, ohne sie zu ändern.</translation>
    </message>
    <message>
        <source>With OK the table starts afresh.</source>
        <translation>Mit OK beginnt die Liste von vorn.</translation>
    </message>
    <message>
        <source>Your name</source>
        <translation>Dein Name</translation>
    </message>
    <message>
        <source>The name for the new score; Enter keeps it.</source>
        <translation>Der Name für das neue Ergebnis; Enter übernimmt ihn.</translation>
    </message>
</context>
<context>
    <name>quibbix::dialogs::YesNoDlg</name>
    <message>
        <source>Hurrah, you did it!</source>
        <translation>Hurra, geschafft!</translation>
    </message>
    <message>
        <source>Do you really want to give up the level?</source>
        <translation>Willst Du die Stufe wirklich aufgeben?</translation>
    </message>
    <message>
        <source>Do you really want to go?</source>
        <translation>Willst Du wirklich schon aufhören?</translation>
    </message>
    <message>
        <source>Do you really want to give up the game?</source>
        <translation>Willst Du das Spiel wirklich aufgeben?</translation>
    </message>
    <message>
        <source>Sorry, you weren&apos;t quick enough!</source>
        <translation>Du warst leider zu langsam!</translation>
    </message>
    <message>
        <source>Congratulation, you solved all levels.</source>
        <translation>Gratulation, Du hast alle Stufen gelöst.</translation>
    </message>
    <message>
        <source>Sorry, that was it!</source>
        <translation>Das Spiel ist leider aus!</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
</context>
</TS>
