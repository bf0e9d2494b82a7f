<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>Board</name>
    <message>
        <source>Score: %1</source>
        <translation>Punkte: %1</translation>
    </message>
    <message>
        <source>Level: %1</source>
        <translation>Stufe: %1</translation>
    </message>
    <message>
        <source>Chute %1: empty</source>
        <translation>Schacht %1: leer</translation>
    </message>
    <message>
        <source>Chute %1: 1 crate</source>
        <translation>Schacht %1: 1 Kiste</translation>
    </message>
    <message>
        <source>Chute %1: %2 crates</source>
        <translation>Schacht %1: %2 Kisten</translation>
    </message>
    <message>
        <source>Hand: empty</source>
        <translation>Hand: leer</translation>
    </message>
    <message>
        <source>Hand: %1, over chute %2</source>
        <translation>Hand: %1, über Schacht %2</translation>
    </message>
    <message>
        <source>Picture: %1 of %2 tiles covered</source>
        <translation>Bild: %1 von %2 Feldern verdeckt</translation>
    </message>
    <message>
        <source>Playing field</source>
        <translation>Spielfeld</translation>
    </message>
    <message>
        <source>Continue the paused game</source>
        <translation>Das angehaltene Spiel fortsetzen</translation>
    </message>
    <message>
        <source>Game over. Ctrl+N starts a new game.</source>
        <translation>Spiel vorbei. Strg+N startet ein neues Spiel.</translation>
    </message>
    <message>
        <source>Game paused. Activate the field to continue.</source>
        <translation>Spiel angehalten. Das Spielfeld aktivieren, um weiterzumachen.</translation>
    </message>
    <message>
        <source>Arrow keys choose a chute, Space takes and drops, Up sets off a special crate, N brings a crate, P pauses.</source>
        <translation>Pfeiltasten wählen einen Schacht, Leertaste nimmt und setzt ab, Pfeil hoch löst eine Sonderkiste aus, N holt eine Kiste, P hält an.</translation>
    </message>
</context>
<context>
    <name>CrateKind</name>
    <message>
        <source>Red white red stripes</source>
        <translation>Streifen rot weiß rot</translation>
    </message>
    <message>
        <source>Blue red green stripes</source>
        <translation>Streifen blau rot grün</translation>
    </message>
    <message>
        <source>Blue cross on pink</source>
        <translation>Blaues Kreuz auf Rosa</translation>
    </message>
    <message>
        <source>Yellow crosses on blue</source>
        <translation>Gelbe Kreuze auf Blau</translation>
    </message>
    <message>
        <source>Red and green quarters</source>
        <translation>Rote und grüne Viertel</translation>
    </message>
    <message>
        <source>Big yellow and cyan squares</source>
        <translation>Große gelbe und türkise Quadrate</translation>
    </message>
    <message>
        <source>Fine bar code</source>
        <translation>Feiner Strichcode</translation>
    </message>
    <message>
        <source>White and grey checks</source>
        <translation>Karo weiß und grau</translation>
    </message>
    <message>
        <source>Maker&apos;s name, black on cream</source>
        <translation>Herstellername, schwarz auf Creme</translation>
    </message>
    <message>
        <source>Teal waves</source>
        <translation>Türkise Wellen</translation>
    </message>
    <message>
        <source>Yellow lights</source>
        <translation>Gelbe Lichter</translation>
    </message>
    <message>
        <source>Red and blue rings</source>
        <translation>Rote und blaue Ringe</translation>
    </message>
    <message>
        <source>Four squares on white</source>
        <translation>Vier Quadrate auf Weiß</translation>
    </message>
    <message>
        <source>Four coloured quarters</source>
        <translation>Vier bunte Viertel</translation>
    </message>
    <message>
        <source>Warm pastel spots</source>
        <translation>Warme Pastelltupfen</translation>
    </message>
    <message>
        <source>Plain grey crate</source>
        <translation>Schlichte graue Kiste</translation>
    </message>
    <message>
        <source>White red white stripes</source>
        <translation>Streifen weiß rot weiß</translation>
    </message>
    <message>
        <source>Green red blue columns</source>
        <translation>Säulen grün rot blau</translation>
    </message>
    <message>
        <source>Pink diagonal cross on blue</source>
        <translation>Rosa Schrägkreuz auf Blau</translation>
    </message>
    <message>
        <source>Blue crosses on yellow</source>
        <translation>Blaue Kreuze auf Gelb</translation>
    </message>
    <message>
        <source>Green and red quarters in white</source>
        <translation>Grüne und rote Viertel in Weiß</translation>
    </message>
    <message>
        <source>Small cyan and yellow squares</source>
        <translation>Kleine türkise und gelbe Quadrate</translation>
    </message>
    <message>
        <source>Bold bar code</source>
        <translation>Kräftiger Strichcode</translation>
    </message>
    <message>
        <source>Black and red checks</source>
        <translation>Karo schwarz und rot</translation>
    </message>
    <message>
        <source>Maker&apos;s name, white on green</source>
        <translation>Herstellername, weiß auf Grün</translation>
    </message>
    <message>
        <source>Grey waves on brown</source>
        <translation>Graue Wellen auf Braun</translation>
    </message>
    <message>
        <source>Blue lights</source>
        <translation>Blaue Lichter</translation>
    </message>
    <message>
        <source>Pale rings</source>
        <translation>Blasse Ringe</translation>
    </message>
    <message>
        <source>Four squares on black</source>
        <translation>Vier Quadrate auf Schwarz</translation>
    </message>
    <message>
        <source>Small four-colour block</source>
        <translation>Kleiner bunter Block</translation>
    </message>
    <message>
        <source>Cool pastel spots</source>
        <translation>Kühle Pastelltupfen</translation>
    </message>
    <message>
        <source>Quibbix in blue</source>
        <translation>Quibbix in Blau</translation>
    </message>
    <message>
        <source>Quibbix in green</source>
        <translation>Quibbix in Grün</translation>
    </message>
    <message>
        <source>Quibbix in red</source>
        <translation>Quibbix in Rot</translation>
    </message>
    <message>
        <source>Zorvy&apos;s head, top</source>
        <translation>Zorvys Kopf, oben</translation>
    </message>
    <message>
        <source>Zorvy&apos;s head, bottom</source>
        <translation>Zorvys Kopf, unten</translation>
    </message>
    <message>
        <source>Blue 13</source>
        <translation>Blaue 13</translation>
    </message>
    <message>
        <source>Red 31</source>
        <translation>Rote 31</translation>
    </message>
    <message>
        <source>Pink 53</source>
        <translation>Rosa 53</translation>
    </message>
    <message>
        <source>Green 97</source>
        <translation>Grüne 97</translation>
    </message>
    <message>
        <source>Plus and minus</source>
        <translation>Plus und Minus</translation>
    </message>
    <message>
        <source>Arrows</source>
        <translation>Pfeile</translation>
    </message>
    <message>
        <source>Bomb</source>
        <translation>Bombe</translation>
    </message>
    <message>
        <source>Dynamite</source>
        <translation>Dynamit</translation>
    </message>
    <message>
        <source>Magnet</source>
        <translation>Magnet</translation>
    </message>
    <message>
        <source>Wavy arrow</source>
        <translation>Wellenpfeil</translation>
    </message>
    <message>
        <source>Spiky creature</source>
        <translation>Stachelwesen</translation>
    </message>
    <message>
        <source>Rat</source>
        <translation>Ratte</translation>
    </message>
    <message>
        <source>Pistol</source>
        <translation>Pistole</translation>
    </message>
