<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>CommandLine</name>
    <message>
        <source>Edit plain-text and HTML files with reusable templates, from the notification area.
A quorpad that is already running opens FILE itself and comes to the front.</source>
        <translation>Edita archivos de texto plano y HTML con plantillas reutilizables, desde el área de notificación.
Si ya hay un quorpad en ejecución, este abre FILE y pasa a primer plano.</translation>
    </message>
    <message>
        <source>Print this help and end.</source>
        <translation>Muestra esta ayuda y termina.</translation>
    </message>
    <message>
        <source>Print the program&apos;s and the template engine&apos;s versions and end.</source>
        <translation>Muestra las versiones del programa y del motor de plantillas y termina.</translation>
    </message>
    <message>
        <source>Start a quorpad of its own even when one is running already.</source>
        <translation>Inicia un quorpad propio aunque ya haya uno en ejecución.</translation>
    </message>
    <message>
        <source>Print the names of the templates, one a line, in the store&apos;s order.</source>
        <translation>Muestra los nombres de las plantillas, uno por línea, en el orden del almacén.</translation>
    </message>
    <message>
        <source>Put the text of the template NAME on the clipboard, where the running quorpad keeps it for other programs.</source>
        <translation>Pone el texto de la plantilla NAME en el portapapeles, donde el quorpad en ejecución lo mantiene para otros programas.</translation>
    </message>
    <message>
        <source>Show the template picker as a small window of its own (for a desktop shortcut); the template chosen goes on the clipboard and is pasted into the window that had the keyboard.</source>
        <translation>Muestra el selector de plantillas como una pequeña ventana propia (para un atajo del escritorio); la plantilla elegida va al portapapeles y se pega en la ventana que tenía el foco del teclado.</translation>
    </message>
    <message>
        <source>With --pick: the key that pastes, such as ctrl+shift+v or shift+Insert for a terminal (ctrl+v unless given).</source>
        <translation>Con --pick: la tecla que pega, como ctrl+shift+v o shift+Insert para un terminal (ctrl+v si no se indica).</translation>
    </message>
    <message>
        <source>With --pick: only put the template on the clipboard.</source>
        <translation>Con --pick: solo pone la plantilla en el portapapeles.</translation>
    </message>
    <message>
        <source>The file to open (a text or HTML file).</source>
        <translation>El archivo que se abrirá (un archivo de texto o HTML).</translation>
    </message>
    <message>
        <source>--pick cannot be given with --%1</source>
        <translation>--pick no se puede indicar con --%1</translation>
    </message>
    <message>
        <source>--pick takes no file</source>
        <translation>--pick no admite ningún archivo</translation>
    </message>
    <message>
        <source>--paste-key is given once, and not with --no-paste</source>
        <translation>--paste-key se indica una sola vez, y no con --no-paste</translation>
    </message>
    <message>
        <source>--paste-key %1: %2</source>
        <translation>--paste-key %1: %2</translation>
    </message>
    <message>
        <source>--%1 goes with --pick</source>
        <translation>--%1 solo se usa con --pick</translation>
    </message>
    <message>
        <source>--list and --copy cannot be given together</source>
        <translation>--list y --copy no se pueden indicar juntos</translation>
    </message>
    <message>
        <source>--copy takes one template</source>
        <translation>--copy admite una sola plantilla</translation>
    </message>
    <message>
        <source>--%1 takes no file</source>
        <translation>--%1 no admite ningún archivo</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>reading line %1</source>
        <translation>leyendo la línea %1</translation>
    </message>
    <message>
        <source>“%1” (U+%2) is not in Windows-1252: the file will be saved as UTF-8.</source>
        <translation>«%1» (U+%2) no está en Windows-1252: el archivo se guardará como UTF-8.</translation>
    </message>
    <message>
        <source>Do you wish to save this file:<byte value="xd"/>
%1</source>
        <translation>¿Desea guardar este archivo?<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Guardando</translation>
    </message>
    <message>
        <source>The save was stopped before it ended.</source>
        <translation>El guardado se detuvo antes de terminar.</translation>
    </message>
    <message>
        <source>The text changed while it was written; save it again.</source>
        <translation>El texto cambió mientras se escribía; guárdelo de nuevo.</translation>
    </message>
    <message>
        <source>Could not save the file</source>
        <translation>No se pudo guardar el archivo</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Guardar archivo</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Abrir archivo</translation>
    </message>
    <message>
        <source>opening %1...</source>
        <translation>abriendo %1...</translation>
    </message>
    <message>
        <source>Could not open the file</source>
        <translation>No se pudo abrir el archivo</translation>
    </message>
    <message>
        <source>Opening</source>
        <translation>Abriendo</translation>
    </message>
    <message>
        <source>Opening (read-only until whole)</source>
        <translation>Abriendo (solo lectura hasta completarse)</translation>
    </message>
    <message>
        <source>saving %1...</source>
        <translation>guardando %1...</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sin título</translation>
    </message>
</context>
<context>
    <name>DocumentFile</name>
    <message>
        <source>It holds binary data (a NUL byte at offset %1), not text: quorpad opens text files only, and saving it would change it.</source>
        <translation>Contiene datos binarios (un byte NUL en la posición %1), no texto: quorpad solo abre archivos de texto, y guardarlo lo modificaría.</translation>
    </message>
    <message>
        <source>It holds binary data (control bytes), not text: quorpad opens text files only, and saving it would change it.</source>
        <translation>Contiene datos binarios (bytes de control), no texto: quorpad solo abre archivos de texto, y guardarlo lo modificaría.</translation>
    </message>
