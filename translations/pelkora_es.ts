<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>About</name>
    <message>
        <source>Pelkora, the batch audio converter, by the Pelkora team</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Pelkora team. All rights reserved.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AddFile</name>
    <message>
        <source>Open Files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All supported files|*.wav;*.flac;*.mp3;*.wma;*.mp4;*.avi;*.mpg;*.wmv;*.flv;*.mov;*.vob;*.rm;*.3gp;*.ogg;*.opus;*.m4a;*.aac;*.ac3;*.amr;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mkv;*.webm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WAVE Files(*.wav)|*.wav|FLAC Files(*.flac)|*.flac|MP3 Audio(*.mp3)|*.mp3|WMA Audio(*.wma)|*.wma|MPEG4 Files(*.mp4)|*.mp4|AVI Files(*.avi)|*.avi|MPG Files(*.mpg)|*.mpg|WMV Files(*.wmv)|*.wmv|Flash Video(*.flv)|*.flv|QuickTime Format(*.mov)|*.mov|DVD VOB(*.vob)|*.vob|Real Video(*.rm)|*.rm|3GP Video(*.3gp)|*.3gp|All Media Formats(*.*)|*.*</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AddFolder</name>
    <message>
        <source>Please select a folder:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BatchArguments</name>
    <message>
        <source> (pelkora --batch --help lists the options)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an empty argument names no file or folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no files or folders to convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--prune needs --sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--shard needs --sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs START and LENGTH (as 75 30)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 is not one of %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 does not end in .csv or .json</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 is not a whole number of 1 or more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 lowered to %3, the most conversions at once here (4 per processor core)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 %2 is not K/N, share K of N, with K from 1 to N (as 2/5)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 start %2 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below 60, at most 2147483647 seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs START and LENGTH (as 75 30); %2 is not a time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 length %2 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below 60, at most 2147483647 seconds</source>
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Examples:
  pelkora --batch --format flac --output ~/Music/flac ~/Recordings
  pelkora -b --format mp3 --bitrate 192 --channels mono -j 2 talk.wav notes.ogg
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BatchTexts</name>
    <message>
        <source>pelkora: --bitrate %1 is not a bitrate of %2, which takes %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2 done · run %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: up to date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: up to date, %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>: warning: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (silent, peak %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (%1 LUFS, peak %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 converted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 with warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 up to date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 pruned</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 folder could not be read; its files were not converted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 folders could not be read; their files were not converted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renamed to keep outputs apart:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converted with warnings:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pelkora: interrupted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pelkora: hung up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pelkora: quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pelkora: terminated</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Choices</name>
    <message>
        <source>Mono</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ON</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OFF</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommonDialogs</name>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CutRange</name>
    <message>
        <source>Minutes must less than 60</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seconds must less than 60</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time must be less than 596523 hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hour</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FileName</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag &amp; Drop Files Here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Searching Files...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FolderSearch</name>
    <message>
        <source>1 sub-folder was left out, with everything below it: only the first %2 sub-folders of any one folder are searched.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sub-folders were left out, with everything below them: only the first %2 sub-folders of any one folder are searched.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 folder could not be read; its files are not in the list.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 folders could not be read; their files are not in the list.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HeadlessRun</name>
    <message>
        <source>%1: no such file or folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--output %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the output folder %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pruned: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>Stop converting and exit?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please add a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NamePattern</name>
    <message>
        <source>the name pattern is empty</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a } without its { in the name pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>a { without its } in the name pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown field {%1} in the name pattern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name pattern starts with /; it names a path below the output folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the name pattern names a parent folder (..)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OptionsController</name>
    <message>
        <source>Example: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OutputFolder</name>
    <message>
        <source>cannot be made: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not a writable folder: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportFile</name>
    <message>
        <source>it is a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no such folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>its folder is not writable (%1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReportingShell</name>
    <message>
        <source>The folder could not be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The page could not be opened: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunDisplay</name>
    <message>
        <source>

and %1 more</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This file could not be converted:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>These files could not be converted:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converted with warnings (the input may be damaged or cut short):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Renamed so that no output replaces another from this run:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 file was up to date and left as it was.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files were up to date and left as they were.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunEnd</name>
    <message>
        <source>%1 file converted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files converted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RunStatus</name>
    <message>
        <source>File %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 converted in %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 with warnings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped: %1 of %2 converted</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>Cannot save %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not an ordinary file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>larger than %1 KiB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not readable (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the folder is not writable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>writing failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file could not be replaced</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Cannot save %1: it is %2, and is left as it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save %1: the output folder contains a double quote or a line break</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>The settings folder %1 cannot be used: %2. The default settings are used and none are saved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it belongs to root, not to %1 (left by a start with sudo?). Give it back with &quot;sudo chown -R %1: %2&quot;, or remove it</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it belongs to %1, not to %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2, so it is ignored and left as it is; the defaults are used.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This output folder cannot be remembered because its name contains a double quote (&quot;) or a line break:
%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UnusedChoices</name>
    <message>
        <source>%1 cannot use %2 Hz; the converter uses the nearest it can</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 always uses %2 Hz; --rate %3 is not used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has no choice of rate; --rate %2 is not used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has no bitrate; --bitrate %2 is not used</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 has a bitrate of its own; --bitrate %2 is not used</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WindowArguments</name>
    <message>
        <source>an empty file name was given</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown option %1 (options apply to --batch only; see pelkora --batch --help)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: the current folder cannot be read; give the full path</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help &amp; Tutorial</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimize Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the output format list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3 Audio Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the bitrate list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3 Audio Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sample rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the sample rate list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3 Audio Channel(Stereo or Mono)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the channels list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select a Folder to Output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select an Output Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ver %1.%2.%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pelkora home page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send us your suggestion or question</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add a new file to file list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove a file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remove a file from file list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start converting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Converting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag media files onto this DropZone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MP3 Audio Bitrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound Reminder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the sound reminder list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Music Cutter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Duration seconds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How many files are converted at the same time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simultaneous conversions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the simultaneous conversions list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep sub-folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Write the files of an added folder into the same sub-folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only new and changed files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert only files that are new or changed since the last run into the output folder, as recorded there; leave the others as they are</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ReplayGain tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Measure the loudness of each file and write ReplayGain 2.0 tags for the track and the album</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the output folder when done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name up to the first dot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The output&apos;s path below the output folder, from fields such as {artist}, {album}, {track}, {title}, {stem} or {folder}</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File names</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open the file names list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File name example</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>another copy is running but did not take the files</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
