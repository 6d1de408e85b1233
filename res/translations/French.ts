<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Drive</source>
        <translation>&amp;Lecteur</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Fichier</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Outils</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Affichage</translation>
    </message>
    <message>
        <source>Arrange</source>
        <translation>Trier</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>Lan&amp;gue</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aid&amp;e</translation>
    </message>
    <message>
        <source>&amp;Open Drive</source>
        <translation>&amp;Ouvrir le lecteur</translation>
    </message>
    <message>
        <source>Open drive</source>
        <translation>Ouvrir le lecteur</translation>
    </message>
    <message>
        <source>Open Drive</source>
        <translation>Ouvrir le lecteur</translation>
    </message>
    <message>
        <source>&amp;Create Image</source>
        <translation>&amp;Créer une image</translation>
    </message>
    <message>
        <source>Create cdrom image</source>
        <translation>Créer une image du CD-ROM</translation>
    </message>
    <message>
        <source>Open &amp;Image</source>
        <translation>Ouvrir une &amp;image</translation>
    </message>
    <message>
        <source>Open cdrom image</source>
        <translation>Ouvrir une image de CD-ROM</translation>
    </message>
    <message>
        <source>E&amp;xit Orvane Velmora CDROM </source>
        <translation>&amp;Quitter Orvane Velmora CDROM </translation>
    </message>
    <message>
        <source>Exit Orvane Velmora CDROM</source>
        <translation>Quitter Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Recover &amp;Selected Files</source>
        <translation>Récupérer les fichiers &amp;sélectionnés</translation>
    </message>
    <message>
        <source>Recover selected files</source>
        <translation>Récupérer les fichiers sélectionnés</translation>
    </message>
    <message>
        <source>Recover Selected Files</source>
        <translation>Récupérer les fichiers sélectionnés</translation>
    </message>
    <message>
        <source>&amp;Recover All</source>
        <translation>&amp;Tout récupérer</translation>
    </message>
    <message>
        <source>Recover all</source>
        <translation>Tout récupérer</translation>
    </message>
    <message>
        <source>Recover All</source>
        <translation>Tout récupérer</translation>
    </message>
    <message>
        <source>&amp;Add File Filter</source>
        <translation>&amp;Ajouter un filtre de fichiers</translation>
    </message>
    <message>
        <source>Add file filter to do recovery of specific extensions</source>
        <translation>Ajouter un filtre de fichiers pour ne récupérer que certaines extensions</translation>
    </message>
    <message>
        <source>Remove &amp;File Filter</source>
        <translation>Supprimer le &amp;filtre de fichiers</translation>
    </message>
    <message>
        <source>Remove file filter</source>
        <translation>Supprimer le filtre de fichiers</translation>
    </message>
    <message>
        <source>Stop &amp;Current Process</source>
        <translation>&amp;Arrêter le processus en cours</translation>
    </message>
    <message>
        <source>Stop current process</source>
        <translation>Arrêter le processus en cours</translation>
    </message>
    <message>
        <source>Stop Current Process</source>
        <translation>Arrêter le processus en cours</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Rechercher</translation>
    </message>
    <message>
        <source>Find file in the tree displayed</source>
        <translation>Rechercher un fichier dans l’arborescence affichée</translation>
    </message>
    <message>
        <source>Find Next Item</source>
        <translation>Rechercher l’élément suivant</translation>
    </message>
    <message>
        <source>Find next item in the tree displayed</source>
        <translation>Rechercher l’élément suivant dans l’arborescence affichée</translation>
    </message>
    <message>
        <source>File &amp;Mask</source>
        <translation>&amp;Masque de fichiers</translation>
    </message>
    <message>
        <source>Mask unwanted files &amp; folders</source>
        <translation>Masquer les fichiers et dossiers indésirables</translation>
    </message>
    <message>
        <source>File U&amp;nmask</source>
        <translation>Supprimer le mas&amp;que</translation>
    </message>
    <message>
        <source>Display complete tree of files &amp; folders</source>
        <translation>Afficher l’arborescence complète des fichiers et dossiers</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Tout sélectionner</translation>
    </message>
    <message>
        <source>Select all files &amp; folders</source>
        <translation>Sélectionner tous les fichiers et dossiers</translation>
    </message>
    <message>
        <source>&amp;Unselect All</source>
        <translation>Tout &amp;désélectionner</translation>
    </message>
    <message>
        <source>Unmark all</source>
        <translation>Tout désélectionner</translation>
    </message>
    <message>
        <source>&amp;Clear Log</source>
        <translation>E&amp;ffacer le journal</translation>
    </message>
    <message>
        <source>Clear all contents of message log</source>
        <translation>Effacer tout le contenu du journal des messages</translation>
    </message>
    <message>
        <source>&amp;Save  Log</source>
        <translation>&amp;Enregistrer le journal</translation>
    </message>
    <message>
        <source>Save Message log to  a file</source>
        <translation>Enregistrer le journal des messages dans un fichier</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Barre d’outils</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Afficher ou masquer la barre d’outils</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>Barre d’&amp;état</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Afficher ou masquer la barre d’état</translation>
    </message>
    <message>
        <source>&amp;Message Log</source>
        <translation>&amp;Journal des messages</translation>
    </message>
    <message>
        <source>Show or hide process log</source>
        <translation>Afficher ou masquer le journal des processus</translation>
    </message>
    <message>
        <source>&amp;Go Up</source>
        <translation>Dossier &amp;parent</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Dossier parent</translation>
    </message>
    <message>
        <source>Large Icons</source>
        <translation>Grandes icônes</translation>
    </message>
    <message>
        <source>Display items by using large icons</source>
        <translation>Afficher les éléments sous forme de grandes icônes</translation>
    </message>
    <message>
        <source>Small Icons</source>
        <translation>Petites icônes</translation>
    </message>
    <message>
        <source>Display items by using small icons</source>
        <translation>Afficher les éléments sous forme de petites icônes</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Displays items in a list</source>
        <translation>Afficher les éléments sous forme de liste</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Détails</translation>
    </message>
    <message>
        <source>Displays detailed information</source>
        <translation>Afficher les informations détaillées</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Par &amp;nom</translation>
    </message>
    <message>
        <source>Arrange right view on name</source>
        <translation>Trier la liste des fichiers par nom</translation>
    </message>
    <message>
        <source>By &amp;Type</source>
        <translation>Par &amp;type</translation>
    </message>
    <message>
        <source>Arrange right view on type</source>
        <translation>Trier la liste des fichiers par type</translation>
    </message>
    <message>
        <source>By &amp;Size</source>
        <translation>Par ta&amp;ille</translation>
    </message>
    <message>
        <source>Arrange right view on size</source>
        <translation>Trier la liste des fichiers par taille</translation>
    </message>
    <message>
        <source>By &amp;Date</source>
        <translation>Par &amp;date</translation>
    </message>
    <message>
        <source>Arrange right view on date</source>
        <translation>Trier la liste des fichiers par date</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>&amp;Anglais</translation>
    </message>
    <message>
        <source>Change the current language to english </source>
        <translation>Afficher l’interface en anglais </translation>
    </message>
    <message>
        <source>&amp;French</source>
        <translation>&amp;Français</translation>
    </message>
    <message>
        <source>Change the current language to french</source>
        <translation>Afficher l’interface en français</translation>
    </message>
    <message>
        <source>&amp;German</source>
        <translation>A&amp;llemand</translation>
    </message>
    <message>
        <source>Change the current language to german</source>
        <translation>Afficher l’interface en allemand</translation>
    </message>
    <message>
        <source>&amp;Spanish</source>
        <translation>&amp;Espagnol</translation>
    </message>
    <message>
        <source>Change the current language to spanish</source>
        <translation>Afficher l’interface en espagnol</translation>
    </message>
    <message>
        <source>&amp;Italian</source>
        <translation>&amp;Italien</translation>
    </message>
    <message>
        <source>Change the current language to italian</source>
        <translation>Afficher l’interface en italien</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Rubriques d’aide</translation>
    </message>
    <message>
        <source>List Help topics</source>
        <translation>Afficher les rubriques d’aide</translation>
    </message>
    <message>
        <source>Help Topics</source>
        <translation>Rubriques d’aide</translation>
    </message>
    <message>
        <source>&amp;About Orvane Velmora CDROM </source>
        <translation>À &amp;propos d’Orvane Velmora CDROM </translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Afficher les informations sur le programme, le numéro de version et le copyright</translation>
    </message>
    <message>
        <source>&amp;Names</source>
        <translation>&amp;Noms</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>&amp;Automatique</translation>
    </message>
    <message>
        <source>Show the Rock Ridge names when the disc has them, else Joliet, else ISO 9660</source>
        <translation>Afficher les noms Rock Ridge si le disque en a, sinon Joliet, sinon ISO 9660</translation>
    </message>
    <message>
        <source>&amp;Rock Ridge</source>
        <translation>&amp;Rock Ridge</translation>
    </message>
    <message>
        <source>Show the Rock Ridge names of the disc</source>
        <translation>Afficher les noms Rock Ridge du disque</translation>
    </message>
    <message>
        <source>&amp;Joliet</source>
        <translation>&amp;Joliet</translation>
    </message>
    <message>
        <source>Show the Joliet names of the disc</source>
        <translation>Afficher les noms Joliet du disque</translation>
    </message>
    <message>
        <source>ISO 9660 &amp;Primary</source>
        <translation>ISO 9660 &amp;primaire</translation>
    </message>
    <message>
        <source>Show the ISO 9660 names of the primary volume</source>
        <translation>Afficher les noms ISO 9660 du volume primaire</translation>
    </message>