</context>
<context>
    <name>DocumentPanels</name>
    <message>
        <source>Format notice</source>
        <translation>Aviso de formato</translation>
    </message>
    <message>
        <source>Caret position</source>
        <translation>Posición del cursor</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Codificación</translation>
    </message>
    <message>
        <source>The encoding the next save writes. Click or press Ctrl+E in the document to choose.</source>
        <translation>La codificación con la que se guardará. Haga clic o pulse Ctrl+E en el documento para elegirla.</translation>
    </message>
    <message>
        <source>LF (Linux, macOS)</source>
        <translation>LF (Linux, macOS)</translation>
    </message>
    <message>
        <source>CRLF (Windows)</source>
        <translation>CRLF (Windows)</translation>
    </message>
    <message>
        <source>Line ends</source>
        <translation>Finales de línea</translation>
    </message>
    <message>
        <source>The line ends the next save writes. Click or press Ctrl+L in the document to choose.</source>
        <translation>Los finales de línea con los que se guardará. Haga clic o pulse Ctrl+L en el documento para elegirlos.</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Cambios sin guardar</translation>
    </message>
    <message>
        <source>Work under way</source>
        <translation>Trabajo en curso</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Stops the work and leaves everything as it was (Escape).</source>
        <translation>Detiene el trabajo y deja todo como estaba (Esc).</translation>
    </message>
    <message>
        <source>Ln %1, Col %2</source>
        <translation>Lín %1, col %2</translation>
    </message>
    <message>
        <source>Mixed</source>
        <translation>Mixtos</translation>
    </message>
    <message>
        <source>Unsaved</source>
        <translation>Sin guardar</translation>
    </message>
    <message>
        <source>%1...</source>
        <translation>%1...</translation>
    </message>
    <message>
        <source>%1... %2%</source>
        <translation>%1... %2%</translation>
    </message>
    <message>
        <source>The text has characters that Windows-1252 lacks.</source>
        <translation>El texto tiene caracteres que no existen en Windows-1252.</translation>
    </message>
</context>
<context>
    <name>EngineError</name>
    <message>
        <source>Overflow</source>
        <translation>Desbordamiento</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>No coinciden los tipos</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>No se encontró el archivo</translation>
    </message>
    <message>
        <source>Device I/O error</source>
        <translation>Error de E/S del dispositivo</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Disco lleno</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permiso denegado</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Error de acceso a ruta o archivo</translation>
    </message>
    <message>
        <source>Object doesn&apos;t support this property or method</source>
        <translation>El objeto no admite esta propiedad o método</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Error definido por la aplicación o por el objeto</translation>
    </message>
</context>
<context>
    <name>EngineRefusal</name>
    <message>
        <source>A template name cannot contain the control character 0x04: it separates a template&apos;s name from its value in the store.</source>
        <translation>El nombre de una plantilla no puede contener el carácter de control 0x04: separa en el almacén el nombre de una plantilla de su valor.</translation>
    </message>
    <message>
        <source>A template name cannot be longer than 32767 characters.</source>
        <translation>El nombre de una plantilla no puede tener más de 32767 caracteres.</translation>
    </message>
    <message>
        <source>A template with the same text is stored already.</source>
        <translation>Ya hay guardada una plantilla con el mismo texto.</translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>unknown error</source>
        <translation>error desconocido</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>No match</source>
        <translation>Sin coincidencias</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Searched for as you type. Enter finds the next match, Shift+Enter the previous one, Escape closes the bar.</source>
        <translation>Se busca mientras escribe. Intro busca la coincidencia siguiente, Mayús+Intro la anterior y Esc cierra la barra.</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Anterior</translation>
    </message>
    <message>
        <source>The previous match (Shift+F3).</source>
        <translation>La coincidencia anterior (Mayús+F3).</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Siguiente</translation>
    </message>
    <message>
        <source>The next match (F3).</source>
        <translation>La coincidencia siguiente (F3).</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Coincidir mayúsculas y minúsculas</translation>
    </message>
    <message>
        <source>Whole words</source>
        <translation>Palabras completas</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Expresión regular</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Closes the bar (Escape).</source>
        <translation>Cierra la barra (Esc).</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Reemplazar con</translation>
    </message>
    <message>
        <source>Enter replaces the selected match and finds the next; Ctrl+Enter replaces every match.</source>
        <translation>Intro reemplaza la coincidencia seleccionada y busca la siguiente; Ctrl+Intro reemplaza todas las coincidencias.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>Replaces the selected match and finds the next.</source>
        <translation>Reemplaza la coincidencia seleccionada y busca la siguiente.</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Reemplazar todo</translation>
    </message>
    <message>
        <source>Replaces every match, as one step for Undo.</source>
        <translation>Reemplaza todas las coincidencias, en un solo paso para Deshacer.</translation>
    </message>
    <message>
        <source>Find status</source>
        <translation>Estado de la búsqueda</translation>
    </message>
    <message>
        <source>Not a regular expression: %1 (at character %2)</source>
        <translation>Expresión regular no válida: %1 (en el carácter %2)</translation>
    </message>
    <message>
        <source>Not found.</source>
        <translation>No se encontró.</translation>
    </message>
    <message>
        <source>Search wrapped around the end.</source>
        <translation>Se llegó al final; la búsqueda continúa desde el principio.</translation>
    </message>
    <message>
        <source>Search wrapped around the start.</source>
        <translation>Se llegó al principio; la búsqueda continúa desde el final.</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Buscando</translation>
    </message>
    <message>
        <source>Replacing</source>
        <translation>Reemplazando</translation>
    </message>
    <message>
        <source>Replace All stopped part-way: the document changed meanwhile.</source>
        <translation>Reemplazar todo se detuvo a medias: el documento cambió mientras tanto.</translation>
    </message>
    <message>
        <source>Nothing was replaced: the document changed meanwhile.</source>
        <translation>No se reemplazó nada: el documento cambió mientras tanto.</translation>
    </message>
    <message>
        <source>Nothing was replaced: %1</source>
        <translation>No se reemplazó nada: %1</translation>
    </message>
    <message numerus="yes">
        <source>Replaced %n match(es).</source>
        <translation>
            <numerusform>Se reemplazó %n coincidencia.</numerusform>
            <numerusform>Se reemplazaron %n coincidencias.</numerusform>
        </translation>
    </message>
    <message>
        <source>Counting</source>
        <translation>Contando</translation>
    </message>
    <message>
        <source>The expression is too complex to search this text.</source>
        <translation>La expresión es demasiado compleja para buscar en este texto.</translation>
    </message>
    <message numerus="yes">
        <source>%n match(es)</source>
        <translation>
            <numerusform>%n coincidencia</numerusform>
            <numerusform>%n coincidencias</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HandOver</name>
    <message>
        <source>Could not open the file %1

