<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutPage</name>
    <message>
        <source>Visit my web page for other programs I&apos;ve written and updates.  Please send me your comments or suggestions.</source>
        <translation>Auf meiner Webseite finden Sie weitere Programme von mir und neue Versionen.  Über Kommentare und Vorschläge freue ich mich.</translation>
    </message>
</context>
<context>
    <name>BatchRun</name>
    <message>
        <source>%1 archive, %2 bytes in %3, %4 s</source>
        <extracomment>%1 the number of archives, %2 their bytes, %3 the zip directory, %4 the seconds</extracomment>
        <translation>%1 Archiv, %2 Bytes in %3, %4 s</translation>
    </message>
    <message>
        <source>%1 archives, %2 bytes in %3, %4 s</source>
        <translation>%1 Archive, %2 Bytes in %3, %4 s</translation>
    </message>
    <message>
        <source>archiving</source>
        <translation>archiviere</translation>
    </message>
    <message>
        <source>wrapping %1 of %2: %3</source>
        <extracomment>%1 the volume&apos;s number, %2 the number of volumes, %3 the archive&apos;s name</extracomment>
        <translation>verpacke %1 von %2: %3</translation>
    </message>
    <message>
        <source>, %1 bytes written</source>
        <translation>, %1 Bytes geschrieben</translation>
    </message>
    <message>
        <source>wrote %1 (%2 of %3, %4 bytes)</source>
        <extracomment>%1 the archive&apos;s path, %2 its number, %3 the number of volumes, %4 its bytes</extracomment>
        <translation>%1 geschrieben (%2 von %3, %4 Bytes)</translation>
    </message>
    <message>
        <source>process %1</source>
        <translation>Prozess %1</translation>
    </message>
    <message>
        <source>writing the recovery set</source>
        <translation>schreibe den Wiederherstellungssatz</translation>
    </message>
</context>
<context>
    <name>Checksums</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>kann %1 nicht schreiben: %2</translation>
    </message>
    <message>
        <source>cannot read %1</source>
        <translation>kann %1 nicht lesen</translation>
    </message>
    <message>
        <source>%1: cannot be read for its checksums</source>
        <translation>%1: für die Prüfsummen nicht lesbar</translation>
    </message>
    <message>
        <source>%1: not listed in %2</source>
        <translation>%1: nicht in %2 verzeichnet</translation>
    </message>
    <message>
        <source>%1: CRC32 %2 disagrees with %3, which says %4</source>
        <translation>%1: CRC32 %2 stimmt nicht mit %3 überein, dort steht %4</translation>
    </message>
    <message>
        <source>%1: SHA-256 disagrees with %2</source>
        <translation>%1: SHA-256 stimmt nicht mit %2 überein</translation>
    </message>
    <message>
        <source>%1: listed in %2 but not found</source>
        <translation>%1: in %2 verzeichnet, aber nicht vorhanden</translation>
    </message>
</context>
<context>
    <name>DescriptionFiles</name>
    <message>
        <source>Can&apos;t create the directory </source>
        <translation>Das Verzeichnis kann nicht angelegt werden: </translation>
    </message>
    <message>
        <source>Can&apos;t create </source>
        <translation>Kann nicht angelegt werden: </translation>
    </message>
    <message>
        <source>Choose &apos;Save&apos; when finished in notepad, not &apos;save as&apos;</source>
        <translation>Wählen Sie zum Schluss im Editor „Speichern“, nicht „Speichern unter“</translation>
    </message>
    <message>
        <source>Add file_id.diz</source>
        <translation>file_id.diz hinzufügen</translation>
    </message>
    <message>
        <source>The file_id.diz can&apos;t be from your application directory</source>
        <translation>Die file_id.diz darf nicht aus dem Verzeichnis des Programms stammen</translation>
    </message>
    <message>
        <source>Add *.nfo</source>
        <translation>*.nfo hinzufügen</translation>
    </message>
    <message>
        <source>Add extra file</source>
        <translation>Zusätzliche Datei hinzufügen</translation>
    </message>
    <message>
        <source>Extra directory of files to add to Zip</source>
        <translation>Verzeichnis mit Dateien, die zusätzlich in jedes Zip kommen</translation>
    </message>
</context>
<context>
    <name>DizNumbering</name>
    <message>
        <source>no column</source>
        <translation>keine Spalte</translation>
    </message>
    <message>
        <source>no line</source>
        <translation>keine Zeile</translation>
    </message>
    <message>
        <source>Can&apos;t read the description file</source>
        <translation>Die Beschreibungsdatei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Can&apos;t write the sample description</source>
        <translation>Die Probebeschreibung kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Column number too low</source>
        <translation>Spaltennummer zu klein</translation>
    </message>
    <message>
        <source>Column number too high</source>
        <translation>Spaltennummer zu groß</translation>
    </message>
    <message>
        <source>Line number too high</source>
        <translation>Zeilennummer zu groß</translation>
    </message>
</context>
<context>
    <name>DizPage</name>
    <message>
        <source>&amp;Create</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Ändern</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Wählen</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Testen</translation>
    </message>
    <message>
        <source>Auto numbering</source>
        <translation>Nummerierung</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>S&amp;ubsitute at column</source>
        <extracomment>Put the volume number into the description at the column given beside it</extracomment>
        <translation>&amp;Einsetzen ab Spalte</translation>
    </message>
    <message>
        <source>Line -</source>
        <extracomment>The line of the description the volume number goes into; the field follows</extracomment>
        <translation>Zeile -</translation>
    </message>
</context>
<context>
    <name>ExtraFiles</name>
    <message>
        <source>extra %1 left out: %2</source>
        <translation>Extra %1 ausgelassen: %2</translation>
    </message>
    <message>
        <source>the run writes its own file of that name</source>
        <translation>der Lauf schreibt eine eigene Datei dieses Namens</translation>
    </message>
    <message>
        <source>a symbolic link is never followed</source>
        <translation>einer symbolischen Verknüpfung wird nie gefolgt</translation>
    </message>
</context>
<context>
    <name>FileDialog</name>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Entfernen</translation>
    </message>
</context>
<context>
    <name>FreeSpace</name>
    <message>
        <source>Invalid drive</source>
        <extracomment>Designed text: shown in the folder dialog for a folder with no free space</extracomment>
        <translation>Ungültiges Laufwerk</translation>
    </message>
</context>
<context>
    <name>HelpText</name>
    <message>
        <source>Exit statuses of an unattended run (! or $):
  0  the run completed: the archiver reported no problem, every volume it made is
     wrapped into its archive, and the archives are on disk
  1  the script could not be read (missing, unreadable, cut short, a bad or
     out-of-range value, a path that is not valid UTF-8), or the job it holds is not
     valid (a field missing, a file or directory it names gone, a blank or a slash in
     the name, the description&apos;s line or column out of reach)
  2  the run&apos;s own checks refused the job (the description test, an output directory
     that cannot be written)
  3  the run failed on the way (a file that could not be written, copied or deleted;
     a zip operation that failed; a missing size helper), the program lies in the
     root directory, or the system directory is full, cannot be written or is not
     private (another user&apos;s, or writable by others)
  4  the archiver (wrar or 7-Zip) was not found, failed, warned (files it could not read) or left no
     volume; the volumes it left are wrapped, but the series is not complete
  5  another instance of the program runs for this user (it holds the lock in the
     system directory, and its process id is named): nothing was done
  6  the run completed and its archives are written, but the recovery set
     (--recovery) could not be written: par2 is missing or failed
  128+N  ended by signal N (SIGINT, SIGTERM or SIGHUP): the archiver is stopped, the
     archive being written stays as it was, the work directory and the fixed files are
     removed

Failures and progress go to standard error as lines &quot;kesto32: &lt;script&gt;: &lt;reason&gt;&quot;.

Environment:
  KESTO32_SYSTEM_DIR  private directory for the fixed files and the work
                      directories (default $XDG_CACHE_HOME/kesto32)
  XDG_CACHE_HOME      default ~/.cache
  XDG_DATA_HOME       holds kesto32/, the working copies (default ~/.local/share)
  KESTO32_EDITOR      editor for description and nfo files, else VISUAL,
  VISUAL              else xdg-open
  DISPLAY, WAYLAND_DISPLAY
                      without either, only ! and $ runs and the series commands
                      work

Options may follow the script; -- ends them. An unknown option ends with status 64,
output that cannot be written with status 74.

