<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>About</name>
    <message>
        <source>Pelkora, the batch audio converter, by the Pelkora team</source>
        <translation>Pelkora, le convertisseur audio par lots, par l’équipe Pelkora</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Pelkora team. All rights reserved.</source>
        <translation>Copyright (C) 2026 l’équipe Pelkora. Tous droits réservés.</translation>
    </message>
</context>
<context>
    <name>AddFile</name>
    <message>
        <source>Open Files</source>
        <translation>Ouvrir des fichiers</translation>
    </message>
    <message>
        <source>All supported files|*.wav;*.flac;*.mp3;*.wma;*.mp4;*.avi;*.mpg;*.wmv;*.flv;*.mov;*.vob;*.rm;*.3gp;*.ogg;*.opus;*.m4a;*.aac;*.ac3;*.amr;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mkv;*.webm</source>
        <translation>Tous les fichiers pris en charge|*.wav;*.flac;*.mp3;*.wma;*.mp4;*.avi;*.mpg;*.wmv;*.flv;*.mov;*.vob;*.rm;*.3gp;*.ogg;*.opus;*.m4a;*.aac;*.ac3;*.amr;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mkv;*.webm</translation>
    </message>
    <message>
        <source>WAVE Files(*.wav)|*.wav|FLAC Files(*.flac)|*.flac|MP3 Audio(*.mp3)|*.mp3|WMA Audio(*.wma)|*.wma|MPEG4 Files(*.mp4)|*.mp4|AVI Files(*.avi)|*.avi|MPG Files(*.mpg)|*.mpg|WMV Files(*.wmv)|*.wmv|Flash Video(*.flv)|*.flv|QuickTime Format(*.mov)|*.mov|DVD VOB(*.vob)|*.vob|Real Video(*.rm)|*.rm|3GP Video(*.3gp)|*.3gp|All Media Formats(*.*)|*.*</source>
        <translation>Fichiers WAVE(*.wav)|*.wav|Fichiers FLAC(*.flac)|*.flac|Audio MP3(*.mp3)|*.mp3|Audio WMA(*.wma)|*.wma|Fichiers MPEG4(*.mp4)|*.mp4|Fichiers AVI(*.avi)|*.avi|Fichiers MPG(*.mpg)|*.mpg|Fichiers WMV(*.wmv)|*.wmv|Vidéo Flash(*.flv)|*.flv|Format QuickTime(*.mov)|*.mov|VOB de DVD(*.vob)|*.vob|Vidéo Real(*.rm)|*.rm|Vidéo 3GP(*.3gp)|*.3gp|Tous les formats multimédias(*.*)|*.*</translation>
    </message>
</context>
<context>
    <name>AddFolder</name>
    <message>
        <source>Please select a folder:</source>
        <translation>Veuillez choisir un dossier :</translation>
    </message>
