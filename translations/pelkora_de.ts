<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>About</name>
    <message>
        <source>Pelkora, the batch audio converter, by the Pelkora team</source>
        <translation>Pelkora, der Stapel-Audiokonverter, vom Pelkora-Team</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Pelkora team. All rights reserved.</source>
        <translation>Copyright (C) 2026 das Pelkora-Team. Alle Rechte vorbehalten.</translation>
    </message>
</context>
<context>
    <name>AddFile</name>
    <message>
        <source>Open Files</source>
        <translation>Dateien öffnen</translation>
    </message>
    <message>
        <source>All supported files|*.wav;*.flac;*.mp3;*.wma;*.mp4;*.avi;*.mpg;*.wmv;*.flv;*.mov;*.vob;*.rm;*.3gp;*.ogg;*.opus;*.m4a;*.aac;*.ac3;*.amr;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mkv;*.webm</source>
        <translation>Alle unterstützten Dateien|*.wav;*.flac;*.mp3;*.wma;*.mp4;*.avi;*.mpg;*.wmv;*.flv;*.mov;*.vob;*.rm;*.3gp;*.ogg;*.opus;*.m4a;*.aac;*.ac3;*.amr;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mkv;*.webm</translation>
    </message>
    <message>
        <source>WAVE Files(*.wav)|*.wav|FLAC Files(*.flac)|*.flac|MP3 Audio(*.mp3)|*.mp3|WMA Audio(*.wma)|*.wma|MPEG4 Files(*.mp4)|*.mp4|AVI Files(*.avi)|*.avi|MPG Files(*.mpg)|*.mpg|WMV Files(*.wmv)|*.wmv|Flash Video(*.flv)|*.flv|QuickTime Format(*.mov)|*.mov|DVD VOB(*.vob)|*.vob|Real Video(*.rm)|*.rm|3GP Video(*.3gp)|*.3gp|All Media Formats(*.*)|*.*</source>
        <translation>WAVE-Dateien(*.wav)|*.wav|FLAC-Dateien(*.flac)|*.flac|MP3-Audio(*.mp3)|*.mp3|WMA-Audio(*.wma)|*.wma|MPEG4-Dateien(*.mp4)|*.mp4|AVI-Dateien(*.avi)|*.avi|MPG-Dateien(*.mpg)|*.mpg|WMV-Dateien(*.wmv)|*.wmv|Flash-Video(*.flv)|*.flv|QuickTime-Format(*.mov)|*.mov|DVD-VOB(*.vob)|*.vob|Real-Video(*.rm)|*.rm|3GP-Video(*.3gp)|*.3gp|Alle Medienformate(*.*)|*.*</translation>
    </message>
</context>
<context>
    <name>AddFolder</name>
    <message>
        <source>Please select a folder:</source>
        <translation>Bitte einen Ordner wählen:</translation>
    </message>
</context>
<context>
    <name>BatchArguments</name>
    <message>
        <source> (pelkora --batch --help lists the options)</source>
        <translation> (pelkora --batch --help zeigt die Optionen)</translation>
    </message>
    <message>
        <source>an empty argument names no file or folder</source>
        <translation>ein leeres Argument nennt keine Datei und keinen Ordner</translation>
    </message>
    <message>
        <source>no files or folders to convert</source>
        <translation>keine Dateien oder Ordner zum Umwandeln</translation>
    </message>
    <message>
        <source>--prune needs --sync</source>
        <translation>--prune braucht --sync</translation>
    </message>
    <message>
        <source>--shard needs --sync</source>
        <translation>--shard braucht --sync</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 nimmt keinen Wert</translation>
    </message>
    <message>
        <source>%1 needs START and LENGTH (as 75 30)</source>
        <translation>%1 braucht START und LENGTH (etwa 75 30)</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>%1 %2 is not one of %3</source>
        <translation>%1 %2 ist keiner von %3</translation>
    </message>
    <message>
        <source>%1 needs a folder</source>
        <translation>%1 braucht einen Ordner</translation>
    </message>
    <message>
        <source>%1 %2 does not end in .csv or .json</source>
        <translation>%1 %2 endet nicht auf .csv oder .json</translation>
    </message>
    <message>
        <source>%1 %2 is not a whole number of 1 or more</source>
        <translation>%1 %2 ist keine ganze Zahl ab 1</translation>
    </message>
    <message>
        <source>%1 %2 lowered to %3, the most conversions at once here (4 per processor core)</source>
        <translation>%1 %2 auf %3 gesenkt, die meisten gleichzeitigen Umwandlungen hier (4 je Prozessorkern)</translation>
    </message>
    <message>
        <source>%1 %2 is not K/N, share K of N, with K from 1 to N (as 2/5)</source>
        <translation>%1 %2 ist nicht K/N, Anteil K von N, mit K von 1 bis N (etwa 2/5)</translation>
    </message>
    <message>
        <source>%1 start %2 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below 60, at most 2147483647 seconds</source>
        <translation>%1 Start %2 ist keine Zeit: ganze Sekunden, M:S oder H:M:S, Minuten und Sekunden unter 60, höchstens 2147483647 Sekunden</translation>
    </message>
    <message>
        <source>%1 needs START and LENGTH (as 75 30); %2 is not a time</source>
        <translation>%1 braucht START und LENGTH (etwa 75 30); %2 ist keine Zeit</translation>
    </message>
    <message>
        <source>%1 length %2 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below 60, at most 2147483647 seconds</source>
        <translation>%1 Länge %2 ist keine Zeit: ganze Sekunden, M:S oder H:M:S, Minuten und Sekunden unter 60, höchstens 2147483647 Sekunden</translation>
    </message>