See kesto32(1) and kesto32.kst(5).</source>
        <extracomment>The notes after the options of --help; keep the layout: lines of at most 80 columns</extracomment>
        <translation>Exit-Status eines unbeaufsichtigten Laufs (! oder $):
  0  der Lauf ist vollständig: der Archivierer meldete kein Problem, jeder Teil,
     den er erzeugte, ist in sein Archiv verpackt, und die Archive liegen vor
  1  das Skript war nicht lesbar (fehlt, unlesbar, abgeschnitten, ein falscher
     Wert oder einer außerhalb des Bereichs, ein Pfad, der kein gültiges UTF-8
     ist), oder der Auftrag darin ist nicht gültig (ein Feld fehlt, eine Datei
     oder ein Verzeichnis, das er nennt, ist fort, ein Leerzeichen oder ein
     Schrägstrich im Namen, Zeile oder Spalte der Beschreibung außer Reichweite)
  2  die eigenen Prüfungen des Laufs lehnten den Auftrag ab (der
     Beschreibungstest, ein Ausgabeverzeichnis, das nicht beschreibbar ist)
  3  der Lauf scheiterte unterwegs (eine Datei ließ sich nicht schreiben,
     kopieren oder löschen; ein Zip-Vorgang schlug fehl; das Hilfsprogramm size
     fehlt), das Programm liegt im Wurzelverzeichnis, oder das
     Systemverzeichnis ist voll, nicht beschreibbar oder nicht privat (eines
     anderen Benutzers oder für andere beschreibbar)
  4  der Archivierer (wrar oder 7-Zip) wurde nicht gefunden, schlug fehl, warnte
     (Dateien, die er nicht lesen konnte) oder hinterließ keinen Teil; die
     Teile, die er hinterließ, sind verpackt, aber die Serie ist unvollständig
  5  eine andere Instanz des Programms läuft für diesen Benutzer (sie hält die
     Sperre im Systemverzeichnis, ihre Prozessnummer wird genannt): es wurde
     nichts getan
  6  der Lauf ist vollständig und seine Archive sind geschrieben, aber der
     Wiederherstellungssatz (--recovery) ließ sich nicht schreiben: par2 fehlt
     oder schlug fehl
  128+N  durch Signal N beendet (SIGINT, SIGTERM oder SIGHUP): der Archivierer
     wird angehalten, das Archiv, das gerade entstand, bleibt, wie es war, das
     Arbeitsverzeichnis und die festen Dateien werden entfernt

Fehler und Fortschritt gehen als Zeilen &quot;kesto32: &lt;Skript&gt;: &lt;Grund&gt;&quot; auf die
Standardfehlerausgabe.

Umgebung:
  KESTO32_SYSTEM_DIR  privates Verzeichnis für die festen Dateien und die
                      Arbeitsverzeichnisse (Vorgabe $XDG_CACHE_HOME/kesto32)
  XDG_CACHE_HOME      Vorgabe ~/.cache
  XDG_DATA_HOME       enthält kesto32/, die Arbeitskopien
                      (Vorgabe ~/.local/share)
  KESTO32_EDITOR      Editor für Beschreibungs- und nfo-Dateien, sonst VISUAL,
  VISUAL              sonst xdg-open
  DISPLAY, WAYLAND_DISPLAY
                      ohne eine davon gehen nur Läufe mit ! und $ und die
                      Serienbefehle

Optionen dürfen dem Skript folgen; -- beendet sie. Eine unbekannte Option endet
mit Status 64, eine Ausgabe, die nicht geschrieben werden kann, mit Status 74.

Siehe kesto32(1) und kesto32.kst(5).</translation>
    </message>
</context>
<context>
    <name>KestoPage</name>
    <message>
        <source>&amp;Abort</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Plan...</source>
        <translation>Plan...</translation>
    </message>
    <message>
        <source>1 archive in %1</source>
        <translation>1 Archiv in %1</translation>
    </message>
    <message>
        <source>%1 archives in %2</source>
        <translation>%1 Archive in %2</translation>
    </message>
</context>
<context>
    <name>Launcher</name>
    <message>
        <source>The editor could not be started</source>
        <translation>Der Editor ließ sich nicht starten</translation>
    </message>
    <message>
        <source>Tried: %1
Set KESTO32_EDITOR or VISUAL to the editor you use.</source>
        <translation>Versucht: %1
Setzen Sie KESTO32_EDITOR oder VISUAL auf den Editor, den Sie benutzen.</translation>
    </message>
</context>
<context>
    <name>NfoPage</name>
    <message>
        <source>&amp;Create</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Ändern</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Wählen</translation>
    </message>
    <message>
        <source>&amp;In 1st zip only</source>
        <extracomment>The nfo goes into the first archive of the series only</extracomment>
        <translation>Nur &amp;im 1. Zip</translation>
    </message>
    <message>
        <source>Extra to add  (optional)</source>
        <translation>Zusätzlich beilegen  (optional)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Directory</source>
        <translation>&amp;Verzeichnis</translation>
    </message>
    <message>
        <source>B&amp;rowse</source>
        <translation>Wä&amp;hlen</translation>
    </message>
</context>
<context>
    <name>OutputSettings</name>
    <message>
        <source>1 Max file</source>
        <extracomment>Designed text: the volume size when the whole tree goes into one volume</extracomment>
        <translation>1 Max-Datei</translation>
    </message>
    <message>
        <source>Directory for zip&apos;s</source>
        <extracomment>Designed text: the caption of the folder dialog for the output directory</extracomment>
        <translation>Verzeichnis für die Zips</translation>
    </message>
    <message>
        <source>Free space  %1 M</source>
        <extracomment>Designed text: the free space of the output directory in millions of bytes</extracomment>
        <translation>Frei:  %1 M</translation>
    </message>
</context>
<context>
    <name>PackagingRun</name>
    <message>
        <source>Duplicate zip name in zip directory
Overwrite?</source>
        <extracomment>Designed text: the question when the output directory holds files of the zip name</extracomment>
        <translation>Zip-Name im Zip-Verzeichnis schon vorhanden
Überschreiben?</translation>
    </message>
    <message>
        <source>cannot remove %1, left by an earlier run</source>
        <translation>kann %1 nicht entfernen, von einem früheren Lauf übrig</translation>
    </message>
    <message>
        <source>removed %1, left by an earlier run</source>
        <translation>%1 entfernt, von einem früheren Lauf übrig</translation>
    </message>
    <message numerus="yes">
        <source>Kesting complete; %n file(s) of an earlier run removed</source>
        <translation>
            <numerusform>Kesten abgeschlossen; %n Datei eines früheren Laufs entfernt</numerusform>
            <numerusform>Kesten abgeschlossen; %n Dateien eines früheren Laufs entfernt</numerusform>
        </translation>
    </message>
    <message>
        <source>the earlier series is as it was</source>
        <translation>die frühere Serie ist, wie sie war</translation>
    </message>
    <message>
        <source>of the earlier series, %1 archive(s) replaced by this run&apos;s, %2 as they were</source>
        <translation>von der früheren Serie %1 Archiv(e) durch die dieses Laufs ersetzt, %2 wie sie waren</translation>
    </message>
    <message>
        <source>the temporary drive %1: (%2) is not mounted any more</source>
        <translation>das temporäre Laufwerk %1: (%2) ist nicht mehr eingehängt</translation>
    </message>
    <message>
        <source>cannot create a work directory in %1</source>
        <translation>kann in %1 kein Arbeitsverzeichnis anlegen</translation>
    </message>
    <message>
        <source>; the volumes not yet wrapped are in %1</source>
        <translation>; die noch nicht verpackten Teile liegen in %1</translation>
    </message>
    <message>
        <source>process %1</source>
        <translation>Prozess %1</translation>
    </message>
    <message>
        <source>Writing the recovery set...</source>
        <translation>Wiederherstellungssatz wird geschrieben...</translation>
    </message>
</context>
<context>
    <name>RecoveryCheck</name>
    <message>
        <source>par2 ended with status %1</source>
        <translation>par2 endete mit Status %1</translation>
    </message>
    <message>
        <source>par2 cannot be started: %1</source>
        <translation>par2 lässt sich nicht starten: %1</translation>
    </message>