</context>
<context>
    <name>BatchArguments</name>
    <message>
        <source> (pelkora --batch --help lists the options)</source>
        <translation> (pelkora --batch --help liste les options)</translation>
    </message>
    <message>
        <source>an empty argument names no file or folder</source>
        <translation>un argument vide ne désigne aucun fichier ni dossier</translation>
    </message>
    <message>
        <source>no files or folders to convert</source>
        <translation>aucun fichier ni dossier à convertir</translation>
    </message>
    <message>
        <source>--prune needs --sync</source>
        <translation>--prune exige --sync</translation>
    </message>
    <message>
        <source>--shard needs --sync</source>
        <translation>--shard exige --sync</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>option inconnue %1</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 ne prend pas de valeur</translation>
    </message>
    <message>
        <source>%1 needs START and LENGTH (as 75 30)</source>
        <translation>%1 exige START et LENGTH (par exemple 75 30)</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 exige une valeur</translation>
    </message>
    <message>
        <source>%1 %2 is not one of %3</source>
        <translation>%1 %2 ne fait pas partie de %3</translation>
    </message>
    <message>
        <source>%1 needs a folder</source>
        <translation>%1 exige un dossier</translation>
    </message>
    <message>
        <source>%1 %2 does not end in .csv or .json</source>
        <translation>%1 %2 ne se termine pas par .csv ou .json</translation>
    </message>
    <message>
        <source>%1 %2 is not a whole number of 1 or more</source>
        <translation>%1 %2 n’est pas un nombre entier supérieur ou égal à 1</translation>
    </message>
    <message>
        <source>%1 %2 lowered to %3, the most conversions at once here (4 per processor core)</source>
        <translation>%1 %2 ramené à %3, le maximum de conversions simultanées ici (4 par cœur de processeur)</translation>
    </message>
    <message>
        <source>%1 %2 is not K/N, share K of N, with K from 1 to N (as 2/5)</source>
        <translation>%1 %2 n’est pas de la forme K/N, part K sur N, avec K de 1 à N (par exemple 2/5)</translation>
    </message>
    <message>
        <source>%1 start %2 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below 60, at most 2147483647 seconds</source>
        <translation>%1 : le début %2 n’est pas une durée : secondes entières, M:S ou H:M:S, minutes et secondes inférieures à 60, au plus 2147483647 secondes</translation>
    </message>
    <message>
        <source>%1 needs START and LENGTH (as 75 30); %2 is not a time</source>
        <translation>%1 exige START et LENGTH (par exemple 75 30) ; %2 n’est pas une durée</translation>
    </message>
    <message>
        <source>%1 length %2 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below 60, at most 2147483647 seconds</source>
        <translation>%1 : la longueur %2 n’est pas une durée : secondes entières, M:S ou H:M:S, minutes et secondes inférieures à 60, au plus 2147483647 secondes</translation>
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
        <translation>Utilisation : pelkora --batch [options] FILE|FOLDER ...
              pelkora -b [options] FILE|FOLDER ...
              pelkora [FILE|FOLDER ...]

Sans --batch, la fenêtre s&apos;ouvre avec les FILE et FOLDER dans sa liste (une
copie déjà lancée les reçoit à sa place).

Convertit chaque FILE, et chaque fichier trouvé dans chaque FOLDER et ses
sous-dossiers, sans ouvrir la fenêtre. Les réglages non donnés ici viennent des
fichiers de réglages du programme (setup.ini, options.ini), qui sont lus et
jamais écrits.

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
        <translation>Options :
  --format FORMAT     format de sortie (m4a est de l&apos;AAC, alac de l&apos;Apple
                      Lossless en .m4a) :
                      %1,
                      %2
  --bitrate KBPS      débit binaire de mp3, mpg, opus et m4a en kbit/s ; mp3
                      et mpg : %3
                      opus : %4
                      m4a : %5
  --rate HZ           fréquence d&apos;échantillonnage de mp3, mpg et m4a (opus est
                      toujours à 48000) : %6
  --channels MODE     canaux de mp3, mpg, opus et m4a : mono ou stereo (ou
                      1 ou 2)
  --output DIR        dossier où sont écrits les fichiers convertis
  --cut START LENGTH  convertir un morceau de chaque fichier ; durées en
                      secondes, M:S ou H:M:S ; une LENGTH de 0 va jusqu&apos;à la
                      fin du fichier
  -j, --jobs N        conversions menées en même temps (par défaut : une par
                      cœur de processeur) ; un N de plus de 4 par cœur est
                      abaissé
  --keep-tree         garder les sous-dossiers de chaque FOLDER dans le
                      dossier de sortie
  --name PATTERN      nommer les sorties d&apos;après leurs balises, sous le dossier
                      de sortie et sans extension, par exemple
                      &quot;{artist}/{album}/{track} - {title}&quot; ;
                      champs : {artist} {albumartist} {album} {title} {track}
                      {disc} {year} {genre} {name} {stem} {folder}
  --replaygain        écrire les balises de volume ReplayGain 2.0 (piste et
                      album)
  --report FILE       écrire une ligne par fichier dans FILE, en CSV ou JSON
                      selon l&apos;extension (.csv, .json), même en cas d&apos;arrêt
                      par un signal
  --sync              ne convertir que les fichiers nouveaux ou modifiés
                      (contenu ou réglages) depuis le dernier --sync vers ce
                      dossier de sortie ; les autres restent tels quels, ou
                      sont déplacés si seul --name a changé ; le registre est
                      le fichier .pelkora-sync.sqlite du dossier
  --prune             avec --sync : mettre à la corbeille les sorties faites à
                      partir de sources disparues ; donnez-lui chaque FOLDER
                      synchronisé vers ce dossier de sortie, sinon leurs
                      sorties partent aussi
  --shard K/N         avec --sync : ne convertir que la part K sur N des
                      sources, réparties selon leur chemin sous chaque FOLDER ;
                      N exécutions, sur une ou plusieurs machines, vers un même
                      dossier de sortie convertissent chaque source une fois
  -q, --quiet         ne signaler que les échecs
  -h, --help          afficher cette aide et terminer
  -V, --version       afficher la version et terminer
  --                  seuls des FILE et FOLDER suivent, même commençant par -