%2</source>
        <translation>No se pudo abrir el archivo %1

%2</translation>
    </message>
    <message>
        <source>the main window could not be loaded: </source>
        <translation>no se pudo cargar la ventana principal: </translation>
    </message>
    <message>
        <source>quorpad: edits one file at a time; opened %1, left out: %2
</source>
        <translation>quorpad: edita un archivo cada vez; se abrió %1 y se omitió el resto: %2
</translation>
    </message>
</context>
<context>
    <name>ImportJob</name>
    <message>
        <source>Reading %1</source>
        <translation>Leyendo %1</translation>
    </message>
    <message>
        <source>%1. Nothing was imported.</source>
        <translation>%1. No se importó nada.</translation>
    </message>
    <message>
        <source>Importing %1</source>
        <translation>Importando %1</translation>
    </message>
</context>
<context>
    <name>LeftCopy</name>
    <message>
        <source>There is not enough memory to read it.</source>
        <translation>No hay memoria suficiente para la lectura.</translation>
    </message>
</context>
<context>
    <name>LongJob</name>
    <message>
        <source>Reading the clipboard</source>
        <translation>Leyendo el portapapeles</translation>
    </message>
    <message>
        <source>Inserting</source>
        <translation>Insertando</translation>
    </message>
</context>
<context>
    <name>Modal</name>
    <message>
        <source>What the choice holds</source>
        <translation>Contenido de la opción elegida</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Insertar</translation>
    </message>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 no existe.
¿Desea crearlo?</translation>
    </message>
    <message>
        <source>The template store could not be used.

</source>
        <translation>No se pudo usar el almacén de plantillas.

</translation>
    </message>
    <message>
        <source>File: %1
</source>
        <translation>Archivo: %1
</translation>
    </message>
    <message>
        <source>Error %1: %2

%3</source>
        <translation>Error %1: %2

%3</translation>
    </message>
    <message>
        <source>File: %1

%2</source>
        <translation>Archivo: %1

%2</translation>
    </message>
    <message>
        <source>Reading...</source>
        <translation>Leyendo...</translation>
    </message>
</context>
<context>
    <name>PasteTarget</name>
    <message>
        <source>&apos;%1&apos; is no modifier (ctrl, shift, alt or super)</source>
        <translation>&apos;%1&apos; no es un modificador (ctrl, shift, alt o super)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; names no key</source>
        <translation>&apos;%1&apos; no es el nombre de ninguna tecla</translation>
    </message>
    <message>
        <source>no window had the keyboard to paste into</source>
        <translation>ninguna ventana tenía el foco del teclado para pegar en ella</translation>
    </message>
    <message>
        <source>the display cannot be reached</source>
        <translation>no se puede acceder a la pantalla</translation>
    </message>
    <message>
        <source>the display has no XTest extension to send the paste key with</source>
        <translation>la pantalla no tiene la extensión XTest para enviar la tecla de pegar</translation>
    </message>
    <message>
        <source>the window that had the keyboard did not take it back</source>
        <translation>la ventana que tenía el foco del teclado no lo recuperó</translation>
    </message>
    <message>
        <source>the keyboard has no key %1</source>
        <translation>el teclado no tiene la tecla %1</translation>
    </message>
    <message>
        <source>wtype, which sends the paste key on Wayland, is not installed</source>
        <translation>wtype, que envía la tecla de pegar en Wayland, no está instalado</translation>
    </message>
    <message>
        <source>wtype could not send the paste key</source>
        <translation>wtype no pudo enviar la tecla de pegar</translation>
    </message>
    <message>
        <source>wtype could not send the paste key: %1</source>
        <translation>wtype no pudo enviar la tecla de pegar: %1</translation>
    </message>
    <message>
        <source>wtype could not be started</source>
        <translation>no se pudo iniciar wtype</translation>
    </message>
    <message>
        <source>The template is on the clipboard, not pasted: %1.</source>
        <translation>La plantilla está en el portapapeles, pero no se pegó: %1.</translation>
    </message>
</context>
<context>
    <name>PickWindow</name>
    <message>
        <source>Insert Template</source>
        <translation>Insertar plantilla</translation>
    </message>