</context>
<context>
    <name>BatchHelp</name>
    <message>
        <source>Usage: pelkora --batch [options] FILE|FOLDER ...
       pelkora -b [options] FILE|FOLDER ...
       pelkora [FILE|FOLDER ...]

Without --batch the window opens with the FILEs and FOLDERs in its list (a copy
already running takes them instead).

Converts every FILE, and every file found in each FOLDER and its sub-folders,
without opening the window. Choices not given here are taken from the program&apos;s
settings files (setup.ini, options.ini), which are read and never written.

</source>
        <translation>Aufruf: pelkora --batch [Optionen] FILE|FOLDER ...
        pelkora -b [Optionen] FILE|FOLDER ...
        pelkora [FILE|FOLDER ...]

Ohne --batch öffnet sich das Fenster mit den FILEs und FOLDERs in seiner Liste
(eine schon laufende Kopie übernimmt sie stattdessen).

Wandelt jede FILE und jede Datei in jedem FOLDER und dessen Unterordnern um,
ohne das Fenster zu öffnen. Nicht angegebene Einstellungen stammen aus den
Einstellungsdateien des Programms (setup.ini, options.ini), die nur gelesen
und nie geschrieben werden.

</translation>
    </message>
    <message>
        <source>Options:
  --format FORMAT     output format (m4a is AAC, alac Apple Lossless in .m4a):
                      %1,
                      %2
  --bitrate KBPS      bitrate of mp3, mpg, opus and m4a in kbit/s; mp3 and mpg:
                      %3
                      opus: %4
                      m4a: %5
  --rate HZ           sample rate of mp3, mpg and m4a (opus is always 48000):
                      %6
  --channels MODE     channels of mp3, mpg, opus and m4a: mono or stereo (also 1
                      or 2)
  --output DIR        folder the converted files are written to
  --cut START LENGTH  convert one piece of each file; times in seconds, M:S or
                      H:M:S; a LENGTH of 0 runs to the end of the file
  -j, --jobs N        conversions running at the same time (default: one per
                      processor core); a larger N than 4 per core is lowered
  --keep-tree         keep the sub-folders of each FOLDER in the output folder
  --name PATTERN      name outputs from tags, below the output folder and
                      without extension, as in &quot;{artist}/{album}/{track} - {title}&quot;;
                      fields: {artist} {albumartist} {album} {title} {track}
                      {disc} {year} {genre} {name} {stem} {folder}
  --replaygain        write ReplayGain 2.0 loudness tags (track and album)
  --report FILE       write a row per file to FILE, CSV or JSON by its
                      extension (.csv, .json), also when stopped by a signal
  --sync              convert only files that are new or changed (contents or
                      choices) since the last --sync run into the output folder;
                      the others are left alone, or moved when only --name
                      changed; the record is the folder&apos;s .pelkora-sync.sqlite
  --prune             with --sync: move to the trash the outputs it made of
                      sources no longer found; give it every FOLDER synced
                      into that output folder, or their outputs go too
  --shard K/N         with --sync: convert only share K of N of the sources, split
                      by their paths below each FOLDER; N runs, on one machine or
                      many, into one output folder convert every source once
  -q, --quiet         report failures only
  -h, --help          show this help and end
  -V, --version       show the version and end
  --                  only FILEs and FOLDERs follow, even ones starting with -

Progress and the summary go to standard error.