</context>
<context>
    <name>QShortcut</name>
    <message>
        <source>Ctrl</source>
        <translation>Strg</translation>
    </message>
</context>
<context>
    <name>ScoreTable</name>
    <message>
        <source>Rank</source>
        <translation>Platz</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>The ten best</source>
        <translation>Die zehn Besten</translation>
    </message>
</context>
<context>
    <name>StoreReport</name>
    <message>
        <source>Quibbix could not save %1.</source>
        <translation>Quibbix konnte %1 nicht speichern.</translation>
    </message>
    <message>
        <source>the high-score table and the name</source>
        <translation>die Bestenliste und den Namen</translation>
    </message>
    <message>
        <source>your choices (sound, language, zoom and window position)</source>
        <translation>deine Einstellungen (Ton, Sprache, Zoom und Fensterposition)</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
    <message>
        <source>File: %1</source>
        <translation>Datei: %1</translation>
    </message>
    <message>
        <source>Reason: %1</source>
        <translation>Grund: %1</translation>
    </message>
    <message>
        <source>Nothing at that place was changed: what it held before is kept.</source>
        <translation>An dieser Stelle wurde nichts geändert: ihr bisheriger Inhalt bleibt.</translation>
    </message>
    <message>
        <source>Quibbix cannot read its settings file.</source>
        <translation>Quibbix kann seine Einstellungsdatei nicht lesen.</translation>
    </message>
    <message>
        <source>The game runs with its defaults this time, and what it would save (your choices, new high scores) cannot be kept there.</source>
        <translation>Das Spiel läuft diesmal mit seinen Grundeinstellungen, und was es speichern würde (deine Einstellungen, neue Bestenlisten-Einträge), kann dort nicht bleiben.</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>writing there is not allowed</source>
        <translation>dort darf nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the system says: %1</source>
        <translation>das System meldet: %1</translation>
    </message>
    <message>
        <source>at that place is a folder or something else that is no file</source>
        <translation>an dieser Stelle liegt ein Ordner oder etwas anderes, das keine Datei ist</translation>
    </message>
    <message>
        <source>it is a link to a file that does not exist</source>
        <translation>sie ist eine Verknüpfung auf eine Datei, die es nicht gibt</translation>
    </message>
    <message>
        <source>its lock %1 is no file; removing it mends this</source>
        <translation>ihre Sperre %1 ist keine Datei; sie zu entfernen behebt das</translation>
    </message>
    <message>
        <source>another copy of Quibbix kept it locked (%1)</source>
        <translation>eine andere Kopie von Quibbix hielt sie gesperrt (%1)</translation>
    </message>
    <message>
        <source>Quibbix cannot use these lines of its settings file:</source>
        <translation>Quibbix kann diese Zeilen seiner Einstellungsdatei nicht verwenden:</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>for “%1” the default is used</source>
        <translation>für „%1“ gilt der Grundwert</translation>
    </message>
    <message>
        <source>a row of the high-score table: it keeps its place, empty</source>
        <translation>ein Eintrag der Bestenliste: er behält seinen Platz und bleibt leer</translation>
    </message>
    <message>
        <source>meant for “%1”? Only “%1” in the section [common] is read, spelled exactly so; the default is used</source>
        <translation>gemeint für „%1“? Gelesen wird nur „%1“ im Abschnitt [common], genau so geschrieben; es gilt der Grundwert</translation>
    </message>
    <message>
        <source>These lines stay in the file as they are.</source>
        <translation>Diese Zeilen bleiben unverändert in der Datei.</translation>
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