</context>
<context>
    <name>RecoverySet</name>
    <message>
        <source>--recovery takes a percentage, a whole number from %2 to %3, not %1</source>
        <extracomment>%1 the value given; %2 and %3 the lowest and highest percentage allowed</extracomment>
        <translation>--recovery verlangt einen Prozentsatz, eine ganze Zahl von %2 bis %3, nicht %1</translation>
    </message>
    <message>
        <source>cannot create %1: %2</source>
        <translation>kann %1 nicht anlegen: %2</translation>
    </message>
    <message>
        <source>par2 cannot be started: %1</source>
        <translation>par2 lässt sich nicht starten: %1</translation>
    </message>
    <message>
        <source>par2 was killed%1</source>
        <translation>par2 wurde abgebrochen%1</translation>
    </message>
    <message>
        <source>par2 ended with status %1%2</source>
        <translation>par2 endete mit Status %1%2</translation>
    </message>
    <message>
        <source>par2 wrote no %1</source>
        <translation>par2 schrieb kein %1</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>kann %1 nicht schreiben: %2</translation>
    </message>
    <message>
        <source>cannot sync %1: %2</source>
        <translation>kann %1 nicht auf die Platte bringen: %2</translation>
    </message>
    <message>
        <source>cannot move %1 aside: %2</source>
        <translation>kann %1 nicht beiseitelegen: %2</translation>
    </message>
    <message>
        <source>%1; the directory could not be restored, left: %2</source>
        <extracomment>%1 why the set could not be written, %2 the files left where they should not be</extracomment>
        <translation>%1; das Verzeichnis konnte nicht wiederhergestellt werden, übrig: %2</translation>
    </message>
    <message>
        <source>%1; the earlier recovery set is left as it was</source>
        <translation>%1; der frühere Wiederherstellungssatz ist unverändert</translation>
    </message>
    <message>
        <source>%1; no file of the new set is left</source>
        <translation>%1; keine Datei des neuen Satzes ist übrig</translation>
    </message>
</context>
<context>
    <name>ReleaseChecks</name>
    <message>
        <source>description line %1 is %2 columns wide (at most %3 read well)</source>
        <translation>Beschreibungszeile %1 ist %2 Spalten breit (höchstens %3 lesen sich gut)</translation>
    </message>
    <message>
        <source>description has %1 lines (at most %2 read well)</source>
        <translation>die Beschreibung hat %1 Zeilen (höchstens %2 lesen sich gut)</translation>
    </message>
    <message>
        <source>the number at line %1, column %2 overwrites &quot;%3&quot;, not a placeholder</source>
        <translation>die Nummer in Zeile %1, Spalte %2 überschreibt „%3“, keinen Platzhalter</translation>
    </message>
    <message>
        <source>archive name %1 holds &apos;%2&apos;, which other systems refuse</source>
        <translation>der Archivname %1 enthält „%2“, das andere Systeme ablehnen</translation>
    </message>
    <message>
        <source>%1 archives: release checkers read only three digits</source>
        <translation>%1 Archive: Prüfprogramme für Veröffentlichungen lesen nur drei Ziffern</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>Running 7-Zip...</source>
        <translation>7-Zip läuft...</translation>
    </message>
    <message>
        <source>Kesting complete</source>
        <extracomment>Designed text: the status line when the last archive is written</extracomment>
        <translation>Kesten abgeschlossen</translation>
    </message>
</context>
<context>
    <name>RunFailure</name>
    <message>
        <source>Error in Kesto script</source>
        <translation>Fehler im Kesto-Skript</translation>
    </message>
    <message>
        <source>the job is not valid</source>
        <translation>der Auftrag ist nicht gültig</translation>
    </message>
    <message>
        <source>Spaces aren&apos;t allowed in filename</source>
        <translation>Leerzeichen sind im Dateinamen nicht erlaubt</translation>
    </message>
    <message>
        <source>Slashes aren&apos;t allowed in filename</source>
        <translation>Schrägstriche sind im Dateinamen nicht erlaubt</translation>
    </message>
    <message>
        <source>NUL characters aren&apos;t allowed in filename</source>
        <translation>NUL-Zeichen sind im Dateinamen nicht erlaubt</translation>
    </message>
    <message>
        <source>Filename too long</source>
        <translation>Dateiname zu lang</translation>
    </message>
    <message>
        <source>shorten the zip name</source>
        <translation>kürzen Sie den Zip-Namen</translation>
    </message>
    <message>
        <source>Duplicate zip name in zip directory</source>
        <translation>Zip-Name im Zip-Verzeichnis schon vorhanden</translation>
    </message>
    <message>
        <source>the zip directory cannot be written</source>
        <translation>in das Zip-Verzeichnis kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the description test failed</source>
        <translation>der Beschreibungstest ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>a file operation failed</source>
        <translation>ein Dateivorgang ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>a zip operation failed</source>
        <translation>ein Zip-Vorgang ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Kesto32 can not be run from<byte value="xd"/>
a root directory, please reinstall.</source>
        <translation>Kesto32 kann nicht aus einem<byte value="xd"/>
Wurzelverzeichnis laufen, bitte neu installieren.</translation>
    </message>
    <message>
        <source>the system directory is not private</source>
        <translation>das Systemverzeichnis ist nicht privat</translation>
    </message>
    <message>
        <source>make it your own, writable by you alone, or set KESTO32_SYSTEM_DIR to a directory that is; nothing was done</source>
        <translation>machen Sie es zu Ihrem eigenen, nur für Sie beschreibbar, oder setzen Sie KESTO32_SYSTEM_DIR auf ein Verzeichnis, das es ist; es wurde nichts getan</translation>
    </message>
    <message>
        <source>the system directory cannot be written</source>
        <translation>in das Systemverzeichnis kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>free space there, or set KESTO32_SYSTEM_DIR to another directory</source>
        <translation>schaffen Sie dort Platz oder setzen Sie KESTO32_SYSTEM_DIR auf ein anderes Verzeichnis</translation>
    </message>
    <message>
        <source>size helper not found</source>
        <translation>Hilfsprogramm size nicht gefunden</translation>
    </message>
    <message>
        <source>reinstall Kesto32</source>
        <translation>installieren Sie Kesto32 neu</translation>
    </message>
    <message>
        <source>wrar helper not found</source>
        <translation>Hilfsprogramm wrar nicht gefunden</translation>
    </message>
    <message>
        <source>7-Zip not found</source>
        <translation>7-Zip nicht gefunden</translation>
    </message>
    <message>
        <source>install the package 7zip</source>
        <translation>installieren Sie das Paket 7zip</translation>
    </message>
    <message>
        <source>the archiver failed</source>
        <translation>der Archivierer ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>the volumes it left are wrapped, but the series is not complete</source>
        <translation>die Teile, die er hinterließ, sind verpackt, aber die Serie ist nicht vollständig</translation>
    </message>
    <message>
        <source>the archiver could not read every file</source>
        <translation>der Archivierer konnte nicht jede Datei lesen</translation>
    </message>
    <message>
        <source>the series leaves them out; see its messages above</source>
        <translation>die Serie lässt sie aus; siehe seine Meldungen oben</translation>
    </message>
    <message>
        <source>the archiver left no volume</source>
        <translation>der Archivierer hinterließ keinen Teil</translation>
    </message>
    <message>
        <source>Another instance of Kesto32 is running</source>
        <translation>Kesto32 läuft bereits in einer anderen Instanz</translation>
    </message>
    <message>
        <source>nothing was done</source>
        <translation>es wurde nichts getan</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>angehalten</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
    <message>
        <source>signal %1</source>
        <translation>Signal %1</translation>
    </message>
    <message>
        <source>stopped by %1</source>
        <translation>angehalten durch %1</translation>
    </message>
    <message>
        <source>the archives are complete and written, but the recovery set is not</source>
        <translation>die Archive sind vollständig geschrieben, der Wiederherstellungssatz aber nicht</translation>
    </message>