</context>
<context>
    <name>PrivateFolder</name>
    <message>
        <source>it belongs to another user (%1, uid %2)</source>
        <translation>pertenece a otro usuario (%1, uid %2)</translation>
    </message>
    <message>
        <source>other users may write to it (mode %1)</source>
        <translation>otros usuarios tienen permiso de escritura (modo %1)</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>es un enlace simbólico</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>It is a symbolic link.</source>
        <translation>Es un enlace simbólico.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>No es un archivo normal.</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>There is not enough memory to read it.</source>
        <translation>No hay memoria suficiente para la lectura.</translation>
    </message>
    <message>
        <source>An unexpected error stopped its reading.</source>
        <translation>Un error inesperado detuvo la lectura.</translation>
    </message>
</context>
<context>
    <name>ProgramFolder</name>
    <message>
        <source>Your templates are not used: %1 or the store in it is not yours alone: %2. Remove it, or make it yours alone, and start quorpad again.</source>
        <translation>No se usan sus plantillas: %1 o el almacén que contiene no es solo suyo: %2. Elimínelo, o haga que sea solo suyo, e inicie quorpad de nuevo.</translation>
    </message>
    <message>
        <source>Your templates cannot be kept in %1: %2.

The templates beside the program are used; they can be read but not changed.</source>
        <translation>Sus plantillas no se pueden guardar en %1: %2.

Se usan las plantillas que hay junto al programa; se pueden leer, pero no modificar.</translation>
    </message>
    <message>
        <source>Your settings cannot be kept in %1: %2.</source>
        <translation>Su configuración no se puede guardar en %1: %2.</translation>
    </message>
    <message>
        <source>Templates: %1 (yours)</source>
        <translation>Plantillas: %1 (suyas)</translation>
    </message>
    <message>
        <source>Templates: %1</source>
        <translation>Plantillas: %1</translation>
    </message>
</context>
<context>
    <name>RecoveryCopy</name>
    <message>
        <source>Recovery copies are off for this session: %1 is not quorpad&apos;s own, since %2.</source>
        <translation>Las copias de recuperación están desactivadas en esta sesión: %1 no pertenece a quorpad, ya que %2.</translation>
    </message>
    <message>
        <source>Could not write a recovery copy in %1: %2</source>
        <translation>No se pudo escribir una copia de recuperación en %1: %2</translation>
    </message>
</context>
<context>
    <name>RecoveryFormat</name>
    <message>
        <source>It does not begin as a recovery copy does.</source>
        <translation>No comienza como una copia de recuperación.</translation>
    </message>
    <message>
        <source>Its description of the document is cut short.</source>
        <translation>Su descripción del documento está truncada.</translation>
    </message>
    <message>
        <source>Its description of the document cannot be read.</source>
        <translation>Su descripción del documento no se puede leer.</translation>
    </message>
    <message>
        <source>It gives a length that does not fit the copy.</source>
        <translation>Indica una longitud que no corresponde a la copia.</translation>
    </message>
    <message>
        <source>It holds %1 bytes of text where %2 were written.</source>
        <translation>Contiene %1 bytes de texto donde se escribieron %2.</translation>
    </message>
    <message>
        <source>Its text has been changed or damaged since it was written.</source>
        <translation>Su texto se ha modificado o dañado desde que se escribió.</translation>
    </message>
    <message>
        <source>Its text is not valid UTF-8.</source>
        <translation>Su texto no es UTF-8 válido.</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>at an unknown time</source>
        <translation>en fecha desconocida</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurar</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Descartar</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Más tarde</translation>
    </message>
    <message>
        <source>A recovery copy of unsaved changes cannot be read. It was set aside as
%1

%2</source>
        <translation>No se puede leer una copia de recuperación de cambios sin guardar. Se apartó como
%1

%2</translation>
    </message>
    <message>
        <source>%1 (last changed %2)</source>
        <translation>%1 (última modificación: %2)</translation>
    </message>
    <message>
        <source>quorpad ended without saving changes to a document and kept a copy of them.

Document: %1
Last changed: %2

Restore brings the changes back as an unsaved document; Discard deletes the copy; Later keeps it for the next start.</source>
        <translation>quorpad se cerró sin guardar los cambios de un documento y conservó una copia de ellos.

Documento: %1
Última modificación: %2

Restaurar recupera los cambios como un documento sin guardar; Descartar elimina la copia; Más tarde la conserva para el próximo inicio.</translation>
    </message>
    <message numerus="yes">
        <source>%n recovery copies of unsaved changes cannot be read. They were set aside, the first as
%1

%2</source>
        <translation>
            <numerusform>No se puede leer %n copia de recuperación de cambios sin guardar. Se apartó como
%1

%2</numerusform>
            <numerusform>No se pueden leer %n copias de recuperación de cambios sin guardar. Se apartaron, la primera como
%1

%2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>quorpad ended without saving changes to %n documents and kept copies of them.

Restore brings back the first document checked as an unsaved document (the other copies stay for the next start); Discard deletes the copies checked; Later keeps them all for the next start.</source>
        <translation>
            <numerusform>quorpad se cerró sin guardar los cambios de %n documento y conservó una copia de ellos.

Restaurar recupera el primer documento marcado como un documento sin guardar (las demás copias se quedan para el próximo inicio); Descartar elimina las copias marcadas; Más tarde las conserva todas para el próximo inicio.</numerusform>
            <numerusform>quorpad se cerró sin guardar los cambios de %n documentos y conservó copias de ellos.

