<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>QShortcut</name>
    <message>
        <source>Ctrl</source>
        <translation>Strg</translation>
    </message>
</context>
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
    <name>quibbix::app::MainWindow</name>
    <message>
        <source>I start again.</source>
        <translation>Ich fang neu an.</translation>
    </message>
    <message>
        <source>What&apos;s to do here?</source>
        <translation>Worum geht&apos;s da eigentlich?</translation>
    </message>
    <message>
        <source>I need a break.</source>
        <translation>Ich brauch eine kurze Pause.</translation>
    </message>
    <message>
        <source>I dont like the sound always.</source>
        <translation>Die Geräusche mag ich nicht immer.</translation>
    </message>
    <message>
        <source>Who are the best?</source>
        <translation>Wer sind die Besten?</translation>
    </message>
    <message>
        <source>I have enough!</source>
        <translation>Ich hab genug!</translation>
    </message>
    <message>
        <source>Who did these ZORVYPLAY?</source>
        <translation>Wer hat diese Spiele nur verbrochen?</translation>
    </message>
    <message>
        <source>Hurrah, there are more ZORVYPLAY.</source>
        <translation>Hurra, es gibt noch mehr Zorvyplay.</translation>
    </message>
    <message>
        <source>Game paused! Press left mouse button to continue.</source>
        <translation>Spiel angehalten! Linke Maustaste zum weitermachen.</translation>
    </message>
    <message>
        <source>Next level!</source>
        <translation>Nächste Stufe!</translation>
    </message>
    <message>
        <source>Ich spreche nicht englisch.</source>
        <translation>I don&apos;t speak german.</translation>
    </message>
</context>
<context>
    <name>quibbix::app::ToolBar</name>
    <message>
        <source>New game</source>
        <translation>Neues Spiel</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Sound on or off</source>
        <translation>Geräusche an oder aus</translation>
    </message>
    <message>
        <source>High scores</source>
        <translation>Bestenliste</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Rules</source>
        <translation>Spielregeln</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Maker&apos;s web site</source>
        <translation>Zorvyplay im Netz</translation>
    </message>
    <message>
        <source>%1 Key: %2</source>
        <translation>%1 Taste: %2</translation>
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