</context>
<context>
    <name>RunPreview</name>
    <message>
        <source>description test: the number fits line %1 at column %2</source>
        <translation>Beschreibungstest: die Nummer passt in Zeile %1 ab Spalte %2</translation>
    </message>
    <message>
        <source>archiver: wrar and 7-Zip found</source>
        <translation>Archivierer: wrar und 7-Zip gefunden</translation>
    </message>
    <message>
        <source>no earlier series %1 in the zip directory</source>
        <translation>keine frühere Serie %1 im Zip-Verzeichnis</translation>
    </message>
    <message>
        <source>%1 archive(s) of an earlier series %2 in the zip directory: each one this run writes is replaced; those beyond its last one are removed when it completes%3</source>
        <translation>%1 Archiv(e) einer früheren Serie %2 im Zip-Verzeichnis: jedes, das dieser Lauf schreibt, wird ersetzt; die nach seinem letzten werden entfernt, wenn er abgeschlossen ist%3</translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>%1: needs at most %2 bytes, %3 free</source>
        <translation>%1: braucht höchstens %2 Bytes, %3 frei</translation>
    </message>
    <message>
        <source>not enough free space: even the smallest series needs %1 bytes</source>
        <translation>nicht genug freier Platz: schon die kleinste Serie braucht %1 Bytes</translation>
    </message>
    <message>
        <source>%1: may not fit: %2 bytes free, up to %3 bytes needed; only the compressed size can tell</source>
        <translation>%1: passt vielleicht nicht: %2 Bytes frei, bis zu %3 Bytes nötig; erst die gepackte Größe zeigt es</translation>
    </message>
    <message>
        <source>: enough free space</source>
        <translation>: genug freier Platz</translation>
    </message>
    <message>
        <source>temporary drive %1: (%2)</source>
        <translation>temporäres Laufwerk %1: (%2)</translation>
    </message>
    <message>
        <source>zip directory</source>
        <translation>Zip-Verzeichnis</translation>
    </message>
    <message>
        <source>Plan of %1</source>
        <translation>Plan von %1</translation>
    </message>
    <message>
        <source>source: %1 bytes in %2 file(s), less the skip list</source>
        <translation>Quelle: %1 Bytes in %2 Datei(en), ohne die Ausschlussliste</translation>
    </message>
    <message>
        <source>volumes: no limit, one archive</source>
        <translation>Teile: keine Grenze, ein Archiv</translation>
    </message>
    <message>
        <source>volumes: %1 bytes each, at most %2 archive(s); the archiver may make fewer</source>
        <translation>Teile: je %1 Bytes, höchstens %2 Archiv(e); der Archivierer kann weniger erzeugen</translation>
    </message>
    <message>
        <source>  file_id.diz line %1: </source>
        <translation>  file_id.diz Zeile %1: </translation>
    </message>
    <message>
        <source>space: %1</source>
        <translation>Platz: %1</translation>
    </message>
    <message>
        <source>check: %1</source>
        <translation>Prüfung: %1</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>A run would start.</source>
        <translation>Ein Lauf würde starten.</translation>
    </message>
    <message>
        <source>A run would end with status %1.</source>
        <translation>Ein Lauf würde mit Status %1 enden.</translation>
    </message>
    <message>
        <source>ok       %1</source>
        <extracomment>A check passed; %1 what was checked. Keep &quot;ok&quot; as wide as &quot;refused&quot;, padded with blanks</extracomment>
        <translation>ok       %1</translation>
    </message>
    <message>
        <source>refused  %1: %2</source>
        <extracomment>A check failed; %1 what was checked, %2 why</extracomment>
        <translation>abgelehnt  %1: %2</translation>
    </message>
    <message>
        <source>description test</source>
        <translation>Beschreibungstest</translation>
    </message>
    <message>
        <source>archiver</source>
        <translation>Archivierer</translation>
    </message>
    <message>
        <source>archive %1%2%3.zip: %4</source>
        <extracomment>%1%2%3.zip the archive&apos;s name, %4 its entries</extracomment>
        <translation>Archiv %1%2%3.zip: %4</translation>
    </message>
    <message>
        <source>%1: about %2 bytes</source>
        <extracomment>%1 a file of the recovery set, %2 its estimated bytes</extracomment>
        <translation>%1: etwa %2 Bytes</translation>
    </message>
    <message>
        <source>%1 %: about %2 bytes beside at most %3 bytes of archives</source>
        <extracomment>%1 the percentage, %2 the set&apos;s estimated bytes, %3 the archives&apos; estimated bytes</extracomment>
        <translation>%1 %: etwa %2 Bytes neben höchstens %3 Bytes Archiven</translation>
    </message>
    <message>
        <source>recovery set</source>
        <translation>Wiederherstellungssatz</translation>
    </message>
    <message>
        <source>recovery set: par2 found</source>
        <translation>Wiederherstellungssatz: par2 gefunden</translation>
    </message>
    <message>
        <source>recovery: %1</source>
        <translation>Wiederherstellung: %1</translation>
    </message>
</context>
<context>
    <name>RunState</name>
    <message>
        <source>Kesto32 error</source>
        <extracomment>Designed text: the caption of the program&apos;s error messages</extracomment>
        <translation>Kesto32-Fehler</translation>
    </message>
</context>
<context>
    <name>ScriptCommands</name>
    <message>
        <source>Open script</source>
        <extracomment>Designed text: the caption of the dialog that opens a script</extracomment>
        <translation>Skript öffnen</translation>
    </message>