La progression et le bilan vont sur la sortie d&apos;erreur standard.

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
        <translation>Code de sortie :
  %1    chaque fichier converti
  %2    des fichiers en échec, ou un dossier illisible ; les autres ont été
       convertis
  %3    mauvaise utilisation, ou registre --sync inutilisable ; rien n&apos;a été
       converti
  %4    chaque fichier converti, certains avec avertissements (entrée
       endommagée ou courte)
  %5  arrêté par SIGINT (Ctrl+C) ; les sorties inachevées sont supprimées
  %6  arrêté par SIGTERM ; les sorties inachevées sont supprimées
  %7  arrêté par SIGHUP, %8 par SIGQUIT, de la même façon (un signal ignoré
       au démarrage, comme sous nohup, reste ignoré)

</translation>
    </message>
    <message>
        <source>Examples:
  pelkora --batch --format flac --output ~/Music/flac ~/Recordings
  pelkora -b --format mp3 --bitrate 192 --channels mono -j 2 talk.wav notes.ogg
</source>
        <translation>Exemples :
  pelkora --batch --format flac --output ~/Musique/flac ~/Enregistrements
  pelkora -b --format mp3 --bitrate 192 --channels mono -j 2 cours.wav notes.ogg
</translation>
    </message>
</context>
<context>
    <name>BatchTexts</name>
    <message>
        <source>pelkora: --bitrate %1 is not a bitrate of %2, which takes %3</source>
        <translation>pelkora: --bitrate %1 n’est pas un débit binaire de %2, qui accepte %3</translation>
    </message>
    <message>
        <source>%1 of %2 done · run %3</source>
        <translation>%1 sur %2 terminés · ensemble %3</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>environ %1 restantes</translation>
    </message>
    <message>
        <source>: up to date</source>
        <translation> : à jour</translation>
    </message>
    <message>
        <source>: up to date, %1</source>
        <translation> : à jour, %1</translation>
    </message>
    <message>
        <source>: failed: %1</source>
        <translation> : échec : %1</translation>
    </message>
    <message>
        <source>: warning: %1</source>
        <translation> : avertissement : %1</translation>
    </message>
    <message>
        <source> (silent, peak %1)</source>
        <translation> (silence, crête %1)</translation>
    </message>
    <message>
        <source> (%1 LUFS, peak %2)</source>
        <translation> (%1 LUFS, crête %2)</translation>
    </message>
    <message>
        <source>%1 converted</source>
        <translation>%1 converti(s)</translation>
    </message>
    <message>
        <source>%1 with warnings</source>
        <translation>%1 avec avertissements</translation>
    </message>
    <message>
        <source>%1 up to date</source>
        <translation>%1 à jour</translation>
    </message>
    <message>
        <source>%1 pruned</source>
        <translation>%1 nettoyé(s)</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 en échec</translation>
    </message>
    <message>
        <source>1 folder could not be read; its files were not converted</source>
        <translation>1 dossier n’a pas pu être lu ; ses fichiers n’ont pas été convertis</translation>
    </message>
    <message>
        <source>%1 folders could not be read; their files were not converted</source>
        <translation>%1 dossiers n’ont pas pu être lus ; leurs fichiers n’ont pas été convertis</translation>
    </message>
    <message>
        <source>Renamed to keep outputs apart:</source>
        <translation>Renommés pour que les sorties restent distinctes :</translation>
    </message>
    <message>
        <source>Converted with warnings:</source>
        <translation>Convertis avec avertissements :</translation>
    </message>
    <message>
        <source>pelkora: interrupted</source>
        <translation>pelkora: interrompu</translation>
    </message>
    <message>
        <source>pelkora: hung up</source>
        <translation>pelkora: raccroché (SIGHUP)</translation>
    </message>
    <message>
        <source>pelkora: quit</source>
        <translation>pelkora: quitté (SIGQUIT)</translation>
    </message>
    <message>
        <source>pelkora: terminated</source>
        <translation>pelkora: arrêté</translation>
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
        <translation>Stéréo</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>OUI</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>NON</translation>
    </message>