Restaurar recupera el primer documento marcado como un documento sin guardar (las demás copias se quedan para el próximo inicio); Descartar elimina las copias marcadas; Más tarde las conserva todas para el próximo inicio.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>could not lock %1 (%2); going on without it</source>
        <translation>no se pudo bloquear %1 (%2); se continúa sin el bloqueo</translation>
    </message>
    <message>
        <source>no permission</source>
        <translation>sin permiso</translation>
    </message>
    <message>
        <source>held</source>
        <translation>en uso</translation>
    </message>
    <message>
        <source>could not reach the running quorpad at %1: %2</source>
        <translation>no se pudo contactar con el quorpad en ejecución en %1: %2</translation>
    </message>
    <message>
        <source>%1 is held by another user; not handing over to it</source>
        <translation>%1 está en manos de otro usuario; no se le pasa el control</translation>
    </message>
    <message>
        <source>the running quorpad sent an answer too long to read</source>
        <translation>el quorpad en ejecución envió una respuesta demasiado larga para leerla</translation>
    </message>
    <message>
        <source>the running quorpad ended before it answered</source>
        <translation>el quorpad en ejecución terminó antes de responder</translation>
    </message>
    <message>
        <source>the running quorpad did not answer within %1 s (%2)</source>
        <translation>el quorpad en ejecución no respondió en %1 s (%2)</translation>
    </message>
    <message>
        <source>the running quorpad&apos;s answer could not be read</source>
        <translation>no se pudo leer la respuesta del quorpad en ejecución</translation>
    </message>
    <message>
        <source>could not listen on %1: %2</source>
        <translation>no se pudo escuchar en %1: %2</translation>
    </message>
    <message>
        <source>another quorpad answers later starts at %1 now</source>
        <translation>otro quorpad atiende ahora en %1 los inicios posteriores</translation>
    </message>
    <message>
        <source>later starts cannot reach this quorpad at %1 (%2); trying again</source>
        <translation>los inicios posteriores no pueden contactar con este quorpad en %1 (%2); se reintentará</translation>
    </message>
    <message>
        <source>quorpad: the running quorpad is of another release (its exchange is version %1, this one&apos;s %2); end it, or start with --new-instance
</source>
        <translation>quorpad: el quorpad en ejecución es de otra versión (su protocolo de intercambio es la versión %1; el de este, la %2); ciérrelo o inicie con --new-instance
</translation>
    </message>
</context>
<context>
    <name>StoreVersions</name>
    <message>
        <source>it is not yours alone: %1</source>
        <translation>no es solo suyo: %1</translation>
    </message>
    <message>
        <source>the versions&apos; folder %1 cannot be used: %2</source>
        <translation>no se puede usar la carpeta de versiones %1: %2</translation>
    </message>
    <message>
        <source>Restored the version of %1</source>
        <translation>Se restauró la versión de %1</translation>
    </message>
    <message>
        <source>change %1: &quot;%2&quot; becomes &quot;%3&quot;</source>
        <translation>cambiar %1: &quot;%2&quot; pasa a ser &quot;%3&quot;</translation>
    </message>
    <message>
        <source>rename %1 to %2</source>
        <translation>renombrar %1 a %2</translation>
    </message>
    <message>
        <source>add %1: %2</source>
        <translation>añadir %1: %2</translation>
    </message>
    <message>
        <source>remove %1: %2</source>
        <translation>quitar %1: %2</translation>
    </message>
    <message>
        <source>put the templates in another order</source>
        <translation>poner las plantillas en otro orden</translation>
    </message>
    <message>
        <source>Restoring this version changes nothing: it holds the templates as they are now.</source>
        <translation>Restaurar esta versión no cambia nada: contiene las plantillas tal como están ahora.</translation>
    </message>
    <message>
        <source>Restoring this version would:
- %1</source>
        <translation>Restaurar esta versión haría lo siguiente:
- %1</translation>
    </message>
    <message>
        <source>at %1</source>
        <translation>en %1</translation>
    </message>
    <message>
        <source>This version cannot be read: %1</source>
        <translation>No se puede leer esta versión: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n template(s)</source>
        <translation>
            <numerusform>%n plantilla</numerusform>
            <numerusform>%n plantillas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> y %n más</numerusform>
            <numerusform> y %n más</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>rename %n more</source>
        <translation>
            <numerusform>renombrar %n más</numerusform>
            <numerusform>renombrar %n más</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>change %n more</source>
        <translation>
            <numerusform>cambiar %n más</numerusform>
            <numerusform>cambiar %n más</numerusform>
        </translation>
    </message>
    <message>
        <source>The templates as they are now cannot be read from %1: </source>
        <translation>Las plantillas tal como están ahora no se pueden leer de %1: </translation>
    </message>
</context>
<context>
    <name>TemplateFiles</name>
    <message>
        <source>line %1: no template is in this file: a template is an index, a name and a value, separated by byte 4</source>
        <translation>línea %1: no hay ninguna plantilla en este archivo: una plantilla es un índice, un nombre y un valor, separados por el byte 4</translation>
    </message>
    <message>
        <source>line %1: a quote inside a field that does not begin with one</source>
        <translation>línea %1: una comilla dentro de un campo que no empieza con una</translation>
    </message>
    <message>
        <source>line %1: text after a quoted field&apos;s closing quote</source>
        <translation>línea %1: texto tras la comilla de cierre de un campo entrecomillado</translation>
    </message>
    <message>
        <source>line %1: a quoted field is not closed</source>
        <translation>línea %1: un campo entrecomillado no está cerrado</translation>
    </message>
    <message>
        <source>line 1: the first line must be the header &quot;name,value&quot;</source>
        <translation>línea 1: la primera línea debe ser el encabezado &quot;name,value&quot;</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>línea %1: %2</translation>
    </message>
    <message>
        <source>Imported from %1: %2 added, %3 replaced, %4 skipped.</source>
        <translation>Importado desde %1: %2 añadidas, %3 reemplazadas, %4 omitidas.</translation>
    </message>
    <message>
        <source>