</context>
<context>
    <name>SeriesCommand</name>
    <message>
        <source>%1 is not a directory</source>
        <translation>%1 ist kein Verzeichnis</translation>
    </message>
    <message>
        <source>stopped by signal %1; the check is incomplete</source>
        <translation>durch Signal %1 angehalten; die Prüfung ist unvollständig</translation>
    </message>
    <message>
        <source>warning: %1</source>
        <translation>Warnung: %1</translation>
    </message>
    <message>
        <source>%1: %2 archive(s), complete and intact</source>
        <translation>%1: %2 Archiv(e), vollständig und unversehrt</translation>
    </message>
    <message>
        <source>%1: %2 archive(s), complete and intact, the same as the source</source>
        <translation>%1: %2 Archiv(e), vollständig und unversehrt, gleich der Quelle</translation>
    </message>
    <message>
        <source>%1: %2 problem(s) in a series of %3 archive(s)</source>
        <translation>%1: %2 Problem(e) in einer Serie von %3 Archiv(en)</translation>
    </message>
    <message>
        <source>%1: stale archive beyond the end of the series, left out</source>
        <translation>%1: veraltetes Archiv nach dem Ende der Serie, ausgelassen</translation>
    </message>
    <message>
        <source>%1 and %2 written for %3 archive(s)</source>
        <translation>%1 und %2 für %3 Archiv(e) geschrieben</translation>
    </message>
    <message>
        <source>Print what a run of the job would do (archives, their entries, space, checks, warnings) without writing anything. Prefix the script with $ for dated names.</source>
        <translation>Zeigt, was ein Lauf des Auftrags täte (Archive, ihre Einträge, Platz, Prüfungen, Warnungen), ohne etwas zu schreiben. Ein $ vor dem Skript gibt datierte Namen.</translation>
    </message>
    <message>
        <source>script</source>
        <translation>skript</translation>
    </message>
    <message>
        <source>path</source>
        <translation>pfad</translation>
    </message>
    <message>
        <source>zipname</source>
        <translation>zipname</translation>
    </message>
    <message>
        <source>With --verify: compare the series with this source directory byte for byte, as 7-Zip streams it (nothing is unpacked to disk).</source>
        <translation>Mit --verify: die Serie Byte für Byte mit diesem Quellverzeichnis vergleichen, während 7-Zip sie liest (nichts wird auf die Festplatte entpackt).</translation>
    </message>
    <message>
        <source>source</source>
        <translation>quelle</translation>
    </message>
    <message>
        <source>With --verify: the job that made the series (its skip list, numbering and nfo).</source>
        <translation>Mit --verify: der Auftrag, der die Serie erzeugt hat (seine Ausschlussliste, Nummerierung und nfo).</translation>
    </message>
    <message>
        <source>Write ZIPNAME.sfv and ZIPNAME.sha256 beside a finished series (kesto32 --checksums PATH), or after a batch run (kesto32 --checksums &apos;!job.kst&apos;).</source>
        <translation>Schreibt ZIPNAME.sfv und ZIPNAME.sha256 neben eine fertige Serie (kesto32 --checksums PFAD) oder nach einem unbeaufsichtigten Lauf (kesto32 --checksums &apos;!job.kst&apos;).</translation>
    </message>
    <message>
        <source>%1 is a directory: give the series&apos; zip name with --name</source>
        <translation>%1 ist ein Verzeichnis: geben Sie den Zip-Namen der Serie mit --name an</translation>
    </message>
    <message>
        <source>--plan takes one script</source>
        <translation>--plan nimmt genau ein Skript</translation>
    </message>
    <message>
        <source>--verify takes one path</source>
        <translation>--verify nimmt genau einen Pfad</translation>
    </message>
    <message>
        <source>--checksums takes one archive of a series, or a directory with --name</source>
        <translation>--checksums nimmt genau ein Archiv einer Serie oder ein Verzeichnis mit --name</translation>
    </message>
    <message>
        <source>standard output cannot be written</source>
        <translation>die Standardausgabe kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Write a recovery set of N percent (1 to 100) with par2: ZIPNAME.par2 and its volume files beside a finished series that verifies (kesto32 --recovery 10 PATH), after a completed batch run (kesto32 --recovery 10 &apos;!job.kst&apos;), or shown by --plan.</source>
        <translation>Einen Wiederherstellungssatz von N Prozent (1 bis 100) mit par2 schreiben: ZIPNAME.par2 und seine Volume-Dateien neben eine fertige Serie, die die Prüfung besteht (kesto32 --recovery 10 PFAD), nach einem vollständigen unbeaufsichtigten Lauf (kesto32 --recovery 10 &apos;!job.kst&apos;), oder mit --plan gezeigt.</translation>
    </message>
    <message>
        <source>stopped by signal %1; nothing was written</source>
        <translation>durch Signal %1 angehalten; es wurde nichts geschrieben</translation>
    </message>
    <message>
        <source>%1: %2 problem(s); no recovery set written for a series that does not verify</source>
        <translation>%1: %2 Problem(e); für eine Serie, die die Prüfung nicht besteht, wird kein Wiederherstellungssatz geschrieben</translation>
    </message>
    <message>
        <source>removed %1, of an earlier recovery set</source>
        <translation>%1 entfernt, aus einem früheren Wiederherstellungssatz</translation>
    </message>
    <message>
        <source>%1 written (%2 %): %3 file(s), %4 bytes, %5 % of the %6 archive(s)</source>
        <extracomment>%1 the index file&apos;s path, %2 the percentage asked for, %3 the number of files, %4 their bytes, %5 their share of the archives&apos; bytes, %6 the number of archives</extracomment>
        <translation>%1 geschrieben (%2 %): %3 Datei(en), %4 Bytes, %5 % der %6 Archiv(e)</translation>
    </message>
    <message>
        <source>--recovery takes one archive of a series, or a directory with --name</source>
        <translation>--recovery verlangt ein Archiv einer Serie oder ein Verzeichnis mit --name</translation>
    </message>
    <message>
        <source>Check a finished series: an archive of it, or its directory with --name. One line per problem; exit status 0 only for a complete, intact series, 2 when its recovery set can repair every problem.</source>
        <translation>Prüft eine fertige Serie: eines ihrer Archive, oder ihr Verzeichnis mit --name. Eine Zeile je Problem; Status 0 nur für eine vollständige, unversehrte Serie, 2, wenn ihr Wiederherstellungssatz jedes Problem beheben kann.</translation>
    </message>
    <message>
        <source>Rebuild the damaged and missing archives of a finished series from its recovery set (ZIPNAME.par2), then check it as --verify does; exit status 0 only when it verifies.</source>
        <translation>Baut die beschädigten und fehlenden Archive einer fertigen Serie aus ihrem Wiederherstellungssatz (ZIPNAME.par2) neu und prüft sie dann wie --verify; Status 0 nur, wenn sie die Prüfung besteht.</translation>
    </message>
    <message>
        <source>The series&apos; zip name, with --verify, --repair, --checksums or --recovery on a directory.</source>
        <translation>Der Zip-Name der Serie, mit --verify, --repair, --checksums oder --recovery auf ein Verzeichnis.</translation>
    </message>
    <message>
        <source>%1; nothing changed</source>
        <translation>%1; nichts geändert</translation>
    </message>
    <message>
        <source>%1: no recovery set beside the series</source>
        <translation>%1: kein Wiederherstellungssatz neben der Serie</translation>
    </message>
    <message>
        <source>nothing to repair</source>
        <translation>nichts zu reparieren</translation>
    </message>
    <message>
        <source>the recovery set cannot repair these problems</source>
        <translation>der Wiederherstellungssatz kann diese Probleme nicht beheben</translation>
    </message>
    <message>
        <source>stopped by signal %1; no archive was changed</source>
        <translation>durch Signal %1 angehalten; kein Archiv wurde geändert</translation>
    </message>
    <message>
        <source>--repair takes one path</source>
        <translation>--repair nimmt einen Pfad</translation>
    </message>
    <message>
        <source>give one of --plan, --verify, --repair, --checksums and --recovery</source>
        <translation>geben Sie genau eines von --plan, --verify, --repair, --checksums und --recovery an</translation>
    </message>
</context>
<context>
    <name>SeriesRepair</name>
    <message>
        <source>the recovery set cannot be used: %1</source>
        <translation>der Wiederherstellungssatz ist nicht verwendbar: %1</translation>
    </message>
    <message>
        <source>the recovery set is damaged or incomplete: %1 of at least %2 recovery blocks usable</source>
        <translation>der Wiederherstellungssatz ist beschädigt oder unvollständig: %1 von mindestens %2 Wiederherstellungsblöcken brauchbar</translation>
    </message>
    <message>
        <source>the recovery set covers %1, which is no archive of the series</source>
        <translation>der Wiederherstellungssatz umfasst %1, das kein Archiv der Serie ist</translation>
    </message>
    <message>
        <source>the recovery set holds none of the blocks of %1, which reads intact: the set was made for other archives</source>
        <translation>der Wiederherstellungssatz enthält keinen der Blöcke von %1, das unversehrt lesbar ist: der Satz wurde für andere Archive gemacht</translation>
    </message>
    <message>
        <source>%1 reads intact but is not the archive the recovery set was made for (%2 of %3 blocks the same); a repair leaves it as it is</source>
        <translation>%1 ist unversehrt lesbar, aber nicht das Archiv, für das der Wiederherstellungssatz gemacht wurde (%2 von %3 Blöcken gleich); eine Reparatur lässt es, wie es ist</translation>
    </message>
    <message>
        <source>%1 is not covered by the recovery set</source>
        <translation>%1 ist vom Wiederherstellungssatz nicht erfasst</translation>
    </message>
    <message>
        <source>%1 (not repairable: the recovery set does not cover this archive)</source>
        <translation>%1 (nicht reparierbar: der Wiederherstellungssatz erfasst dieses Archiv nicht)</translation>
    </message>
    <message>
        <source>%1 (repairable)</source>
        <translation>%1 (reparierbar)</translation>
    </message>
    <message>
        <source>%1 (beyond repair)</source>
        <translation>%1 (nicht mehr reparierbar)</translation>
    </message>
    <message>
        <source>%1 (not repairable: the recovery set finds no damage)</source>
        <translation>%1 (nicht reparierbar: der Wiederherstellungssatz findet keine Beschädigung)</translation>
    </message>
    <message>
        <source>%1 (not repairable: the recovery set finds this archive intact)</source>
        <translation>%1 (nicht reparierbar: der Wiederherstellungssatz findet dieses Archiv unversehrt)</translation>
    </message>
    <message>
        <source>repairable: %1 damaged or missing archive(s), recovery blocks needed %2 of %3</source>
        <translation>reparierbar: %1 beschädigte oder fehlende Archiv(e), Wiederherstellungsblöcke nötig %2 von %3</translation>
    </message>
    <message>
        <source>beyond repair: %1 damaged or missing archive(s), recovery blocks needed %2 of %3</source>
        <translation>nicht mehr reparierbar: %1 beschädigte oder fehlende Archiv(e), Wiederherstellungsblöcke nötig %2 von %3</translation>
    </message>
    <message>
        <source>cannot make a temporary directory in %1: %2</source>
        <translation>kann kein temporäres Verzeichnis in %1 anlegen: %2</translation>
    </message>
    <message>
        <source>%1 is not a regular file: nothing repaired</source>
        <translation>%1 ist keine gewöhnliche Datei: nichts repariert</translation>
    </message>
    <message>
        <source>cannot link %1 in the temporary directory: %2</source>
        <translation>kann %1 im temporären Verzeichnis nicht verknüpfen: %2</translation>
    </message>
    <message>
        <source>par2 could not repair the series: %1</source>
        <translation>par2 konnte die Serie nicht reparieren: %1</translation>
    </message>
    <message>
        <source>par2 did not rebuild %1</source>
        <translation>par2 hat %1 nicht neu gebaut</translation>
    </message>
    <message>
        <source>cannot write %1 to the disk</source>
        <translation>kann %1 nicht auf den Datenträger bringen</translation>
    </message>
    <message>
        <source>cannot put the rebuilt %1 in place: %2</source>
        <translation>kann das neu gebaute %1 nicht an seinen Platz bringen: %2</translation>
    </message>
    <message>
        <source>%1: rebuilt from the recovery set</source>
        <translation>%1: aus dem Wiederherstellungssatz neu gebaut</translation>
    </message>
    <message>
        <source>removed %1, left by an earlier repair</source>
        <translation>%1 entfernt, von einer früheren Reparatur übrig</translation>
    </message>