</context>
<context>
    <name>CommonDialogs</name>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
</context>
<context>
    <name>CutRange</name>
    <message>
        <source>Minutes must less than 60</source>
        <translation>Les minutes doivent être inférieures à 60</translation>
    </message>
    <message>
        <source>Seconds must less than 60</source>
        <translation>Les secondes doivent être inférieures à 60</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Time must be less than 596523 hours</source>
        <translation>La durée doit être inférieure à 596523 heures</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Heure</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Afficher</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>failed: %1</source>
        <translation>échec : %1</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Nom du fichier</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Drag &amp; Drop Files Here</source>
        <translation>Déposez les fichiers ici</translation>
    </message>
    <message>
        <source>Searching Files...</source>
        <translation>Recherche des fichiers…</translation>
    </message>
</context>
<context>
    <name>FolderSearch</name>
    <message>
        <source>1 sub-folder was left out, with everything below it: only the first %2 sub-folders of any one folder are searched.</source>
        <translation>1 sous-dossier a été ignoré, avec tout son contenu : seuls les %2 premiers sous-dossiers d’un dossier sont parcourus.</translation>
    </message>
    <message>
        <source>%1 sub-folders were left out, with everything below them: only the first %2 sub-folders of any one folder are searched.</source>
        <translation>%1 sous-dossiers ont été ignorés, avec tout leur contenu : seuls les %2 premiers sous-dossiers d’un dossier sont parcourus.</translation>
    </message>
    <message>
        <source>1 folder could not be read; its files are not in the list.</source>
        <translation>1 dossier n’a pas pu être lu ; ses fichiers ne sont pas dans la liste.</translation>
    </message>
    <message>
        <source>%1 folders could not be read; their files are not in the list.</source>
        <translation>%1 dossiers n’ont pas pu être lus ; leurs fichiers ne sont pas dans la liste.</translation>
    </message>
</context>
<context>
    <name>HeadlessRun</name>
    <message>
        <source>%1: no such file or folder</source>
        <translation>%1 : fichier ou dossier introuvable</translation>
    </message>
    <message>
        <source>--output %1 %2</source>
        <translation>--output %1 %2</translation>
    </message>
    <message>
        <source>the output folder %1 %2</source>
        <translation>le dossier de sortie %1 %2</translation>
    </message>
    <message>
        <source>pruned: %1</source>
        <translation>nettoyé : %1</translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>Stop converting and exit?</source>
        <translation>Arrêter la conversion et quitter ?</translation>
    </message>
    <message>
        <source>Please add a file</source>
        <translation>Veuillez ajouter un fichier</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Terminé.</translation>
    </message>
