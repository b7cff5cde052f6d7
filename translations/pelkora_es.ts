<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>About</name>
    <message>
        <source>Pelkora, the batch audio converter, by the Pelkora team</source>
        <translation>Pelkora, el conversor de audio por lotes, del equipo de Pelkora</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 the Pelkora team. All rights reserved.</source>
        <translation>Copyright (C) 2026 el equipo de Pelkora. Todos los derechos reservados.</translation>
    </message>
</context>
<context>
    <name>AddFile</name>
    <message>
        <source>Open Files</source>
        <translation>Abrir archivos</translation>
    </message>
    <message>
        <source>All supported files|*.wav;*.flac;*.mp3;*.wma;*.mp4;*.avi;*.mpg;*.wmv;*.flv;*.mov;*.vob;*.rm;*.3gp;*.ogg;*.opus;*.m4a;*.aac;*.ac3;*.amr;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mkv;*.webm</source>
        <translation>Todos los archivos admitidos|*.wav;*.flac;*.mp3;*.wma;*.mp4;*.avi;*.mpg;*.wmv;*.flv;*.mov;*.vob;*.rm;*.3gp;*.ogg;*.opus;*.m4a;*.aac;*.ac3;*.amr;*.aif;*.aiff;*.ape;*.wv;*.mka;*.mkv;*.webm</translation>
    </message>
    <message>
        <source>WAVE Files(*.wav)|*.wav|FLAC Files(*.flac)|*.flac|MP3 Audio(*.mp3)|*.mp3|WMA Audio(*.wma)|*.wma|MPEG4 Files(*.mp4)|*.mp4|AVI Files(*.avi)|*.avi|MPG Files(*.mpg)|*.mpg|WMV Files(*.wmv)|*.wmv|Flash Video(*.flv)|*.flv|QuickTime Format(*.mov)|*.mov|DVD VOB(*.vob)|*.vob|Real Video(*.rm)|*.rm|3GP Video(*.3gp)|*.3gp|All Media Formats(*.*)|*.*</source>
        <translation>Archivos WAVE(*.wav)|*.wav|Archivos FLAC(*.flac)|*.flac|Audio MP3(*.mp3)|*.mp3|Audio WMA(*.wma)|*.wma|Archivos MPEG4(*.mp4)|*.mp4|Archivos AVI(*.avi)|*.avi|Archivos MPG(*.mpg)|*.mpg|Archivos WMV(*.wmv)|*.wmv|Vídeo Flash(*.flv)|*.flv|Formato QuickTime(*.mov)|*.mov|VOB de DVD(*.vob)|*.vob|Vídeo Real(*.rm)|*.rm|Vídeo 3GP(*.3gp)|*.3gp|Todos los formatos multimedia(*.*)|*.*</translation>
    </message>
</context>
<context>
    <name>AddFolder</name>
    <message>
        <source>Please select a folder:</source>
        <translation>Elija una carpeta:</translation>
    </message>
