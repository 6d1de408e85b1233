<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES" sourcelanguage="en">
<context>
    <name>CMainFrame</name>
    <message>
        <source>&amp;Drive</source>
        <translation>U&amp;nidad</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Archivo</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Herramientas</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ver</translation>
    </message>
    <message>
        <source>Arrange</source>
        <translation>Ordenar</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Idioma</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Ay&amp;uda</translation>
    </message>
    <message>
        <source>&amp;Open Drive</source>
        <translation>&amp;Abrir unidad</translation>
    </message>
    <message>
        <source>Open drive</source>
        <translation>Abrir la unidad</translation>
    </message>
    <message>
        <source>Open Drive</source>
        <translation>Abrir unidad</translation>
    </message>
    <message>
        <source>&amp;Create Image</source>
        <translation>&amp;Crear imagen</translation>
    </message>
    <message>
        <source>Create cdrom image</source>
        <translation>Crear una imagen del CD-ROM</translation>
    </message>
    <message>
        <source>Open &amp;Image</source>
        <translation>Abrir &amp;imagen</translation>
    </message>
    <message>
        <source>Open cdrom image</source>
        <translation>Abrir una imagen de CD-ROM</translation>
    </message>
    <message>
        <source>E&amp;xit Orvane Velmora CDROM </source>
        <translation>&amp;Salir de Orvane Velmora CDROM </translation>
    </message>
    <message>
        <source>Exit Orvane Velmora CDROM</source>
        <translation>Salir de Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Recover &amp;Selected Files</source>
        <translation>Recuperar archivos &amp;seleccionados</translation>
    </message>
    <message>
        <source>Recover selected files</source>
        <translation>Recuperar los archivos seleccionados</translation>
    </message>
    <message>
        <source>Recover Selected Files</source>
        <translation>Recuperar archivos seleccionados</translation>
    </message>
    <message>
        <source>&amp;Recover All</source>
        <translation>&amp;Recuperar todo</translation>
    </message>
    <message>
        <source>Recover all</source>
        <translation>Recuperar todo</translation>
    </message>
    <message>
        <source>Recover All</source>
        <translation>Recuperar todo</translation>
    </message>
    <message>
        <source>&amp;Add File Filter</source>
        <translation>Añadir &amp;filtro de archivos</translation>
    </message>
    <message>
        <source>Add file filter to do recovery of specific extensions</source>
        <translation>Añadir un filtro de archivos para recuperar extensiones concretas</translation>
    </message>
    <message>
        <source>Remove &amp;File Filter</source>
        <translation>&amp;Quitar filtro de archivos</translation>
    </message>
    <message>
        <source>Remove file filter</source>
        <translation>Quitar el filtro de archivos</translation>
    </message>
    <message>
        <source>Stop &amp;Current Process</source>
        <translation>&amp;Detener el proceso actual</translation>
    </message>
    <message>
        <source>Stop current process</source>
        <translation>Detener el proceso actual</translation>
    </message>
    <message>
        <source>Stop Current Process</source>
        <translation>Detener el proceso actual</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Buscar</translation>
    </message>
    <message>
        <source>Find file in the tree displayed</source>
        <translation>Buscar un archivo en el árbol mostrado</translation>
    </message>
    <message>
        <source>Find Next Item</source>
        <translation>Buscar siguiente</translation>
    </message>
    <message>
        <source>Find next item in the tree displayed</source>
        <translation>Buscar el siguiente elemento en el árbol mostrado</translation>
    </message>
    <message>
        <source>File &amp;Mask</source>
        <translation>&amp;Máscara de archivos</translation>
    </message>
    <message>
        <source>Mask unwanted files &amp; folders</source>
        <translation>Ocultar los archivos y carpetas no deseados</translation>
    </message>
    <message>
        <source>File U&amp;nmask</source>
        <translation>&amp;Quitar máscara</translation>
    </message>
    <message>
        <source>Display complete tree of files &amp; folders</source>
        <translation>Mostrar el árbol completo de archivos y carpetas</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Seleccionar &amp;todo</translation>
    </message>
    <message>
        <source>Select all files &amp; folders</source>
        <translation>Seleccionar todos los archivos y carpetas</translation>
    </message>
    <message>
        <source>&amp;Unselect All</source>
        <translation>&amp;Anular selección</translation>
    </message>
    <message>
        <source>Unmark all</source>
        <translation>Anular toda la selección</translation>
    </message>
    <message>
        <source>&amp;Clear Log</source>
        <translation>&amp;Vaciar registro</translation>
    </message>
    <message>
        <source>Clear all contents of message log</source>
        <translation>Borrar todo el contenido del registro de mensajes</translation>
    </message>
    <message>
        <source>&amp;Save  Log</source>
        <translation>&amp;Guardar registro</translation>
    </message>
    <message>
        <source>Save Message log to  a file</source>
        <translation>Guardar el registro de mensajes en un archivo</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Barra de herramientas</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Mostrar u ocultar la barra de herramientas</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>Barra de &amp;estado</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Mostrar u ocultar la barra de estado</translation>
    </message>
    <message>
        <source>&amp;Message Log</source>
        <translation>Registro de &amp;mensajes</translation>
    </message>
    <message>
        <source>Show or hide process log</source>
        <translation>Mostrar u ocultar el registro de procesos</translation>
    </message>
    <message>
        <source>&amp;Go Up</source>
        <translation>&amp;Subir un nivel</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Subir</translation>
    </message>
    <message>
        <source>Large Icons</source>
        <translation>Iconos grandes</translation>
    </message>
    <message>
        <source>Display items by using large icons</source>
        <translation>Mostrar los elementos como iconos grandes</translation>
    </message>
    <message>
        <source>Small Icons</source>
        <translation>Iconos pequeños</translation>
    </message>
    <message>
        <source>Display items by using small icons</source>
        <translation>Mostrar los elementos como iconos pequeños</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Displays items in a list</source>
        <translation>Mostrar los elementos en una lista</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Detalles</translation>
    </message>
    <message>
        <source>Displays detailed information</source>
        <translation>Mostrar información detallada</translation>
    </message>
    <message>
        <source>By &amp;Name</source>
        <translation>Por &amp;nombre</translation>
    </message>
    <message>
        <source>Arrange right view on name</source>
        <translation>Ordenar la lista de archivos por nombre</translation>
    </message>
    <message>
        <source>By &amp;Type</source>
        <translation>Por &amp;tipo</translation>
    </message>
    <message>
        <source>Arrange right view on type</source>
        <translation>Ordenar la lista de archivos por tipo</translation>
    </message>
    <message>
        <source>By &amp;Size</source>
        <translation>Por t&amp;amaño</translation>
    </message>
    <message>
        <source>Arrange right view on size</source>
        <translation>Ordenar la lista de archivos por tamaño</translation>
    </message>
    <message>
        <source>By &amp;Date</source>
        <translation>Por &amp;fecha</translation>
    </message>
    <message>
        <source>Arrange right view on date</source>
        <translation>Ordenar la lista de archivos por fecha</translation>
    </message>
    <message>
        <source>&amp;English</source>
        <translation>&amp;Inglés</translation>
    </message>
    <message>
        <source>Change the current language to english </source>
        <translation>Cambiar el idioma de la interfaz a inglés </translation>
    </message>
    <message>
        <source>&amp;French</source>
        <translation>&amp;Francés</translation>
    </message>
    <message>
        <source>Change the current language to french</source>
        <translation>Cambiar el idioma de la interfaz a francés</translation>
    </message>
    <message>
        <source>&amp;German</source>
        <translation>&amp;Alemán</translation>
    </message>
    <message>
        <source>Change the current language to german</source>
        <translation>Cambiar el idioma de la interfaz a alemán</translation>
    </message>
    <message>
        <source>&amp;Spanish</source>
        <translation>&amp;Español</translation>
    </message>
    <message>
        <source>Change the current language to spanish</source>
        <translation>Cambiar el idioma de la interfaz a español</translation>
    </message>
    <message>
        <source>&amp;Italian</source>
        <translation>I&amp;taliano</translation>
    </message>
    <message>
        <source>Change the current language to italian</source>
        <translation>Cambiar el idioma de la interfaz a italiano</translation>
    </message>
    <message>
        <source>&amp;Help Topics</source>
        <translation>&amp;Temas de ayuda</translation>
    </message>
    <message>
        <source>List Help topics</source>
        <translation>Mostrar los temas de ayuda</translation>
    </message>
    <message>
        <source>Help Topics</source>
        <translation>Temas de ayuda</translation>
    </message>
    <message>
        <source>&amp;About Orvane Velmora CDROM </source>
        <translation>&amp;Acerca de Orvane Velmora CDROM </translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Mostrar la información del programa, el número de versión y el copyright</translation>
    </message>
    <message>
        <source>&amp;Names</source>
        <translation>&amp;Nombres</translation>
    </message>
    <message>
        <source>&amp;Automatic</source>
        <translation>&amp;Automático</translation>
    </message>
    <message>
        <source>Show the Rock Ridge names when the disc has them, else Joliet, else ISO 9660</source>
        <translation>Mostrar los nombres Rock Ridge si el disco los tiene; si no, Joliet; si no, ISO 9660</translation>
    </message>
    <message>
        <source>&amp;Rock Ridge</source>
        <translation>&amp;Rock Ridge</translation>
    </message>
    <message>
        <source>Show the Rock Ridge names of the disc</source>
        <translation>Mostrar los nombres Rock Ridge del disco</translation>
    </message>
    <message>
        <source>&amp;Joliet</source>
        <translation>&amp;Joliet</translation>
    </message>
    <message>
        <source>Show the Joliet names of the disc</source>
        <translation>Mostrar los nombres Joliet del disco</translation>
    </message>
    <message>
        <source>ISO 9660 &amp;Primary</source>
        <translation>ISO 9660 &amp;primario</translation>
    </message>
    <message>
        <source>Show the ISO 9660 names of the primary volume</source>
        <translation>Mostrar los nombres ISO 9660 del volumen primario</translation>
    </message>
