<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Drive</source>
        <translation>&amp;Laufwerk</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Arrange</source>
        <translation>Anordnen</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Open Drive</source>
        <translation>Laufwerk ö&amp;ffnen</translation>
    </message>
    <message>
        <source>Open drive</source>
        <translation>Laufwerk öffnen</translation>
    </message>
    <message>
        <source>Open Drive</source>
        <translation>Laufwerk öffnen</translation>
    </message>
    <message>
        <source>&amp;Create Image</source>
        <translation>Abbild &amp;erstellen</translation>
    </message>
    <message>
        <source>Create cdrom image</source>
        <translation>Abbild der CD-ROM erstellen</translation>
    </message>
    <message>
        <source>Open &amp;Image</source>
        <translation>&amp;Abbild öffnen</translation>
    </message>
    <message>
        <source>Open cdrom image</source>
        <translation>CD-ROM-Abbild öffnen</translation>
    </message>
    <message>
        <source>E&amp;xit Orvane Velmora CDROM </source>
        <translation>Orvane Velmora CDROM &amp;beenden </translation>
    </message>
    <message>
        <source>Exit Orvane Velmora CDROM</source>
        <translation>Orvane Velmora CDROM beenden</translation>
    </message>
    <message>
        <source>Recover &amp;Selected Files</source>
        <translation>&amp;Ausgewählte Dateien wiederherstellen</translation>
    </message>
    <message>
        <source>Recover selected files</source>
        <translation>Ausgewählte Dateien wiederherstellen</translation>
    </message>
    <message>
        <source>Recover Selected Files</source>
        <translation>Ausgewählte Dateien wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Recover All</source>
        <translation>Alles &amp;wiederherstellen</translation>
    </message>
    <message>
        <source>Recover all</source>
        <translation>Alles wiederherstellen</translation>
    </message>
    <message>
        <source>Recover All</source>
        <translation>Alles wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Add File Filter</source>
        <translation>Datei&amp;filter hinzufügen</translation>
    </message>
    <message>
        <source>Add file filter to do recovery of specific extensions</source>
        <translation>Dateifilter hinzufügen, um gezielt bestimmte Dateierweiterungen wiederherzustellen</translation>
    </message>
    <message>
        <source>Remove &amp;File Filter</source>
        <translation>Dateifilter &amp;entfernen</translation>
    </message>
    <message>
        <source>Remove file filter</source>
        <translation>Dateifilter entfernen</translation>
    </message>
    <message>
        <source>Stop &amp;Current Process</source>
        <translation>Aktuellen Vorgang a&amp;bbrechen</translation>
    </message>
    <message>
        <source>Stop current process</source>
        <translation>Aktuellen Vorgang abbrechen</translation>
    </message>
    <message>
        <source>Stop Current Process</source>
        <translation>Aktuellen Vorgang abbrechen</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Find file in the tree displayed</source>
        <translation>Datei im angezeigten Verzeichnisbaum suchen</translation>
    </message>
    <message>
        <source>Find Next Item</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Find next item in the tree displayed</source>
        <translation>Nächstes Element im angezeigten Verzeichnisbaum suchen</translation>
    </message>
    <message>
        <source>File &amp;Mask</source>
        <translation>Datei&amp;maske</translation>
    </message>
    <message>
        <source>Mask unwanted files &amp; folders</source>
        <translation>Unerwünschte Dateien und Ordner ausblenden</translation>
    </message>
    <message>
        <source>File U&amp;nmask</source>
        <translation>Maske auf&amp;heben</translation>
    </message>
    <message>
        <source>Display complete tree of files &amp; folders</source>
        <translation>Vollständigen Baum aller Dateien und Ordner anzeigen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Alle auswählen</translation>
    </message>
    <message>
        <source>Select all files &amp; folders</source>
        <translation>Alle Dateien und Ordner auswählen</translation>
    </message>
    <message>
        <source>&amp;Unselect All</source>
        <translation>A&amp;uswahl aufheben</translation>
    </message>
    <message>
        <source>Unmark all</source>
        <translation>Gesamte Auswahl aufheben</translation>
    </message>
    <message>
        <source>&amp;Clear Log</source>
        <translation>Protokoll &amp;leeren</translation>
    </message>
    <message>
        <source>Clear all contents of message log</source>
        <translation>Gesamten Inhalt des Meldungsprotokolls löschen</translation>
    </message>
    <message>
        <source>&amp;Save  Log</source>
        <translation>Protokoll s&amp;peichern</translation>
    </message>
    <message>
        <source>Save Message log to  a file</source>
        <translation>Meldungsprotokoll in einer Datei speichern</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Symbolleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>S&amp;tatusleiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Statusleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Message Log</source>
        <translation>&amp;Meldungsprotokoll</translation>
    </message>
    <message>
        <source>Show or hide process log</source>
        <translation>Vorgangsprotokoll ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Go Up</source>
        <translation>&amp;Nach oben</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Large Icons</source>
        <translation>Große Symbole</translation>
    </message>
    <message>
        <source>Display items by using large icons</source>
        <translation>Elemente als große Symbole anzeigen</translation>
    </message>
    <message>
        <source>Small Icons</source>
        <translation>Kleine Symbole</translation>
    </message>
    <message>
        <source>Display items by using small icons</source>
        <translation>Elemente als kleine Symbole anzeigen</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Displays items in a list</source>
        <translation>Elemente als Liste anzeigen</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Displays detailed information</source>
        <translation>Detaillierte Informationen anzeigen</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Nach &amp;Name</translation>
    </message>
    <message>
        <source>Arrange right view on name</source>
        <translation>Dateiliste nach Name sortieren</translation>
    </message>
    <message>
        <source>By &amp;Type</source>
        <translation>Nach &amp;Typ</translation>
    </message>
    <message>
        <source>Arrange right view on type</source>
        <translation>Dateiliste nach Typ sortieren</translation>
    </message>
    <message>
        <source>By &amp;Size</source>
        <translation>Nach &amp;Größe</translation>
    </message>
    <message>
        <source>Arrange right view on size</source>
        <translation>Dateiliste nach Größe sortieren</translation>
    </message>
    <message>
        <source>By &amp;Date</source>
        <translation>Nach &amp;Datum</translation>
    </message>
    <message>
        <source>Arrange right view on date</source>
        <translation>Dateiliste nach Datum sortieren</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>&amp;Englisch</translation>
    </message>
    <message>
        <source>Change the current language to english </source>
        <translation>Sprache der Oberfläche auf Englisch umstellen </translation>
    </message>
    <message>
        <source>&amp;French</source>
        <translation>&amp;Französisch</translation>
    </message>
    <message>
        <source>Change the current language to french</source>
        <translation>Sprache der Oberfläche auf Französisch umstellen</translation>
    </message>
    <message>
        <source>&amp;German</source>
        <translation>&amp;Deutsch</translation>
    </message>
    <message>
        <source>Change the current language to german</source>
        <translation>Sprache der Oberfläche auf Deutsch umstellen</translation>
    </message>
    <message>
        <source>&amp;Spanish</source>
        <translation>&amp;Spanisch</translation>
    </message>
    <message>
        <source>Change the current language to spanish</source>
        <translation>Sprache der Oberfläche auf Spanisch umstellen</translation>
    </message>
    <message>
        <source>&amp;Italian</source>
        <translation>&amp;Italienisch</translation>
    </message>
    <message>
        <source>Change the current language to italian</source>
        <translation>Sprache der Oberfläche auf Italienisch umstellen</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Hilfethemen</translation>
    </message>
    <message>
        <source>List Help topics</source>
        <translation>Hilfethemen anzeigen</translation>
    </message>
    <message>
        <source>Help Topics</source>
        <translation>Hilfethemen</translation>
    </message>
    <message>
        <source>&amp;About Orvane Velmora CDROM </source>
        <translation>&amp;Info über Orvane Velmora CDROM </translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Programminformationen, Versionsnummer und Copyright anzeigen</translation>
    </message>
    <message>
        <source>&amp;Names</source>
        <translation>Na&amp;men</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>&amp;Automatisch</translation>
    </message>
    <message>
        <source>Show the Rock Ridge names when the disc has them, else Joliet, else ISO 9660</source>
        <translation>Rock-Ridge-Namen anzeigen, wenn der Datenträger sie hat, sonst Joliet, sonst ISO 9660</translation>
    </message>
    <message>
        <source>&amp;Rock Ridge</source>
        <translation>&amp;Rock Ridge</translation>
    </message>
    <message>
        <source>Show the Rock Ridge names of the disc</source>
        <translation>Die Rock-Ridge-Namen des Datenträgers anzeigen</translation>
    </message>
    <message>
        <source>&amp;Joliet</source>
        <translation>&amp;Joliet</translation>
    </message>
    <message>
        <source>Show the Joliet names of the disc</source>
        <translation>Die Joliet-Namen des Datenträgers anzeigen</translation>
    </message>
    <message>
        <source>ISO 9660 &amp;Primary</source>
        <translation>ISO 9660 &amp;primär</translation>
    </message>
    <message>
        <source>Show the ISO 9660 names of the primary volume</source>
        <translation>Die ISO-9660-Namen des primären Volumes anzeigen</translation>
    </message>