</context>
<context>
    <name>BatchArguments</name>
    <message>
        <source> (pelkora --batch --help lists the options)</source>
        <translation> (pelkora --batch --help muestra las opciones)</translation>
    </message>
    <message>
        <source>an empty argument names no file or folder</source>
        <translation>un argumento vacío no nombra ningún archivo ni carpeta</translation>
    </message>
    <message>
        <source>no files or folders to convert</source>
        <translation>no hay archivos ni carpetas que convertir</translation>
    </message>
    <message>
        <source>--prune needs --sync</source>
        <translation>--prune requiere --sync</translation>
    </message>
    <message>
        <source>--shard needs --sync</source>
        <translation>--shard requiere --sync</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>opción desconocida %1</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 no admite valor</translation>
    </message>
    <message>
        <source>%1 needs START and LENGTH (as 75 30)</source>
        <translation>%1 requiere START y LENGTH (como 75 30)</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 requiere un valor</translation>
    </message>
    <message>
        <source>%1 %2 is not one of %3</source>
        <translation>%1 %2 no es ninguno de %3</translation>
    </message>
    <message>
        <source>%1 needs a folder</source>
        <translation>%1 requiere una carpeta</translation>
    </message>
    <message>
        <source>%1 %2 does not end in .csv or .json</source>
        <translation>%1 %2 no termina en .csv ni en .json</translation>
    </message>
    <message>
        <source>%1 %2 is not a whole number of 1 or more</source>
        <translation>%1 %2 no es un número entero igual o mayor que 1</translation>
    </message>
    <message>
        <source>%1 %2 lowered to %3, the most conversions at once here (4 per processor core)</source>
        <translation>%1 %2 reducido a %3, el máximo de conversiones simultáneas aquí (4 por núcleo de procesador)</translation>
    </message>
    <message>
        <source>%1 %2 is not K/N, share K of N, with K from 1 to N (as 2/5)</source>
        <translation>%1 %2 no es K/N, la parte K de N, con K de 1 a N (como 2/5)</translation>
    </message>
    <message>
        <source>%1 start %2 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below 60, at most 2147483647 seconds</source>
        <translation>%1: el inicio %2 no es un tiempo: segundos enteros, M:S o H:M:S, minutos y segundos por debajo de 60, como mucho 2147483647 segundos</translation>
    </message>
    <message>
        <source>%1 needs START and LENGTH (as 75 30); %2 is not a time</source>
        <translation>%1 requiere START y LENGTH (como 75 30); %2 no es un tiempo</translation>
    </message>
    <message>
        <source>%1 length %2 is not a time: whole seconds, M:S or H:M:S, minutes and seconds below 60, at most 2147483647 seconds</source>
        <translation>%1: la duración %2 no es un tiempo: segundos enteros, M:S o H:M:S, minutos y segundos por debajo de 60, como mucho 2147483647 segundos</translation>
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
        <translation>Uso: pelkora --batch [opciones] FILE|FOLDER ...
     pelkora -b [opciones] FILE|FOLDER ...
     pelkora [FILE|FOLDER ...]

Sin --batch se abre la ventana con los FILE y FOLDER en su lista (una copia
que ya esté en marcha los recibe en su lugar).

Convierte cada FILE, y cada archivo que haya en cada FOLDER y sus subcarpetas,
sin abrir la ventana. Los ajustes que no se den aquí se toman de los archivos
de ajustes del programa (setup.ini, options.ini), que se leen y nunca se
escriben.

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
        <translation>Opciones:
  --format FORMAT     formato de salida (m4a es AAC, alac Apple Lossless en
                      .m4a): %1,
                      %2
  --bitrate KBPS      tasa de bits de mp3, mpg, opus y m4a en kbit/s; mp3 y mpg:
                      %3
                      opus: %4
                      m4a: %5
  --rate HZ           frecuencia de muestreo de mp3, mpg y m4a (opus siempre es
                      48000): %6
  --channels MODE     canales de mp3, mpg, opus y m4a: mono o stereo (también
                      1 o 2)
  --output DIR        carpeta donde se escriben los archivos convertidos
  --cut START LENGTH  convertir un trozo de cada archivo; tiempos en segundos,
                      M:S o H:M:S; una LENGTH de 0 llega hasta el final
  -j, --jobs N        conversiones a la vez (por omisión: una por núcleo de
                      procesador); un N mayor que 4 por núcleo se reduce
  --keep-tree         mantener las subcarpetas de cada FOLDER en la carpeta de
                      salida
  --name PATTERN      nombrar las salidas según sus etiquetas, dentro de la
                      carpeta de salida y sin extensión, como en
                      &quot;{artist}/{album}/{track} - {title}&quot;;
                      campos: {artist} {albumartist} {album} {title} {track}
                      {disc} {year} {genre} {name} {stem} {folder}
  --replaygain        escribir etiquetas de sonoridad ReplayGain 2.0 (pista y
                      álbum)
  --report FILE       escribir una fila por archivo en FILE, CSV o JSON según
                      su extensión (.csv, .json), también si una señal detiene
                      la conversión
  --sync              convertir solo los archivos nuevos o cambiados (contenido
                      o ajustes) desde la última conversión --sync a la
                      carpeta de salida; los demás se dejan, o se mueven si
                      solo cambió --name; el registro es el archivo
                      .pelkora-sync.sqlite de la carpeta
  --prune             con --sync: mover a la papelera las salidas de fuentes
                      que ya no existen; indique cada FOLDER sincronizado con
                      esa carpeta de salida, o sus salidas también se van
  --shard K/N         con --sync: convertir solo la parte K de N de las
                      fuentes, repartidas por sus rutas dentro de cada FOLDER;
                      N ejecuciones, en una máquina o en varias, hacia una
                      misma carpeta de salida convierten cada fuente una vez
  -q, --quiet         informar solo de los fallos
  -h, --help          mostrar esta ayuda y terminar
  -V, --version       mostrar la versión y terminar
  --                  solo siguen FILE y FOLDER, aunque empiecen por -