</source>
        <translation>Optionen:
  --format FORMAT     Ausgabeformat (m4a ist AAC, alac Apple Lossless in .m4a):
                      %1,
                      %2
  --bitrate KBPS      Bitrate von mp3, mpg, opus und m4a in kbit/s; mp3, mpg:
                      %3
                      opus: %4
                      m4a: %5
  --rate HZ           Abtastrate von mp3, mpg und m4a (opus immer 48000):
                      %6
  --channels MODE     Kanäle von mp3, mpg, opus und m4a: mono oder stereo
                      (auch 1 oder 2)
  --output DIR        Ordner, in den die umgewandelten Dateien kommen
  --cut START LENGTH  ein Stück jeder Datei umwandeln; Zeiten in Sekunden, M:S
                      oder H:M:S; eine LENGTH von 0 reicht bis zum Dateiende
  -j, --jobs N        gleichzeitige Umwandlungen (Standard: eine je
                      Prozessorkern); ein N über 4 je Kern wird gesenkt
  --keep-tree         die Unterordner jedes FOLDER im Ausgabeordner behalten
  --name PATTERN      Ausgaben nach Tags benennen, unterhalb des Ausgabeordners
                      und ohne Endung, etwa &quot;{artist}/{album}/{track} - {title}&quot;;
                      Felder: {artist} {albumartist} {album} {title} {track}
                      {disc} {year} {genre} {name} {stem} {folder}
  --replaygain        Lautheits-Tags nach ReplayGain 2.0 schreiben (Titel und
                      Album)
  --report FILE       je Datei eine Zeile in FILE schreiben, CSV oder JSON nach
                      der Endung (.csv, .json), auch bei Abbruch durch Signal
  --sync              nur Dateien umwandeln, die seit dem letzten --sync-Lauf in
                      den Ausgabeordner neu sind oder sich änderten (Inhalt
                      oder Einstellungen); die übrigen bleiben, oder werden
                      verschoben, wenn sich nur --name änderte; verzeichnet in
                      .pelkora-sync.sqlite des Ordners
  --prune             mit --sync: die Ausgaben nicht mehr gefundener Quellen in
                      den Papierkorb legen; jeden FOLDER angeben, der in diesen
                      Ausgabeordner synchronisiert wird, sonst gehen dessen
                      Ausgaben mit
  --shard K/N         mit --sync: nur Anteil K von N der Quellen umwandeln,
                      aufgeteilt nach ihren Pfaden unter jedem FOLDER; N Läufe,
                      auf einem Rechner oder vielen, in einen Ausgabeordner
                      wandeln jede Quelle einmal um
  -q, --quiet         nur Fehlschläge melden
  -h, --help          diese Hilfe zeigen und enden
  -V, --version       die Version zeigen und enden
  --                  es folgen nur FILEs und FOLDERs, auch solche mit - vorn

Fortschritt und Zusammenfassung gehen auf die Standardfehlerausgabe.

</translation>
    </message>
    <message>
        <source>Exit status:
  %1    every file converted
  %2    some files failed, or a folder could not be read; the others were
       converted
  %3    bad usage, or the --sync record cannot be used; nothing was converted
  %4    every file converted, some with warnings (damaged or short input)
  %5  stopped by SIGINT (Ctrl+C); unfinished outputs are removed
  %6  stopped by SIGTERM; unfinished outputs are removed
  %7  stopped by SIGHUP, %8 by SIGQUIT, in the same way (a signal
       ignored at start, as under nohup, stays ignored)

</source>
        <translation>Rückgabewert:
  %1    jede Datei umgewandelt
  %2    einige Dateien fehlgeschlagen oder ein Ordner nicht lesbar; die übrigen
       wurden umgewandelt
  %3    falscher Aufruf, oder das --sync-Verzeichnis ist nicht nutzbar; nichts
       wurde umgewandelt
  %4    jede Datei umgewandelt, einige mit Warnungen (beschädigte oder kurze
       Eingabe)
  %5  angehalten durch SIGINT (Strg+C); unfertige Ausgaben werden entfernt
  %6  angehalten durch SIGTERM; unfertige Ausgaben werden entfernt
  %7  angehalten durch SIGHUP, %8 durch SIGQUIT, ebenso (ein beim Start
       ignoriertes Signal, etwa unter nohup, bleibt ignoriert)

</translation>
    </message>
    <message>
        <source>Examples:
  pelkora --batch --format flac --output ~/Music/flac ~/Recordings
  pelkora -b --format mp3 --bitrate 192 --channels mono -j 2 talk.wav notes.ogg
</source>
        <translation>Beispiele:
  pelkora --batch --format flac --output ~/Musik/flac ~/Aufnahmen
  pelkora -b --format mp3 --bitrate 192 --channels mono -j 2 rede.wav notiz.ogg
</translation>
    </message>