</context>
<context>
    <name>SkipList</name>
    <message>
        <source>Directory to skip</source>
        <translation>Auszulassendes Verzeichnis</translation>
    </message>
    <message>
        <source>Add skip file</source>
        <translation>Auszulassende Datei hinzufügen</translation>
    </message>
    <message>
        <source>Path isn&apos;t within source path</source>
        <translation>Der Pfad liegt nicht in der Quelle</translation>
    </message>
    <message>
        <source>You must pick a source drive or directory first</source>
        <translation>Wählen Sie zuerst ein Quelllaufwerk oder -verzeichnis</translation>
    </message>
</context>
<context>
    <name>SkipPage</name>
    <message>
        <source>Sub-directories or files to skip   (optional)</source>
        <translation>Nicht ins Archiv   (optional)</translation>
    </message>
    <message>
        <source>&amp;Sub-dir</source>
        <extracomment>Browse picks a sub-directory of the source to leave out</extracomment>
        <translation>&amp;Ordner</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Wählen</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Leeren</translation>
    </message>
</context>
<context>
    <name>SourcePage</name>
    <message>
        <source>Source drive or directory</source>
        <translation>Quelllaufwerk oder -verzeichnis</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Wählen</translation>
    </message>
    <message>
        <source>- Source size -</source>
        <extracomment>Shown until the source has been measured; then the size replaces it</extracomment>
        <translation>- Quellgröße -</translation>
    </message>
    <message>
        <source>Drive for temporary files</source>
        <translation>Laufwerk für temporäre Dateien</translation>
    </message>
    <message>
        <source>Free space on -</source>
        <extracomment>Before a drive is chosen; then the free space of the drive replaces it</extracomment>
        <translation>Frei auf -</translation>
    </message>
    <message>
        <source>Total source size</source>
        <translation>Gesamtgröße der Quelle</translation>
    </message>
    <message>
        <source>Drive free space</source>
        <translation>Freier Platz auf dem Laufwerk</translation>
    </message>
</context>
<context>
    <name>SourceSize</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>- Source size -</source>
        <translation>- Quellgröße -</translation>
    </message>
    <message>
        <source>Calculating files and size</source>
        <translation>Dateien und Größe werden ermittelt</translation>
    </message>
    <message>
        <source>Error calculating source bytes</source>
        <translation>Fehler beim Ermitteln der Größe der Quelle</translation>
    </message>
    <message>
        <source>Source directory</source>
        <translation>Quellverzeichnis</translation>
    </message>
    <message>
        <source>%1 file</source>
        <translation>%1 Datei</translation>
    </message>
    <message>
        <source>%1 files</source>
        <translation>%1 Dateien</translation>
    </message>
    <message>
        <source>%1 byte</source>
        <translation>%1 Byte</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1 directory</source>
        <translation>%1 Verzeichnis</translation>
    </message>
    <message>
        <source>%1 directories</source>
        <translation>%1 Verzeichnissen</translation>
    </message>
    <message>
        <source>%1, %2 in %3</source>
        <extracomment>Files, bytes and directories of the source, as in &quot;5 files, 1,200 bytes in 2 directories&quot;</extracomment>
        <translation>%1, %2 in %3</translation>
    </message>
</context>
<context>
    <name>TempDrive</name>
    <message>
        <source>Free space on - <byte value="xd"/>less than 2 Meg.</source>
        <extracomment>Designed text, on two lines: the free space of the drive for the working files</extracomment>
        <translation>Frei auf - <byte value="xd"/>weniger als 2 MB</translation>
    </message>
    <message>
        <source>Free space on - <byte value="xd"/> %1 Meg.</source>
        <extracomment>Designed text, on two lines: %1 the free space in millions of bytes</extracomment>
        <translation>Frei auf - <byte value="xd"/> %1 MB</translation>
    </message>
</context>
<context>
    <name>VerifySeries</name>
    <message>
        <source>7-Zip reported a failure</source>
        <translation>7-Zip meldete einen Fehler</translation>
    </message>
    <message>
        <source>the volumes cannot be unpacked: 7-Zip (7zz) is not installed</source>
        <translation>die Teile können nicht entpackt werden: 7-Zip (7zz) ist nicht installiert</translation>
    </message>
    <message>
        <source>the volumes are not a complete, intact 7-Zip set: %1</source>
        <translation>die Teile sind kein vollständiger, unversehrter 7-Zip-Satz: %1</translation>
    </message>
    <message>
        <source>7-Zip&apos;s listing of the set cannot be read</source>
        <translation>die Liste des Satzes von 7-Zip ist nicht lesbar</translation>
    </message>
    <message>
        <source>%1: in the series, not in the source</source>
        <translation>%1: in der Serie, nicht in der Quelle</translation>
    </message>
    <message>
        <source>%1: another kind of entry in the series</source>
        <translation>%1: eine andere Art Eintrag in der Serie</translation>
    </message>
    <message>
        <source>%1: differs from the source</source>
        <translation>%1: weicht von der Quelle ab</translation>
    </message>
    <message>
        <source>%1: link differs from the source</source>
        <translation>%1: Verknüpfung weicht von der Quelle ab</translation>
    </message>
    <message>
        <source>%1: in the source, not in the series</source>
        <translation>%1: in der Quelle, nicht in der Serie</translation>
    </message>
    <message>
        <source>cannot make a temporary directory in %1</source>
        <translation>kann kein temporäres Verzeichnis in %1 anlegen</translation>
    </message>
    <message>
        <source>%1: stale archive: the series ends with %2</source>
        <translation>%1: veraltetes Archiv: die Serie endet mit %2</translation>
    </message>
    <message>
        <source>%1: cannot be read as a zip archive: %2</source>
        <translation>%1: nicht als Zip-Archiv lesbar: %2</translation>
    </message>
    <message>
        <source>%1: holds %2 twice</source>
        <translation>%1: enthält %2 zweimal</translation>
    </message>
    <message>
        <source>%1: %2 would unpack outside the recipient&apos;s directory</source>
        <translation>%1: %2 würde außerhalb des Verzeichnisses des Empfängers entpackt</translation>
    </message>
    <message>
        <source>%1: holds volume %2 (%3), not volume %4</source>
        <translation>%1: enthält Teil %2 (%3), nicht Teil %4</translation>
    </message>
    <message>
        <source>%1: %2 is larger than %3 bytes: no description is</source>
        <translation>%1: %2 ist größer als %3 Bytes: keine Beschreibung ist so groß</translation>
    </message>
    <message>
        <source>%1: %2 is damaged: %3</source>
        <translation>%1: %2 ist beschädigt: %3</translation>
    </message>
    <message>
        <source>%1: holds no volume</source>
        <translation>%1: enthält keinen Teil</translation>
    </message>
    <message>
        <source>%1: holds %2 volumes</source>
        <translation>%1: enthält %2 Teile</translation>
    </message>
    <message>
        <source>%1: holds no %2</source>
        <translation>%1: enthält kein %2</translation>
    </message>
    <message>
        <source>%1: missing</source>
        <translation>%1: fehlt</translation>
    </message>
    <message>
        <source>%1: data after the end of the set (%2 bytes)</source>
        <translation>%1: Daten nach dem Ende des Satzes (%2 Bytes)</translation>
    </message>
    <message>
        <source>%1: %2 is not part of the series</source>
        <translation>%1: %2 gehört nicht zur Serie</translation>
    </message>
    <message>
        <source>%1 in every archive is taken for the job&apos;s extra (give --job to check it)</source>
        <translation>%1 in jedem Archiv gilt als Extra des Auftrags (mit --job wird es geprüft)</translation>
    </message>
    <message>
        <source>%1: holds no nfo</source>
        <translation>%1: enthält keine nfo</translation>
    </message>
    <message>
        <source>%1: holds no nfo, as the other archives do</source>
        <translation>%1: enthält keine nfo, wie es die anderen Archive tun</translation>
    </message>
    <message>
        <source>%1: the description differs from %2&apos;s</source>
        <translation>%1: die Beschreibung weicht von der in %2 ab</translation>
    </message>
    <message>
        <source>%1: the description carries no number at line %2, column %3; expected %4</source>
        <translation>%1: die Beschreibung trägt keine Nummer in Zeile %2, Spalte %3; erwartet %4</translation>
    </message>
    <message>
        <source>%1: the description says %2; expected %3</source>
        <translation>%1: die Beschreibung sagt %2; erwartet %3</translation>
    </message>
    <message>
        <source>no volume could be read from the series</source>
        <translation>kein Teil der Serie war lesbar</translation>
    </message>
    <message>
        <source>7-Zip (7zz) is not installed</source>
        <translation>7-Zip (7zz) ist nicht installiert</translation>
    </message>
    <message>
        <source>7-Zip cannot be started</source>
        <translation>7-Zip lässt sich nicht starten</translation>
    </message>