El progreso y el resumen van a la salida de error estándar.

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
        <translation>Estado de salida:
  %1    todos los archivos convertidos
  %2    algunos archivos fallaron, o no se pudo leer una carpeta; los demás se
       convirtieron
  %3    uso incorrecto, o el registro de --sync no se puede usar; no se
       convirtió nada
  %4    todos convertidos, algunos con avisos (entrada dañada o corta)
  %5  detenido por SIGINT (Ctrl+C); las salidas a medias se borran
  %6  detenido por SIGTERM; las salidas a medias se borran
  %7  detenido por SIGHUP, %8 por SIGQUIT, del mismo modo (una señal
       ignorada al inicio, como con nohup, sigue ignorada)

</translation>
    </message>
    <message>
        <source>Examples:
  pelkora --batch --format flac --output ~/Music/flac ~/Recordings
  pelkora -b --format mp3 --bitrate 192 --channels mono -j 2 talk.wav notes.ogg
</source>
        <translation>Ejemplos:
  pelkora --batch --format flac --output ~/Música/flac ~/Grabaciones
  pelkora -b --format mp3 --bitrate 192 --channels mono -j 2 voz.wav notas.ogg
</translation>
    </message>
</context>
<context>
    <name>BatchTexts</name>
    <message>
        <source>pelkora: --bitrate %1 is not a bitrate of %2, which takes %3</source>
        <translation>pelkora: --bitrate %1 no es una tasa de bits de %2, que admite %3</translation>
    </message>
    <message>
        <source>%1 of %2 done · run %3</source>
        <translation>%1 de %2 hechos · total %3</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>quedan unos %1</translation>
    </message>
    <message>
        <source>: up to date</source>
        <translation>: al día</translation>
    </message>
    <message>
        <source>: up to date, %1</source>
        <translation>: al día, %1</translation>
    </message>
    <message>
        <source>: failed: %1</source>
        <translation>: falló: %1</translation>
    </message>
    <message>
        <source>: warning: %1</source>
        <translation>: aviso: %1</translation>
    </message>
    <message>
        <source> (silent, peak %1)</source>
        <translation> (silencio, pico %1)</translation>
    </message>
    <message>
        <source> (%1 LUFS, peak %2)</source>
        <translation> (%1 LUFS, pico %2)</translation>
    </message>
    <message>
        <source>%1 converted</source>
        <translation>%1 convertidos</translation>
    </message>
    <message>
        <source>%1 with warnings</source>
        <translation>%1 con avisos</translation>
    </message>
    <message>
        <source>%1 up to date</source>
        <translation>%1 al día</translation>
    </message>
    <message>
        <source>%1 pruned</source>
        <translation>%1 retirados</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fallidos</translation>
    </message>
    <message>
        <source>1 folder could not be read; its files were not converted</source>
        <translation>1 carpeta no se pudo leer; sus archivos no se convirtieron</translation>
    </message>
    <message>
        <source>%1 folders could not be read; their files were not converted</source>
        <translation>%1 carpetas no se pudieron leer; sus archivos no se convirtieron</translation>
    </message>
    <message>
        <source>Renamed to keep outputs apart:</source>
        <translation>Renombrados para que las salidas no coincidan:</translation>
    </message>
    <message>
        <source>Converted with warnings:</source>
        <translation>Convertidos con avisos:</translation>
    </message>
    <message>
        <source>pelkora: interrupted</source>
        <translation>pelkora: interrumpido</translation>
    </message>
    <message>
        <source>pelkora: hung up</source>
        <translation>pelkora: colgado (SIGHUP)</translation>
    </message>
    <message>
        <source>pelkora: quit</source>
        <translation>pelkora: salida (SIGQUIT)</translation>
    </message>
    <message>
        <source>pelkora: terminated</source>
        <translation>pelkora: terminado</translation>
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
        <translation>Estéreo</translation>
    </message>
    <message>
        <source>ON</source>
        <translation>SÍ</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>NO</translation>
    </message>