</context>
<context>
    <name>DialogPrompts</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.
Möchten Sie die Datei ersetzen?</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Activity</source>
        <translation>Aktivität</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Total 0 Bytes in 0 Files in 0 Folders</source>
        <translation>Gesamt: 0 Bytes in 0 Dateien in 0 Ordnern</translation>
    </message>
    <message>
        <source>Marked 0 Bytes in 0 Files in 0 Folders</source>
        <translation>Auswahl: 0 Bytes in 0 Dateien in 0 Ordnern</translation>
    </message>
    <message>
        <source>Orvane Velmora CDROM 2.0 </source>
        <translation>Orvane Velmora CDROM 2.0 </translation>
    </message>
    <message>
        <source>Saving files on to the same logical drive that contains your lost data</source>
        <translation>Das Speichern von Dateien auf dem logischen Laufwerk mit Ihren verlorenen Daten</translation>
    </message>
    <message>
        <source>can cause disk overwrite and result in permanent data loss</source>
        <translation>kann diese Daten überschreiben und zu dauerhaftem Datenverlust führen</translation>
    </message>
    <message>
        <source>Can not exit</source>
        <translation>Beenden nicht möglich</translation>
    </message>
    <message>
        <source>Stop current operation before exiting Orvane Velmora CDROM</source>
        <translation>Brechen Sie den laufenden Vorgang ab, bevor Sie Orvane Velmora CDROM beenden</translation>
    </message>
    <message>
        <source>Insert CDROM To Start Process</source>
        <translation>Legen Sie eine CD-ROM ein, um den Vorgang zu starten</translation>
    </message>
    <message>
        <source>Root</source>
        <translation>Stammverzeichnis</translation>
    </message>
    <message>
        <source>Entries Found</source>
        <translation>Einträge gefunden</translation>
    </message>
    <message>
        <source>Reading..</source>
        <translation>Lesen…</translation>
    </message>
    <message>
        <source>Select the Destination folder for Saving Files</source>
        <translation>Wählen Sie den Zielordner zum Speichern der Dateien</translation>
    </message>
    <message>
        <source>Files Recovered</source>
        <translation>Dateien wiederhergestellt</translation>
    </message>
    <message>
        <source>CD Image </source>
        <translation>CD-Abbild </translation>
    </message>
    <message>
        <source>Save Image to File</source>
        <translation>Abbild in Datei speichern</translation>
    </message>
    <message>
        <source>Image File(*.cd)</source>
        <translation>Abbilddatei (*.cd)</translation>
    </message>
    <message>
        <source>Image File(*.cd)|*.cd||</source>
        <translation>Abbilddatei (*.cd)|*.cd||</translation>
    </message>
    <message>
        <source>Open CDROM Image from</source>
        <translation>CD-ROM-Abbild öffnen</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Creating Tree Structure</source>
        <translation>Verzeichnisbaum wird erstellt</translation>
    </message>
    <message>
        <source>Process Started</source>
        <translation>Vorgang gestartet</translation>
    </message>
    <message>
        <source>Process Aborted</source>
        <translation>Vorgang abgebrochen</translation>
    </message>
    <message>
        <source>Process Completed</source>
        <translation>Vorgang abgeschlossen</translation>
    </message>
    <message>
        <source>Saving Files Process</source>
        <translation>Speichern der Dateien</translation>
    </message>
    <message>
        <source>Recovering File</source>
        <translation>Datei wird wiederhergestellt</translation>
    </message>
    <message>
        <source>File Recovered Successfully</source>
        <translation>Datei erfolgreich wiederhergestellt</translation>
    </message>
    <message>
        <source>File Recovered Partially</source>
        <translation>Datei teilweise wiederhergestellt</translation>
    </message>
    <message>
        <source>File Recoverey Failure</source>
        <translation>Wiederherstellung der Datei fehlgeschlagen</translation>
    </message>
    <message>
        <source>CD Image Creation</source>
        <translation>Erstellen eines CD-Abbilds</translation>
    </message>
    <message>
        <source>Problem Reading Sector No.</source>
        <translation>Fehler beim Lesen von Sektor Nr.</translation>
    </message>
    <message>
        <source>Unable to Read Sector No.</source>
        <translation>Nicht lesbarer Sektor Nr.</translation>
    </message>
    <message>
        <source>Not a valid image file to open. </source>
        <translation>Diese Datei ist keine gültige Abbilddatei. </translation>
    </message>
    <message>
        <source>No matching entry found in the directory tree displayed</source>
        <translation>Im angezeigten Verzeichnisbaum wurde kein passender Eintrag gefunden</translation>
    </message>
    <message>
        <source>No more entries are available in the directory tree displayed</source>
        <translation>Im angezeigten Verzeichnisbaum gibt es keine weiteren Einträge</translation>
    </message>
    <message>
        <source>CDROM not found / CDROM entirely corrupted</source>
        <translation>CD-ROM nicht gefunden / CD-ROM vollständig beschädigt</translation>
    </message>
    <message>
        <source>Unable to create/Open file for storing image</source>
        <translation>Die Datei für das Abbild kann nicht erstellt oder geöffnet werden</translation>
    </message>
    <message>
        <source>Unable to Open Image File</source>
        <translation>Die Abbilddatei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Error creating file, disk may be write protected</source>
        <translation>Fehler beim Erstellen der Datei, der Datenträger ist möglicherweise schreibgeschützt</translation>
    </message>
    <message>
        <source>Orvane Velmora CDROM log</source>
        <translation>Protokoll Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Save Log To File</source>
        <translation>Protokoll in Datei speichern</translation>
    </message>
    <message>
        <source>Text Document</source>
        <translation>Textdokument</translation>
    </message>
    <message>
        <source>Message Log Report of Orvane Velmora CDROM</source>
        <translation>Bericht des Meldungsprotokolls von Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Reading Sector</source>
        <translation>Lesen von Sektor</translation>
    </message>
    <message>
        <source>This process cannot be resumed from current state and has to be restarted</source>
        <translation>Dieser Vorgang kann an dieser Stelle nicht fortgesetzt werden und muss neu gestartet werden</translation>
    </message>
    <message>
        <source>Stop current process ?</source>
        <translation>Aktuellen Vorgang abbrechen?</translation>
    </message>
    <message>
        <source>Total </source>
        <translation>Gesamt: </translation>
    </message>
    <message>
        <source>Bytes in</source>
        <translation>Bytes in</translation>
    </message>
    <message>
        <source>Files in</source>
        <translation>Dateien in</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordnern</translation>
    </message>
    <message>
        <source>Marked</source>
        <translation>Auswahl:</translation>
    </message>
    <message>
        <source>KB in</source>
        <translation>KB in</translation>
    </message>
    <message>
        <source>MB in</source>
        <translation>MB in</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>GB in</source>
        <translation>GB in</translation>
    </message>
    <message>
        <source>Dir</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Recover Selected</source>
        <translation>Auswahl wiederherstellen</translation>
    </message>
    <message>
        <source>Recover All</source>
        <translation>Alles wiederherstellen</translation>
    </message>
    <message>
        <source>View Large Icons</source>
        <translation>Große Symbole</translation>
    </message>
    <message>
        <source>View Small Icons</source>
        <translation>Kleine Symbole</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>File ID</source>
        <translation>Datei-ID</translation>
    </message>
    <message>
        <source>Parent ID</source>
        <translation>Übergeordnete ID</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Orvane Information Systems Ltd.</source>
        <translation>Copyright (C) 2026 Orvane Information Systems Ltd.</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.</source>
        <translation>Freie Software unter der GNU General Public License, Version 3 oder neuer.</translation>
    </message>
    <message>
        <source>Folder could not be read</source>
        <translation>Ordner konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>Folder read in part</source>
        <translation>Ordner nur teilweise gelesen</translation>
    </message>
    <message>
        <source>Folder holds no directory records</source>
        <translation>Ordner enthält keine Verzeichniseinträge</translation>
    </message>
    <message>
        <source>Folder lies past the end of the disc</source>
        <translation>Ordner liegt hinter dem Ende des Datenträgers</translation>
    </message>
    <message>
        <source>The disc holds no files</source>
        <translation>Der Datenträger enthält keine Dateien</translation>
    </message>
    <message>
        <source>Recording times with an offset from GMT out of range, taken as GMT:</source>
        <translation>Aufzeichnungszeiten mit ungültiger Abweichung von GMT, als GMT gelesen:</translation>
    </message>
    <message>
        <source>The Joliet tree could not be read; reading the ISO 9660 tree</source>
        <translation>Der Joliet-Verzeichnisbaum konnte nicht gelesen werden; der ISO-9660-Baum wird gelesen</translation>
    </message>
    <message>
        <source>The file system tree could not be read; searching the sectors</source>
        <translation>Der Dateisystembaum konnte nicht gelesen werden; die Sektoren werden durchsucht</translation>
    </message>
    <message>
        <source>sector</source>
        <translation>Sektor</translation>
    </message>
    <message>
        <source>Entries taken from the ISO 9660 tree</source>
        <translation>Einträge aus dem ISO-9660-Baum übernommen</translation>
    </message>
    <message>
        <source>Names added from the ISO 9660 tree:</source>
        <translation>Aus dem ISO-9660-Baum ergänzte Namen:</translation>
    </message>
    <message>
        <source>Entries taken from the Joliet tree</source>
        <translation>Einträge aus dem Joliet-Baum übernommen</translation>
    </message>
    <message>
        <source>Folder record points at a volume descriptor</source>
        <translation>Der Ordnereintrag zeigt auf einen Volume-Deskriptor</translation>
    </message>
    <message>
        <source>The sessions of the track list overlap; each file is listed under the first session that holds it</source>
        <translation>Die Sitzungen der Spurliste überlappen sich; jede Datei wird unter der ersten Sitzung aufgeführt, die sie enthält</translation>
    </message>
    <message>
        <source>The root folder did not read: Rock Ridge names, links and modes, if the disc has them, could not be read</source>
        <translation>Der Stammordner war nicht lesbar: Rock-Ridge-Namen, -Verknüpfungen und -Modi, falls die CD sie hat, konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>Names shown: Rock Ridge</source>
        <translation>Angezeigte Namen: Rock Ridge</translation>
    </message>
    <message>
        <source>Names shown: Joliet</source>
        <translation>Angezeigte Namen: Joliet</translation>
    </message>
    <message>
        <source>Names shown: ISO 9660</source>
        <translation>Angezeigte Namen: ISO 9660</translation>
    </message>
    <message>
        <source>Damaged Rock Ridge entries; shown under a safe name</source>
        <translation>Beschädigte Rock-Ridge-Einträge; unter einem sicheren Namen angezeigt</translation>
    </message>
    <message>
        <source>A relocated folder points back up the tree; not walked again</source>
        <translation>Ein verschobener Ordner verweist zurück nach oben im Verzeichnisbaum; er wird nicht erneut durchlaufen</translation>
    </message>
    <message>
        <source>Symbolic Link Created</source>
        <translation>Symbolischer Link erstellt</translation>
    </message>
    <message>
        <source>Sessions found by their volume descriptors, one after another:</source>
        <translation>Sitzungen anhand ihrer Volume-Deskriptoren gefunden, eine nach der anderen:</translation>
    </message>
    <message>
        <source>Sessions found by their volume descriptors, the newest also at sector 16:</source>
        <translation>Sitzungen anhand ihrer Volume-Deskriptoren gefunden, die neueste auch in Sektor 16:</translation>
    </message>
    <message>
        <source>A session runs past the end of the image; read as far as it goes:</source>
        <translation>Eine Sitzung reicht über das Ende des Abbilds hinaus; gelesen, so weit es reicht:</translation>
    </message>
    <message>
        <source>Volume descriptors not taken as a session (their root folder lies outside their volume):</source>
        <translation>Volume-Deskriptoren nicht als Sitzung genommen (ihr Stammordner liegt außerhalb ihres Volumes):</translation>
    </message>
    <message>
        <source>More sessions than a disc holds; the sessions after the 99th are not read</source>
        <translation>Mehr Sitzungen, als ein Datenträger fasst; die Sitzungen nach der 99. werden nicht gelesen</translation>
    </message>
    <message>
        <source>Primary volume descriptor damaged; the session was found from its supplementary descriptor (its names only):</source>
        <translation>Primärer Volumendeskriptor beschädigt; die Sitzung wurde über ihren zusätzlichen Deskriptor gefunden (nur dessen Namen):</translation>
    </message>
    <message>
        <source>Relocated folder not reached from its real place; shown where it was moved</source>
        <translation>Verschobener Ordner von seinem eigentlichen Ort aus nicht erreicht; dort gezeigt, wohin er verschoben wurde</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 existiert nicht</translation>
    </message>
    <message>
        <source>%1: no disc in the drive</source>
        <translation>%1: kein Datenträger im Laufwerk</translation>
    </message>
    <message>
        <source>%1: %2; the user needs read access to the device (for example membership in the cdrom group)</source>
        <translation>%1: %2; der Benutzer braucht Leserechte für das Gerät (zum Beispiel als Mitglied der Gruppe cdrom)</translation>
    </message>
    <message>
        <source>%1: %2; check the file&apos;s permissions</source>
        <translation>%1: %2; prüfen Sie die Zugriffsrechte der Datei</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: the image&apos;s track list is damaged</source>
        <translation>%1: die Titelliste des Abbilds ist beschädigt</translation>
    </message>
    <message>
        <source>%1: the image holds no sector, only its track list</source>
        <translation>%1: das Abbild enthält keinen Sektor, nur seine Titelliste</translation>
    </message>
    <message>
        <source>%1: every session of the image&apos;s track list lies past its %2 sectors</source>
        <translation>%1: jede Sitzung der Titelliste liegt hinter den %2 Sektoren des Abbilds</translation>
    </message>
    <message>
        <source>%1: the image&apos;s track list names sectors past its %2 sectors; %3 session(s) cut to the image</source>
        <translation>%1: die Titelliste nennt Sektoren hinter den %2 Sektoren des Abbilds; %3 Sitzung(en) auf das Abbild gekürzt</translation>
    </message>
    <message>
        <source>%1: in the image&apos;s track list %2 session(s) end before they start, read up to the next session or the image&apos;s end</source>
        <translation>%1: in der Titelliste enden %2 Sitzung(en) vor ihrem Anfang; gelesen bis zur nächsten Sitzung oder zum Ende des Abbilds</translation>
    </message>
    <message>
        <source>%1; %2 session(s) end before they start, read up to the next session or the image&apos;s end</source>
        <translation>%1; %2 Sitzung(en) enden vor ihrem Anfang; gelesen bis zur nächsten Sitzung oder zum Ende des Abbilds</translation>
    </message>
    <message>
        <source>%1: not a disc image (no image trailer and no ISO 9660 volume descriptor)</source>
        <translation>%1: kein Datenträgerabbild (weder Abbild-Endblock noch ISO-9660-Volume-Deskriptor)</translation>
    </message>
    <message>
        <source>%1: no image trailer, no volume descriptor, and no directory found</source>
        <translation>%1: weder Abbild-Endblock noch Volume-Deskriptor noch Verzeichnis gefunden</translation>
    </message>
    <message>
        <source>%1: the image&apos;s last block is not a whole track list (damaged or cut); read as a plain image</source>
        <translation>%1: der letzte Block des Abbilds ist keine vollständige Titelliste (beschädigt oder abgeschnitten); als einfaches Abbild gelesen</translation>
    </message>
    <message>
        <source>%1: the image&apos;s last block is not a whole track list (damaged or cut); read as a plain image of one session</source>
        <translation>%1: der letzte Block des Abbilds ist keine vollständige Titelliste (beschädigt oder abgeschnitten); als einfaches Abbild mit einer Sitzung gelesen</translation>
    </message>
    <message>
        <source>cannot create the image %1: %2</source>
        <translation>das Abbild %1 kann nicht erstellt werden: %2</translation>
    </message>
    <message>
        <source>cannot write the image %1 after %2 sectors: %3</source>
        <translation>das Abbild %1 kann nach %2 Sektoren nicht weitergeschrieben werden: %3</translation>
    </message>
    <message>
        <source>%1: the size of the file is unknown</source>
        <translation>%1: die Größe der Datei ist unbekannt</translation>
    </message>
    <message>
        <source>%1: the file ended early</source>
        <translation>%1: die Datei endete vorzeitig</translation>
    </message>
    <message>
        <source>%1: the track list in the image&apos;s last block is damaged</source>
        <translation>%1: die Titelliste im letzten Block des Abbilds ist beschädigt</translation>
    </message>
    <message>
        <source>The image&apos;s map gives %1 bytes in %2 areas as never read; they are taken as unreadable</source>
        <translation>Die Karte des Abbilds gibt %1 Bytes in %2 Bereichen als nie gelesen an; sie gelten als unlesbar</translation>
    </message>
    <message>
        <source>%1: %2; the image&apos;s map cannot be read (move it away to read every block as data)</source>
        <translation>%1: %2; die Karte des Abbilds kann nicht gelesen werden (verschieben Sie sie, um jeden Block als Daten zu lesen)</translation>
    </message>
    <message>
        <source>%1: line %2 is not a line of a mapfile; the image&apos;s map is damaged (move it away to read every block as data)</source>
        <translation>%1: Zeile %2 ist keine Zeile einer Mapdatei; die Karte des Abbilds ist beschädigt (verschieben Sie sie, um jeden Block als Daten zu lesen)</translation>
    </message>
    <message>
        <source>too large for a map</source>
        <translation>zu groß für eine Karte</translation>
    </message>
    <message>
        <source>%1: not a ddrescue mapfile (line %2)</source>
        <translation>%1: keine ddrescue-Mapdatei (Zeile %2)</translation>
    </message>
    <message>
        <source>cannot write the map of the image %1: %2</source>
        <translation>die Karte des Abbilds %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>%1 files saved in %2 folders</source>
        <translation>%1 Dateien in %2 Ordnern gespeichert</translation>
    </message>
    <message>
        <source>%1 file saved in %2 folders</source>
        <translation>%1 Datei in %2 Ordnern gespeichert</translation>
    </message>
    <message>
        <source>%1 files saved in %2 folder</source>
        <translation>%1 Dateien in %2 Ordner gespeichert</translation>
    </message>
    <message>
        <source>%1 file saved in %2 folder</source>
        <translation>%1 Datei in %2 Ordner gespeichert</translation>
    </message>
    <message>
        <source>Files read only in part (the bytes not read are zeros): %1</source>
        <translation>Nur teilweise gelesene Dateien (die nicht gelesenen Bytes sind Nullen): %1</translation>
    </message>
    <message>
        <source>Files not recovered: %1</source>
        <translation>Nicht wiederhergestellte Dateien: %1</translation>
    </message>
    <message>
        <source>Files cut short when the process was stopped: %1</source>
        <translation>Beim Abbruch des Vorgangs unvollständige Dateien: %1</translation>
    </message>
    <message>
        <source>Process Completed with Errors</source>
        <translation>Vorgang mit Fehlern abgeschlossen</translation>
    </message>
    <message>
        <source>Bytes not read (zeros in the file): %1</source>
        <translation>Nicht gelesene Bytes (Nullen in der Datei): %1</translation>
    </message>
    <message>
        <source>%1 and %2 more ranges</source>
        <translation>%1 und %2 weitere Bereiche</translation>
    </message>
    <message>
        <source>Rescue Imaging</source>
        <translation>Rettungsabbild</translation>
    </message>
    <message>
        <source>Resumed from the map beside the image: %1 bytes were read before</source>
        <translation>Fortgesetzt nach der Karte neben dem Abbild: %1 Bytes waren schon gelesen</translation>
    </message>
    <message>
        <source>Pass %1 (%2) done: %3 bytes rescued, %4 bytes bad in %5 areas, %6 bytes left to try</source>
        <translation>Durchgang %1 (%2) beendet: %3 Bytes gerettet, %4 Bytes unlesbar in %5 Bereichen, %6 Bytes noch zu versuchen</translation>
    </message>
    <message>
        <source>what matters first</source>
        <translation>das Wichtige zuerst</translation>
    </message>
    <message>
        <source>copying</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>trimming</source>
        <translation>Eingrenzen</translation>
    </message>
    <message>
        <source>scraping</source>
        <translation>Abschaben</translation>
    </message>
    <message>
        <source>retrying</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>merging</source>
        <translation>Zusammenführen</translation>
    </message>
    <message>
        <source>%1 has no map beside it: there is nothing to merge into</source>
        <translation>%1 hat keine Karte daneben: es gibt nichts zum Zusammenführen</translation>
    </message>
    <message>
        <source>%1 and its map are of another disc (the size, the track list or the primary volume descriptor differ)</source>
        <translation>%1 und seine Karte gehören zu einem anderen Datenträger (Größe, Spurliste oder primärer Volume-Deskriptor weichen ab)</translation>
    </message>
    <message>
        <source>%1: the primary volume descriptor does not read in both copies, so they cannot be told to be of one disc</source>
        <translation>%1: der primäre Volume-Deskriptor ist nicht in beiden Kopien lesbar, daher lässt sich nicht feststellen, dass sie vom selben Datenträger sind</translation>
    </message>
    <message>
        <source>Rescue (several passes) (*.cd)</source>
        <translation>Rettung (mehrere Durchgänge) (*.cd)</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>Laufwerk:</translation>
    </message>
    <message>
        <source>firmware</source>
        <translation>Firmware</translation>
    </message>
    <message>
        <source>Waiting for the drive to become ready</source>
        <translation>Warten, bis das Laufwerk bereit ist</translation>
    </message>
    <message>
        <source>The drive did not become ready in time; reading all the same</source>
        <translation>Das Laufwerk wurde nicht rechtzeitig bereit; es wird trotzdem gelesen</translation>
    </message>
    <message>
        <source>No disc in the drive. Insert a disc and try again</source>
        <translation>Kein Datenträger im Laufwerk. Legen Sie einen Datenträger ein und versuchen Sie es erneut</translation>
    </message>
    <message>
        <source>The disc in the drive was changed. The process stopped; nothing of the other disc was read</source>
        <translation>Der Datenträger im Laufwerk wurde gewechselt. Der Vorgang wurde angehalten; vom anderen Datenträger wurde nichts gelesen</translation>
    </message>
    <message>
        <source>The drive is no longer there (unplugged or off the bus). The process stopped; what was saved is kept</source>
        <translation>Das Laufwerk ist nicht mehr vorhanden (getrennt oder nicht mehr am Bus). Der Vorgang wurde angehalten; das bereits Gespeicherte bleibt erhalten</translation>
    </message>
    <message>
        <source>The drive did not answer in time (time-out)</source>
        <translation>Das Laufwerk hat nicht rechtzeitig geantwortet (Zeitüberschreitung)</translation>
    </message>
    <message>
        <source>The drive refuses READ CD; reading with READ(10)</source>
        <translation>Das Laufwerk lehnt READ CD ab; es wird mit READ(10) gelesen</translation>
    </message>
    <message>
        <source>Sense</source>
        <translation>Sense-Code</translation>
    </message>
    <message>
        <source>Not ready</source>
        <translation>Nicht bereit</translation>
    </message>
    <message>
        <source>Medium error</source>
        <translation>Medienfehler</translation>
    </message>
    <message>
        <source>Hardware error</source>
        <translation>Hardwarefehler</translation>
    </message>
    <message>
        <source>Illegal request</source>
        <translation>Ungültige Anforderung</translation>
    </message>
    <message>
        <source>Unit attention</source>
        <translation>Hinweis des Geräts</translation>
    </message>
    <message>
        <source>Aborted command</source>
        <translation>Befehl abgebrochen</translation>
    </message>
    <message>
        <source>unrecovered read error</source>
        <translation>nicht behebbarer Lesefehler</translation>
    </message>
    <message>
        <source>L-EC uncorrectable error</source>
        <translation>durch L-EC nicht korrigierbarer Fehler</translation>
    </message>
    <message>
        <source>CIRC unrecovered error</source>
        <translation>durch CIRC nicht behobener Fehler</translation>
    </message>
    <message>
        <source>no seek complete</source>
        <translation>Positionierung nicht abgeschlossen</translation>
    </message>
    <message>
        <source>becoming ready</source>
        <translation>wird bereit</translation>
    </message>
    <message>
        <source>medium not present</source>
        <translation>kein Medium vorhanden</translation>
    </message>
    <message>
        <source>logical block address out of range</source>
        <translation>logische Blockadresse außerhalb des Bereichs</translation>
    </message>
    <message>
        <source>illegal mode for this track</source>
        <translation>unzulässiger Modus für diese Spur</translation>
    </message>
    <message>
        <source>invalid command operation code</source>
        <translation>ungültiger Befehlscode</translation>
    </message>
    <message>
        <source>medium may have changed</source>
        <translation>Medium wurde möglicherweise gewechselt</translation>
    </message>
    <message>
        <source>power on or reset occurred</source>
        <translation>Einschalten oder Zurücksetzen erfolgt</translation>
    </message>
    <message>
        <source>invalid field in command</source>
        <translation>ungültiges Feld im Befehl</translation>
    </message>
    <message>
        <source>Marked for recovery</source>
        <translation>Zur Wiederherstellung markiert</translation>
    </message>
    <message>
        <source>Partly marked for recovery</source>
        <translation>Teilweise zur Wiederherstellung markiert</translation>
    </message>
    <message>
        <source>Not marked for recovery</source>
        <translation>Nicht zur Wiederherstellung markiert</translation>
    </message>
    <message>
        <source>%1 of %2 %3</source>
        <translation>%1 von %2 %3</translation>
    </message>
    <message>
        <source>%1 of %2 %3, %4</source>
        <translation>%1 von %2 %3, %4</translation>
    </message>
    <message>
        <source>%1 of %2 %3, %4, %5 left</source>
        <translation>%1 von %2 %3, %4, noch %5</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>Bytes</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
    <message>
        <source>%1 %2/s</source>
        <translation>%1 %2/s</translation>
    </message>
    <message>
        <source>Pass %1 (%2): %3 bad areas</source>
        <translation>Durchgang %1 (%2): %3 unlesbare Bereiche</translation>
    </message>