</context>
<context>
    <name>DialogPrompts</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 ya existe.
¿Desea reemplazarlo?</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Activity</source>
        <translation>Actividad</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Estado</translation>
    </message>
    <message>
        <source>Total 0 Bytes in 0 Files in 0 Folders</source>
        <translation>Total: 0 bytes en 0 archivos en 0 carpetas</translation>
    </message>
    <message>
        <source>Marked 0 Bytes in 0 Files in 0 Folders</source>
        <translation>Selección: 0 bytes en 0 archivos en 0 carpetas</translation>
    </message>
    <message>
        <source>Orvane Velmora CDROM 2.0 </source>
        <translation>Orvane Velmora CDROM 2.0 </translation>
    </message>
    <message>
        <source>Saving files on to the same logical drive that contains your lost data</source>
        <translation>Guardar archivos en la misma unidad lógica que contiene los datos perdidos</translation>
    </message>
    <message>
        <source>can cause disk overwrite and result in permanent data loss</source>
        <translation>puede sobrescribirlos y provocar su pérdida definitiva</translation>
    </message>
    <message>
        <source>Can not exit</source>
        <translation>No se puede salir</translation>
    </message>
    <message>
        <source>Stop current operation before exiting Orvane Velmora CDROM</source>
        <translation>Detenga la operación en curso antes de salir de Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Insert CDROM To Start Process</source>
        <translation>Inserte un CD-ROM para iniciar el proceso</translation>
    </message>
    <message>
        <source>Root</source>
        <translation>Raíz</translation>
    </message>
    <message>
        <source>Entries Found</source>
        <translation>entradas encontradas</translation>
    </message>
    <message>
        <source>Reading..</source>
        <translation>Leyendo…</translation>
    </message>
    <message>
        <source>Select the Destination folder for Saving Files</source>
        <translation>Seleccione la carpeta de destino para guardar los archivos</translation>
    </message>
    <message>
        <source>Files Recovered</source>
        <translation>archivos recuperados</translation>
    </message>
    <message>
        <source>CD Image </source>
        <translation>Imagen de CD </translation>
    </message>
    <message>
        <source>Save Image to File</source>
        <translation>Guardar la imagen en un archivo</translation>
    </message>
    <message>
        <source>Image File(*.cd)</source>
        <translation>Archivo de imagen (*.cd)</translation>
    </message>
    <message>
        <source>Image File(*.cd)|*.cd||</source>
        <translation>Archivo de imagen (*.cd)|*.cd||</translation>
    </message>
    <message>
        <source>Open CDROM Image from</source>
        <translation>Abrir una imagen de CD-ROM</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Información</translation>
    </message>
    <message>
        <source>Creating Tree Structure</source>
        <translation>Creación de la estructura de árbol</translation>
    </message>
    <message>
        <source>Process Started</source>
        <translation>Proceso iniciado</translation>
    </message>
    <message>
        <source>Process Aborted</source>
        <translation>Proceso interrumpido</translation>
    </message>
    <message>
        <source>Process Completed</source>
        <translation>Proceso completado</translation>
    </message>
    <message>
        <source>Saving Files Process</source>
        <translation>Guardado de archivos</translation>
    </message>
    <message>
        <source>Recovering File</source>
        <translation>Recuperando el archivo</translation>
    </message>
    <message>
        <source>File Recovered Successfully</source>
        <translation>Archivo recuperado correctamente</translation>
    </message>
    <message>
        <source>File Recovered Partially</source>
        <translation>Archivo recuperado parcialmente</translation>
    </message>
    <message>
        <source>File Recoverey Failure</source>
        <translation>Error al recuperar el archivo</translation>
    </message>
    <message>
        <source>CD Image Creation</source>
        <translation>Creación de imagen de CD</translation>
    </message>
    <message>
        <source>Problem Reading Sector No.</source>
        <translation>Problema al leer el sector n.º</translation>
    </message>
    <message>
        <source>Unable to Read Sector No.</source>
        <translation>No se puede leer el sector n.º</translation>
    </message>
    <message>
        <source>Not a valid image file to open. </source>
        <translation>Este archivo no es una imagen válida. </translation>
    </message>
    <message>
        <source>No matching entry found in the directory tree displayed</source>
        <translation>No se ha encontrado ninguna entrada coincidente en el árbol de directorios mostrado</translation>
    </message>
    <message>
        <source>No more entries are available in the directory tree displayed</source>
        <translation>No hay más entradas en el árbol de directorios mostrado</translation>
    </message>
    <message>
        <source>CDROM not found / CDROM entirely corrupted</source>
        <translation>CD-ROM no encontrado / CD-ROM totalmente dañado</translation>
    </message>
    <message>
        <source>Unable to create/Open file for storing image</source>
        <translation>No se puede crear o abrir el archivo para guardar la imagen</translation>
    </message>
    <message>
        <source>Unable to Open Image File</source>
        <translation>No se puede abrir el archivo de imagen</translation>
    </message>
    <message>
        <source>Error creating file, disk may be write protected</source>
        <translation>Error al crear el archivo; es posible que el disco esté protegido contra escritura</translation>
    </message>
    <message>
        <source>Orvane Velmora CDROM log</source>
        <translation>Registro de Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Save Log To File</source>
        <translation>Guardar el registro en un archivo</translation>
    </message>
    <message>
        <source>Text Document</source>
        <translation>Documento de texto</translation>
    </message>
    <message>
        <source>Message Log Report of Orvane Velmora CDROM</source>
        <translation>Informe del registro de mensajes de Orvane Velmora CDROM</translation>
    </message>
    <message>
        <source>Reading Sector</source>
        <translation>Leyendo el sector</translation>
    </message>
    <message>
        <source>This process cannot be resumed from current state and has to be restarted</source>
        <translation>Este proceso no se podrá reanudar desde el punto actual y tendrá que empezar de nuevo</translation>
    </message>
    <message>
        <source>Stop current process ?</source>
        <translation>¿Detener el proceso actual?</translation>
    </message>
    <message>
        <source>Total </source>
        <translation>Total: </translation>
    </message>
    <message>
        <source>Bytes in</source>
        <translation>bytes en</translation>
    </message>
    <message>
        <source>Files in</source>
        <translation>archivos en</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>carpetas</translation>
    </message>
    <message>
        <source>Marked</source>
        <translation>Selección:</translation>
    </message>
    <message>
        <source>KB in</source>
        <translation>KB en</translation>
    </message>
    <message>
        <source>MB in</source>
        <translation>MB en</translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>GB in</source>
        <translation>GB en</translation>
    </message>
    <message>
        <source>Dir</source>
        <translation>Carpeta</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Recover Selected</source>
        <translation>Recuperar la selección</translation>
    </message>
    <message>
        <source>Recover All</source>
        <translation>Recuperar todo</translation>
    </message>
    <message>
        <source>View Large Icons</source>
        <translation>Iconos grandes</translation>
    </message>
    <message>
        <source>View Small Icons</source>
        <translation>Iconos pequeños</translation>
    </message>
    <message>
        <source>List</source>
        <translation>Lista</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Detalles</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipo</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Tamaño</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>File ID</source>
        <translation>ID de archivo</translation>
    </message>
    <message>
        <source>Parent ID</source>
        <translation>ID del padre</translation>
    </message>
    <message>
        <source>Copyright (C) 2026 Orvane Information Systems Ltd.</source>
        <translation>Copyright (C) 2026 Orvane Information Systems Ltd.</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.</source>
        <translation>Software libre bajo la Licencia Pública General de GNU, versión 3 o posterior.</translation>
    </message>
    <message>
        <source>Folder could not be read</source>
        <translation>No se pudo leer la carpeta</translation>
    </message>
    <message>
        <source>Folder read in part</source>
        <translation>Carpeta leída solo en parte</translation>
    </message>
    <message>
        <source>Folder holds no directory records</source>
        <translation>La carpeta no contiene registros de directorio</translation>
    </message>
    <message>
        <source>Folder lies past the end of the disc</source>
        <translation>La carpeta está más allá del final del disco</translation>
    </message>
    <message>
        <source>The disc holds no files</source>
        <translation>El disco no contiene archivos</translation>
    </message>
    <message>
        <source>Recording times with an offset from GMT out of range, taken as GMT:</source>
        <translation>Fechas de grabación con un desfase respecto a GMT fuera de rango, leídas como GMT:</translation>
    </message>
    <message>
        <source>The Joliet tree could not be read; reading the ISO 9660 tree</source>
        <translation>No se pudo leer el árbol Joliet; se lee el árbol ISO 9660</translation>
    </message>
    <message>
        <source>The file system tree could not be read; searching the sectors</source>
        <translation>No se pudo leer el árbol del sistema de archivos; se examinan los sectores</translation>
    </message>
    <message>
        <source>sector</source>
        <translation>sector</translation>
    </message>
    <message>
        <source>Entries taken from the ISO 9660 tree</source>
        <translation>Entradas tomadas del árbol ISO 9660</translation>
    </message>
    <message>
        <source>Names added from the ISO 9660 tree:</source>
        <translation>Nombres añadidos desde el árbol ISO 9660:</translation>
    </message>
    <message>
        <source>Entries taken from the Joliet tree</source>
        <translation>Entradas tomadas del árbol Joliet</translation>
    </message>
    <message>
        <source>Folder record points at a volume descriptor</source>
        <translation>El registro de la carpeta apunta a un descriptor de volumen</translation>
    </message>
    <message>
        <source>The sessions of the track list overlap; each file is listed under the first session that holds it</source>
        <translation>Las sesiones de la lista de pistas se solapan; cada archivo se lista en la primera sesión que lo contiene</translation>
    </message>
    <message>
        <source>The root folder did not read: Rock Ridge names, links and modes, if the disc has them, could not be read</source>
        <translation>La carpeta raíz no se pudo leer: los nombres, enlaces y modos Rock Ridge, si el disco los tiene, no se pudieron leer</translation>
    </message>
    <message>
        <source>Names shown: Rock Ridge</source>
        <translation>Nombres mostrados: Rock Ridge</translation>
    </message>
    <message>
        <source>Names shown: Joliet</source>
        <translation>Nombres mostrados: Joliet</translation>
    </message>
    <message>
        <source>Names shown: ISO 9660</source>
        <translation>Nombres mostrados: ISO 9660</translation>
    </message>
    <message>
        <source>Damaged Rock Ridge entries; shown under a safe name</source>
        <translation>Entradas Rock Ridge dañadas; se muestra con un nombre seguro</translation>
    </message>
    <message>
        <source>A relocated folder points back up the tree; not walked again</source>
        <translation>Una carpeta reubicada apunta hacia arriba en el árbol; no se recorre de nuevo</translation>
    </message>
    <message>
        <source>Symbolic Link Created</source>
        <translation>Enlace simbólico creado</translation>
    </message>
    <message>
        <source>Sessions found by their volume descriptors, one after another:</source>
        <translation>Sesiones encontradas por sus descriptores de volumen, una tras otra:</translation>
    </message>
    <message>
        <source>Sessions found by their volume descriptors, the newest also at sector 16:</source>
        <translation>Sesiones encontradas por sus descriptores de volumen, la más reciente también en el sector 16:</translation>
    </message>
    <message>
        <source>A session runs past the end of the image; read as far as it goes:</source>
        <translation>Una sesión va más allá del final de la imagen; leída hasta donde llega:</translation>
    </message>
    <message>
        <source>Volume descriptors not taken as a session (their root folder lies outside their volume):</source>
        <translation>Descriptores de volumen no tomados como sesión (su carpeta raíz está fuera de su volumen):</translation>
    </message>
    <message>
        <source>More sessions than a disc holds; the sessions after the 99th are not read</source>
        <translation>Más sesiones de las que caben en un disco; las sesiones después de la 99.ª no se leen</translation>
    </message>
    <message>
        <source>Primary volume descriptor damaged; the session was found from its supplementary descriptor (its names only):</source>
        <translation>Descriptor de volumen primario dañado; la sesión se encontró por su descriptor suplementario (solo sus nombres):</translation>
    </message>
    <message>
        <source>Relocated folder not reached from its real place; shown where it was moved</source>
        <translation>Carpeta reubicada no alcanzada desde su lugar real; se muestra donde fue movida</translation>
    </message>
    <message>
        <source>%1 does not exist</source>
        <translation>%1 no existe</translation>
    </message>
    <message>
        <source>%1: no disc in the drive</source>
        <translation>%1: no hay ningún disco en la unidad</translation>
    </message>
    <message>
        <source>%1: %2; the user needs read access to the device (for example membership in the cdrom group)</source>
        <translation>%1: %2; el usuario necesita permiso de lectura sobre el dispositivo (por ejemplo, pertenecer al grupo cdrom)</translation>
    </message>
    <message>
        <source>%1: %2; check the file&apos;s permissions</source>
        <translation>%1: %2; compruebe los permisos del archivo</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1: the image&apos;s track list is damaged</source>
        <translation>%1: la lista de pistas de la imagen está dañada</translation>
    </message>
    <message>
        <source>%1: the image holds no sector, only its track list</source>
        <translation>%1: la imagen no contiene ningún sector, solo su lista de pistas</translation>
    </message>
    <message>
        <source>%1: every session of the image&apos;s track list lies past its %2 sectors</source>
        <translation>%1: todas las sesiones de la lista de pistas quedan más allá de los %2 sectores de la imagen</translation>
    </message>
    <message>
        <source>%1: the image&apos;s track list names sectors past its %2 sectors; %3 session(s) cut to the image</source>
        <translation>%1: la lista de pistas nombra sectores más allá de los %2 sectores de la imagen; %3 sesión(es) recortada(s) a la imagen</translation>
    </message>
    <message>
        <source>%1: in the image&apos;s track list %2 session(s) end before they start, read up to the next session or the image&apos;s end</source>
        <translation>%1: en la lista de pistas %2 sesión(es) terminan antes de empezar; leídas hasta la sesión siguiente o el final de la imagen</translation>
    </message>
    <message>
        <source>%1; %2 session(s) end before they start, read up to the next session or the image&apos;s end</source>
        <translation>%1; %2 sesión(es) terminan antes de empezar; leídas hasta la sesión siguiente o el final de la imagen</translation>
    </message>
    <message>
        <source>%1: not a disc image (no image trailer and no ISO 9660 volume descriptor)</source>
        <translation>%1: no es una imagen de disco (ni bloque final de imagen ni descriptor de volumen ISO 9660)</translation>
    </message>
    <message>
        <source>%1: no image trailer, no volume descriptor, and no directory found</source>
        <translation>%1: no se encontró ni bloque final de imagen, ni descriptor de volumen, ni directorio</translation>
    </message>
    <message>
        <source>%1: the image&apos;s last block is not a whole track list (damaged or cut); read as a plain image</source>
        <translation>%1: el último bloque de la imagen no es una lista de pistas completa (dañada o cortada); leída como imagen simple</translation>
    </message>
    <message>
        <source>%1: the image&apos;s last block is not a whole track list (damaged or cut); read as a plain image of one session</source>
        <translation>%1: el último bloque de la imagen no es una lista de pistas completa (dañada o cortada); leída como imagen simple de una sesión</translation>
    </message>
    <message>
        <source>cannot create the image %1: %2</source>
        <translation>no se puede crear la imagen %1: %2</translation>
    </message>
    <message>
        <source>cannot write the image %1 after %2 sectors: %3</source>
        <translation>no se puede escribir la imagen %1 después de %2 sectores: %3</translation>
    </message>
    <message>
        <source>%1: the size of the file is unknown</source>
        <translation>%1: el tamaño del archivo es desconocido</translation>
    </message>
    <message>
        <source>%1: the file ended early</source>
        <translation>%1: el archivo terminó antes de tiempo</translation>
    </message>
    <message>
        <source>%1: the track list in the image&apos;s last block is damaged</source>
        <translation>%1: la lista de pistas del último bloque de la imagen está dañada</translation>
    </message>
    <message>
        <source>The image&apos;s map gives %1 bytes in %2 areas as never read; they are taken as unreadable</source>
        <translation>El mapa de la imagen indica %1 bytes en %2 zonas como nunca leídos; se tratan como ilegibles</translation>
    </message>
    <message>
        <source>%1: %2; the image&apos;s map cannot be read (move it away to read every block as data)</source>
        <translation>%1: %2; no se puede leer el mapa de la imagen (muévalo a otra parte para leer cada bloque como datos)</translation>
    </message>
    <message>
        <source>%1: line %2 is not a line of a mapfile; the image&apos;s map is damaged (move it away to read every block as data)</source>
        <translation>%1: la línea %2 no es una línea de un mapfile; el mapa de la imagen está dañado (muévalo a otra parte para leer cada bloque como datos)</translation>
    </message>
    <message>
        <source>too large for a map</source>
        <translation>demasiado grande para un mapa</translation>
    </message>
    <message>
        <source>%1: not a ddrescue mapfile (line %2)</source>
        <translation>%1: no es un mapfile de ddrescue (línea %2)</translation>
    </message>
    <message>
        <source>cannot write the map of the image %1: %2</source>
        <translation>no se puede escribir el mapa de la imagen %1: %2</translation>
    </message>
    <message>
        <source>%1 files saved in %2 folders</source>
        <translation>%1 archivos guardados en %2 carpetas</translation>
    </message>
    <message>
        <source>%1 file saved in %2 folders</source>
        <translation>%1 archivo guardado en %2 carpetas</translation>
    </message>
    <message>
        <source>%1 files saved in %2 folder</source>
        <translation>%1 archivos guardados en %2 carpeta</translation>
    </message>
    <message>
        <source>%1 file saved in %2 folder</source>
        <translation>%1 archivo guardado en %2 carpeta</translation>
    </message>
    <message>
        <source>Files read only in part (the bytes not read are zeros): %1</source>
        <translation>Archivos leídos solo en parte (los bytes no leídos son ceros): %1</translation>
    </message>
    <message>
        <source>Files not recovered: %1</source>
        <translation>Archivos no recuperados: %1</translation>
    </message>
    <message>
        <source>Files cut short when the process was stopped: %1</source>
        <translation>Archivos incompletos al detener el proceso: %1</translation>
    </message>
    <message>
        <source>Process Completed with Errors</source>
        <translation>Proceso completado con errores</translation>
    </message>
    <message>
        <source>Bytes not read (zeros in the file): %1</source>
        <translation>Bytes no leídos (ceros en el archivo): %1</translation>
    </message>
    <message>
        <source>%1 and %2 more ranges</source>
        <translation>%1 y %2 rangos más</translation>
    </message>
    <message>
        <source>Rescue Imaging</source>
        <translation>Imagen de rescate</translation>
    </message>
    <message>
        <source>Resumed from the map beside the image: %1 bytes were read before</source>
        <translation>Reanudado desde el mapa junto a la imagen: ya se habían leído %1 bytes</translation>
    </message>
    <message>
        <source>Pass %1 (%2) done: %3 bytes rescued, %4 bytes bad in %5 areas, %6 bytes left to try</source>
        <translation>Pasada %1 (%2) terminada: %3 bytes rescatados, %4 bytes ilegibles en %5 zonas, quedan %6 bytes por intentar</translation>
    </message>
    <message>
        <source>what matters first</source>
        <translation>lo importante primero</translation>
    </message>
    <message>
        <source>copying</source>
        <translation>copia</translation>
    </message>
    <message>
        <source>trimming</source>
        <translation>recorte</translation>
    </message>
    <message>
        <source>scraping</source>
        <translation>raspado</translation>
    </message>
    <message>
        <source>retrying</source>
        <translation>reintento</translation>
    </message>
    <message>
        <source>merging</source>
        <translation>fusión</translation>
    </message>
    <message>
        <source>%1 has no map beside it: there is nothing to merge into</source>
        <translation>%1 no tiene mapa al lado: no hay nada en que fusionar</translation>
    </message>
    <message>
        <source>%1 and its map are of another disc (the size, the track list or the primary volume descriptor differ)</source>
        <translation>%1 y su mapa son de otro disco (difieren el tamaño, la lista de pistas o el descriptor de volumen primario)</translation>
    </message>
    <message>
        <source>%1: the primary volume descriptor does not read in both copies, so they cannot be told to be of one disc</source>
        <translation>%1: el descriptor de volumen primario no se lee en ambas copias, así que no se puede saber si son del mismo disco</translation>
    </message>
    <message>
        <source>Rescue (several passes) (*.cd)</source>
        <translation>Rescate (varias pasadas) (*.cd)</translation>
    </message>
    <message>
        <source>Drive:</source>
        <translation>Unidad:</translation>
    </message>
    <message>
        <source>firmware</source>
        <translation>firmware</translation>
    </message>
    <message>
        <source>Waiting for the drive to become ready</source>
        <translation>Esperando a que la unidad esté lista</translation>
    </message>
    <message>
        <source>The drive did not become ready in time; reading all the same</source>
        <translation>La unidad no estuvo lista a tiempo; se lee de todos modos</translation>
    </message>
    <message>
        <source>No disc in the drive. Insert a disc and try again</source>
        <translation>No hay ningún disco en la unidad. Inserte un disco y vuelva a intentarlo</translation>
    </message>
    <message>
        <source>The disc in the drive was changed. The process stopped; nothing of the other disc was read</source>
        <translation>Se cambió el disco de la unidad. El proceso se detuvo; no se leyó nada del otro disco</translation>
    </message>
    <message>
        <source>The drive is no longer there (unplugged or off the bus). The process stopped; what was saved is kept</source>
        <translation>La unidad ya no está (desconectada o fuera del bus). El proceso se detuvo; lo guardado se conserva</translation>
    </message>
    <message>
        <source>The drive did not answer in time (time-out)</source>
        <translation>La unidad no respondió a tiempo (tiempo agotado)</translation>
    </message>
    <message>
        <source>The drive refuses READ CD; reading with READ(10)</source>
        <translation>La unidad rechaza READ CD; se lee con READ(10)</translation>
    </message>
    <message>
        <source>Sense</source>
        <translation>Código de error</translation>
    </message>
    <message>
        <source>Not ready</source>
        <translation>No preparada</translation>
    </message>
    <message>
        <source>Medium error</source>
        <translation>Error del soporte</translation>
    </message>
    <message>
        <source>Hardware error</source>
        <translation>Error de hardware</translation>
    </message>
    <message>
        <source>Illegal request</source>
        <translation>Solicitud no válida</translation>
    </message>
    <message>
        <source>Unit attention</source>
        <translation>Aviso de la unidad</translation>
    </message>
    <message>
        <source>Aborted command</source>
        <translation>Orden cancelada</translation>
    </message>
    <message>
        <source>unrecovered read error</source>
        <translation>error de lectura no recuperado</translation>
    </message>
    <message>
        <source>L-EC uncorrectable error</source>
        <translation>error no corregible por L-EC</translation>
    </message>
    <message>
        <source>CIRC unrecovered error</source>
        <translation>error no recuperado por CIRC</translation>
    </message>
    <message>
        <source>no seek complete</source>
        <translation>búsqueda no completada</translation>
    </message>
    <message>
        <source>becoming ready</source>
        <translation>preparándose</translation>
    </message>
    <message>
        <source>medium not present</source>
        <translation>soporte ausente</translation>
    </message>
    <message>
        <source>logical block address out of range</source>
        <translation>dirección de bloque lógico fuera de rango</translation>
    </message>
    <message>
        <source>illegal mode for this track</source>
        <translation>modo no permitido para esta pista</translation>
    </message>
    <message>
        <source>invalid command operation code</source>
        <translation>código de operación de orden no válido</translation>
    </message>
    <message>
        <source>medium may have changed</source>
        <translation>es posible que el soporte haya cambiado</translation>
    </message>
    <message>
        <source>power on or reset occurred</source>
        <translation>encendido o reinicio</translation>
    </message>
    <message>
        <source>invalid field in command</source>
        <translation>campo no válido en la orden</translation>
    </message>
    <message>
        <source>Marked for recovery</source>
        <translation>Marcado para recuperar</translation>
    </message>
    <message>
        <source>Partly marked for recovery</source>
        <translation>Marcado en parte para recuperar</translation>
    </message>
    <message>
        <source>Not marked for recovery</source>
        <translation>No marcado para recuperar</translation>
    </message>
    <message>
        <source>%1 of %2 %3</source>
        <translation>%1 de %2 %3</translation>
    </message>
    <message>
        <source>%1 of %2 %3, %4</source>
        <translation>%1 de %2 %3, %4</translation>
    </message>
    <message>
        <source>%1 of %2 %3, %4, %5 left</source>
        <translation>%1 de %2 %3, %4, quedan %5</translation>
    </message>
    <message>
        <source>bytes</source>
        <translation>bytes</translation>
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
        <translation>Pasada %1 (%2): %3 zonas ilegibles</translation>
    </message>