</context>
<context>
    <name>BatchTexts</name>
    <message>
        <source>pelkora: --bitrate %1 is not a bitrate of %2, which takes %3</source>
        <translation>pelkora: --bitrate %1 ist keine Bitrate von %2, das %3 nimmt</translation>
    </message>
    <message>
        <source>%1 of %2 done · run %3</source>
        <translation>%1 von %2 fertig · Lauf %3</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>noch etwa %1</translation>
    </message>
    <message>
        <source>: up to date</source>
        <translation>: aktuell</translation>
    </message>
    <message>
        <source>: up to date, %1</source>
        <translation>: aktuell, %1</translation>
    </message>
    <message>
        <source>: failed: %1</source>
        <translation>: fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>: warning: %1</source>
        <translation>: Warnung: %1</translation>
    </message>
    <message>
        <source> (silent, peak %1)</source>
        <translation> (still, Spitze %1)</translation>
    </message>
    <message>
        <source> (%1 LUFS, peak %2)</source>
        <translation> (%1 LUFS, Spitze %2)</translation>
    </message>
    <message>
        <source>%1 converted</source>
        <translation>%1 umgewandelt</translation>
    </message>
    <message>
        <source>%1 with warnings</source>
        <translation>%1 mit Warnungen</translation>
    </message>
    <message>
        <source>%1 up to date</source>
        <translation>%1 aktuell</translation>
    </message>
    <message>
        <source>%1 pruned</source>
        <translation>%1 aufgeräumt</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>1 folder could not be read; its files were not converted</source>
        <translation>1 Ordner war nicht lesbar; seine Dateien wurden nicht umgewandelt</translation>
    </message>
    <message>
        <source>%1 folders could not be read; their files were not converted</source>
        <translation>%1 Ordner waren nicht lesbar; ihre Dateien wurden nicht umgewandelt</translation>
    </message>
    <message>
        <source>Renamed to keep outputs apart:</source>
        <translation>Umbenannt, damit sich Ausgaben nicht überschreiben:</translation>
    </message>
    <message>
        <source>Converted with warnings:</source>
        <translation>Mit Warnungen umgewandelt:</translation>
    </message>
    <message>
        <source>pelkora: interrupted</source>
        <translation>pelkora: unterbrochen</translation>
    </message>
    <message>
        <source>pelkora: hung up</source>
        <translation>pelkora: aufgelegt (SIGHUP)</translation>
    </message>
    <message>
        <source>pelkora: quit</source>
        <translation>pelkora: beendet (SIGQUIT)</translation>
    </message>
    <message>
        <source>pelkora: terminated</source>
        <translation>pelkora: abgebrochen</translation>
    </message>
</context>
<context>
    <name>Choices</name>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>AN</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>AUS</translation>
    </message>
</context>
<context>
    <name>CommonDialogs</name>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
</context>
<context>
    <name>CutRange</name>
    <message>
        <source>Minutes must less than 60</source>
        <translation>Minuten müssen unter 60 liegen</translation>
    </message>
    <message>
        <source>Seconds must less than 60</source>
        <translation>Sekunden müssen unter 60 liegen</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Time must be less than 596523 hours</source>
        <translation>Die Zeit muss unter 596523 Stunden liegen</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Std</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Anzeigen</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>failed: %1</source>
        <translation>fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Drag &amp; Drop Files Here</source>
        <translation>Dateien hierher ziehen</translation>
    </message>
    <message>
        <source>Searching Files...</source>
        <translation>Dateien werden gesucht …</translation>
    </message>
</context>
<context>
    <name>FolderSearch</name>
    <message>
        <source>1 sub-folder was left out, with everything below it: only the first %2 sub-folders of any one folder are searched.</source>
        <translation>1 Unterordner wurde samt Inhalt ausgelassen: Von jedem Ordner werden nur die ersten %2 Unterordner durchsucht.</translation>
    </message>
    <message>
        <source>%1 sub-folders were left out, with everything below them: only the first %2 sub-folders of any one folder are searched.</source>
        <translation>%1 Unterordner wurden samt Inhalt ausgelassen: Von jedem Ordner werden nur die ersten %2 Unterordner durchsucht.</translation>
    </message>
    <message>
        <source>1 folder could not be read; its files are not in the list.</source>
        <translation>1 Ordner war nicht lesbar; seine Dateien stehen nicht in der Liste.</translation>
    </message>
    <message>
        <source>%1 folders could not be read; their files are not in the list.</source>
        <translation>%1 Ordner waren nicht lesbar; ihre Dateien stehen nicht in der Liste.</translation>
    </message>