Not imported:
%1</source>
        <translation>

No importadas:
%1</translation>
    </message>
    <message numerus="yes">
        <source>line %1: a row has a name and a value; this one has %n field(s)</source>
        <translation>
            <numerusform>línea %1: una fila tiene un nombre y un valor; esta tiene %n campo</numerusform>
            <numerusform>línea %1: una fila tiene un nombre y un valor; esta tiene %n campos</numerusform>
        </translation>
    </message>
    <message>
        <source>The name is empty.</source>
        <translation>El nombre está vacío.</translation>
    </message>
</context>
<context>
    <name>TemplateInsertion</name>
    <message>
        <source>The template “%1” asks for:</source>
        <translation>La plantilla «%1» pide:</translation>
    </message>
    <message>
        <source>Fill In Template</source>
        <translation>Rellenar plantilla</translation>
    </message>
</context>
<context>
    <name>TemplatePicker</name>
    <message>
        <source>Type to find a template</source>
        <translation>Escriba para buscar una plantilla</translation>
    </message>
    <message>
        <source>Find a template</source>
        <translation>Buscar una plantilla</translation>
    </message>
    <message>
        <source>Templates</source>
        <translation>Plantillas</translation>
    </message>
    <message>
        <source>The templates could not be read from %1: </source>
        <translation>No se pudieron leer las plantillas de %1: </translation>
    </message>
    <message>
        <source>Reading the templates</source>
        <translation>Leyendo las plantillas</translation>
    </message>
    <message>
        <source>There are no templates yet.</source>
        <translation>Aún no hay plantillas.</translation>
    </message>
    <message>
        <source>No template matches.</source>
        <translation>Ninguna plantilla coincide.</translation>
    </message>
</context>
<context>
    <name>TemplateRequests</name>
    <message>
        <source>the templates could not be read: </source>
        <translation>no se pudieron leer las plantillas: </translation>
    </message>
    <message>
        <source>no template is called &quot;%1&quot; (quorpad --list prints their names)</source>
        <translation>ninguna plantilla se llama &quot;%1&quot; (quorpad --list muestra sus nombres)</translation>
    </message>
    <message>
        <source>quorpad: --copy asks nothing, so these fields are empty: %1
</source>
        <translation>quorpad: --copy no pregunta nada, así que estos campos quedan vacíos: %1
</translation>
    </message>
    <message>
        <source>the main window could not be loaded: </source>
        <translation>no se pudo cargar la ventana principal: </translation>
    </message>
</context>
<context>
    <name>VersionLines</name>
    <message>
        <source>Using Quorvin Template Engine </source>
        <translation>Utiliza Quorvin Template Engine </translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>una carpeta</translation>
    </message>
    <message>
        <source>a character device</source>
        <translation>un dispositivo de caracteres</translation>
    </message>
    <message>
        <source>a block device</source>
        <translation>un dispositivo de bloques</translation>
    </message>
    <message>
        <source>a named pipe (FIFO)</source>
        <translation>una tubería con nombre (FIFO)</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>un socket</translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation>un enlace simbólico</translation>
    </message>
    <message>
        <source>It is %1, not a regular file.</source>
        <translation>Es %1, no un archivo normal.</translation>
    </message>
    <message>
        <source>The file is larger than %1, too large to read here.</source>
        <translation>El archivo ocupa más de %1, demasiado para leerlo aquí.</translation>
    </message>
    <message>
        <source>%1 is a symbolic link of user %2 in %3, a folder every user may write to; quorpad does not write through another user&apos;s link there.</source>
        <translation>%1 es un enlace simbólico del usuario %2 en %3, una carpeta en la que todos los usuarios pueden escribir; quorpad no escribe ahí a través del enlace de otro usuario.</translation>
    </message>
    <message>
        <source>Only %1 of %2 bytes reached the disk.</source>
        <translation>Solo %1 de %2 bytes llegaron al disco.</translation>
    </message>
    <message>
        <source>no file can be made in its folder %1: %2</source>
        <translation>no se puede crear ningún archivo en su carpeta %1: %2</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Using Quorvin Template Engine</source>
        <translation>Utiliza Quorvin Template Engine</translation>
    </message>
    <message>
        <source>(version unknown: %1)</source>
        <translation>(versión desconocida: %1)</translation>
    </message>
</context>
<context>
    <name>frmConfig</name>
    <message>
        <source>Configuration</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>Page Preview</source>
        <translation>Vista previa de página</translation>
    </message>
    <message>
        <source>Browser Path:</source>
        <translation>Ruta del navegador:</translation>
    </message>
    <message>
        <source>Browser path</source>
        <translation>Ruta del navegador</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Hecho</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Select Preview Browser</source>
        <translation>Seleccionar navegador de vista previa</translation>
    </message>
    <message>
        <source>Could not save the settings file</source>
        <translation>No se pudo guardar el archivo de configuración</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Document</source>
        <translation>Documento</translation>
    </message>
    <message>
        <source>The text being edited. The Menu key opens the templates popup; Ctrl+T finds any template.</source>
        <translation>El texto que se edita. La tecla Menú abre el menú emergente de plantillas; Ctrl+T busca cualquier plantilla.</translation>
    </message>
    <message>
        <source>Document status</source>
        <translation>Estado del documento</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nuevo</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Abrir...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Guardar como...</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuración</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Manage Templates</source>
        <translation>Gestionar plantillas</translation>
    </message>
    <message>
        <source>Preview Page</source>
        <translation>Vista previa de página</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Archivo</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Editar</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation>Ir a la línea</translation>
    </message>
    <message>
        <source>Line number (1 to %1):</source>
        <translation>Número de línea (1 a %1):</translation>
    </message>
    <message>
        <source>Reading the templates</source>
        <translation>Leyendo las plantillas</translation>
    </message>
    <message>
        <source>Not Set</source>
        <translation>Sin asignar</translation>
    </message>
