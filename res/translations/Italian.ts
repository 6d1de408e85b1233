<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT" sourcelanguage="en">
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Drive</source>
        <translation>&amp;Unità</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>S&amp;trumenti</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Visualizza</translation>
    </message>
    <message>
        <source>Arrange</source>
        <translation>Ordina</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Lingua</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Guida</translation>
    </message>
    <message>
        <source>&amp;Open Drive</source>
        <translation>&amp;Apri unità</translation>
    </message>
    <message>
        <source>Open drive</source>
        <translation>Apri l’unità</translation>
    </message>
    <message>
        <source>Open Drive</source>
        <translation>Apri unità</translation>
    </message>
    <message>
        <source>&amp;Create Image</source>
        <translation>&amp;Crea immagine</translation>
    </message>
    <message>
        <source>Create cdrom image</source>
        <translation>Crea un’immagine del CD-ROM</translation>
    </message>
    <message>
        <source>Open &amp;Image</source>
        <translation>Apri &amp;immagine</translation>
    </message>
    <message>
        <source>Open cdrom image</source>
        <translation>Apri un’immagine di CD-ROM</translation>
    </message>
    <message>
        <source>E&amp;xit Orvane Velmora CDROM </source>
        <translation>&amp;Esci da Orvane Velmora CDROM </translation>
    </message>
    <message>
        <source>Exit Orvane Velmora CDROM</source>
        <translation>Esci da Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Recover &amp;Selected Files</source>
        <translation>Recupera i file &amp;selezionati</translation>
    </message>
    <message>
        <source>Recover selected files</source>
        <translation>Recupera i file selezionati</translation>
    </message>
    <message>
        <source>Recover Selected Files</source>
        <translation>Recupera i file selezionati</translation>
    </message>
    <message>
        <source>&amp;Recover All</source>
        <translation>&amp;Recupera tutto</translation>
    </message>
    <message>
        <source>Recover all</source>
        <translation>Recupera tutto</translation>
    </message>
    <message>
        <source>Recover All</source>
        <translation>Recupera tutto</translation>
    </message>
    <message>
        <source>&amp;Add File Filter</source>
        <translation>&amp;Aggiungi filtro file</translation>
    </message>
    <message>
        <source>Add file filter to do recovery of specific extensions</source>
        <translation>Aggiungi un filtro file per recuperare estensioni specifiche</translation>
    </message>
    <message>
        <source>Remove &amp;File Filter</source>
        <translation>Rimuovi &amp;filtro file</translation>
    </message>
    <message>
        <source>Remove file filter</source>
        <translation>Rimuovi il filtro file</translation>
    </message>
    <message>
        <source>Stop &amp;Current Process</source>
        <translation>&amp;Interrompi il processo in corso</translation>
    </message>
    <message>
        <source>Stop current process</source>
        <translation>Interrompi il processo in corso</translation>
    </message>
    <message>
        <source>Stop Current Process</source>
        <translation>Interrompi il processo in corso</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Trova</translation>
    </message>
    <message>
        <source>Find file in the tree displayed</source>
        <translation>Trova un file nell’albero visualizzato</translation>
    </message>
    <message>
        <source>Find Next Item</source>
        <translation>Trova successivo</translation>
    </message>
    <message>
        <source>Find next item in the tree displayed</source>
        <translation>Trova l’elemento successivo nell’albero visualizzato</translation>
    </message>
    <message>
        <source>File &amp;Mask</source>
        <translation>&amp;Maschera file</translation>
    </message>
    <message>
        <source>Mask unwanted files &amp; folders</source>
        <translation>Nascondi i file e le cartelle indesiderati</translation>
    </message>
    <message>
        <source>File U&amp;nmask</source>
        <translation>Rimuovi masc&amp;hera</translation>
    </message>
    <message>
        <source>Display complete tree of files &amp; folders</source>
        <translation>Mostra l’albero completo di file e cartelle</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Seleziona tutto</translation>
    </message>
    <message>
        <source>Select all files &amp; folders</source>
        <translation>Seleziona tutti i file e le cartelle</translation>
    </message>
    <message>
        <source>&amp;Unselect All</source>
        <translation>&amp;Deseleziona tutto</translation>
    </message>
    <message>
        <source>Unmark all</source>
        <translation>Deseleziona tutto</translation>
    </message>
    <message>
        <source>&amp;Clear Log</source>
        <translation>&amp;Cancella registro</translation>
    </message>
    <message>
        <source>Clear all contents of message log</source>
        <translation>Cancella tutto il contenuto del registro messaggi</translation>
    </message>
    <message>
        <source>&amp;Save  Log</source>
        <translation>Sal&amp;va registro</translation>
    </message>
    <message>
        <source>Save Message log to  a file</source>
        <translation>Salva il registro messaggi su file</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Barra degli strumenti</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Mostra o nasconde la barra degli strumenti</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>Barra di &amp;stato</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Mostra o nasconde la barra di stato</translation>
    </message>
    <message>
        <source>&amp;Message Log</source>
        <translation>Registro &amp;messaggi</translation>
    </message>
    <message>
        <source>Show or hide process log</source>
        <translation>Mostra o nasconde il registro dei processi</translation>
    </message>
    <message>
        <source>&amp;Go Up</source>
        <translation>Livello s&amp;uperiore</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Su</translation>
    </message>
    <message>
        <source>Large Icons</source>
        <translation>Icone grandi</translation>
    </message>
    <message>
        <source>Display items by using large icons</source>
        <translation>Visualizza gli elementi come icone grandi</translation>
    </message>
    <message>
        <source>Small Icons</source>
        <translation>Icone piccole</translation>
    </message>
    <message>
        <source>Display items by using small icons</source>
        <translation>Visualizza gli elementi come icone piccole</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Elenco</translation>
    </message>
    <message>
        <source>Displays items in a list</source>
        <translation>Visualizza gli elementi in un elenco</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Dettagli</translation>
    </message>
    <message>
        <source>Displays detailed information</source>
        <translation>Visualizza informazioni dettagliate</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Per &amp;nome</translation>
    </message>
    <message>
        <source>Arrange right view on name</source>
        <translation>Ordina l’elenco dei file per nome</translation>
    </message>
    <message>
        <source>By &amp;Type</source>
        <translation>Per &amp;tipo</translation>
    </message>
    <message>
        <source>Arrange right view on type</source>
        <translation>Ordina l’elenco dei file per tipo</translation>
    </message>
    <message>
        <source>By &amp;Size</source>
        <translation>Per dimen&amp;sione</translation>
    </message>
    <message>
        <source>Arrange right view on size</source>
        <translation>Ordina l’elenco dei file per dimensione</translation>
    </message>
    <message>
        <source>By &amp;Date</source>
        <translation>Per &amp;data</translation>
    </message>
    <message>
        <source>Arrange right view on date</source>
        <translation>Ordina l’elenco dei file per data</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>I&amp;nglese</translation>
    </message>
    <message>
        <source>Change the current language to english </source>
        <translation>Passa alla lingua inglese </translation>
    </message>
    <message>
        <source>&amp;French</source>
        <translation>&amp;Francese</translation>
    </message>
    <message>
        <source>Change the current language to french</source>
        <translation>Passa alla lingua francese</translation>
    </message>
    <message>
        <source>&amp;German</source>
        <translation>&amp;Tedesco</translation>
    </message>
    <message>
        <source>Change the current language to german</source>
        <translation>Passa alla lingua tedesca</translation>
    </message>
    <message>
        <source>&amp;Spanish</source>
        <translation>&amp;Spagnolo</translation>
    </message>
    <message>
        <source>Change the current language to spanish</source>
        <translation>Passa alla lingua spagnola</translation>
    </message>
    <message>
        <source>&amp;Italian</source>
        <translation>&amp;Italiano</translation>
    </message>
    <message>
        <source>Change the current language to italian</source>
        <translation>Passa alla lingua italiana</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Argomenti della Guida</translation>
    </message>
    <message>
        <source>List Help topics</source>
        <translation>Mostra gli argomenti della Guida</translation>
    </message>
    <message>
        <source>Help Topics</source>
        <translation>Argomenti della Guida</translation>
    </message>
    <message>
        <source>&amp;About Orvane Velmora CDROM </source>
        <translation>&amp;Informazioni su Orvane Velmora CDROM </translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Visualizza le informazioni sul programma, il numero di versione e il copyright</translation>
    </message>
    <message>
        <source>&amp;Names</source>
        <translation>&amp;Nomi</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>&amp;Automatico</translation>
    </message>
    <message>
        <source>Show the Rock Ridge names when the disc has them, else Joliet, else ISO 9660</source>
        <translation>Mostra i nomi Rock Ridge se il disco li ha, altrimenti Joliet, altrimenti ISO 9660</translation>
    </message>
    <message>
        <source>&amp;Rock Ridge</source>
        <translation>&amp;Rock Ridge</translation>
    </message>
    <message>
        <source>Show the Rock Ridge names of the disc</source>
        <translation>Mostra i nomi Rock Ridge del disco</translation>
    </message>
    <message>
        <source>&amp;Joliet</source>
        <translation>&amp;Joliet</translation>
    </message>
    <message>
        <source>Show the Joliet names of the disc</source>
        <translation>Mostra i nomi Joliet del disco</translation>
    </message>
    <message>
        <source>ISO 9660 &amp;Primary</source>
        <translation>ISO 9660 &amp;primario</translation>
    </message>
    <message>
        <source>Show the ISO 9660 names of the primary volume</source>
        <translation>Mostra i nomi ISO 9660 del volume primario</translation>
    </message>