</context>
<context>
    <name>HeadlessRun</name>
    <message>
        <source>%1: no such file or folder</source>
        <translation>%1: keine solche Datei und kein solcher Ordner</translation>
    </message>
    <message>
        <source>--output %1 %2</source>
        <translation>--output %1 %2</translation>
    </message>
    <message>
        <source>the output folder %1 %2</source>
        <translation>der Ausgabeordner %1 %2</translation>
    </message>
    <message>
        <source>pruned: %1</source>
        <translation>aufgeräumt: %1</translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>Stop converting and exit?</source>
        <translation>Umwandlung anhalten und beenden?</translation>
    </message>
    <message>
        <source>Please add a file</source>
        <translation>Bitte eine Datei hinzufügen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Fertig.</translation>
    </message>
</context>
<context>
    <name>NamePattern</name>
    <message>
        <source>the name pattern is empty</source>
        <translation>das Namensmuster ist leer</translation>
    </message>
    <message>
        <source>a } without its { in the name pattern</source>
        <translation>eine } ohne ihre { im Namensmuster</translation>
    </message>
    <message>
        <source>a { without its } in the name pattern</source>
        <translation>eine { ohne ihre } im Namensmuster</translation>
    </message>
    <message>
        <source>unknown field {%1} in the name pattern</source>
        <translation>unbekanntes Feld {%1} im Namensmuster</translation>
    </message>
    <message>
        <source>the name pattern starts with /; it names a path below the output folder</source>
        <translation>das Namensmuster beginnt mit /; es nennt einen Pfad unterhalb des Ausgabeordners</translation>
    </message>
    <message>
        <source>the name pattern names a parent folder (..)</source>
        <translation>das Namensmuster nennt einen übergeordneten Ordner (..)</translation>
    </message>
</context>
<context>
    <name>OptionsController</name>
    <message>
        <source>Example: %1</source>
        <translation>Beispiel: %1</translation>
    </message>
</context>
<context>
    <name>OutputFolder</name>
    <message>
        <source>cannot be made: %1</source>
        <translation>kann nicht angelegt werden: %1</translation>
    </message>
    <message>
        <source>is not a folder</source>
        <translation>ist kein Ordner</translation>
    </message>
    <message>
        <source>is not a writable folder: %1</source>
        <translation>ist kein beschreibbarer Ordner: %1</translation>
    </message>
</context>
<context>
    <name>ProgressFill</name>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
</context>
<context>
    <name>ReportFile</name>
    <message>
        <source>it is a folder</source>
        <translation>es ist ein Ordner</translation>
    </message>
    <message>
        <source>no such folder</source>
        <translation>kein solcher Ordner</translation>
    </message>
    <message>
        <source>its folder is not writable (%1)</source>
        <translation>sein Ordner ist nicht beschreibbar (%1)</translation>
    </message>
</context>
<context>
    <name>ReportingShell</name>
    <message>
        <source>The folder could not be opened: %1</source>
        <translation>Der Ordner ließ sich nicht öffnen: %1</translation>
    </message>
    <message>
        <source>The page could not be opened: %1</source>
        <translation>Die Seite ließ sich nicht öffnen: %1</translation>
    </message>
</context>
<context>
    <name>RunDisplay</name>
    <message>
        <source>

and %1 more</source>
        <translation>

und %1 weitere</translation>
    </message>
    <message>
        <source>This file could not be converted:</source>
        <translation>Diese Datei ließ sich nicht umwandeln:</translation>
    </message>
    <message>
        <source>These files could not be converted:</source>
        <translation>Diese Dateien ließen sich nicht umwandeln:</translation>
    </message>
    <message>
        <source>Converted with warnings (the input may be damaged or cut short):</source>
        <translation>Mit Warnungen umgewandelt (die Eingabe ist womöglich beschädigt oder gekürzt):</translation>
    </message>
    <message>
        <source>Renamed so that no output replaces another from this run:</source>
        <translation>Umbenannt, damit keine Ausgabe eine andere dieses Laufs ersetzt:</translation>
    </message>
    <message>
        <source>1 file was up to date and left as it was.</source>
        <translation>1 Datei war aktuell und blieb unverändert.</translation>
    </message>
    <message>
        <source>%1 files were up to date and left as they were.</source>
        <translation>%1 Dateien waren aktuell und blieben unverändert.</translation>
    </message>
</context>
<context>
    <name>RunEnd</name>
    <message>
        <source>%1 file converted</source>
        <translation>%1 Datei umgewandelt</translation>
    </message>
    <message>
        <source>%1 files converted</source>
        <translation>%1 Dateien umgewandelt</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>RunStatus</name>
    <message>
        <source>File %1 of %2</source>
        <translation>Datei %1 von %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>noch etwa %1</translation>
    </message>
    <message>
        <source>%1 converted in %2</source>
        <translation>%1 umgewandelt in %2</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fehlgeschlagen</translation>
    </message>
    <message>
        <source>%1 with warnings</source>
        <translation>%1 mit Warnungen</translation>
    </message>
    <message>
        <source>Stopped: %1 of %2 converted</source>
        <translation>Angehalten: %1 von %2 umgewandelt</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>%1 kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>not an ordinary file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>larger than %1 KiB</source>
        <translation>größer als %1 KiB</translation>
    </message>
    <message>
        <source>not readable (%1)</source>
        <translation>nicht lesbar (%1)</translation>
    </message>
    <message>
        <source>the folder is not writable</source>
        <translation>der Ordner ist nicht beschreibbar</translation>
    </message>
    <message>
        <source>writing failed</source>
        <translation>das Schreiben schlug fehl</translation>
    </message>
    <message>
        <source>the file could not be replaced</source>
        <translation>die Datei ließ sich nicht ersetzen</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Cannot save %1: it is %2, and is left as it is</source>
        <translation>%1 kann nicht gespeichert werden: Sie ist %2 und bleibt, wie sie ist</translation>
    </message>
    <message>
        <source>Cannot save %1: the output folder contains a double quote or a line break</source>
        <translation>%1 kann nicht gespeichert werden: Der Ausgabeordner enthält ein doppeltes Anführungszeichen oder einen Zeilenumbruch</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>The settings folder %1 cannot be used: %2. The default settings are used and none are saved.</source>
        <translation>Der Einstellungsordner %1 ist nicht nutzbar: %2. Es gelten die Standardeinstellungen, und es wird nichts gespeichert.</translation>
    </message>
    <message>
        <source>it belongs to root, not to %1 (left by a start with sudo?). Give it back with &quot;sudo chown -R %1: %2&quot;, or remove it</source>
        <translation>er gehört root, nicht %1 (von einem Start mit sudo übrig?). Mit „sudo chown -R %1: %2“ zurückgeben oder ihn entfernen</translation>
    </message>
    <message>
        <source>it belongs to %1, not to %2</source>
        <translation>er gehört %1, nicht %2</translation>
    </message>
    <message>
        <source>%1: %2, so it is ignored and left as it is; the defaults are used.</source>
        <translation>%1: %2, daher wird sie übergangen und bleibt, wie sie ist; es gelten die Standardwerte.</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>%1 kann nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>er ist kein Ordner</translation>
    </message>
    <message>
        <source>This output folder cannot be remembered because its name contains a double quote (&quot;) or a line break:
%1</source>
        <translation>Dieser Ausgabeordner kann nicht gespeichert werden, weil sein Name ein doppeltes Anführungszeichen (&quot;) oder einen Zeilenumbruch enthält:
%1</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Add File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Sound Reminder</source>
        <translation>Signalton</translation>
    </message>
    <message>
        <source>Music Cutter</source>
        <translation>Zuschnitt</translation>
    </message>
    <message>
        <source>Convert only part of each file</source>
        <translation>Nur einen Teil jeder Datei</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Ab</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Std</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Sec</source>
        <translation>Sek</translation>
    </message>
    <message>
        <source>Simultaneous conversions</source>
        <translation>Gleichzeitige Umwandlungen</translation>
    </message>
    <message>
        <source>Keep sub-folders</source>
        <translation>Unterordner behalten</translation>
    </message>
    <message>
        <source>of an added folder</source>
        <translation>eines Ordners</translation>
    </message>
    <message>
        <source>Only new and changed files</source>
        <translation>Nur neue und geänderte</translation>
    </message>
    <message>
        <source>since the last run</source>
        <translation>seit dem letzten Lauf</translation>
    </message>
    <message>
        <source>ReplayGain tags</source>
        <translation>ReplayGain-Tags</translation>
    </message>
    <message>
        <source>track and album loudness</source>
        <translation>Titel- und Albumlautheit</translation>
    </message>
    <message>
        <source>Open the output folder</source>
        <translation>Ausgabeordner öffnen</translation>
    </message>
    <message>
        <source>when done</source>
        <translation>wenn fertig</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Dateinamen</translation>
    </message>
    <message>
        <source>Input files</source>
        <translation>Eingabedateien</translation>
    </message>
    <message>
        <source>Converted from the top down</source>
        <translation>Umgewandelt von oben nach unten</translation>
    </message>
    <message>
        <source>Output format</source>
        <translation>Ausgabeformat</translation>
    </message>
    <message>
        <source>Bitrate (kbps)</source>
        <translation>Bitrate (kbit/s)</translation>
    </message>
    <message>
        <source>Sample rate (Hz)</source>
        <translation>Abtastrate (Hz)</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Kanäle</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Fortschritt</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Umwandeln</translation>
    </message>
</context>
<context>
    <name>UnusedChoices</name>
    <message>
        <source>%1 cannot use %2 Hz; the converter uses the nearest it can</source>
        <translation>%1 kann %2 Hz nicht nutzen; der Konverter nimmt die nächstmögliche Rate</translation>
    </message>
    <message>
        <source>%1 always uses %2 Hz; --rate %3 is not used</source>
        <translation>%1 nutzt immer %2 Hz; --rate %3 bleibt ungenutzt</translation>
    </message>
    <message>
        <source>%1 has no choice of rate; --rate %2 is not used</source>
        <translation>%1 hat keine wählbare Rate; --rate %2 bleibt ungenutzt</translation>
    </message>
    <message>
        <source>%1 has no bitrate; --bitrate %2 is not used</source>
        <translation>%1 hat keine Bitrate; --bitrate %2 bleibt ungenutzt</translation>
    </message>
    <message>
        <source>%1 has a bitrate of its own; --bitrate %2 is not used</source>
        <translation>%1 hat eine eigene Bitrate; --bitrate %2 bleibt ungenutzt</translation>
    </message>
</context>
<context>
    <name>WindowArguments</name>
    <message>
        <source>an empty file name was given</source>
        <translation>ein leerer Dateiname wurde angegeben</translation>
    </message>
    <message>
        <source>unknown option %1 (options apply to --batch only; see pelkora --batch --help)</source>
        <translation>unbekannte Option %1 (Optionen gelten nur für --batch; siehe pelkora --batch --help)</translation>
    </message>
    <message>
        <source>%1: the current folder cannot be read; give the full path</source>
        <translation>%1: der aktuelle Ordner ist nicht lesbar; bitte den vollen Pfad angeben</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Help &amp; Tutorial</source>
        <translation>Hilfe und Anleitung</translation>
    </message>
    <message>
        <source>Minimize Window</source>
        <translation>Fenster minimieren</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Add File</source>
        <translation>Datei hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Input files</source>
        <translation>Eingabedateien</translation>
    </message>
    <message>
        <source>Output Format</source>
        <translation>Ausgabeformat</translation>
    </message>
    <message>
        <source>Open the output format list</source>
        <translation>Liste der Ausgabeformate öffnen</translation>
    </message>
    <message>
        <source>MP3 Audio Bitrate</source>
        <translation>MP3-Audio-Bitrate</translation>
    </message>
    <message>
        <source>Open the bitrate list</source>
        <translation>Liste der Bitraten öffnen</translation>
    </message>
    <message>
        <source>MP3 Audio Rate</source>
        <translation>MP3-Abtastrate</translation>
    </message>
    <message>
        <source>Open the sample rate list</source>
        <translation>Liste der Abtastraten öffnen</translation>
    </message>
    <message>
        <source>MP3 Audio Channel(Stereo or Mono)</source>
        <translation>MP3-Audiokanäle (Stereo oder Mono)</translation>
    </message>
    <message>
        <source>Open the channels list</source>
        <translation>Liste der Kanäle öffnen</translation>
    </message>
    <message>
        <source>Select a Folder to Output</source>
        <translation>Ausgabeordner wählen</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Ausgabeordner</translation>
    </message>
    <message>
        <source>Select an Output Folder</source>
        <translation>Einen Ausgabeordner wählen</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Run status</source>
        <translation>Laufstatus</translation>
    </message>
    <message>
        <source>Ver %1.%2.%3</source>
        <translation>Ver %1.%2.%3</translation>
    </message>
    <message>
        <source>Pelkora home page</source>
        <translation>Pelkora-Webseite</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Send us your suggestion or question</source>
        <translation>Schicken Sie uns Ihren Vorschlag oder Ihre Frage</translation>
    </message>
    <message>
        <source>Add a file</source>
        <translation>Eine Datei hinzufügen</translation>
    </message>
    <message>
        <source>Add a new file to file list</source>
        <translation>Eine neue Datei zur Dateiliste hinzufügen</translation>
    </message>
    <message>
        <source>Remove a file</source>
        <translation>Eine Datei entfernen</translation>
    </message>
    <message>
        <source>Remove a file from file list</source>
        <translation>Eine Datei aus der Dateiliste entfernen</translation>
    </message>
    <message>
        <source>Start converting</source>
        <translation>Umwandlung starten</translation>
    </message>
    <message>
        <source>Start Converting</source>
        <translation>Umwandlung starten</translation>
    </message>
    <message>
        <source>Drag media files onto this DropZone</source>
        <translation>Mediendateien auf diese Ablagefläche ziehen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;Info</translation>
    </message>
</context>
<context>
    <name>frmMenu</name>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Add a File(&amp;A)</source>
        <translation>&amp;Datei hinzufügen</translation>
    </message>
    <message>
        <source>Add a Folder(&amp;F)</source>
        <translation>&amp;Ordner hinzufügen</translation>
    </message>
    <message>
        <source>Exit(&amp;E)</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Options(&amp;O)</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Help(&amp;H)</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>About(&amp;A)</source>
        <translation>&amp;Info</translation>
    </message>
    <message>
        <source>Remove &amp;Selected</source>
        <translation>&amp;Ausgewählte entfernen</translation>
    </message>
    <message>
        <source>Remove &amp;All</source>
        <translation>A&amp;lle entfernen</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>MP3 Audio Bitrate</source>
        <translation>MP3-Audio-Bitrate</translation>
    </message>
    <message>
        <source>Sound Reminder</source>
        <translation>Signalton</translation>
    </message>
    <message>
        <source>Open the sound reminder list</source>
        <translation>Liste des Signaltons öffnen</translation>
    </message>
    <message>
        <source>Music Cutter</source>
        <translation>Zuschnitt</translation>
    </message>
    <message>
        <source>From hours</source>
        <translation>Ab Stunden</translation>
    </message>
    <message>
        <source>From minutes</source>
        <translation>Ab Minuten</translation>
    </message>
    <message>
        <source>From seconds</source>
        <translation>Ab Sekunden</translation>
    </message>
    <message>
        <source>Duration hours</source>
        <translation>Dauer Stunden</translation>
    </message>
    <message>
        <source>Duration minutes</source>
        <translation>Dauer Minuten</translation>
    </message>
    <message>
        <source>Duration seconds</source>
        <translation>Dauer Sekunden</translation>
    </message>
    <message>
        <source>How many files are converted at the same time</source>
        <translation>Wie viele Dateien gleichzeitig umgewandelt werden</translation>
    </message>
    <message>
        <source>Simultaneous conversions</source>
        <translation>Gleichzeitige Umwandlungen</translation>
    </message>
    <message>
        <source>Open the simultaneous conversions list</source>
        <translation>Liste der gleichzeitigen Umwandlungen öffnen</translation>
    </message>
    <message>
        <source>Keep sub-folders</source>
        <translation>Unterordner behalten</translation>
    </message>
    <message>
        <source>Write the files of an added folder into the same sub-folders</source>
        <translation>Die Dateien eines hinzugefügten Ordners in dieselben Unterordner schreiben</translation>
    </message>
    <message>
        <source>Only new and changed files</source>
        <translation>Nur neue und geänderte Dateien</translation>
    </message>
    <message>
        <source>Convert only files that are new or changed since the last run into the output folder, as recorded there; leave the others as they are</source>
        <translation>Nur Dateien umwandeln, die seit dem letzten Lauf in den Ausgabeordner neu sind oder sich geändert haben, wie dort verzeichnet; die übrigen bleiben, wie sie sind</translation>
    </message>
    <message>
        <source>ReplayGain tags</source>
        <translation>ReplayGain-Tags</translation>
    </message>
    <message>
        <source>Measure the loudness of each file and write ReplayGain 2.0 tags for the track and the album</source>
        <translation>Die Lautheit jeder Datei messen und ReplayGain-2.0-Tags für Titel und Album schreiben</translation>
    </message>
    <message>
        <source>Open the output folder when done</source>
        <translation>Ausgabeordner öffnen, wenn fertig</translation>
    </message>
    <message>
        <source>Name up to the first dot</source>
        <translation>Name bis zum ersten Punkt</translation>
    </message>
    <message>
        <source>The output&apos;s path below the output folder, from fields such as {artist}, {album}, {track}, {title}, {stem} or {folder}</source>
        <translation>Der Pfad der Ausgabe unterhalb des Ausgabeordners, aus Feldern wie {artist}, {album}, {track}, {title}, {stem} oder {folder}</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Dateinamen</translation>
    </message>
    <message>
        <source>Open the file names list</source>
        <translation>Liste der Dateinamen öffnen</translation>
    </message>
    <message>
        <source>File name example</source>
        <translation>Beispiel für den Dateinamen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>another copy is running but did not take the files</source>
        <translation>eine andere Kopie läuft, hat die Dateien aber nicht übernommen</translation>
    </message>
</context>
</TS>