</context>
<context>
    <name>frmManage</name>
    <message>
        <source>No value set for this template!</source>
        <translation>¡Esta plantilla no tiene ningún valor!</translation>
    </message>
    <message>
        <source>Manage Templates</source>
        <translation>Gestionar plantillas</translation>
    </message>
    <message>
        <source>Existing Templates</source>
        <translation>Plantillas existentes</translation>
    </message>
    <message>
        <source>Existing templates</source>
        <translation>Plantillas existentes</translation>
    </message>
    <message>
        <source>The templates in store order; the first thirteen fill the popup.</source>
        <translation>Las plantillas en el orden del almacén; las trece primeras llenan el menú emergente.</translation>
    </message>
    <message>
        <source>Find a template</source>
        <translation>Buscar una plantilla</translation>
    </message>
    <message>
        <source>Shows the templates whose name or text holds what is typed. Down goes to the list; Escape shows every template again.</source>
        <translation>Muestra las plantillas cuyo nombre o texto contiene lo escrito. Abajo lleva a la lista; Esc vuelve a mostrar todas las plantillas.</translation>
    </message>
    <message>
        <source>Template Values</source>
        <translation>Valores de la plantilla</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nombre:</translation>
    </message>
    <message>
        <source>Template name</source>
        <translation>Nombre de la plantilla</translation>
    </message>
    <message>
        <source>Index:</source>
        <translation>Índice:</translation>
    </message>
    <message>
        <source>Template menu index</source>
        <translation>Índice en el menú de plantillas</translation>
    </message>
    <message>
        <source>Template Menu Index.</source>
        <translation>Índice en el menú de plantillas.</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>Valor:</translation>
    </message>
    <message>
        <source>Template text</source>
        <translation>Texto de la plantilla</translation>
    </message>
    <message>
        <source>The text the template inserts. Tab moves on; Ctrl+Tab types a tab.</source>
        <translation>El texto que inserta la plantilla. Tab pasa al siguiente campo; Ctrl+Tab escribe un tabulador.</translation>
    </message>
    <message>
        <source>Preview Template</source>
        <translation>Vista previa</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Añadir</translation>
    </message>
    <message>
        <source>Add this template.</source>
        <translation>Añadir esta plantilla.</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Quitar</translation>
    </message>
    <message>
        <source>Remove this template.</source>
        <translation>Quitar esta plantilla.</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Modificar</translation>
    </message>
    <message>
        <source>Modify the current template.</source>
        <translation>Modificar la plantilla actual.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Hecho</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Subir</translation>
    </message>
    <message>
        <source>Moves the chosen template up: the first thirteen fill the popup (Alt+Up in the list).</source>
        <translation>Sube la plantilla elegida: las trece primeras llenan el menú emergente (Alt+Arriba en la lista).</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Bajar</translation>
    </message>
    <message>
        <source>Moves the chosen template down (Alt+Down in the list).</source>
        <translation>Baja la plantilla elegida (Alt+Abajo en la lista).</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renombrar</translation>
    </message>
    <message>
        <source>Gives the chosen template the name in the Name box (F2 in the list goes there).</source>
        <translation>Da a la plantilla elegida el nombre del cuadro Nombre (F2 en la lista lleva a él).</translation>
    </message>
    <message>
        <source>Versions...</source>
        <translation>Versiones...</translation>
    </message>
    <message>
        <source>Earlier versions of the templates, to restore one.</source>
        <translation>Versiones anteriores de las plantillas, para restaurar una.</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportar...</translation>
    </message>
    <message>
        <source>Writes all templates, or those chosen in the list, to a file (CSV, or the store&apos;s own format).</source>
        <translation>Escribe todas las plantillas, o las elegidas en la lista, en un archivo (CSV o el formato propio del almacén).</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importar...</translation>
    </message>
    <message>
        <source>Reads templates from a CSV file or a store file.</source>
        <translation>Lee plantillas de un archivo CSV o de un archivo de almacén.</translation>
    </message>
    <message>
        <source>Fill fields</source>
        <translation>Rellenar campos</translation>
    </message>
    <message>
        <source>For every template: {:caret:}, {:date:}, {:time:}, {:clipboard:}, {:selection:} and {:ask Name:} in a template&apos;s text are filled as it is inserted; {:: writes {: itself. Off, every template inserts as written.</source>
        <translation>Para todas las plantillas: {:caret:}, {:date:}, {:time:}, {:clipboard:}, {:selection:} y {:ask Name:} en el texto de una plantilla se rellenan al insertarla; {:: escribe el propio {:. Desactivado, todas las plantillas se insertan tal como están escritas.</translation>
    </message>
    <message>
        <source>Fields are filled only with this on:</source>
        <translation>Los campos solo se rellenan si esto está activado:</translation>
    </message>
    <message>
        <source>This text holds fields; with Fill fields off it inserts as written, markers and all.</source>
        <translation>Este texto contiene campos; con Rellenar campos desactivado se inserta tal como está escrito, marcadores incluidos.</translation>
    </message>
    <message>
        <source>Could not save the settings to</source>
        <translation>No se pudo guardar la configuración en</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no longer in the templates: it was renamed or removed elsewhere.</source>
        <translation>&apos;%1&apos; ya no está en las plantillas: se renombró o se eliminó en otro lugar.</translation>
    </message>
    <message>
        <source>Template Exists!</source>
        <translation>¡La plantilla ya existe!</translation>
    </message>
    <message>
        <source>Added %1</source>
        <translation>Se añadió %1</translation>
    </message>
    <message>
        <source>Could Not Add the template &apos;%1&apos;!</source>
        <translation>¡No se pudo añadir la plantilla &apos;%1&apos;!</translation>
    </message>
    <message>
        <source>Changed %1</source>
        <translation>Se cambió %1</translation>
    </message>
    <message>
        <source>Removed %1</source>
        <translation>Se quitó %1</translation>
    </message>
    <message>
        <source>Moved %1 up</source>
        <translation>Se subió %1</translation>
    </message>
    <message>
        <source>Moved %1 down</source>
        <translation>Se bajó %1</translation>
    </message>
    <message>
        <source>Moved %1 from place %2 to %3</source>
        <translation>Se movió %1 de la posición %2 a la %3</translation>
    </message>
    <message>
        <source>Could not keep a version of the templates before this change</source>
        <translation>No se pudo guardar una versión de las plantillas antes de este cambio</translation>
    </message>
    <message>
        <source>No earlier versions of the templates are kept yet: one is kept before each change made here.</source>
        <translation>Aún no se ha guardado ninguna versión anterior de las plantillas: se guarda una antes de cada cambio hecho aquí.</translation>
    </message>
    <message>
        <source>   then: %1</source>
        <translation>   luego: %1</translation>
    </message>
    <message>
        <source>Template Versions</source>
        <translation>Versiones de las plantillas</translation>
    </message>
    <message>
        <source>The templates as they were before each of the last changes, newest first, with the change that followed. Restore makes the one chosen your templates again; the templates as they are now are kept as a version too, so that the restore can be taken back.</source>
        <translation>Las plantillas tal como estaban antes de cada uno de los últimos cambios, de la más reciente a la más antigua, con el cambio que siguió. Restaurar vuelve a hacer de la elegida sus plantillas; las plantillas actuales también se guardan como versión, de modo que la restauración se puede deshacer.</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurar</translation>
    </message>
    <message>
        <source>Could not restore the templates</source>
        <translation>No se pudieron restaurar las plantillas</translation>
    </message>
    <message>
        <source>There are no templates to export.</source>
        <translation>No hay plantillas que exportar.</translation>
    </message>
    <message numerus="yes">
        <source>Export the %1 chosen in the list, or all %n templates?</source>
        <translation>
            <numerusform>¿Exportar las elegidas en la lista (%1) o todas las plantillas (%n)?</numerusform>
            <numerusform>¿Exportar las elegidas en la lista (%1) o todas las %n plantillas?</numerusform>
        </translation>
    </message>
    <message>
        <source>Chosen</source>
        <translation>Elegidas</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Todas</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>Export Templates</source>
        <translation>Exportar plantillas</translation>
    </message>
    <message>
        <source>Template store (*.dat)</source>
        <translation>Almacén de plantillas (*.dat)</translation>
    </message>
    <message>
        <source>Could not export the templates to</source>
        <translation>No se pudieron exportar las plantillas a</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n template(s) to %1.</source>
        <translation>
            <numerusform>Se exportó %n plantilla a %1.</numerusform>
            <numerusform>Se exportaron %n plantillas a %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Import Templates</source>
        <translation>Importar plantillas</translation>
    </message>
    <message>
        <source>Templates (*.csv *.dat)</source>
        <translation>Plantillas (*.csv *.dat)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>Could not import the templates from</source>
        <translation>No se pudieron importar las plantillas de</translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n templates in %2 have names that exist already. Skip them, replace the existing ones, or keep both (the imported ones get a number after their name)?</source>
        <translation>
            <numerusform>%1 de la %n plantilla de %2 tiene un nombre que ya existe. ¿Omitirla, reemplazar la existente o conservar ambas (la importada recibe un número tras su nombre)?</numerusform>
            <numerusform>%1 de las %n plantillas de %2 tienen nombres que ya existen. ¿Omitirlas, reemplazar las existentes o conservar ambas (las importadas reciben un número tras su nombre)?</numerusform>
        </translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Omitir</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>Keep Both</source>
        <translation>Conservar ambas</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n template(s) from %1</source>
        <translation>
            <numerusform>Se importó %n plantilla de %1</numerusform>
            <numerusform>Se importaron %n plantillas de %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Renamed %1 to %2</source>
        <translation>Se renombró %1 a %2</translation>
    </message>
    <message>
        <source>A template named &apos;%1&apos; exists already.</source>
        <translation>Ya existe una plantilla llamada &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>quorpad: no display to open a window on (%1 is not set): %2
</source>
        <translation>quorpad: no hay ninguna pantalla en la que abrir una ventana (la variable %1 no está definida): %2
</translation>
    </message>
    <message>
        <source>quorpad: cannot open a window on the display %1: %2
</source>
        <translation>quorpad: no se puede abrir una ventana en la pantalla %1: %2
</translation>
    </message>
    <message>
        <source>quorpad: %1; starting on its own
</source>
        <translation>quorpad: %1; se inicia de forma independiente
</translation>
    </message>
</context>
</TS>