</context>
<context>
    <name>velmora::gui::AboutLink</name>
    <message>
        <source>Link</source>
        <translation>Vínculo</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CAboutDialog</name>
    <message>
        <source>About %1</source>
        <translation>Acerca de %1</translation>
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
        <translation>Añadir filtro de archivos</translation>
    </message>
    <message>
        <source>Enter Filter Basis</source>
        <translation>Introduzca el criterio de filtrado</translation>
    </message>
    <message>
        <source>Add To List</source>
        <translation>Añadir a la lista</translation>
    </message>
    <message>
        <source>Include</source>
        <translation>Incluir</translation>
    </message>
    <message>
        <source>Exclude</source>
        <translation>Excluir</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFileMaskDialog</name>
    <message>
        <source>File Mask</source>
        <translation>Máscara de archivos</translation>
    </message>
    <message>
        <source>Set Mask</source>
        <translation>Definir la máscara</translation>
    </message>
    <message>
        <source>A File mask delimited with semi-colons.</source>
        <translation>Máscaras de archivo separadas por punto y coma.</translation>
    </message>
    <message>
        <source>Files of Type:</source>
        <translation>Archivos de tipo:</translation>
    </message>
    <message>
        <source>&amp;Match Case</source>
        <translation>Coincidir &amp;mayúsculas y minúsculas</translation>
    </message>
    <message>
        <source>&amp;Existing Files</source>
        <translation>Archivos &amp;existentes</translation>
    </message>
    <message>
        <source>Size from</source>
        <translation>Tamaño desde</translation>
    </message>
    <message>
        <source>upto</source>
        <translation>hasta</translation>
    </message>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Fecha</translation>
    </message>
    <message>
        <source>in the last</source>
        <translation>en los últimos</translation>
    </message>
    <message>
        <source>months</source>
        <translation>meses</translation>
    </message>
    <message>
        <source>days</source>
        <translation>días</translation>
    </message>
    <message>
        <source>between</source>
        <translation>entre el</translation>
    </message>
    <message>
        <source>and</source>
        <translation>y el</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CFindDialog</name>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Match Case</source>
        <translation>Coincidir mayúsculas y minúsculas</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CMainFrame</name>
    <message>
        <source>Folders</source>
        <translation>Carpetas</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>Archivos</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barra de herramientas</translation>
    </message>
    <message>
        <source>Prompt and progress</source>
        <translation>Mensaje y progreso</translation>
    </message>
    <message>
        <source>Disc totals</source>
        <translation>Totales del disco</translation>
    </message>
    <message>
        <source>Marked totals</source>
        <translation>Totales de la selección</translation>
    </message>
    <message>
        <source>Scroll Lock</source>
        <translation>Bloq Despl</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Message Log</source>
        <translation>Registro de mensajes</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CMessageLogDialog</name>
    <message>
        <source>Message Log</source>
        <translation>Registro de mensajes</translation>
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
        <translation>Ya existe un archivo de imagen con ese nombre. ¿Desea sobrescribirlo?</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Sobrescribir</translation>
    </message>
</context>
<context>
    <name>velmora::gui::CSelectDriveDlg</name>
    <message>
        <source>Select CD Drive</source>
        <translation>Seleccionar la unidad de CD</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
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
        <translation>Sí</translation>
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
        <translation>Espere, por favor; el proceso puede tardar un poco…</translation>
    </message>
</context>
<context>
    <name>velmora::gui::HelpWindow</name>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Adelante</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Contenido</translation>
    </message>
    <message>
        <source>%1 Help</source>
        <translation>Ayuda de %1</translation>
    </message>
    <message>
        <source>&lt;p&gt;The help file &lt;b&gt;%1&lt;/b&gt; cannot be found.&lt;/p&gt;</source>
        <translation>&lt;p&gt;No se encuentra el archivo de ayuda &lt;b&gt;%1&lt;/b&gt;.&lt;/p&gt;</translation>
    </message>
</context>
</TS>