</context>
<context>
    <name>CommonDialogs</name>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
</context>
<context>
    <name>CutRange</name>
    <message>
        <source>Minutes must less than 60</source>
        <translation>Los minutos deben ser menos de 60</translation>
    </message>
    <message>
        <source>Seconds must less than 60</source>
        <translation>Los segundos deben ser menos de 60</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>Time must be less than 596523 hours</source>
        <translation>El tiempo debe ser menor de 596523 horas</translation>
    </message>
    <message>
        <source>Hour</source>
        <translation>Hora</translation>
    </message>
</context>
<context>
    <name>DesktopNotifier</name>
    <message>
        <source>Show</source>
        <translation>Mostrar</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>failed: %1</source>
        <translation>falló: %1</translation>
    </message>
    <message>
        <source>FileName</source>
        <translation>Nombre de archivo</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>Drag &amp; Drop Files Here</source>
        <translation>Arrastre los archivos aquí</translation>
    </message>
    <message>
        <source>Searching Files...</source>
        <translation>Buscando archivos...</translation>
    </message>
</context>
<context>
    <name>FolderSearch</name>
    <message>
        <source>1 sub-folder was left out, with everything below it: only the first %2 sub-folders of any one folder are searched.</source>
        <translation>Se omitió 1 subcarpeta con todo su contenido: solo se exploran las primeras %2 subcarpetas de cada carpeta.</translation>
    </message>
    <message>
        <source>%1 sub-folders were left out, with everything below them: only the first %2 sub-folders of any one folder are searched.</source>
        <translation>Se omitieron %1 subcarpetas con todo su contenido: solo se exploran las primeras %2 subcarpetas de cada carpeta.</translation>
    </message>
    <message>
        <source>1 folder could not be read; its files are not in the list.</source>
        <translation>1 carpeta no se pudo leer; sus archivos no están en la lista.</translation>
    </message>
    <message>
        <source>%1 folders could not be read; their files are not in the list.</source>
        <translation>%1 carpetas no se pudieron leer; sus archivos no están en la lista.</translation>
    </message>
</context>
<context>
    <name>HeadlessRun</name>
    <message>
        <source>%1: no such file or folder</source>
        <translation>%1: no existe ese archivo o carpeta</translation>
    </message>
    <message>
        <source>--output %1 %2</source>
        <translation>--output %1 %2</translation>
    </message>
    <message>
        <source>the output folder %1 %2</source>
        <translation>la carpeta de salida %1 %2</translation>
    </message>
    <message>
        <source>pruned: %1</source>
        <translation>retirado: %1</translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>Stop converting and exit?</source>
        <translation>¿Detener la conversión y salir?</translation>
    </message>
    <message>
        <source>Please add a file</source>
        <translation>Añada un archivo</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Hecho.</translation>
    </message>