</context>
<context>
    <name>velmora::gui::AboutLink</name>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CAboutDialog</name>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CErrorMessageDialog</name>
    <message>
        <source>Orvane Velmora CDROM</source>
        <translation>Orvane Velmora CDROM</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFileFilterDialog</name>
    <message>
        <source>Add FileFilter</source>
        <translation>Dateifilter hinzufügen</translation>
    </message>
    <message>
        <source>Enter Filter Basis</source>
        <translation>Filterkriterium eingeben</translation>
    </message>
    <message>
        <source>Add To List</source>
        <translation>Zur Liste hinzufügen</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Einschließen</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Ausschließen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFileMaskDialog</name>
    <message>
        <source>File Mask</source>
        <translation>Dateimaske</translation>
    </message>
    <message>
        <source>Set Mask</source>
        <translation>Maske festlegen</translation>
    </message>
    <message>
        <source>A File mask delimited with semi-colons.</source>
        <translation>Dateimasken, durch Semikolons getrennt.</translation>
    </message>
    <message>
        <source>Files of Type:</source>
        <translation>Dateityp:</translation>
    </message>
    <message>
        <source>&amp;Match Case</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>&amp;Existing Files</source>
        <translation>&amp;Vorhandene Dateien</translation>
    </message>
    <message>
        <source>Size from</source>
        <translation>Größe von</translation>
    </message>
    <message>
        <source>upto</source>
        <translation>bis</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>in the last</source>
        <translation>in den letzten</translation>
    </message>
    <message>
        <source>months</source>
        <translation>Monaten</translation>
    </message>
    <message>
        <source>days</source>
        <translation>Tagen</translation>
    </message>
    <message>
        <source>between</source>
        <translation>zwischen dem</translation>
    </message>
    <message>
        <source>and</source>
        <translation>und dem</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CMainFrame</name>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Dateien</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Symbolleiste</translation>
    </message>
    <message>
        <source>Prompt and progress</source>
        <translation>Hinweis und Fortschritt</translation>
    </message>
    <message>
        <source>Disc totals</source>
        <translation>Summen des Datenträgers</translation>
    </message>
    <message>
        <source>Marked totals</source>
        <translation>Summen der Auswahl</translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation>Rollen</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Message Log</source>
        <translation>Meldungsprotokoll</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CMessageLogDialog</name>
    <message>
        <source>Message Log</source>
        <translation>Meldungsprotokoll</translation>
    </message>