</context>
<context>
    <name>ZipComponent</name>
    <message>
        <source>done</source>
        <translation>erledigt</translation>
    </message>
    <message>
        <source>aborted</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>an add is under way</source>
        <translation>ein Hinzufügen läuft bereits</translation>
    </message>
    <message>
        <source>unknown command</source>
        <translation>unbekannter Befehl</translation>
    </message>
    <message>
        <source>nothing to add</source>
        <translation>nichts hinzuzufügen</translation>
    </message>
    <message>
        <source>not found</source>
        <translation>nicht gefunden</translation>
    </message>
    <message>
        <source>cannot open the archive</source>
        <translation>kann das Archiv nicht öffnen</translation>
    </message>
    <message>
        <source>file size limit exceeded</source>
        <translation>Dateigrößengrenze überschritten</translation>
    </message>
    <message>
        <source>no space left on the disk</source>
        <translation>kein Platz mehr auf dem Datenträger</translation>
    </message>
    <message>
        <source>cannot write the archive</source>
        <translation>kann das Archiv nicht schreiben</translation>
    </message>
    <message>
        <source>cannot sync the archive</source>
        <translation>kann das Archiv nicht auf den Datenträger bringen</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>ZipPage</name>
    <message>
        <source>Zip storage</source>
        <translation>Zip-Ablage</translation>
    </message>
    <message>
        <source>&amp;Browse</source>
        <translation>&amp;Wählen</translation>
    </message>
    <message>
        <source>Free space: </source>
        <extracomment>Followed by the free space of the zip directory in millions of bytes</extracomment>
        <translation>Frei: </translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Archive size</source>
        <translation>Archivgröße</translation>
    </message>
    <message>
        <source>Rar &amp;solid compression</source>
        <translation>&amp;Solide Rar-Kompression</translation>
    </message>
    <message>
        <source>Zip e&amp;xtra compression</source>
        <translation>Zip-&amp;Extrakompression</translation>
    </message>
</context>
<context>
    <name>ZipReader</name>
    <message>
        <source>cannot write the entry&apos;s copy</source>
        <translation>kann die Kopie des Eintrags nicht schreiben</translation>
    </message>
</context>
<context>
    <name>ZipStep</name>
    <message>
        <source>%1 into %2: %3</source>
        <extracomment>%1 the file added, %2 the archive, %3 why it failed</extracomment>
        <translation>%1 in %2: %3</translation>
    </message>
    <message>
        <source> %1 of %2</source>
        <extracomment>Designed text: &quot; 3 of 12&quot;, the volume&apos;s number of the number of volumes</extracomment>
        <translation> %1 von %2</translation>
    </message>
    <message>
        <source>cannot copy the description %1</source>
        <translation>kann die Beschreibung %1 nicht kopieren</translation>
    </message>
    <message>
        <source>cannot copy the nfo %1</source>
        <translation>kann die nfo %1 nicht kopieren</translation>
    </message>
    <message>
        <source>an archive cannot be synced: %1</source>
        <translation>ein Archiv lässt sich nicht auf den Datenträger bringen: %1</translation>
    </message>
    <message>
        <source>cannot delete %1</source>
        <translation>kann %1 nicht löschen</translation>
    </message>
    <message>
        <source>cannot remove %1</source>
        <translation>kann %1 nicht entfernen</translation>
    </message>
    <message>
        <source>nothing to wrap with</source>
        <translation>nichts zum Verpacken da</translation>
    </message>
    <message>
        <source>more than 32767 volumes</source>
        <translation>mehr als 32767 Teile</translation>
    </message>
</context>
<context>
    <name>archiver</name>
    <message>
        <source>cannot write %1 (%2)</source>
        <translation>kann %1 nicht schreiben (%2)</translation>
    </message>
    <message>
        <source>looked for in %1</source>
        <translation>gesucht in %1</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>no 7zz or 7z on PATH</source>
        <translation>kein 7zz oder 7z im PATH</translation>
    </message>
    <message>
        <source>status %1</source>
        <translation>Status %1</translation>
    </message>
    <message>
        <source>it was killed or could not start</source>
        <translation>er wurde abgebrochen oder konnte nicht starten</translation>
    </message>
</context>
<context>
    <name>kesto32</name>
    <message>
        <source>Packages a directory tree into a numbered series of zip archives.</source>
        <translation>Verpackt einen Verzeichnisbaum in eine nummerierte Serie von Zip-Archiven.</translation>
    </message>
    <message>
        <source>Job script (.kst) to load. Prefix it with ! to run the job unattended and end, or with $ to do the same with date-stamped archive names.</source>
        <translation>Zu ladendes Auftragsskript (.kst). Mit einem ! davor läuft der Auftrag unbeaufsichtigt und das Programm endet danach; mit $ ebenso, mit datierten Archivnamen.</translation>
    </message>
    <message>
        <source>Another instance of Kesto32 is running, an unattended run perhaps. Start a job here once it has ended.</source>
        <translation>Eine andere Instanz von Kesto32 läuft, vielleicht ein unbeaufsichtigter Lauf. Starten Sie hier einen Auftrag, sobald sie beendet ist.</translation>
    </message>
    <message>
        <source>unrecognized option &apos;%1&apos;</source>
        <translation>unbekannte Option &apos;%1&apos;</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; needs a value</source>
        <translation>Option &apos;%1&apos; braucht einen Wert</translation>
    </message>
    <message>
        <source>option &apos;%1&apos; takes no value</source>
        <translation>Option &apos;%1&apos; nimmt keinen Wert</translation>
    </message>
    <message>
        <source>With ! or $: report failures only, no progress.</source>
        <translation>Mit ! oder $: nur Fehler melden, keinen Fortschritt.</translation>
    </message>
    <message>
        <source>Usage: kesto32 [options] [script]
Try &apos;kesto32 --help&apos; for more information.
</source>
        <translation>Aufruf: kesto32 [Optionen] [Skript]
&apos;kesto32 --help&apos; gibt weitere Auskunft.
</translation>
    </message>
    <message>
        <source>kesto32: the window needs a display (DISPLAY or WAYLAND_DISPLAY); to run a job unattended, give its script with the prefix ! or $: kesto32 &apos;!job.kst&apos;
</source>
        <translation>kesto32: das Fenster braucht eine Anzeige (DISPLAY oder WAYLAND_DISPLAY); um einen Auftrag unbeaufsichtigt laufen zu lassen, geben Sie sein Skript mit ! oder $ davor an: kesto32 &apos;!job.kst&apos;
</translation>
    </message>
    <message>
        <source>script</source>
        <translation>Skript</translation>
    </message>
    <message>
        <source>[script]</source>
        <translation>[Skript]</translation>
    </message>
</context>
<context>
    <name>kesto::HelpWindow</name>
    <message>
        <source>Kesto32 Help</source>
        <translation>Kesto32-Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Index</source>
        <translation>In&amp;dex</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>Search the index</source>
        <translation>Im Index suchen</translation>
    </message>
    <message>
        <source>Type a word to look for:</source>
        <translation>Gesuchtes Wort eingeben:</translation>
    </message>
