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
    <name>KestoPage</name>
    <message>
        <source>&amp;Abort</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
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
    <name>kesto</name>
    <message>
        <source>cannot remove %1, left by an earlier run</source>
        <translation>kann %1 nicht entfernen, von einem früheren Lauf übrig</translation>
    </message>
    <message>
        <source>removed %1, left by an earlier run</source>
        <translation>%1 entfernt, von einem früheren Lauf übrig</translation>
    </message>
    <message>
        <source>cannot replace the link %1</source>
        <translation>kann die Verknüpfung %1 nicht ersetzen</translation>
    </message>
    <message>
        <source>the earlier series is as it was</source>
        <translation>die frühere Serie ist, wie sie war</translation>
    </message>
    <message>
        <source>of the earlier series, %1 archive(s) replaced by this run&apos;s, %2 as they were</source>
        <translation>von der früheren Serie %1 Archiv(e) durch die dieses Laufs ersetzt, %2 wie sie waren</translation>
    </message>
</context>
<context>
    <name>kesto::Checksums</name>
    <message>
        <source>cannot write %1: %2</source>
        <translation>kann %1 nicht schreiben: %2</translation>
    </message>
</context>
<context>
    <name>kesto::ExtraFiles</name>
    <message>
        <source>extra %1 left out: %2</source>
        <translation>Extra %1 ausgelassen: %2</translation>
    </message>
    <message>
        <source>the run writes its own file of that name</source>
        <translation>der Lauf schreibt eine eigene Datei dieses Namens</translation>
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
    <name>kesto::PackagingRun</name>
    <message numerus="yes">
        <source>Kesting complete; %n file(s) of an earlier run removed</source>
        <translation>
            <numerusform>Fertig; %n Datei eines früheren Laufs entfernt</numerusform>
            <numerusform>Fertig; %n Dateien eines früheren Laufs entfernt</numerusform>
        </translation>
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
</context>
</TS>