</context>
<context>
    <name>velmora::gui::COverwriteImageDlg</name>
    <message>
        <source>Orvane Velmora CDROM</source>
        <translation>Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Image File by the same name already exists. Do You want to Overwrite it?</source>
        <translation>Eine Abbilddatei mit diesem Namen ist bereits vorhanden. Möchten Sie sie überschreiben?</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CSelectDriveDlg</name>
    <message>
        <source>Select CD Drive</source>
        <translation>CD-Laufwerk auswählen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CStopConfirmDialog</name>
    <message>
        <source>Orvane Velmora CDROM</source>
        <translation>Orvane Velmora CDROM</translation>
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
<context>
    <name>velmora::gui::CWaitDialog</name>
    <message>
        <source>Please wait.... , process may take some time</source>
        <translation>Bitte warten Sie – der Vorgang kann einige Zeit dauern …</translation>
    </message>
</context>
<context>
    <name>velmora::gui::HelpWindow</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vorwärts</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>Hilfe zu %1</translation>
    </message>
    <message>
        <source>&lt;p&gt;The help file &lt;b&gt;%1&lt;/b&gt; cannot be found.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Die Hilfedatei &lt;b&gt;%1&lt;/b&gt; wurde nicht gefunden.&lt;/p&gt;</translation>
    </message>
</context>
</TS>