</context>
<context>
    <name>DialogPrompts</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 esiste già.
Sostituirlo?</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Activity</source>
        <translation>Attività</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Testo</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Stato</translation>
    </message>
    <message>
        <source>Total 0 Bytes in 0 Files in 0 Folders</source>
        <translation>Totale: 0 byte in 0 file in 0 cartelle</translation>
    </message>
    <message>
        <source>Marked 0 Bytes in 0 Files in 0 Folders</source>
        <translation>Selezione: 0 byte in 0 file in 0 cartelle</translation>
    </message>
    <message>
        <source>Orvane Velmora CDROM 2.0 </source>
        <translation>Orvane Velmora CDROM 2.0 </translation>
    </message>
    <message>
        <source>Saving files on to the same logical drive that contains your lost data</source>
        <translation>Salvare i file sulla stessa unità logica che contiene i dati persi</translation>
    </message>
    <message>
        <source>can cause disk overwrite and result in permanent data loss</source>
        <translation>può sovrascriverli e causarne la perdita definitiva</translation>
    </message>
    <message>
        <source>Can not exit</source>
        <translation>Impossibile uscire</translation>
    </message>
    <message>
        <source>Stop current operation before exiting Orvane Velmora CDROM</source>
        <translation>Interrompere l’operazione in corso prima di uscire da Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Insert CDROM To Start Process</source>
        <translation>Inserire un CD-ROM per avviare il processo</translation>
    </message>
    <message>
        <source>Root</source>
        <translation>Radice</translation>
    </message>
    <message>
        <source>Entries Found</source>
        <translation>voci trovate</translation>
    </message>
    <message>
        <source>Reading..</source>
        <translation>Lettura…</translation>
    </message>
    <message>
        <source>Select the Destination folder for Saving Files</source>
        <translation>Selezionare la cartella di destinazione in cui salvare i file</translation>
    </message>
    <message>
        <source>Files Recovered</source>
        <translation>file recuperati</translation>
    </message>
    <message>
        <source>CD Image </source>
        <translation>Immagine CD </translation>
    </message>
    <message>
        <source>Save Image to File</source>
        <translation>Salva immagine su file</translation>
    </message>
    <message>
        <source>Image File(*.cd)</source>
        <translation>File immagine (*.cd)</translation>
    </message>
    <message>
        <source>Image File(*.cd)|*.cd||</source>
        <translation>File immagine (*.cd)|*.cd||</translation>
    </message>
    <message>
        <source>Open CDROM Image from</source>
        <translation>Apri immagine CD-ROM</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Informazioni</translation>
    </message>
    <message>
        <source>Creating Tree Structure</source>
        <translation>Creazione della struttura ad albero</translation>
    </message>
    <message>
        <source>Process Started</source>
        <translation>Processo avviato</translation>
    </message>
    <message>
        <source>Process Aborted</source>
        <translation>Processo interrotto</translation>
    </message>
    <message>
        <source>Process Completed</source>
        <translation>Processo completato</translation>
    </message>
    <message>
        <source>Saving Files Process</source>
        <translation>Salvataggio dei file</translation>
    </message>
    <message>
        <source>Recovering File</source>
        <translation>Recupero del file</translation>
    </message>
    <message>
        <source>File Recovered Successfully</source>
        <translation>File recuperato correttamente</translation>
    </message>
    <message>
        <source>File Recovered Partially</source>
        <translation>File recuperato parzialmente</translation>
    </message>
    <message>
        <source>File Recoverey Failure</source>
        <translation>Recupero del file non riuscito</translation>
    </message>
    <message>
        <source>CD Image Creation</source>
        <translation>Creazione immagine CD</translation>
    </message>
    <message>
        <source>Problem Reading Sector No.</source>
        <translation>Problema di lettura del settore n.</translation>
    </message>
    <message>
        <source>Unable to Read Sector No.</source>
        <translation>Impossibile leggere il settore n.</translation>
    </message>
    <message>
        <source>Not a valid image file to open. </source>
        <translation>Il file non è un’immagine valida. </translation>
    </message>
    <message>
        <source>No matching entry found in the directory tree displayed</source>
        <translation>Nessuna voce corrispondente nell’albero delle cartelle visualizzato</translation>
    </message>
    <message>
        <source>No more entries are available in the directory tree displayed</source>
        <translation>Non ci sono altre voci nell’albero delle cartelle visualizzato</translation>
    </message>
    <message>
        <source>CDROM not found / CDROM entirely corrupted</source>
        <translation>CD-ROM non trovato / CD-ROM completamente danneggiato</translation>
    </message>
    <message>
        <source>Unable to create/Open file for storing image</source>
        <translation>Impossibile creare o aprire il file in cui salvare l’immagine</translation>
    </message>
    <message>
        <source>Unable to Open Image File</source>
        <translation>Impossibile aprire il file immagine</translation>
    </message>
    <message>
        <source>Error creating file, disk may be write protected</source>
        <translation>Errore durante la creazione del file: il disco potrebbe essere protetto da scrittura</translation>
    </message>
    <message>
        <source>Orvane Velmora CDROM log</source>
        <translation>Registro di Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Save Log To File</source>
        <translation>Salva registro su file</translation>
    </message>
    <message>
        <source>Text Document</source>
        <translation>Documento di testo</translation>
    </message>
    <message>
        <source>Message Log Report of Orvane Velmora CDROM</source>
        <translation>Rapporto del registro messaggi di Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Reading Sector</source>
        <translation>Lettura del settore</translation>
    </message>
    <message>
        <source>This process cannot be resumed from current state and has to be restarted</source>
        <translation>Questo processo non potrà essere ripreso dal punto attuale e dovrà essere riavviato</translation>
    </message>
    <message>
        <source>Stop current process ?</source>
        <translation>Interrompere il processo in corso?</translation>
    </message>
    <message>
        <source>Total </source>
        <translation>Totale: </translation>
    </message>
    <message>
        <source>Bytes in</source>
        <translation>byte in</translation>
    </message>
    <message>
        <source>Files in</source>
        <translation>file in</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>cartelle</translation>
    </message>
    <message>
        <source>Marked</source>
        <translation>Selezione:</translation>
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
        <translation>Cartella</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Recover Selected</source>
        <translation>Recupera selezione</translation>
    </message>
    <message>
        <source>Recover All</source>
        <translation>Recupera tutto</translation>
    </message>
    <message>
        <source>View Large Icons</source>
        <translation>Icone grandi</translation>
    </message>
    <message>
        <source>View Small Icons</source>
        <translation>Icone piccole</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Elenco</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Dettagli</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nome</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Dimensione</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>File ID</source>
        <translation>ID file</translation>
    </message>
    <message>
        <source>Parent ID</source>
        <translation>ID padre</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Orvane Information Systems Ltd.</source>
        <translation>Copyright (C) 2026 Orvane Information Systems Ltd.</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.</source>
        <translation>Software libero sotto la GNU General Public License, versione 3 o successiva.</translation>
    </message>
    <message>
        <source>Folder could not be read</source>
        <translation>Impossibile leggere la cartella</translation>
    </message>
    <message>
        <source>Folder read in part</source>
        <translation>Cartella letta solo in parte</translation>
    </message>
    <message>
        <source>Folder holds no directory records</source>
        <translation>La cartella non contiene record di directory</translation>
    </message>
    <message>
        <source>Folder lies past the end of the disc</source>
        <translation>La cartella si trova oltre la fine del disco</translation>
    </message>
    <message>
        <source>The disc holds no files</source>
        <translation>Il disco non contiene file</translation>
    </message>
    <message>
        <source>Recording times with an offset from GMT out of range, taken as GMT:</source>
        <translation>Date di registrazione con scostamento da GMT fuori intervallo, lette come GMT:</translation>
    </message>
    <message>
        <source>The Joliet tree could not be read; reading the ISO 9660 tree</source>
        <translation>Impossibile leggere l’albero Joliet; lettura dell’albero ISO 9660</translation>
    </message>
    <message>
        <source>The file system tree could not be read; searching the sectors</source>
        <translation>Impossibile leggere l’albero del file system; ricerca nei settori</translation>
    </message>
    <message>
        <source>sector</source>
        <translation>settore</translation>
    </message>
    <message>
        <source>Entries taken from the ISO 9660 tree</source>
        <translation>Voci riprese dall’albero ISO 9660</translation>
    </message>
    <message>
        <source>Names added from the ISO 9660 tree:</source>
        <translation>Nomi aggiunti dall’albero ISO 9660:</translation>
    </message>
    <message>
        <source>Entries taken from the Joliet tree</source>
        <translation>Voci riprese dall’albero Joliet</translation>
    </message>
    <message>
        <source>Folder record points at a volume descriptor</source>
        <translation>Il record della cartella punta a un descrittore di volume</translation>
    </message>
    <message>
        <source>The sessions of the track list overlap; each file is listed under the first session that holds it</source>
        <translation>Le sessioni dell’elenco delle tracce si sovrappongono; ogni file è elencato nella prima sessione che lo contiene</translation>
    </message>
    <message>
        <source>The root folder did not read: Rock Ridge names, links and modes, if the disc has them, could not be read</source>
        <translation>La cartella radice non è stata letta: nomi, collegamenti e modi Rock Ridge, se il disco li ha, non sono stati letti</translation>
    </message>
    <message>
        <source>Names shown: Rock Ridge</source>
        <translation>Nomi mostrati: Rock Ridge</translation>
    </message>
    <message>
        <source>Names shown: Joliet</source>
        <translation>Nomi mostrati: Joliet</translation>
    </message>
    <message>
        <source>Names shown: ISO 9660</source>
        <translation>Nomi mostrati: ISO 9660</translation>
    </message>
    <message>
        <source>Damaged Rock Ridge entries; shown under a safe name</source>
        <translation>Voci Rock Ridge danneggiate; mostrato con un nome sicuro</translation>
    </message>
    <message>
        <source>A relocated folder points back up the tree; not walked again</source>
        <translation>Una cartella ricollocata punta verso l’alto nell’albero; non viene percorsa di nuovo</translation>
    </message>
    <message>
        <source>Symbolic Link Created</source>
        <translation>Collegamento simbolico creato</translation>
    </message>
    <message>
        <source>Sessions found by their volume descriptors, one after another:</source>
        <translation>Sessioni trovate dai loro descrittori di volume, una dopo l’altra:</translation>
    </message>
    <message>
        <source>Sessions found by their volume descriptors, the newest also at sector 16:</source>
        <translation>Sessioni trovate dai loro descrittori di volume, la più recente anche nel settore 16:</translation>
    </message>
    <message>
        <source>A session runs past the end of the image; read as far as it goes:</source>
        <translation>Una sessione va oltre la fine dell’immagine; letta fin dove arriva:</translation>
    </message>
    <message>
        <source>Volume descriptors not taken as a session (their root folder lies outside their volume):</source>
        <translation>Descrittori di volume non presi come sessione (la loro cartella radice è fuori dal loro volume):</translation>
    </message>
    <message>
        <source>More sessions than a disc holds; the sessions after the 99th are not read</source>
        <translation>Più sessioni di quante ne contenga un disco; le sessioni dopo la 99ª non vengono lette</translation>
    </message>
    <message>
        <source>Primary volume descriptor damaged; the session was found from its supplementary descriptor (its names only):</source>
        <translation>Descrittore di volume primario danneggiato; la sessione è stata trovata dal suo descrittore supplementare (solo i suoi nomi):</translation>
    </message>
    <message>
        <source>Relocated folder not reached from its real place; shown where it was moved</source>
        <translation>Cartella ricollocata non raggiunta dalla sua posizione reale; mostrata dove è stata spostata</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 non esiste</translation>
    </message>
    <message>
        <source>%1: no disc in the drive</source>
        <translation>%1: nessun disco nell’unità</translation>
    </message>
    <message>
        <source>%1: %2; the user needs read access to the device (for example membership in the cdrom group)</source>
        <translation>%1: %2; l’utente deve poter leggere il dispositivo (ad esempio essendo membro del gruppo cdrom)</translation>
    </message>
    <message>
        <source>%1: %2; check the file&apos;s permissions</source>
        <translation>%1: %2; controllare i permessi del file</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: the image&apos;s track list is damaged</source>
        <translation>%1: l’elenco delle tracce dell’immagine è danneggiato</translation>
    </message>
    <message>
        <source>%1: the image holds no sector, only its track list</source>
        <translation>%1: l’immagine non contiene alcun settore, solo il suo elenco delle tracce</translation>
    </message>
    <message>
        <source>%1: every session of the image&apos;s track list lies past its %2 sectors</source>
        <translation>%1: ogni sessione dell’elenco delle tracce si trova oltre i %2 settori dell’immagine</translation>
    </message>
    <message>
        <source>%1: the image&apos;s track list names sectors past its %2 sectors; %3 session(s) cut to the image</source>
        <translation>%1: l’elenco delle tracce indica settori oltre i %2 settori dell’immagine; %3 sessione/i ridotta/e all’immagine</translation>
    </message>
    <message>
        <source>%1: in the image&apos;s track list %2 session(s) end before they start, read up to the next session or the image&apos;s end</source>
        <translation>%1: nell’elenco delle tracce %2 sessione/i finiscono prima di iniziare; lette fino alla sessione successiva o alla fine dell’immagine</translation>
    </message>
    <message>
        <source>%1; %2 session(s) end before they start, read up to the next session or the image&apos;s end</source>
        <translation>%1; %2 sessione/i finiscono prima di iniziare; lette fino alla sessione successiva o alla fine dell’immagine</translation>
    </message>
    <message>
        <source>%1: not a disc image (no image trailer and no ISO 9660 volume descriptor)</source>
        <translation>%1: non è un’immagine di disco (né blocco finale dell’immagine né descrittore di volume ISO 9660)</translation>
    </message>
    <message>
        <source>%1: no image trailer, no volume descriptor, and no directory found</source>
        <translation>%1: nessun blocco finale dell’immagine, nessun descrittore di volume e nessuna directory trovati</translation>
    </message>
    <message>
        <source>%1: the image&apos;s last block is not a whole track list (damaged or cut); read as a plain image</source>
        <translation>%1: l’ultimo blocco dell’immagine non è un elenco delle tracce completo (danneggiato o tagliato); letta come immagine semplice</translation>
    </message>
    <message>
        <source>%1: the image&apos;s last block is not a whole track list (damaged or cut); read as a plain image of one session</source>
        <translation>%1: l’ultimo blocco dell’immagine non è un elenco delle tracce completo (danneggiato o tagliato); letta come immagine semplice di una sessione</translation>
    </message>
    <message>
        <source>cannot create the image %1: %2</source>
        <translation>impossibile creare l’immagine %1: %2</translation>
    </message>
    <message>
        <source>cannot write the image %1 after %2 sectors: %3</source>
        <translation>impossibile scrivere l’immagine %1 dopo %2 settori: %3</translation>
    </message>
    <message>
        <source>%1: the size of the file is unknown</source>
        <translation>%1: la dimensione del file è sconosciuta</translation>
    </message>
    <message>
        <source>%1: the file ended early</source>
        <translation>%1: il file è terminato prima del previsto</translation>
    </message>
    <message>
        <source>%1: the track list in the image&apos;s last block is damaged</source>
        <translation>%1: l’elenco delle tracce nell’ultimo blocco dell’immagine è danneggiato</translation>
    </message>
    <message>
        <source>The image&apos;s map gives %1 bytes in %2 areas as never read; they are taken as unreadable</source>
        <translation>La mappa dell’immagine indica %1 byte in %2 aree come mai letti; sono considerati illeggibili</translation>
    </message>
    <message>
        <source>%1: %2; the image&apos;s map cannot be read (move it away to read every block as data)</source>
        <translation>%1: %2; impossibile leggere la mappa dell’immagine (spostarla altrove per leggere ogni blocco come dati)</translation>
    </message>
    <message>
        <source>%1: line %2 is not a line of a mapfile; the image&apos;s map is damaged (move it away to read every block as data)</source>
        <translation>%1: la riga %2 non è una riga di un mapfile; la mappa dell’immagine è danneggiata (spostarla altrove per leggere ogni blocco come dati)</translation>
    </message>
    <message>
        <source>too large for a map</source>
        <translation>troppo grande per una mappa</translation>
    </message>
    <message>
        <source>%1: not a ddrescue mapfile (line %2)</source>
        <translation>%1: non è un mapfile di ddrescue (riga %2)</translation>
    </message>
    <message>
        <source>cannot write the map of the image %1: %2</source>
        <translation>impossibile scrivere la mappa dell’immagine %1: %2</translation>
    </message>
    <message>
        <source>%1 files saved in %2 folders</source>
        <translation>%1 file salvati in %2 cartelle</translation>
    </message>
    <message>
        <source>%1 file saved in %2 folders</source>
        <translation>%1 file salvato in %2 cartelle</translation>
    </message>
    <message>
        <source>%1 files saved in %2 folder</source>
        <translation>%1 file salvati in %2 cartella</translation>
    </message>
    <message>
        <source>%1 file saved in %2 folder</source>
        <translation>%1 file salvato in %2 cartella</translation>
    </message>
    <message>
        <source>Files read only in part (the bytes not read are zeros): %1</source>
        <translation>File letti solo in parte (i byte non letti sono zeri): %1</translation>
    </message>
    <message>
        <source>Files not recovered: %1</source>
        <translation>File non recuperati: %1</translation>
    </message>
    <message>
        <source>Files cut short when the process was stopped: %1</source>
        <translation>File incompleti per l’interruzione del processo: %1</translation>
    </message>
    <message>
        <source>Process Completed with Errors</source>
        <translation>Processo completato con errori</translation>
    </message>
    <message>
        <source>Bytes not read (zeros in the file): %1</source>
        <translation>Byte non letti (zeri nel file): %1</translation>
    </message>
    <message>
        <source>%1 and %2 more ranges</source>
        <translation>%1 e altri %2 intervalli</translation>
    </message>
    <message>
        <source>Rescue Imaging</source>
        <translation>Immagine di salvataggio</translation>
    </message>
    <message>
        <source>Resumed from the map beside the image: %1 bytes were read before</source>
        <translation>Ripreso dalla mappa accanto all’immagine: %1 byte erano già stati letti</translation>
    </message>
    <message>
        <source>Pass %1 (%2) done: %3 bytes rescued, %4 bytes bad in %5 areas, %6 bytes left to try</source>
        <translation>Passata %1 (%2) terminata: %3 byte salvati, %4 byte illeggibili in %5 aree, %6 byte ancora da provare</translation>
    </message>
    <message>
        <source>what matters first</source>
        <translation>prima l’essenziale</translation>
    </message>
    <message>
        <source>copying</source>
        <translation>copia</translation>
    </message>
    <message>
        <source>trimming</source>
        <translation>rifinitura</translation>
    </message>
    <message>
        <source>scraping</source>
        <translation>raschiatura</translation>
    </message>
    <message>
        <source>retrying</source>
        <translation>nuovo tentativo</translation>
    </message>
    <message>
        <source>merging</source>
        <translation>unione</translation>
    </message>
    <message>
        <source>%1 has no map beside it: there is nothing to merge into</source>
        <translation>%1 non ha una mappa accanto: non c’è nulla in cui unire</translation>
    </message>
    <message>
        <source>%1 and its map are of another disc (the size, the track list or the primary volume descriptor differ)</source>
        <translation>%1 e la sua mappa sono di un altro disco (differiscono la dimensione, l’elenco delle tracce o il descrittore di volume primario)</translation>
    </message>
    <message>
        <source>%1: the primary volume descriptor does not read in both copies, so they cannot be told to be of one disc</source>
        <translation>%1: il descrittore di volume primario non si legge in entrambe le copie, quindi non si può dire che siano dello stesso disco</translation>
    </message>
    <message>
        <source>Rescue (several passes) (*.cd)</source>
        <translation>Salvataggio (più passaggi) (*.cd)</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>Unità:</translation>
    </message>
    <message>
        <source>firmware</source>
        <translation>firmware</translation>
    </message>
    <message>
        <source>Waiting for the drive to become ready</source>
        <translation>In attesa che l’unità sia pronta</translation>
    </message>
    <message>
        <source>The drive did not become ready in time; reading all the same</source>
        <translation>L’unità non è stata pronta in tempo; si legge comunque</translation>
    </message>
    <message>
        <source>No disc in the drive. Insert a disc and try again</source>
        <translation>Nessun disco nell’unità. Inserire un disco e riprovare</translation>
    </message>
    <message>
        <source>The disc in the drive was changed. The process stopped; nothing of the other disc was read</source>
        <translation>Il disco nell’unità è stato cambiato. Il processo si è fermato; dell’altro disco non è stato letto nulla</translation>
    </message>
    <message>
        <source>The drive is no longer there (unplugged or off the bus). The process stopped; what was saved is kept</source>
        <translation>L’unità non è più presente (scollegata o fuori dal bus). Il processo si è fermato; quanto salvato viene conservato</translation>
    </message>
    <message>
        <source>The drive did not answer in time (time-out)</source>
        <translation>L’unità non ha risposto in tempo (timeout)</translation>
    </message>
    <message>
        <source>The drive refuses READ CD; reading with READ(10)</source>
        <translation>L’unità rifiuta READ CD; si legge con READ(10)</translation>
    </message>
    <message>
        <source>Sense</source>
        <translation>Codice di errore</translation>
    </message>
    <message>
        <source>Not ready</source>
        <translation>Non pronta</translation>
    </message>
    <message>
        <source>Medium error</source>
        <translation>Errore del supporto</translation>
    </message>
    <message>
        <source>Hardware error</source>
        <translation>Errore hardware</translation>
    </message>
    <message>
        <source>Illegal request</source>
        <translation>Richiesta non valida</translation>
    </message>
    <message>
        <source>Unit attention</source>
        <translation>Avviso dell’unità</translation>
    </message>
    <message>
        <source>Aborted command</source>
        <translation>Comando interrotto</translation>
    </message>
    <message>
        <source>unrecovered read error</source>
        <translation>errore di lettura non recuperato</translation>
    </message>
    <message>
        <source>L-EC uncorrectable error</source>
        <translation>errore non correggibile da L-EC</translation>
    </message>
    <message>
        <source>CIRC unrecovered error</source>
        <translation>errore non recuperato da CIRC</translation>
    </message>
    <message>
        <source>no seek complete</source>
        <translation>posizionamento non completato</translation>
    </message>
    <message>
        <source>becoming ready</source>
        <translation>in preparazione</translation>
    </message>
    <message>
        <source>medium not present</source>
        <translation>supporto assente</translation>
    </message>
    <message>
        <source>logical block address out of range</source>
        <translation>indirizzo di blocco logico fuori intervallo</translation>
    </message>
    <message>
        <source>illegal mode for this track</source>
        <translation>modalità non consentita per questa traccia</translation>
    </message>
    <message>
        <source>invalid command operation code</source>
        <translation>codice operativo del comando non valido</translation>
    </message>
    <message>
        <source>medium may have changed</source>
        <translation>il supporto potrebbe essere cambiato</translation>
    </message>
    <message>
        <source>power on or reset occurred</source>
        <translation>accensione o ripristino avvenuti</translation>
    </message>
    <message>
        <source>invalid field in command</source>
        <translation>campo non valido nel comando</translation>
    </message>
    <message>
        <source>Marked for recovery</source>
        <translation>Selezionato per il recupero</translation>
    </message>
    <message>
        <source>Partly marked for recovery</source>
        <translation>Selezionato in parte per il recupero</translation>
    </message>
    <message>
        <source>Not marked for recovery</source>
        <translation>Non selezionato per il recupero</translation>
    </message>
    <message>
        <source>%1 of %2 %3</source>
        <translation>%1 di %2 %3</translation>
    </message>
    <message>
        <source>%1 of %2 %3, %4</source>
        <translation>%1 di %2 %3, %4</translation>
    </message>
    <message>
        <source>%1 of %2 %3, %4, %5 left</source>
        <translation>%1 di %2 %3, %4, %5 rimanenti</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>byte</translation>
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
        <translation>Passata %1 (%2): %3 aree illeggibili</translation>
    </message>