</context>
<context>
    <name>kesto::ui::MainWindow</name>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open script...</source>
        <translation>Skript ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Save script...</source>
        <translation>Skript &amp;speichern...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Source</source>
        <extracomment>The page menu, opened by a right click; one mnemonic each within the menu.</extracomment>
        <translation>&amp;Quelle</translation>
    </message>
    <message>
        <source>S&amp;kip</source>
        <translation>&amp;Auslassen</translation>
    </message>
    <message>
        <source>&amp;Diz</source>
        <translation>&amp;Diz</translation>
    </message>
    <message>
        <source>&amp;Nfo</source>
        <translation>&amp;Nfo</translation>
    </message>
    <message>
        <source>&amp;Zip</source>
        <translation>&amp;Zip</translation>
    </message>
    <message>
        <source>&amp;Kesto</source>
        <translation>&amp;Kesto</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents...</source>
        <translation>&amp;Inhalt...</translation>
    </message>
    <message>
        <source>&amp;Index...</source>
        <translation>In&amp;dex...</translation>
    </message>
    <message>
        <source>&amp;Web page...</source>
        <translation>&amp;Webseite...</translation>
    </message>
    <message>
        <source>&amp;Email</source>
        <translation>&amp;E-Mail</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>Main</source>
        <extracomment>The page list&apos;s group of the job&apos;s pages (about 60 pixels wide)</extracomment>
        <translation>Auftrag</translation>
    </message>
    <message>
        <source>Help</source>
        <extracomment>The page list&apos;s group of help and information (about 60 pixels wide)</extracomment>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Kesto32 duplicate instance.</source>
        <translation>Kesto32: weitere Instanz.</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Auslassen</translation>
    </message>
    <message>
        <source>Diz</source>
        <translation>Diz</translation>
    </message>
    <message>
        <source>Nfo</source>
        <translation>Nfo</translation>
    </message>
    <message>
        <source>Zip</source>
        <translation>Zip</translation>
    </message>
    <message>
        <source>Kesto!</source>
        <translation>Kesto!</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Save script &amp;as...</source>
        <translation>Skript speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Plan...</source>
        <translation>&amp;Plan...</translation>
    </message>
    <message>
        <source>&amp;Verify series...</source>
        <translation>Serie p&amp;rüfen...</translation>
    </message>
    <message>
        <source>the current job</source>
        <translation>den aktuellen Auftrag</translation>
    </message>
    <message>
        <source>Plan</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>Verify series</source>
        <translation>Serie prüfen</translation>
    </message>
    <message>
        <source>Zip archive (*.zip)|*.zip|</source>
        <translation>Zip-Archiv (*.zip)|*.zip|</translation>
    </message>
    <message>
        <source>No series to verify</source>
        <translation>Keine Serie zu prüfen</translation>
    </message>
    <message>
        <source>&amp;Repair</source>
        <translation>&amp;Reparieren</translation>
    </message>
    <message>
        <source>Repair series</source>
        <translation>Serie reparieren</translation>
    </message>
</context>
<context>
    <name>kesto::ui::ReportDialog</name>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
</context>
<context>
    <name>paths</name>
    <message>
        <source>%1 cannot be made</source>
        <translation>%1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>others can write %1</source>
        <translation>andere können in %1 schreiben</translation>
    </message>
</context>
<context>
    <name>recovery</name>
    <message>
        <source>par2 not found on PATH; install the package par2</source>
        <translation>par2 nicht im PATH gefunden; installieren Sie das Paket par2</translation>
    </message>
</context>
<context>
    <name>runlock</name>
    <message>
        <source>%1 is not a plain file</source>
        <translation>%1 ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>cannot make %1: %2</source>
        <translation>kann %1 nicht anlegen: %2</translation>
    </message>
    <message>
        <source>removed %1, left by a run that ended early (%2 bytes)</source>
        <translation>%1 entfernt, von einem vorzeitig beendeten Lauf übrig (%2 Bytes)</translation>
    </message>
    <message>
        <source>cannot remove %1, left by a run that ended early (%2 bytes)</source>
        <translation>kann %1 nicht entfernen, von einem vorzeitig beendeten Lauf übrig (%2 Bytes)</translation>
    </message>
</context>
<context>
    <name>runner</name>
    <message>
        <source>cannot be found</source>
        <translation>nicht zu finden</translation>
    </message>
    <message>
        <source>not started: the program is stopping</source>
        <translation>nicht gestartet: das Programm wird beendet</translation>
    </message>
    <message>
        <source>cannot write %1</source>
        <translation>kann %1 nicht schreiben</translation>
    </message>
    <message>
        <source>cannot be started</source>
        <translation>lässt sich nicht starten</translation>
    </message>
    <message>
        <source>output cannot be written to %1</source>
        <translation>die Ausgabe kann nicht nach %1 geschrieben werden</translation>
    </message>
    <message>
        <source>ended with status %1</source>
        <translation>mit Status %1 beendet</translation>
    </message>
</context>
<context>
    <name>script</name>
    <message>
        <source>the script ends after line %1</source>
        <translation>das Skript endet nach Zeile %1</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <extracomment>%1 the script&apos;s line number, %2 what is wrong with it</extracomment>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>not valid UTF-8</source>
        <translation>kein gültiges UTF-8</translation>
    </message>
    <message>
        <source>not 0, 1 or 2</source>
        <translation>nicht 0, 1 oder 2</translation>
    </message>
    <message>
        <source>not a size position from 0 to 200</source>
        <translation>keine Größenstufe von 0 bis 200</translation>
    </message>
    <message>
        <source>the skip section has no end</source>
        <translation>der Abschnitt der Ausschlussliste hat kein Ende</translation>
    </message>
    <message>
        <source>not True or False</source>
        <translation>nicht True oder False</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>Save script</source>
        <extracomment>Designed text: the caption of the dialog that saves a script</extracomment>
        <translation>Skript speichern</translation>
    </message>
</context>
<context>
    <name>series</name>
    <message>
        <source>%1 is a directory: name the series with --name</source>
        <translation>%1 ist ein Verzeichnis: nennen Sie die Serie mit --name</translation>
    </message>
    <message>
        <source>no series %1 in %2</source>
        <translation>keine Serie %1 in %2</translation>
    </message>
    <message>
        <source>%1 is not an archive of a series</source>
        <translation>%1 ist kein Archiv einer Serie</translation>
    </message>
</context>
<context>
    <name>validation</name>
    <message>
        <source>description numbering column</source>
        <translation>Nummerierungsspalte der Beschreibung</translation>
    </message>
    <message>
        <source>no column for the number</source>
        <translation>keine Spalte für die Nummer</translation>
    </message>
    <message>
        <source>description numbering line</source>
        <translation>Nummerierungszeile der Beschreibung</translation>
    </message>
    <message>
        <source>no line for the number</source>
        <translation>keine Zeile für die Nummer</translation>
    </message>
    <message>
        <source>zip name given</source>
        <translation>Zip-Name angegeben</translation>
    </message>
    <message>
        <source>no zip name</source>
        <translation>kein Zip-Name</translation>
    </message>
    <message>
        <source>zip name</source>
        <translation>Zip-Name</translation>
    </message>
    <message>
        <source>source directory</source>
        <translation>Quellverzeichnis</translation>
    </message>
    <message>
        <source>no source directory</source>
        <translation>kein Quellverzeichnis</translation>
    </message>
    <message>
        <source>skip list</source>
        <translation>Ausschlussliste</translation>
    </message>
    <message>
        <source>a skip entry holds a NUL byte</source>
        <translation>ein Eintrag der Ausschlussliste enthält ein NUL-Byte</translation>
    </message>
    <message>
        <source>a skip entry names nothing</source>
        <translation>ein Eintrag der Ausschlussliste benennt nichts Vorhandenes</translation>
    </message>
    <message>
        <source>description file</source>
        <translation>Beschreibungsdatei</translation>
    </message>
    <message>
        <source>no description file</source>
        <translation>keine Beschreibungsdatei</translation>
    </message>
    <message>
        <source>nfo file</source>
        <translation>nfo-Datei</translation>
    </message>
    <message>
        <source>no nfo file</source>
        <translation>keine nfo-Datei</translation>
    </message>
    <message>
        <source>extra</source>
        <translation>Extra</translation>
    </message>
    <message>
        <source>no extra file</source>
        <translation>keine Extra-Datei</translation>
    </message>
    <message>
        <source>no extra directory</source>
        <translation>kein Extra-Verzeichnis</translation>
    </message>
    <message>
        <source>zip directory</source>
        <translation>Zip-Verzeichnis</translation>
    </message>
    <message>
        <source>no zip directory</source>
        <translation>kein Zip-Verzeichnis</translation>
    </message>
    <message>
        <source>zip directory writable</source>
        <translation>Zip-Verzeichnis beschreibbar</translation>
    </message>
    <message>
        <source>zip name &quot;%1&quot;</source>
        <extracomment>%1 the zip name as given</extracomment>
        <translation>Zip-Name &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 bytes with date, number and .zip, where the file system allows %2</source>
        <translation>%1 Bytes mit Datum, Nummer und .zip, wo das Dateisystem %2 erlaubt</translation>
    </message>
    <message>
        <source>%1, description %2</source>
        <extracomment>%1 why the description test failed, %2 the description&apos;s path</extracomment>
        <translation>%1, Beschreibung %2</translation>
    </message>
</context>
</TS>