</context>
<context>
    <name>DialogPrompts</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 existe déjà.
Voulez-vous le remplacer&#xa0;?</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Activity</source>
        <translation>Activité</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>État</translation>
    </message>
    <message>
        <source>Total 0 Bytes in 0 Files in 0 Folders</source>
        <translation>Total&#xa0;: 0 octets dans 0 fichiers dans 0 dossiers</translation>
    </message>
    <message>
        <source>Marked 0 Bytes in 0 Files in 0 Folders</source>
        <translation>Sélection&#xa0;: 0 octets dans 0 fichiers dans 0 dossiers</translation>
    </message>
    <message>
        <source>Orvane Velmora CDROM 2.0 </source>
        <translation>Orvane Velmora CDROM 2.0 </translation>
    </message>
    <message>
        <source>Saving files on to the same logical drive that contains your lost data</source>
        <translation>Enregistrer des fichiers sur le lecteur logique qui contient vos données perdues</translation>
    </message>
    <message>
        <source>can cause disk overwrite and result in permanent data loss</source>
        <translation>peut écraser ces données et entraîner leur perte définitive</translation>
    </message>
    <message>
        <source>Can not exit</source>
        <translation>Impossible de quitter</translation>
    </message>
    <message>
        <source>Stop current operation before exiting Orvane Velmora CDROM</source>
        <translation>Arrêtez l’opération en cours avant de quitter Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Insert CDROM To Start Process</source>
        <translation>Insérez un CD-ROM pour démarrer le processus</translation>
    </message>
    <message>
        <source>Root</source>
        <translation>Racine</translation>
    </message>
    <message>
        <source>Entries Found</source>
        <translation>entrées trouvées</translation>
    </message>
    <message>
        <source>Reading..</source>
        <translation>Lecture…</translation>
    </message>
    <message>
        <source>Select the Destination folder for Saving Files</source>
        <translation>Choisissez le dossier de destination des fichiers à enregistrer</translation>
    </message>
    <message>
        <source>Files Recovered</source>
        <translation>fichiers récupérés</translation>
    </message>
    <message>
        <source>CD Image </source>
        <translation>Image CD </translation>
    </message>
    <message>
        <source>Save Image to File</source>
        <translation>Enregistrer l’image dans un fichier</translation>
    </message>
    <message>
        <source>Image File(*.cd)</source>
        <translation>Fichier image (*.cd)</translation>
    </message>
    <message>
        <source>Image File(*.cd)|*.cd||</source>
        <translation>Fichier image (*.cd)|*.cd||</translation>
    </message>
    <message>
        <source>Open CDROM Image from</source>
        <translation>Ouvrir une image de CD-ROM</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Creating Tree Structure</source>
        <translation>Création de l’arborescence</translation>
    </message>
    <message>
        <source>Process Started</source>
        <translation>Processus démarré</translation>
    </message>
    <message>
        <source>Process Aborted</source>
        <translation>Processus interrompu</translation>
    </message>
    <message>
        <source>Process Completed</source>
        <translation>Processus terminé</translation>
    </message>
    <message>
        <source>Saving Files Process</source>
        <translation>Enregistrement des fichiers</translation>
    </message>
    <message>
        <source>Recovering File</source>
        <translation>Récupération du fichier</translation>
    </message>
    <message>
        <source>File Recovered Successfully</source>
        <translation>Fichier récupéré avec succès</translation>
    </message>
    <message>
        <source>File Recovered Partially</source>
        <translation>Fichier récupéré partiellement</translation>
    </message>
    <message>
        <source>File Recoverey Failure</source>
        <translation>Échec de la récupération du fichier</translation>
    </message>
    <message>
        <source>CD Image Creation</source>
        <translation>Création d’une image CD</translation>
    </message>
    <message>
        <source>Problem Reading Sector No.</source>
        <translation>Problème de lecture du secteur n°</translation>
    </message>
    <message>
        <source>Unable to Read Sector No.</source>
        <translation>Impossible de lire le secteur n°</translation>
    </message>
    <message>
        <source>Not a valid image file to open. </source>
        <translation>Ce fichier n’est pas une image valide. </translation>
    </message>
    <message>
        <source>No matching entry found in the directory tree displayed</source>
        <translation>Aucune entrée correspondante dans l’arborescence affichée</translation>
    </message>
    <message>
        <source>No more entries are available in the directory tree displayed</source>
        <translation>Il n’y a plus d’autre entrée dans l’arborescence affichée</translation>
    </message>
    <message>
        <source>CDROM not found / CDROM entirely corrupted</source>
        <translation>CD-ROM introuvable / CD-ROM entièrement endommagé</translation>
    </message>
    <message>
        <source>Unable to create/Open file for storing image</source>
        <translation>Impossible de créer ou d’ouvrir le fichier destiné à l’image</translation>
    </message>
    <message>
        <source>Unable to Open Image File</source>
        <translation>Impossible d’ouvrir le fichier image</translation>
    </message>
    <message>
        <source>Error creating file, disk may be write protected</source>
        <translation>Erreur lors de la création du fichier, le disque est peut-être protégé en écriture</translation>
    </message>
    <message>
        <source>Orvane Velmora CDROM log</source>
        <translation>Journal Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Save Log To File</source>
        <translation>Enregistrer le journal dans un fichier</translation>
    </message>
    <message>
        <source>Text Document</source>
        <translation>Document texte</translation>
    </message>
    <message>
        <source>Message Log Report of Orvane Velmora CDROM</source>
        <translation>Rapport du journal des messages d’Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Reading Sector</source>
        <translation>Lecture du secteur</translation>
    </message>
    <message>
        <source>This process cannot be resumed from current state and has to be restarted</source>
        <translation>Ce processus ne pourra pas reprendre là où il s’est arrêté et devra être relancé</translation>
    </message>
    <message>
        <source>Stop current process ?</source>
        <translation>Arrêter le processus en cours&#xa0;?</translation>
    </message>
    <message>
        <source>Total </source>
        <translation>Total&#xa0;: </translation>
    </message>
    <message>
        <source>Bytes in</source>
        <translation>octets dans</translation>
    </message>
    <message>
        <source>Files in</source>
        <translation>fichiers dans</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>dossiers</translation>
    </message>
    <message>
        <source>Marked</source>
        <translation>Sélection&#xa0;:</translation>
    </message>
    <message>
        <source>KB in</source>
        <translation>Ko dans</translation>
    </message>
    <message>
        <source>MB in</source>
        <translation>Mo dans</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>GB in</source>
        <translation>Go dans</translation>
    </message>
    <message>
        <source>Dir</source>
        <translation>Dossier</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Recover Selected</source>
        <translation>Récupérer la sélection</translation>
    </message>
    <message>
        <source>Recover All</source>
        <translation>Tout récupérer</translation>
    </message>
    <message>
        <source>View Large Icons</source>
        <translation>Grandes icônes</translation>
    </message>
    <message>
        <source>View Small Icons</source>
        <translation>Petites icônes</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Détails</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nom</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Taille</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>File ID</source>
        <translation>ID de fichier</translation>
    </message>
    <message>
        <source>Parent ID</source>
        <translation>ID du parent</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Orvane Information Systems Ltd.</source>
        <translation>Copyright (C) 2026 Orvane Information Systems Ltd.</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.</source>
        <translation>Logiciel libre sous la licence publique générale GNU, version 3 ou ultérieure.</translation>
    </message>
    <message>
        <source>Folder could not be read</source>
        <translation>Dossier illisible</translation>
    </message>
    <message>
        <source>Folder read in part</source>
        <translation>Dossier lu en partie</translation>
    </message>
    <message>
        <source>Folder holds no directory records</source>
        <translation>Le dossier ne contient aucun enregistrement de répertoire</translation>
    </message>
    <message>
        <source>Folder lies past the end of the disc</source>
        <translation>Le dossier se trouve au-delà de la fin du disque</translation>
    </message>
    <message>
        <source>The disc holds no files</source>
        <translation>Le disque ne contient aucun fichier</translation>
    </message>
    <message>
        <source>Recording times with an offset from GMT out of range, taken as GMT:</source>
        <translation>Dates d’enregistrement dont le décalage par rapport à GMT est hors limites, lues en GMT&#xa0;:</translation>
    </message>
    <message>
        <source>The Joliet tree could not be read; reading the ISO 9660 tree</source>
        <translation>L’arborescence Joliet est illisible&#xa0;; lecture de l’arborescence ISO 9660</translation>
    </message>
    <message>
        <source>The file system tree could not be read; searching the sectors</source>
        <translation>L’arborescence du système de fichiers est illisible&#xa0;; recherche dans les secteurs</translation>
    </message>
    <message>
        <source>sector</source>
        <translation>secteur</translation>
    </message>
    <message>
        <source>Entries taken from the ISO 9660 tree</source>
        <translation>Entrées reprises de l’arborescence ISO 9660</translation>
    </message>
    <message>
        <source>Names added from the ISO 9660 tree:</source>
        <translation>Noms ajoutés depuis l’arborescence ISO 9660&#xa0;:</translation>
    </message>
    <message>
        <source>Entries taken from the Joliet tree</source>
        <translation>Entrées reprises de l’arborescence Joliet</translation>
    </message>
    <message>
        <source>Folder record points at a volume descriptor</source>
        <translation>L’enregistrement du dossier pointe sur un descripteur de volume</translation>
    </message>
    <message>
        <source>The sessions of the track list overlap; each file is listed under the first session that holds it</source>
        <translation>Les sessions de la liste des pistes se chevauchent&#xa0;; chaque fichier est listé sous la première session qui le contient</translation>
    </message>
    <message>
        <source>The root folder did not read: Rock Ridge names, links and modes, if the disc has them, could not be read</source>
        <translation>Le dossier racine n’a pas pu être lu&#xa0;: les noms, liens et modes Rock Ridge, si le disque en a, n’ont pas pu être lus</translation>
    </message>
    <message>
        <source>Names shown: Rock Ridge</source>
        <translation>Noms affichés&#xa0;: Rock Ridge</translation>
    </message>
    <message>
        <source>Names shown: Joliet</source>
        <translation>Noms affichés&#xa0;: Joliet</translation>
    </message>
    <message>
        <source>Names shown: ISO 9660</source>
        <translation>Noms affichés&#xa0;: ISO 9660</translation>
    </message>
    <message>
        <source>Damaged Rock Ridge entries; shown under a safe name</source>
        <translation>Entrées Rock Ridge endommagées&#xa0;; affiché sous un nom sûr</translation>
    </message>
    <message>
        <source>A relocated folder points back up the tree; not walked again</source>
        <translation>Un dossier déplacé renvoie vers un niveau supérieur de l’arborescence&#xa0;; il n’est pas parcouru à nouveau</translation>
    </message>
    <message>
        <source>Symbolic Link Created</source>
        <translation>Lien symbolique créé</translation>
    </message>
    <message>
        <source>Sessions found by their volume descriptors, one after another:</source>
        <translation>Sessions trouvées par leurs descripteurs de volume, l’une après l’autre&#xa0;:</translation>
    </message>
    <message>
        <source>Sessions found by their volume descriptors, the newest also at sector 16:</source>
        <translation>Sessions trouvées par leurs descripteurs de volume, la plus récente aussi au secteur 16&#xa0;:</translation>
    </message>
    <message>
        <source>A session runs past the end of the image; read as far as it goes:</source>
        <translation>Une session dépasse la fin de l’image&#xa0;; lue jusqu’où elle va&#xa0;:</translation>
    </message>
    <message>
        <source>Volume descriptors not taken as a session (their root folder lies outside their volume):</source>
        <translation>Descripteurs de volume non retenus comme session (leur dossier racine est hors de leur volume)&#xa0;:</translation>
    </message>
    <message>
        <source>More sessions than a disc holds; the sessions after the 99th are not read</source>
        <translation>Plus de sessions qu’un disque n’en contient&#xa0;; les sessions après la 99e ne sont pas lues</translation>
    </message>
    <message>
        <source>Primary volume descriptor damaged; the session was found from its supplementary descriptor (its names only):</source>
        <translation>Descripteur de volume primaire endommagé&#xa0;; la session a été trouvée par son descripteur supplémentaire (ses noms seulement)&#xa0;:</translation>
    </message>
    <message>
        <source>Relocated folder not reached from its real place; shown where it was moved</source>
        <translation>Dossier déplacé non atteint depuis son emplacement réel&#xa0;; affiché là où il a été déplacé</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 n’existe pas</translation>
    </message>
    <message>
        <source>%1: no disc in the drive</source>
        <translation>%1&#xa0;: aucun disque dans le lecteur</translation>
    </message>
    <message>
        <source>%1: %2; the user needs read access to the device (for example membership in the cdrom group)</source>
        <translation>%1&#xa0;: %2&#xa0;; l’utilisateur doit pouvoir lire le périphérique (par exemple en étant membre du groupe cdrom)</translation>
    </message>
    <message>
        <source>%1: %2; check the file&apos;s permissions</source>
        <translation>%1&#xa0;: %2&#xa0;; vérifiez les droits d’accès du fichier</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1: the image&apos;s track list is damaged</source>
        <translation>%1&#xa0;: la liste des pistes de l’image est endommagée</translation>
    </message>
    <message>
        <source>%1: the image holds no sector, only its track list</source>
        <translation>%1&#xa0;: l’image ne contient aucun secteur, seulement sa liste des pistes</translation>
    </message>
    <message>
        <source>%1: every session of the image&apos;s track list lies past its %2 sectors</source>
        <translation>%1&#xa0;: chaque session de la liste des pistes se trouve au-delà des %2 secteurs de l’image</translation>
    </message>
    <message>
        <source>%1: the image&apos;s track list names sectors past its %2 sectors; %3 session(s) cut to the image</source>
        <translation>%1&#xa0;: la liste des pistes nomme des secteurs au-delà des %2 secteurs de l’image&#xa0;; %3 session(s) raccourcie(s) à l’image</translation>
    </message>
    <message>
        <source>%1: in the image&apos;s track list %2 session(s) end before they start, read up to the next session or the image&apos;s end</source>
        <translation>%1&#xa0;: dans la liste des pistes, %2 session(s) finissent avant de commencer&#xa0;; lues jusqu’à la session suivante ou la fin de l’image</translation>
    </message>
    <message>
        <source>%1; %2 session(s) end before they start, read up to the next session or the image&apos;s end</source>
        <translation>%1&#xa0;; %2 session(s) finissent avant de commencer&#xa0;; lues jusqu’à la session suivante ou la fin de l’image</translation>
    </message>
    <message>
        <source>%1: not a disc image (no image trailer and no ISO 9660 volume descriptor)</source>
        <translation>%1&#xa0;: ce n’est pas une image de disque (ni bloc de fin d’image ni descripteur de volume ISO 9660)</translation>
    </message>
    <message>
        <source>%1: no image trailer, no volume descriptor, and no directory found</source>
        <translation>%1&#xa0;: ni bloc de fin d’image, ni descripteur de volume, ni répertoire trouvé</translation>
    </message>
    <message>
        <source>%1: the image&apos;s last block is not a whole track list (damaged or cut); read as a plain image</source>
        <translation>%1&#xa0;: le dernier bloc de l’image n’est pas une liste des pistes entière (endommagée ou coupée)&#xa0;; lue comme une image simple</translation>
    </message>
    <message>
        <source>%1: the image&apos;s last block is not a whole track list (damaged or cut); read as a plain image of one session</source>
        <translation>%1&#xa0;: le dernier bloc de l’image n’est pas une liste des pistes entière (endommagée ou coupée)&#xa0;; lue comme une image simple d’une session</translation>
    </message>
    <message>
        <source>cannot create the image %1: %2</source>
        <translation>impossible de créer l’image %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>cannot write the image %1 after %2 sectors: %3</source>
        <translation>impossible d’écrire l’image %1 après %2 secteurs&#xa0;: %3</translation>
    </message>
    <message>
        <source>%1: the size of the file is unknown</source>
        <translation>%1&#xa0;: la taille du fichier est inconnue</translation>
    </message>
    <message>
        <source>%1: the file ended early</source>
        <translation>%1&#xa0;: le fichier s’est terminé trop tôt</translation>
    </message>
    <message>
        <source>%1: the track list in the image&apos;s last block is damaged</source>
        <translation>%1&#xa0;: la liste des pistes dans le dernier bloc de l’image est endommagée</translation>
    </message>
    <message>
        <source>The image&apos;s map gives %1 bytes in %2 areas as never read; they are taken as unreadable</source>
        <translation>La carte de l’image indique %1 octets en %2 zones comme jamais lus&#xa0;; ils sont considérés comme illisibles</translation>
    </message>
    <message>
        <source>%1: %2; the image&apos;s map cannot be read (move it away to read every block as data)</source>
        <translation>%1&#xa0;: %2&#xa0;; la carte de l’image ne peut pas être lue (déplacez-la pour lire chaque bloc comme des données)</translation>
    </message>
    <message>
        <source>%1: line %2 is not a line of a mapfile; the image&apos;s map is damaged (move it away to read every block as data)</source>
        <translation>%1&#xa0;: la ligne %2 n’est pas une ligne de carte ddrescue&#xa0;; la carte de l’image est endommagée (déplacez-la pour lire chaque bloc comme des données)</translation>
    </message>
    <message>
        <source>too large for a map</source>
        <translation>trop grand pour une carte</translation>
    </message>
    <message>
        <source>%1: not a ddrescue mapfile (line %2)</source>
        <translation>%1&#xa0;: pas une carte ddrescue (ligne %2)</translation>
    </message>
    <message>
        <source>cannot write the map of the image %1: %2</source>
        <translation>impossible d’écrire la carte de l’image %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 files saved in %2 folders</source>
        <translation>%1 fichiers enregistrés dans %2 dossiers</translation>
    </message>
    <message>
        <source>%1 file saved in %2 folders</source>
        <translation>%1 fichier enregistré dans %2 dossiers</translation>
    </message>
    <message>
        <source>%1 files saved in %2 folder</source>
        <translation>%1 fichiers enregistrés dans %2 dossier</translation>
    </message>
    <message>
        <source>%1 file saved in %2 folder</source>
        <translation>%1 fichier enregistré dans %2 dossier</translation>
    </message>
    <message>
        <source>Files read only in part (the bytes not read are zeros): %1</source>
        <translation>Fichiers lus en partie seulement (les octets non lus sont des zéros)&#xa0;: %1</translation>
    </message>
    <message>
        <source>Files not recovered: %1</source>
        <translation>Fichiers non récupérés&#xa0;: %1</translation>
    </message>
    <message>
        <source>Files cut short when the process was stopped: %1</source>
        <translation>Fichiers interrompus par l’arrêt du processus&#xa0;: %1</translation>
    </message>
    <message>
        <source>Process Completed with Errors</source>
        <translation>Processus terminé avec des erreurs</translation>
    </message>
    <message>
        <source>Bytes not read (zeros in the file): %1</source>
        <translation>Octets non lus (des zéros dans le fichier)&#xa0;: %1</translation>
    </message>
    <message>
        <source>%1 and %2 more ranges</source>
        <translation>%1 et %2 autres plages</translation>
    </message>
    <message>
        <source>Rescue Imaging</source>
        <translation>Image de sauvetage</translation>
    </message>
    <message>
        <source>Resumed from the map beside the image: %1 bytes were read before</source>
        <translation>Reprise d’après la carte de l’image&#xa0;: %1 octets avaient déjà été lus</translation>
    </message>
    <message>
        <source>Pass %1 (%2) done: %3 bytes rescued, %4 bytes bad in %5 areas, %6 bytes left to try</source>
        <translation>Passe %1 (%2) terminée&#xa0;: %3 octets sauvés, %4 octets illisibles en %5 zones, %6 octets restent à essayer</translation>
    </message>
    <message>
        <source>what matters first</source>
        <translation>l’essentiel d’abord</translation>
    </message>
    <message>
        <source>copying</source>
        <translation>copie</translation>
    </message>
    <message>
        <source>trimming</source>
        <translation>rognage</translation>
    </message>
    <message>
        <source>scraping</source>
        <translation>grattage</translation>
    </message>
    <message>
        <source>retrying</source>
        <translation>nouvel essai</translation>
    </message>
    <message>
        <source>merging</source>
        <translation>fusion</translation>
    </message>
    <message>
        <source>%1 has no map beside it: there is nothing to merge into</source>
        <translation>%1 n’a pas de carte à côté&#xa0;: rien où fusionner</translation>
    </message>
    <message>
        <source>%1 and its map are of another disc (the size, the track list or the primary volume descriptor differ)</source>
        <translation>%1 et sa carte sont d’un autre disque (la taille, la liste des pistes ou le descripteur de volume primaire diffèrent)</translation>
    </message>
    <message>
        <source>%1: the primary volume descriptor does not read in both copies, so they cannot be told to be of one disc</source>
        <translation>%1&#xa0;: le descripteur de volume primaire ne se lit pas dans les deux copies&#xa0;; on ne peut pas dire qu’elles sont du même disque</translation>
    </message>
    <message>
        <source>Rescue (several passes) (*.cd)</source>
        <translation>Sauvetage (plusieurs passes) (*.cd)</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>Lecteur&#xa0;:</translation>
    </message>
    <message>
        <source>firmware</source>
        <translation>micrologiciel</translation>
    </message>
    <message>
        <source>Waiting for the drive to become ready</source>
        <translation>Attente que le lecteur soit prêt</translation>
    </message>
    <message>
        <source>The drive did not become ready in time; reading all the same</source>
        <translation>Le lecteur n’a pas été prêt à temps&#xa0;; lecture quand même</translation>
    </message>
    <message>
        <source>No disc in the drive. Insert a disc and try again</source>
        <translation>Aucun disque dans le lecteur. Insérez un disque et réessayez</translation>
    </message>
    <message>
        <source>The disc in the drive was changed. The process stopped; nothing of the other disc was read</source>
        <translation>Le disque du lecteur a été changé. Le processus s’est arrêté&#xa0;; rien de l’autre disque n’a été lu</translation>
    </message>
    <message>
        <source>The drive is no longer there (unplugged or off the bus). The process stopped; what was saved is kept</source>
        <translation>Le lecteur n’est plus là (débranché ou hors du bus). Le processus s’est arrêté&#xa0;; ce qui a été enregistré est conservé</translation>
    </message>
    <message>
        <source>The drive did not answer in time (time-out)</source>
        <translation>Le lecteur n’a pas répondu à temps (délai dépassé)</translation>
    </message>
    <message>
        <source>The drive refuses READ CD; reading with READ(10)</source>
        <translation>Le lecteur refuse READ CD&#xa0;; lecture avec READ(10)</translation>
    </message>
    <message>
        <source>Sense</source>
        <translation>Code d’erreur</translation>
    </message>
    <message>
        <source>Not ready</source>
        <translation>Pas prêt</translation>
    </message>
    <message>
        <source>Medium error</source>
        <translation>Erreur de support</translation>
    </message>
    <message>
        <source>Hardware error</source>
        <translation>Erreur matérielle</translation>
    </message>
    <message>
        <source>Illegal request</source>
        <translation>Requête non valide</translation>
    </message>
    <message>
        <source>Unit attention</source>
        <translation>Avis de l’unité</translation>
    </message>
    <message>
        <source>Aborted command</source>
        <translation>Commande abandonnée</translation>
    </message>
    <message>
        <source>unrecovered read error</source>
        <translation>erreur de lecture non corrigée</translation>
    </message>
    <message>
        <source>L-EC uncorrectable error</source>
        <translation>erreur non corrigible par L-EC</translation>
    </message>
    <message>
        <source>CIRC unrecovered error</source>
        <translation>erreur non corrigée par CIRC</translation>
    </message>
    <message>
        <source>no seek complete</source>
        <translation>positionnement non terminé</translation>
    </message>
    <message>
        <source>becoming ready</source>
        <translation>en cours de préparation</translation>
    </message>
    <message>
        <source>medium not present</source>
        <translation>support absent</translation>
    </message>
    <message>
        <source>logical block address out of range</source>
        <translation>adresse de bloc logique hors limites</translation>
    </message>
    <message>
        <source>illegal mode for this track</source>
        <translation>mode non autorisé pour cette piste</translation>
    </message>
    <message>
        <source>invalid command operation code</source>
        <translation>code d’opération de commande non valide</translation>
    </message>
    <message>
        <source>medium may have changed</source>
        <translation>le support a peut-être changé</translation>
    </message>
    <message>
        <source>power on or reset occurred</source>
        <translation>mise sous tension ou réinitialisation</translation>
    </message>
    <message>
        <source>invalid field in command</source>
        <translation>champ non valide dans la commande</translation>
    </message>
    <message>
        <source>Marked for recovery</source>
        <translation>Sélectionné pour la récupération</translation>
    </message>
    <message>
        <source>Partly marked for recovery</source>
        <translation>Partiellement sélectionné pour la récupération</translation>
    </message>
    <message>
        <source>Not marked for recovery</source>
        <translation>Non sélectionné pour la récupération</translation>
    </message>
    <message>
        <source>%1 of %2 %3</source>
        <translation>%1 sur %2 %3</translation>
    </message>
    <message>
        <source>%1 of %2 %3, %4</source>
        <translation>%1 sur %2 %3, %4</translation>
    </message>
    <message>
        <source>%1 of %2 %3, %4, %5 left</source>
        <translation>%1 sur %2 %3, %4, reste %5</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>octets</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>Ko</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>Mo</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>Go</translation>
    </message>
    <message>
        <source>%1 %2/s</source>
        <translation>%1 %2/s</translation>
    </message>
    <message>
        <source>Pass %1 (%2): %3 bad areas</source>
        <translation>Passe %1 (%2)&#xa0;: %3 zones illisibles</translation>
    </message>