</context>
<context>
    <name>NamePattern</name>
    <message>
        <source>the name pattern is empty</source>
        <translation>el patrón de nombre está vacío</translation>
    </message>
    <message>
        <source>a } without its { in the name pattern</source>
        <translation>una } sin su { en el patrón de nombre</translation>
    </message>
    <message>
        <source>a { without its } in the name pattern</source>
        <translation>una { sin su } en el patrón de nombre</translation>
    </message>
    <message>
        <source>unknown field {%1} in the name pattern</source>
        <translation>campo desconocido {%1} en el patrón de nombre</translation>
    </message>
    <message>
        <source>the name pattern starts with /; it names a path below the output folder</source>
        <translation>el patrón de nombre empieza por /; nombra una ruta dentro de la carpeta de salida</translation>
    </message>
    <message>
        <source>the name pattern names a parent folder (..)</source>
        <translation>el patrón de nombre nombra una carpeta superior (..)</translation>
    </message>
</context>
<context>
    <name>OptionsController</name>
    <message>
        <source>Example: %1</source>
        <translation>Ejemplo: %1</translation>
    </message>
</context>
<context>
    <name>OutputFolder</name>
    <message>
        <source>cannot be made: %1</source>
        <translation>no se puede crear: %1</translation>
    </message>
    <message>
        <source>is not a folder</source>
        <translation>no es una carpeta</translation>
    </message>
    <message>
        <source>is not a writable folder: %1</source>
        <translation>no es una carpeta con permiso de escritura: %1</translation>
    </message>
</context>
<context>
    <name>ProgressFill</name>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
</context>
<context>
    <name>ReportFile</name>
    <message>
        <source>it is a folder</source>
        <translation>es una carpeta</translation>
    </message>
    <message>
        <source>no such folder</source>
        <translation>no existe esa carpeta</translation>
    </message>
    <message>
        <source>its folder is not writable (%1)</source>
        <translation>no se puede escribir en su carpeta (%1)</translation>
    </message>
</context>
<context>
    <name>ReportingShell</name>
    <message>
        <source>The folder could not be opened: %1</source>
        <translation>No se pudo abrir la carpeta: %1</translation>
    </message>
    <message>
        <source>The page could not be opened: %1</source>
        <translation>No se pudo abrir la página: %1</translation>
    </message>
</context>
<context>
    <name>RunDisplay</name>
    <message>
        <source>

and %1 more</source>
        <translation>

y %1 más</translation>
    </message>
    <message>
        <source>This file could not be converted:</source>
        <translation>Este archivo no se pudo convertir:</translation>
    </message>
    <message>
        <source>These files could not be converted:</source>
        <translation>Estos archivos no se pudieron convertir:</translation>
    </message>
    <message>
        <source>Converted with warnings (the input may be damaged or cut short):</source>
        <translation>Convertidos con avisos (la entrada puede estar dañada o cortada):</translation>
    </message>
    <message>
        <source>Renamed so that no output replaces another from this run:</source>
        <translation>Renombrados para que ninguna salida reemplace a otra de esta tanda:</translation>
    </message>
    <message>
        <source>1 file was up to date and left as it was.</source>
        <translation>1 archivo estaba al día y se dejó como estaba.</translation>
    </message>
    <message>
        <source>%1 files were up to date and left as they were.</source>
        <translation>%1 archivos estaban al día y se dejaron como estaban.</translation>
    </message>
</context>
<context>
    <name>RunEnd</name>
    <message>
        <source>%1 file converted</source>
        <translation>%1 archivo convertido</translation>
    </message>
    <message>
        <source>%1 files converted</source>
        <translation>%1 archivos convertidos</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fallidos</translation>
    </message>
</context>
<context>
    <name>RunStatus</name>
    <message>
        <source>File %1 of %2</source>
        <translation>Archivo %1 de %2</translation>
    </message>
    <message>
        <source>about %1 left</source>
        <translation>quedan unos %1</translation>
    </message>
    <message>
        <source>%1 converted in %2</source>
        <translation>%1 convertidos en %2</translation>
    </message>
    <message>
        <source>%1 failed</source>
        <translation>%1 fallidos</translation>
    </message>
    <message>
        <source>%1 with warnings</source>
        <translation>%1 con avisos</translation>
    </message>
    <message>
        <source>Stopped: %1 of %2 converted</source>
        <translation>Detenido: %1 de %2 convertidos</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>No se puede guardar %1: %2</translation>
    </message>
    <message>
        <source>not an ordinary file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>larger than %1 KiB</source>
        <translation>mayor de %1 KiB</translation>
    </message>
    <message>
        <source>not readable (%1)</source>
        <translation>no se puede leer (%1)</translation>
    </message>
    <message>
        <source>the folder is not writable</source>
        <translation>no se puede escribir en la carpeta</translation>
    </message>
    <message>
        <source>writing failed</source>
        <translation>la escritura falló</translation>
    </message>
    <message>
        <source>the file could not be replaced</source>
        <translation>no se pudo reemplazar el archivo</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Cannot save %1: it is %2, and is left as it is</source>
        <translation>No se puede guardar %1: es %2, y se deja como está</translation>
    </message>
    <message>
        <source>Cannot save %1: the output folder contains a double quote or a line break</source>
        <translation>No se puede guardar %1: la carpeta de salida contiene comillas dobles o un salto de línea</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>The settings folder %1 cannot be used: %2. The default settings are used and none are saved.</source>
        <translation>No se puede usar la carpeta de ajustes %1: %2. Se usan los ajustes predeterminados y no se guarda ninguno.</translation>
    </message>
    <message>
        <source>it belongs to root, not to %1 (left by a start with sudo?). Give it back with &quot;sudo chown -R %1: %2&quot;, or remove it</source>
        <translation>pertenece a root, no a %1 (¿quedó de un inicio con sudo?). Devuélvala con «sudo chown -R %1: %2» o bórrela</translation>
    </message>
    <message>
        <source>it belongs to %1, not to %2</source>
        <translation>pertenece a %1, no a %2</translation>
    </message>
    <message>
        <source>%1: %2, so it is ignored and left as it is; the defaults are used.</source>
        <translation>%1: %2, así que se ignora y se deja como está; se usan los valores predeterminados.</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>No se puede guardar %1: %2</translation>
    </message>
    <message>
        <source>it is not a folder</source>
        <translation>no es una carpeta</translation>
    </message>
    <message>
        <source>This output folder cannot be remembered because its name contains a double quote (&quot;) or a line break:
%1</source>
        <translation>Esta carpeta de salida no se puede recordar porque su nombre contiene comillas dobles (&quot;) o un salto de línea:
%1</translation>
    </message>
</context>
<context>
    <name>Skin</name>
    <message>
        <source>Add File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Sound Reminder</source>
        <translation>Aviso sonoro</translation>
    </message>
    <message>
        <source>Music Cutter</source>
        <translation>Recorte</translation>
    </message>
    <message>
        <source>Convert only part of each file</source>
        <translation>Solo una parte de cada archivo</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Desde</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>Duración</translation>
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
        <translation>Conversiones simultáneas</translation>
    </message>
    <message>
        <source>Keep sub-folders</source>
        <translation>Mantener subcarpetas</translation>
    </message>
    <message>
        <source>of an added folder</source>
        <translation>de una carpeta añadida</translation>
    </message>
    <message>
        <source>Only new and changed files</source>
        <translation>Solo nuevos y cambiados</translation>
    </message>
    <message>
        <source>since the last run</source>
        <translation>desde la última vez</translation>
    </message>
    <message>
        <source>ReplayGain tags</source>
        <translation>Etiquetas ReplayGain</translation>
    </message>
    <message>
        <source>track and album loudness</source>
        <translation>sonoridad pista/álbum</translation>
    </message>
    <message>
        <source>Open the output folder</source>
        <translation>Abrir carpeta de salida</translation>
    </message>
    <message>
        <source>when done</source>
        <translation>al terminar</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Nombres</translation>
    </message>
    <message>
        <source>Input files</source>
        <translation>Archivos de entrada</translation>
    </message>
    <message>
        <source>Converted from the top down</source>
        <translation>Se convierten de arriba abajo</translation>
    </message>
    <message>
        <source>Output format</source>
        <translation>Formato de salida</translation>
    </message>
    <message>
        <source>Bitrate (kbps)</source>
        <translation>Tasa de bits (kbit/s)</translation>
    </message>
    <message>
        <source>Sample rate (Hz)</source>
        <translation>Frecuencia de muestreo (Hz)</translation>
    </message>
    <message>
        <source>Channels</source>
        <translation>Canales</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Carpeta de salida</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progreso</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Volver</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
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
        <translation>%1 no puede usar %2 Hz; el conversor usa la más cercana posible</translation>
    </message>
    <message>
        <source>%1 always uses %2 Hz; --rate %3 is not used</source>
        <translation>%1 siempre usa %2 Hz; --rate %3 no se usa</translation>
    </message>
    <message>
        <source>%1 has no choice of rate; --rate %2 is not used</source>
        <translation>%1 no permite elegir la frecuencia; --rate %2 no se usa</translation>
    </message>
    <message>
        <source>%1 has no bitrate; --bitrate %2 is not used</source>
        <translation>%1 no tiene tasa de bits; --bitrate %2 no se usa</translation>
    </message>
    <message>
        <source>%1 has a bitrate of its own; --bitrate %2 is not used</source>
        <translation>%1 tiene su propia tasa de bits; --bitrate %2 no se usa</translation>
    </message>
</context>
<context>
    <name>WindowArguments</name>
    <message>
        <source>an empty file name was given</source>
        <translation>se dio un nombre de archivo vacío</translation>
    </message>
    <message>
        <source>unknown option %1 (options apply to --batch only; see pelkora --batch --help)</source>
        <translation>opción desconocida %1 (las opciones solo valen con --batch; vea pelkora --batch --help)</translation>
    </message>
    <message>
        <source>%1: the current folder cannot be read; give the full path</source>
        <translation>%1: no se puede leer la carpeta actual; indique la ruta completa</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>Help &amp; Tutorial</source>
        <translation>Ayuda y tutorial</translation>
    </message>
    <message>
        <source>Minimize Window</source>
        <translation>Minimizar la ventana</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Add File</source>
        <translation>Añadir archivo</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Add Folder</source>
        <translation>Añadir carpeta</translation>
    </message>
    <message>
        <source>Input files</source>
        <translation>Archivos de entrada</translation>
    </message>
    <message>
        <source>Output Format</source>
        <translation>Formato de salida</translation>
    </message>
    <message>
        <source>Open the output format list</source>
        <translation>Abrir la lista de formatos de salida</translation>
    </message>
    <message>
        <source>MP3 Audio Bitrate</source>
        <translation>Tasa de bits de audio MP3</translation>
    </message>
    <message>
        <source>Open the bitrate list</source>
        <translation>Abrir la lista de tasas de bits</translation>
    </message>
    <message>
        <source>MP3 Audio Rate</source>
        <translation>Frecuencia de audio MP3</translation>
    </message>
    <message>
        <source>Open the sample rate list</source>
        <translation>Abrir la lista de frecuencias de muestreo</translation>
    </message>
    <message>
        <source>MP3 Audio Channel(Stereo or Mono)</source>
        <translation>Canales de audio MP3 (estéreo o mono)</translation>
    </message>
    <message>
        <source>Open the channels list</source>
        <translation>Abrir la lista de canales</translation>
    </message>
    <message>
        <source>Select a Folder to Output</source>
        <translation>Elegir una carpeta de salida</translation>
    </message>
    <message>
        <source>Output folder</source>
        <translation>Carpeta de salida</translation>
    </message>
    <message>
        <source>Select an Output Folder</source>
        <translation>Elegir una carpeta de salida</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Convertir</translation>
    </message>
    <message>
        <source>Run status</source>
        <translation>Estado de la conversión</translation>
    </message>
    <message>
        <source>Ver %1.%2.%3</source>
        <translation>Ver %1.%2.%3</translation>
    </message>
    <message>
        <source>Pelkora home page</source>
        <translation>Página web de Pelkora</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Opiniones</translation>
    </message>
    <message>
        <source>Send us your suggestion or question</source>
        <translation>Envíenos su sugerencia o pregunta</translation>
    </message>
    <message>
        <source>Add a file</source>
        <translation>Añadir un archivo</translation>
    </message>
    <message>
        <source>Add a new file to file list</source>
        <translation>Añadir un archivo nuevo a la lista</translation>
    </message>
    <message>
        <source>Remove a file</source>
        <translation>Quitar un archivo</translation>
    </message>
    <message>
        <source>Remove a file from file list</source>
        <translation>Quitar un archivo de la lista</translation>
    </message>
    <message>
        <source>Start converting</source>
        <translation>Empezar a convertir</translation>
    </message>
    <message>
        <source>Start Converting</source>
        <translation>Empezar a convertir</translation>
    </message>
    <message>
        <source>Drag media files onto this DropZone</source>
        <translation>Arrastre archivos multimedia a esta zona</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Acerca &amp;de</translation>
    </message>
</context>
<context>
    <name>frmMenu</name>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Add a File(&amp;A)</source>
        <translation>Añadir &amp;archivo</translation>
    </message>
    <message>
        <source>Add a Folder(&amp;F)</source>
        <translation>Añadir &amp;carpeta</translation>
    </message>
    <message>
        <source>Exit(&amp;E)</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Options(&amp;O)</source>
        <translation>&amp;Opciones</translation>
    </message>
    <message>
        <source>Help(&amp;H)</source>
        <translation>A&amp;yuda</translation>
    </message>
    <message>
        <source>About(&amp;A)</source>
        <translation>Acerca &amp;de</translation>
    </message>
    <message>
        <source>Remove &amp;Selected</source>
        <translation>Quitar la &amp;selección</translation>
    </message>
    <message>
        <source>Remove &amp;All</source>
        <translation>Quitar &amp;todo</translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>Options</source>
        <translation>Opciones</translation>
    </message>
    <message>
        <source>MP3 Audio Bitrate</source>
        <translation>Tasa de bits de audio MP3</translation>
    </message>
    <message>
        <source>Sound Reminder</source>
        <translation>Aviso sonoro</translation>
    </message>
    <message>
        <source>Open the sound reminder list</source>
        <translation>Abrir la lista del aviso sonoro</translation>
    </message>
    <message>
        <source>Music Cutter</source>
        <translation>Recorte</translation>
    </message>
    <message>
        <source>From hours</source>
        <translation>Desde, horas</translation>
    </message>
    <message>
        <source>From minutes</source>
        <translation>Desde, minutos</translation>
    </message>
    <message>
        <source>From seconds</source>
        <translation>Desde, segundos</translation>
    </message>
    <message>
        <source>Duration hours</source>
        <translation>Duración, horas</translation>
    </message>
    <message>
        <source>Duration minutes</source>
        <translation>Duración, minutos</translation>
    </message>
    <message>
        <source>Duration seconds</source>
        <translation>Duración, segundos</translation>
    </message>
    <message>
        <source>How many files are converted at the same time</source>
        <translation>Cuántos archivos se convierten a la vez</translation>
    </message>
    <message>
        <source>Simultaneous conversions</source>
        <translation>Conversiones simultáneas</translation>
    </message>
    <message>
        <source>Open the simultaneous conversions list</source>
        <translation>Abrir la lista de conversiones simultáneas</translation>
    </message>
    <message>
        <source>Keep sub-folders</source>
        <translation>Mantener subcarpetas</translation>
    </message>
    <message>
        <source>Write the files of an added folder into the same sub-folders</source>
        <translation>Escribir los archivos de una carpeta añadida en las mismas subcarpetas</translation>
    </message>
    <message>
        <source>Only new and changed files</source>
        <translation>Solo archivos nuevos y cambiados</translation>
    </message>
    <message>
        <source>Convert only files that are new or changed since the last run into the output folder, as recorded there; leave the others as they are</source>
        <translation>Convertir solo los archivos nuevos o cambiados desde la última conversión a la carpeta de salida, según el registro que hay en ella; dejar los demás como están</translation>
    </message>
    <message>
        <source>ReplayGain tags</source>
        <translation>Etiquetas ReplayGain</translation>
    </message>
    <message>
        <source>Measure the loudness of each file and write ReplayGain 2.0 tags for the track and the album</source>
        <translation>Medir la sonoridad de cada archivo y escribir etiquetas ReplayGain 2.0 de la pista y del álbum</translation>
    </message>
    <message>
        <source>Open the output folder when done</source>
        <translation>Abrir la carpeta de salida al terminar</translation>
    </message>
    <message>
        <source>Name up to the first dot</source>
        <translation>Nombre hasta el primer punto</translation>
    </message>
    <message>
        <source>The output&apos;s path below the output folder, from fields such as {artist}, {album}, {track}, {title}, {stem} or {folder}</source>
        <translation>La ruta de la salida dentro de la carpeta de salida, a partir de campos como {artist}, {album}, {track}, {title}, {stem} o {folder}</translation>
    </message>
    <message>
        <source>File names</source>
        <translation>Nombres de archivo</translation>
    </message>
    <message>
        <source>Open the file names list</source>
        <translation>Abrir la lista de nombres de archivo</translation>
    </message>
    <message>
        <source>File name example</source>
        <translation>Ejemplo de nombre de archivo</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Volver</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>another copy is running but did not take the files</source>
        <translation>otra copia está en marcha pero no aceptó los archivos</translation>
    </message>
</context>
</TS>