</context>
<context>
    <name>velmora::gui::AboutLink</name>
    <message>
        <source>Link</source>
        <translation>Collegamento</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CAboutDialog</name>
    <message>
        <source>About %1</source>
        <translation>Informazioni su %1</translation>
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
        <translation>Aggiungi filtro file</translation>
    </message>
    <message>
        <source>Enter Filter Basis</source>
        <translation>Immettere il criterio di filtro</translation>
    </message>
    <message>
        <source>Add To List</source>
        <translation>Aggiungi all’elenco</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Includi</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Escludi</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFileMaskDialog</name>
    <message>
        <source>File Mask</source>
        <translation>Maschera file</translation>
    </message>
    <message>
        <source>Set Mask</source>
        <translation>Imposta maschera</translation>
    </message>
    <message>
        <source>A File mask delimited with semi-colons.</source>
        <translation>Maschere di file separate da punto e virgola.</translation>
    </message>
    <message>
        <source>Files of Type:</source>
        <translation>File di tipo:</translation>
    </message>
    <message>
        <source>&amp;Match Case</source>
        <translation>&amp;Maiuscole/minuscole</translation>
    </message>
    <message>
        <source>&amp;Existing Files</source>
        <translation>File &amp;esistenti</translation>
    </message>
    <message>
        <source>Size from</source>
        <translation>Dimensione da</translation>
    </message>
    <message>
        <source>upto</source>
        <translation>a</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>in the last</source>
        <translation>negli ultimi</translation>
    </message>
    <message>
        <source>months</source>
        <translation>mesi</translation>
    </message>
    <message>
        <source>days</source>
        <translation>giorni</translation>
    </message>
    <message>
        <source>between</source>
        <translation>tra il</translation>
    </message>
    <message>
        <source>and</source>
        <translation>e il</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Trova</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>Maiuscole/minuscole</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CMainFrame</name>
    <message>
        <source>Folders</source>
        <translation>Cartelle</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barra degli strumenti</translation>
    </message>
    <message>
        <source>Prompt and progress</source>
        <translation>Messaggio e avanzamento</translation>
    </message>
    <message>
        <source>Disc totals</source>
        <translation>Totali del disco</translation>
    </message>
    <message>
        <source>Marked totals</source>
        <translation>Totali della selezione</translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation>Bloc Scorr</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tutti i file (*)</translation>
    </message>
    <message>
        <source>Message Log</source>
        <translation>Registro messaggi</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CMessageLogDialog</name>
    <message>
        <source>Message Log</source>
        <translation>Registro messaggi</translation>
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
        <translation>Esiste già un file immagine con questo nome. Sovrascriverlo?</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Sovrascrivi</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CSelectDriveDlg</name>
    <message>
        <source>Select CD Drive</source>
        <translation>Seleziona l’unità CD</translation>
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
        <translation>Sì</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CWaitDialog</name>
    <message>
        <source>Please wait.... , process may take some time</source>
        <translation>Attendere, l’operazione potrebbe richiedere del tempo…</translation>
    </message>
</context>
<context>
    <name>velmora::gui::HelpWindow</name>
    <message>
        <source>Help</source>
        <translation>Guida</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Avanti</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Sommario</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>Guida di %1</translation>
    </message>
    <message>
        <source>&lt;p&gt;The help file &lt;b&gt;%1&lt;/b&gt; cannot be found.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Impossibile trovare il file della guida &lt;b&gt;%1&lt;/b&gt;.&lt;/p&gt;</translation>
    </message>
</context>
</TS>