</context>
<context>
    <name>velmora::gui::AboutLink</name>
    <message>
        <source>Link</source>
        <translation>Lien</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CAboutDialog</name>
    <message>
        <source>About %1</source>
        <translation>À propos d’%1</translation>
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
        <translation>Ajouter un filtre de fichiers</translation>
    </message>
    <message>
        <source>Enter Filter Basis</source>
        <translation>Saisissez le critère de filtrage</translation>
    </message>
    <message>
        <source>Add To List</source>
        <translation>Ajouter à la liste</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Inclure</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Exclure</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFileMaskDialog</name>
    <message>
        <source>File Mask</source>
        <translation>Masque de fichiers</translation>
    </message>
    <message>
        <source>Set Mask</source>
        <translation>Définir le masque</translation>
    </message>
    <message>
        <source>A File mask delimited with semi-colons.</source>
        <translation>Des masques de fichiers séparés par des points-virgules.</translation>
    </message>
    <message>
        <source>Files of Type:</source>
        <translation>Fichiers de type&#xa0;:</translation>
    </message>
    <message>
        <source>&amp;Match Case</source>
        <translation>Respecter la &amp;casse</translation>
    </message>
    <message>
        <source>&amp;Existing Files</source>
        <translation>Fichiers &amp;existants</translation>
    </message>
    <message>
        <source>Size from</source>
        <translation>Taille de</translation>
    </message>
    <message>
        <source>upto</source>
        <translation>à</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>Ko</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>in the last</source>
        <translation>au cours des</translation>
    </message>
    <message>
        <source>months</source>
        <translation>derniers mois</translation>
    </message>
    <message>
        <source>days</source>
        <translation>derniers jours</translation>
    </message>
    <message>
        <source>between</source>
        <translation>entre le</translation>
    </message>
    <message>
        <source>and</source>
        <translation>et le</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CMainFrame</name>
    <message>
        <source>Folders</source>
        <translation>Dossiers</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Fichiers</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barre d’outils</translation>
    </message>
    <message>
        <source>Prompt and progress</source>
        <translation>Message et progression</translation>
    </message>
    <message>
        <source>Disc totals</source>
        <translation>Totaux du disque</translation>
    </message>
    <message>
        <source>Marked totals</source>
        <translation>Totaux de la sélection</translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation>Arrêt défil.</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Message Log</source>
        <translation>Journal des messages</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CMessageLogDialog</name>
    <message>
        <source>Message Log</source>
        <translation>Journal des messages</translation>
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
        <translation>Un fichier image portant ce nom existe déjà. Voulez-vous le remplacer&#xa0;?</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Remplacer</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CSelectDriveDlg</name>
    <message>
        <source>Select CD Drive</source>
        <translation>Choisir le lecteur de CD</translation>
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
        <translation>Oui</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Non</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CWaitDialog</name>
    <message>
        <source>Please wait.... , process may take some time</source>
        <translation>Veuillez patienter, l’opération peut prendre un certain temps…</translation>
    </message>
</context>
<context>
    <name>velmora::gui::HelpWindow</name>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Sommaire</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>Aide de %1</translation>
    </message>
    <message>
        <source>&lt;p&gt;The help file &lt;b&gt;%1&lt;/b&gt; cannot be found.&lt;/p&gt;</source>
        <translation>&lt;p&gt;Le fichier d’aide &lt;b&gt;%1&lt;/b&gt; est introuvable.&lt;/p&gt;</translation>
    </message>
</context>
</TS>