</context>
<context>
    <name>NamePattern</name>
    <message>
        <source>the name pattern is empty</source>
        <translation>le modèle de nom est vide</translation>
    </message>
    <message>
        <source>a } without its { in the name pattern</source>
        <translation>une } sans sa { dans le modèle de nom</translation>
    </message>
    <message>
        <source>a { without its } in the name pattern</source>
        <translation>une { sans sa } dans le modèle de nom</translation>
    </message>
    <message>
        <source>unknown field {%1} in the name pattern</source>
        <translation>champ inconnu {%1} dans le modèle de nom</translation>
    </message>
    <message>
        <source>the name pattern starts with /; it names a path below the output folder</source>
        <translation>le modèle de nom commence par / ; il désigne un chemin sous le dossier de sortie</translation>
    </message>
    <message>
        <source>the name pattern names a parent folder (..)</source>
        <translation>le modèle de nom désigne un dossier parent (..)</translation>
    </message>
</context>
<context>
    <name>OptionsController</name>
    <message>
        <source>Example: %1</source>
        <translation>Exemple : %1</translation>
    </message>
</context>
<context>
    <name>OutputFolder</name>
    <message>
        <source>cannot be made: %1</source>
        <translation>ne peut pas être créé : %1</translation>
    </message>
    <message>
        <source>is not a folder</source>
        <translation>n’est pas un dossier</translation>
    </message>
    <message>
        <source>is not a writable folder: %1</source>
        <translation>n’est pas un dossier accessible en écriture : %1</translation>
    </message>
</context>
<context>
    <name>ProgressFill</name>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
</context>
<context>
    <name>ReportFile</name>
    <message>
        <source>it is a folder</source>
        <translation>c’est un dossier</translation>
    </message>
    <message>
        <source>no such folder</source>
        <translation>dossier introuvable</translation>
    </message>
    <message>
        <source>its folder is not writable (%1)</source>
        <translation>son dossier n’est pas accessible en écriture (%1)</translation>
    </message>
</context>
<context>
    <name>ReportingShell</name>
    <message>
        <source>The folder could not be opened: %1</source>
        <translation>Le dossier n’a pas pu être ouvert : %1</translation>
    </message>
    <message>
        <source>The page could not be opened: %1</source>
        <translation>La page n’a pas pu être ouverte : %1</translation>
    </message>
</context>
<context>
    <name>RunDisplay</name>
    <message>
        <source>

and %1 more</source>
        <translation>

et %1 de plus</translation>
    </message>
    <message>
        <source>This file could not be converted:</source>
        <translation>Ce fichier n’a pas pu être converti :</translation>
    </message>
    <message>
        <source>These files could not be converted:</source>
        <translation>Ces fichiers n’ont pas pu être convertis :</translation>
    </message>
    <message>
        <source>Converted with warnings (the input may be damaged or cut short):</source>
        <translation>Convertis avec avertissements (l’entrée est peut-être endommagée ou tronquée) :</translation>
    </message>
    <message>
        <source>Renamed so that no output replaces another from this run:</source>
        <translation>Renommés pour qu’aucune sortie n’en remplace une autre de cette série :</translation>
    </message>
    <message>
        <source>1 file was up to date and left as it was.</source>
        <translation>1 fichier était à jour et a été laissé tel quel.</translation>
    </message>
    <message>
        <source>%1 files were up to date and left as they were.</source>
        <translation>%1 fichiers étaient à jour et ont été laissés tels quels.</translation>
    </message>
</context>
<context>
    <name>RunEnd</name>
    <message>
        <source>%1 file converted</source>
        <translation>%1 fichier converti</translation>
    </message>
    <message>
        <source>%1 files converted</source>
        <translation>%1 fichiers convertis</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 en échec</translation>
    </message>
</context>
<context>
    <name>RunStatus</name>
    <message>
        <source>File %1 of %2</source>
        <translation>Fichier %1 sur %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>environ %1 restantes</translation>
    </message>
    <message>
        <source>%1 converted in %2</source>
        <translation>%1 converti(s) en %2</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 en échec</translation>
    </message>
    <message>
        <source>%1 with warnings</source>
        <translation>%1 avec avertissements</translation>
    </message>
    <message>
        <source>Stopped: %1 of %2 converted</source>
        <translation>Arrêté : %1 sur %2 convertis</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>Impossible d’enregistrer %1 : %2</translation>
    </message>
    <message>
        <source>not an ordinary file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>larger than %1 KiB</source>
        <translation>plus de %1 Kio</translation>
    </message>
    <message>
        <source>not readable (%1)</source>
        <translation>illisible (%1)</translation>
    </message>
    <message>
        <source>the folder is not writable</source>
        <translation>le dossier n’est pas accessible en écriture</translation>
    </message>
    <message>
        <source>writing failed</source>
        <translation>l’écriture a échoué</translation>
    </message>
    <message>
        <source>the file could not be replaced</source>
        <translation>le fichier n’a pas pu être remplacé</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Cannot save %1: it is %2, and is left as it is</source>
        <translation>Impossible d’enregistrer %1 : c’est %2, et il est laissé tel quel</translation>
    </message>
    <message>
        <source>Cannot save %1: the output folder contains a double quote or a line break</source>
        <translation>Impossible d’enregistrer %1 : le dossier de sortie contient un guillemet droit double ou un saut de ligne</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>The settings folder %1 cannot be used: %2. The default settings are used and none are saved.</source>
        <translation>Le dossier de réglages %1 est inutilisable : %2. Les réglages par défaut s’appliquent et aucun n’est enregistré.</translation>
    </message>
    <message>
        <source>it belongs to root, not to %1 (left by a start with sudo?). Give it back with &quot;sudo chown -R %1: %2&quot;, or remove it</source>
        <translation>il appartient à root et non à %1 (laissé par un lancement avec sudo ?). Rendez-le avec « sudo chown -R %1: %2 » ou supprimez-le</translation>
    </message>
    <message>
        <source>it belongs to %1, not to %2</source>
        <translation>il appartient à %1 et non à %2</translation>
    </message>
    <message>
        <source>%1: %2, so it is ignored and left as it is; the defaults are used.</source>
        <translation>%1 : %2, il est donc ignoré et laissé tel quel ; les valeurs par défaut s’appliquent.</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>Impossible d’enregistrer %1 : %2</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>ce n’est pas un dossier</translation>
    </message>
    <message>
        <source>This output folder cannot be remembered because its name contains a double quote (&quot;) or a line break:
%1</source>
        <translation>Ce dossier de sortie ne peut pas être mémorisé, car son nom contient un guillemet droit double (&quot;) ou un saut de ligne :
%1</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Add File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Sound Reminder</source>
        <translation>Signal sonore</translation>
    </message>
    <message>
        <source>Music Cutter</source>
        <translation>Découpe</translation>
    </message>
    <message>
        <source>Convert only part of each file</source>
        <translation>Une partie de chaque fichier</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Début</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Durée</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>h</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>Sec</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Simultaneous conversions</source>
        <translation>Conversions simultanées</translation>
    </message>
    <message>
        <source>Keep sub-folders</source>
        <translation>Garder les sous-dossiers</translation>
    </message>
    <message>
        <source>of an added folder</source>
        <translation>d’un dossier ajouté</translation>
    </message>
    <message>
        <source>Only new and changed files</source>
        <translation>Nouveaux et modifiés seuls</translation>
    </message>
    <message>
        <source>since the last run</source>
        <translation>depuis la dernière fois</translation>
    </message>
    <message>
        <source>ReplayGain tags</source>
        <translation>Balises ReplayGain</translation>
    </message>
    <message>
        <source>track and album loudness</source>
        <translation>volume piste et album</translation>
    </message>
    <message>
        <source>Open the output folder</source>
        <translation>Ouvrir le dossier de sortie</translation>
    </message>
    <message>
        <source>when done</source>
        <translation>à la fin</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Nommage</translation>
    </message>
    <message>
        <source>Input files</source>
        <translation>Fichiers d’entrée</translation>
    </message>
    <message>
        <source>Converted from the top down</source>
        <translation>Convertis de haut en bas</translation>
    </message>
    <message>
        <source>Output format</source>
        <translation>Format de sortie</translation>
    </message>
    <message>
        <source>Bitrate (kbps)</source>
        <translation>Débit binaire (kbit/s)</translation>
    </message>
    <message>
        <source>Sample rate (Hz)</source>
        <translation>Fréquence d’échantillonnage (Hz)</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canaux</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Dossier de sortie</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progression</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convertir</translation>
    </message>
</context>
<context>
    <name>UnusedChoices</name>
    <message>
        <source>%1 cannot use %2 Hz; the converter uses the nearest it can</source>
        <translation>%1 ne peut pas utiliser %2 Hz ; le convertisseur prend la plus proche possible</translation>
    </message>
    <message>
        <source>%1 always uses %2 Hz; --rate %3 is not used</source>
        <translation>%1 utilise toujours %2 Hz ; --rate %3 est ignoré</translation>
    </message>
    <message>
        <source>%1 has no choice of rate; --rate %2 is not used</source>
        <translation>%1 n’offre pas de choix de fréquence ; --rate %2 est ignoré</translation>
    </message>
    <message>
        <source>%1 has no bitrate; --bitrate %2 is not used</source>
        <translation>%1 n’a pas de débit binaire ; --bitrate %2 est ignoré</translation>
    </message>
    <message>
        <source>%1 has a bitrate of its own; --bitrate %2 is not used</source>
        <translation>%1 a son propre débit binaire ; --bitrate %2 est ignoré</translation>
    </message>
</context>
<context>
    <name>WindowArguments</name>
    <message>
        <source>an empty file name was given</source>
        <translation>un nom de fichier vide a été donné</translation>
    </message>
    <message>
        <source>unknown option %1 (options apply to --batch only; see pelkora --batch --help)</source>
        <translation>option inconnue %1 (les options ne valent que pour --batch ; voir pelkora --batch --help)</translation>
    </message>
    <message>
        <source>%1: the current folder cannot be read; give the full path</source>
        <translation>%1 : le dossier courant est illisible ; donnez le chemin complet</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Help &amp; Tutorial</source>
        <translation>Aide et tutoriel</translation>
    </message>
    <message>
        <source>Minimize Window</source>
        <translation>Réduire la fenêtre</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Add File</source>
        <translation>Ajouter un fichier</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Ajouter un dossier</translation>
    </message>
    <message>
        <source>Input files</source>
        <translation>Fichiers d’entrée</translation>
    </message>
    <message>
        <source>Output Format</source>
        <translation>Format de sortie</translation>
    </message>
    <message>
        <source>Open the output format list</source>
        <translation>Ouvrir la liste des formats de sortie</translation>
    </message>
    <message>
        <source>MP3 Audio Bitrate</source>
        <translation>Débit binaire audio MP3</translation>
    </message>
    <message>
        <source>Open the bitrate list</source>
        <translation>Ouvrir la liste des débits binaires</translation>
    </message>
    <message>
        <source>MP3 Audio Rate</source>
        <translation>Fréquence audio MP3</translation>
    </message>
    <message>
        <source>Open the sample rate list</source>
        <translation>Ouvrir la liste des fréquences d’échantillonnage</translation>
    </message>
    <message>
        <source>MP3 Audio Channel(Stereo or Mono)</source>
        <translation>Canaux audio MP3 (stéréo ou mono)</translation>
    </message>
    <message>
        <source>Open the channels list</source>
        <translation>Ouvrir la liste des canaux</translation>
    </message>
    <message>
        <source>Select a Folder to Output</source>
        <translation>Choisir un dossier de sortie</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Dossier de sortie</translation>
    </message>
    <message>
        <source>Select an Output Folder</source>
        <translation>Choisir un dossier de sortie</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convertir</translation>
    </message>
    <message>
        <source>Run status</source>
        <translation>État de la conversion</translation>
    </message>
    <message>
        <source>Ver %1.%2.%3</source>
        <translation>Ver %1.%2.%3</translation>
    </message>
    <message>
        <source>Pelkora home page</source>
        <translation>Site web de Pelkora</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Avis</translation>
    </message>
    <message>
        <source>Send us your suggestion or question</source>
        <translation>Envoyez-nous vos suggestions ou questions</translation>
    </message>
    <message>
        <source>Add a file</source>
        <translation>Ajouter un fichier</translation>
    </message>
    <message>
        <source>Add a new file to file list</source>
        <translation>Ajouter un nouveau fichier à la liste</translation>
    </message>
    <message>
        <source>Remove a file</source>
        <translation>Retirer un fichier</translation>
    </message>
    <message>
        <source>Remove a file from file list</source>
        <translation>Retirer un fichier de la liste</translation>
    </message>
    <message>
        <source>Start converting</source>
        <translation>Lancer la conversion</translation>
    </message>
    <message>
        <source>Start Converting</source>
        <translation>Lancer la conversion</translation>
    </message>
    <message>
        <source>Drag media files onto this DropZone</source>
        <translation>Faites glisser des fichiers multimédias sur cette zone</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>À &amp;propos</translation>
    </message>
</context>
<context>
    <name>frmMenu</name>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Retirer</translation>
    </message>
    <message>
        <source>Add a File(&amp;A)</source>
        <translation>Ajouter un &amp;fichier</translation>
    </message>
    <message>
        <source>Add a Folder(&amp;F)</source>
        <translation>Ajouter un &amp;dossier</translation>
    </message>
    <message>
        <source>Exit(&amp;E)</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Options(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>Help(&amp;H)</source>
        <translation>&amp;Aide</translation>
    </message>
    <message>
        <source>About(&amp;A)</source>
        <translation>À &amp;propos</translation>
    </message>
    <message>
        <source>Remove &amp;Selected</source>
        <translation>Retirer la &amp;sélection</translation>
    </message>
    <message>
        <source>Remove &amp;All</source>
        <translation>Retirer &amp;tout</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>MP3 Audio Bitrate</source>
        <translation>Débit binaire audio MP3</translation>
    </message>
    <message>
        <source>Sound Reminder</source>
        <translation>Signal sonore</translation>
    </message>
    <message>
        <source>Open the sound reminder list</source>
        <translation>Ouvrir la liste du signal sonore</translation>
    </message>
    <message>
        <source>Music Cutter</source>
        <translation>Découpe</translation>
    </message>
    <message>
        <source>From hours</source>
        <translation>Début, heures</translation>
    </message>
    <message>
        <source>From minutes</source>
        <translation>Début, minutes</translation>
    </message>
    <message>
        <source>From seconds</source>
        <translation>Début, secondes</translation>
    </message>
    <message>
        <source>Duration hours</source>
        <translation>Durée, heures</translation>
    </message>
    <message>
        <source>Duration minutes</source>
        <translation>Durée, minutes</translation>
    </message>
    <message>
        <source>Duration seconds</source>
        <translation>Durée, secondes</translation>
    </message>
    <message>
        <source>How many files are converted at the same time</source>
        <translation>Nombre de fichiers convertis en même temps</translation>
    </message>
    <message>
        <source>Simultaneous conversions</source>
        <translation>Conversions simultanées</translation>
    </message>
    <message>
        <source>Open the simultaneous conversions list</source>
        <translation>Ouvrir la liste des conversions simultanées</translation>
    </message>
    <message>
        <source>Keep sub-folders</source>
        <translation>Garder les sous-dossiers</translation>
    </message>
    <message>
        <source>Write the files of an added folder into the same sub-folders</source>
        <translation>Écrire les fichiers d’un dossier ajouté dans les mêmes sous-dossiers</translation>
    </message>
    <message>
        <source>Only new and changed files</source>
        <translation>Seulement les fichiers nouveaux et modifiés</translation>
    </message>
    <message>
        <source>Convert only files that are new or changed since the last run into the output folder, as recorded there; leave the others as they are</source>
        <translation>Ne convertir que les fichiers nouveaux ou modifiés depuis la dernière conversion vers le dossier de sortie, d’après le registre qui s’y trouve ; laisser les autres tels quels</translation>
    </message>
    <message>
        <source>ReplayGain tags</source>
        <translation>Balises ReplayGain</translation>
    </message>
    <message>
        <source>Measure the loudness of each file and write ReplayGain 2.0 tags for the track and the album</source>
        <translation>Mesurer le volume sonore de chaque fichier et écrire les balises ReplayGain 2.0 de la piste et de l’album</translation>
    </message>
    <message>
        <source>Open the output folder when done</source>
        <translation>Ouvrir le dossier de sortie à la fin</translation>
    </message>
    <message>
        <source>Name up to the first dot</source>
        <translation>Nom jusqu’au premier point</translation>
    </message>
    <message>
        <source>The output&apos;s path below the output folder, from fields such as {artist}, {album}, {track}, {title}, {stem} or {folder}</source>
        <translation>Le chemin de la sortie sous le dossier de sortie, à partir de champs comme {artist}, {album}, {track}, {title}, {stem} ou {folder}</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Noms de fichier</translation>
    </message>
    <message>
        <source>Open the file names list</source>
        <translation>Ouvrir la liste des noms de fichier</translation>
    </message>
    <message>
        <source>File name example</source>
        <translation>Exemple de nom de fichier</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Retour</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>another copy is running but did not take the files</source>
        <translation>une autre copie est lancée mais n’a pas pris les fichiers</translation>
    </message>
</context>
</TS>
