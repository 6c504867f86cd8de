<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommandLine</name>
    <message>
        <source>Edit plain-text and HTML files with reusable templates, from the notification area.
A quorpad that is already running opens FILE itself and comes to the front.</source>
        <translation>Klartext- und HTML-Dateien mit wiederverwendbaren Vorlagen bearbeiten, direkt aus dem Infobereich.
Ein bereits laufendes quorpad öffnet FILE selbst und kommt in den Vordergrund.</translation>
    </message>
    <message>
        <source>Print this help and end.</source>
        <translation>Diese Hilfe ausgeben und beenden.</translation>
    </message>
    <message>
        <source>Print the program&apos;s and the template engine&apos;s versions and end.</source>
        <translation>Die Versionen des Programms und der Vorlagen-Engine ausgeben und beenden.</translation>
    </message>
    <message>
        <source>Start a quorpad of its own even when one is running already.</source>
        <translation>Ein eigenes quorpad starten, auch wenn bereits eines läuft.</translation>
    </message>
    <message>
        <source>Print the names of the templates, one a line, in the store&apos;s order.</source>
        <translation>Die Namen der Vorlagen ausgeben, einen pro Zeile, in der Reihenfolge des Vorlagenspeichers.</translation>
    </message>
    <message>
        <source>Put the text of the template NAME on the clipboard, where the running quorpad keeps it for other programs.</source>
        <translation>Den Text der Vorlage NAME in die Zwischenablage legen, wo das laufende quorpad ihn für andere Programme bereithält.</translation>
    </message>
    <message>
        <source>Show the template picker as a small window of its own (for a desktop shortcut); the template chosen goes on the clipboard and is pasted into the window that had the keyboard.</source>
        <translation>Die Vorlagenauswahl als eigenes kleines Fenster anzeigen (für ein Tastenkürzel der Arbeitsumgebung); die gewählte Vorlage kommt in die Zwischenablage und wird in das Fenster eingefügt, das zuvor den Tastaturfokus hatte.</translation>
    </message>
    <message>
        <source>With --pick: the key that pastes, such as ctrl+shift+v or shift+Insert for a terminal (ctrl+v unless given).</source>
        <translation>Mit --pick: die Taste zum Einfügen, etwa ctrl+shift+v oder shift+Insert für ein Terminal (ohne Angabe ctrl+v).</translation>
    </message>
    <message>
        <source>With --pick: only put the template on the clipboard.</source>
        <translation>Mit --pick: die Vorlage nur in die Zwischenablage legen.</translation>
    </message>
    <message>
        <source>The file to open (a text or HTML file).</source>
        <translation>Die zu öffnende Datei (eine Text- oder HTML-Datei).</translation>
    </message>
    <message>
        <source>--pick cannot be given with --%1</source>
        <translation>--pick kann nicht zusammen mit --%1 angegeben werden</translation>
    </message>
    <message>
        <source>--pick takes no file</source>
        <translation>--pick nimmt keine Datei an</translation>
    </message>
    <message>
        <source>--paste-key is given once, and not with --no-paste</source>
        <translation>--paste-key darf nur einmal und nicht zusammen mit --no-paste angegeben werden</translation>
    </message>
    <message>
        <source>--paste-key %1: %2</source>
        <translation>--paste-key %1: %2</translation>
    </message>
    <message>
        <source>--%1 goes with --pick</source>
        <translation>--%1 ist nur zusammen mit --pick möglich</translation>
    </message>
    <message>
        <source>--list and --copy cannot be given together</source>
        <translation>--list und --copy können nicht zusammen angegeben werden</translation>
    </message>
    <message>
        <source>--copy takes one template</source>
        <translation>--copy nimmt genau eine Vorlage an</translation>
    </message>
    <message>
        <source>--%1 takes no file</source>
        <translation>--%1 nimmt keine Datei an</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>reading line %1</source>
        <translation>Zeile %1 wird gelesen</translation>
    </message>
    <message>
        <source>“%1” (U+%2) is not in Windows-1252: the file will be saved as UTF-8.</source>
        <translation>„%1“ (U+%2) ist nicht in Windows-1252 enthalten: Die Datei wird als UTF-8 gespeichert.</translation>
    </message>
    <message>
        <source>Do you wish to save this file:<byte value="xd"/>
%1</source>
        <translation>Möchten Sie diese Datei speichern:<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>The save was stopped before it ended.</source>
        <translation>Das Speichern wurde abgebrochen, bevor es abgeschlossen war.</translation>
    </message>
    <message>
        <source>The text changed while it was written; save it again.</source>
        <translation>Der Text hat sich während des Schreibens geändert; speichern Sie ihn erneut.</translation>
    </message>
    <message>
        <source>Could not save the file</source>
        <translation>Fehler beim Speichern der Datei</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>opening %1...</source>
        <translation>%1 wird geöffnet...</translation>
    </message>
    <message>
        <source>Could not open the file</source>
        <translation>Fehler beim Öffnen der Datei</translation>
    </message>
    <message>
        <source>Opening</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Opening (read-only until whole)</source>
        <translation>Öffnen (schreibgeschützt bis vollständig)</translation>
    </message>
    <message>
        <source>saving %1...</source>
        <translation>%1 wird gespeichert...</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
</context>
<context>
    <name>DocumentFile</name>
    <message>
        <source>It holds binary data (a NUL byte at offset %1), not text: quorpad opens text files only, and saving it would change it.</source>
        <translation>Sie enthält Binärdaten (ein NUL-Byte an Position %1), keinen Text: quorpad öffnet nur Textdateien, und das Speichern würde sie verändern.</translation>
    </message>
    <message>
        <source>It holds binary data (control bytes), not text: quorpad opens text files only, and saving it would change it.</source>
        <translation>Sie enthält Binärdaten (Steuerbytes), keinen Text: quorpad öffnet nur Textdateien, und das Speichern würde sie verändern.</translation>
    </message>
</context>
<context>
    <name>DocumentPanels</name>
    <message>
        <source>Format notice</source>
        <translation>Formathinweis</translation>
    </message>
    <message>
        <source>Caret position</source>
        <translation>Cursorposition</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Kodierung</translation>
    </message>
    <message>
        <source>The encoding the next save writes. Click or press Ctrl+E in the document to choose.</source>
        <translation>Die Kodierung, die beim nächsten Speichern geschrieben wird. Klicken Sie hier oder drücken Sie Strg+E im Dokument, um sie zu wählen.</translation>
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
        <translation>Zeilenenden</translation>
    </message>
    <message>
        <source>The line ends the next save writes. Click or press Ctrl+L in the document to choose.</source>
        <translation>Die Zeilenenden, die beim nächsten Speichern geschrieben werden. Klicken Sie hier oder drücken Sie Strg+L im Dokument, um sie zu wählen.</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Ungespeicherte Änderungen</translation>
    </message>
    <message>
        <source>Work under way</source>
        <translation>Laufender Vorgang</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stops the work and leaves everything as it was (Escape).</source>
        <translation>Bricht den Vorgang ab und lässt alles, wie es war (Esc).</translation>
    </message>
    <message>
        <source>Ln %1, Col %2</source>
        <translation>Z %1, Sp %2</translation>
    </message>
    <message>
        <source>Mixed</source>
        <translation>Gemischt</translation>
    </message>
    <message>
        <source>Unsaved</source>
        <translation>Ungespeichert</translation>
    </message>
    <message>
        <source>%1...</source>
        <translation>%1...</translation>
    </message>
    <message>
        <source>%1... %2%</source>
        <translation>%1... %2 %</translation>
    </message>
    <message>
        <source>The text has characters that Windows-1252 lacks.</source>
        <translation>Der Text enthält Zeichen, die es in Windows-1252 nicht gibt.</translation>
    </message>
</context>
<context>
    <name>EngineError</name>
    <message>
        <source>Overflow</source>
        <translation>Überlauf</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Typen unverträglich</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Datei nicht gefunden</translation>
    </message>
    <message>
        <source>Device I/O error</source>
        <translation>E/A-Gerätefehler</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Datenträger voll</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Zugriff verweigert</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Fehler beim Zugriff auf Pfad/Datei</translation>
    </message>
    <message>
        <source>Object doesn&apos;t support this property or method</source>
        <translation>Objekt unterstützt diese Eigenschaft oder Methode nicht</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Anwendungs- oder objektdefinierter Fehler</translation>
    </message>
</context>
<context>
    <name>EngineRefusal</name>
    <message>
        <source>A template name cannot contain the control character 0x04: it separates a template&apos;s name from its value in the store.</source>
        <translation>Ein Vorlagenname darf das Steuerzeichen 0x04 nicht enthalten: Es trennt im Vorlagenspeicher den Namen einer Vorlage von ihrem Wert.</translation>
    </message>
    <message>
        <source>A template name cannot be longer than 32767 characters.</source>
        <translation>Ein Vorlagenname darf nicht länger als 32767 Zeichen sein.</translation>
    </message>
    <message>
        <source>A template with the same text is stored already.</source>
        <translation>Eine Vorlage mit demselben Text ist bereits gespeichert.</translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>No match</source>
        <translation>Kein Treffer</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Searched for as you type. Enter finds the next match, Shift+Enter the previous one, Escape closes the bar.</source>
        <translation>Wird während der Eingabe gesucht. Enter findet den nächsten Treffer, Umschalt+Enter den vorherigen, Esc schließt die Leiste.</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Vorheriger</translation>
    </message>
    <message>
        <source>The previous match (Shift+F3).</source>
        <translation>Der vorherige Treffer (Umschalt+F3).</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Nächster</translation>
    </message>
    <message>
        <source>The next match (F3).</source>
        <translation>Der nächste Treffer (F3).</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>Whole words</source>
        <translation>Ganze Wörter</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Regulärer Ausdruck</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Closes the bar (Escape).</source>
        <translation>Schließt die Leiste (Esc).</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Ersetzen durch</translation>
    </message>
    <message>
        <source>Enter replaces the selected match and finds the next; Ctrl+Enter replaces every match.</source>
        <translation>Enter ersetzt den ausgewählten Treffer und sucht den nächsten; Strg+Enter ersetzt alle Treffer.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Replaces the selected match and finds the next.</source>
        <translation>Ersetzt den ausgewählten Treffer und sucht den nächsten.</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Alle ersetzen</translation>
    </message>
    <message>
        <source>Replaces every match, as one step for Undo.</source>
        <translation>Ersetzt alle Treffer; Rückgängig nimmt dies in einem Schritt zurück.</translation>
    </message>
    <message>
        <source>Find status</source>
        <translation>Suchstatus</translation>
    </message>
    <message>
        <source>Not a regular expression: %1 (at character %2)</source>
        <translation>Kein gültiger regulärer Ausdruck: %1 (bei Zeichen %2)</translation>
    </message>
    <message>
        <source>Not found.</source>
        <translation>Nicht gefunden.</translation>
    </message>
    <message>
        <source>Search wrapped around the end.</source>
        <translation>Suche über das Ende hinaus am Anfang fortgesetzt.</translation>
    </message>
    <message>
        <source>Search wrapped around the start.</source>
        <translation>Suche über den Anfang hinaus am Ende fortgesetzt.</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Replacing</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Replace All stopped part-way: the document changed meanwhile.</source>
        <translation>„Alle ersetzen“ wurde mittendrin abgebrochen: Das Dokument hat sich inzwischen geändert.</translation>
    </message>
    <message>
        <source>Nothing was replaced: the document changed meanwhile.</source>
        <translation>Es wurde nichts ersetzt: Das Dokument hat sich inzwischen geändert.</translation>
    </message>
    <message>
        <source>Nothing was replaced: %1</source>
        <translation>Es wurde nichts ersetzt: %1</translation>
    </message>
    <message numerus="yes">
        <source>Replaced %n match(es).</source>
        <translation>
            <numerusform>%n Treffer ersetzt.</numerusform>
            <numerusform>%n Treffer ersetzt.</numerusform>
        </translation>
    </message>
    <message>
        <source>Counting</source>
        <translation>Zählen</translation>
    </message>
    <message>
        <source>The expression is too complex to search this text.</source>
        <translation>Der Ausdruck ist zu komplex, um diesen Text zu durchsuchen.</translation>
    </message>
    <message numerus="yes">
        <source>%n match(es)</source>
        <translation>
            <numerusform>%n Treffer</numerusform>
            <numerusform>%n Treffer</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HandOver</name>
    <message>
        <source>Could not open the file %1

%2</source>
        <translation>Die Datei %1 konnte nicht geöffnet werden

%2</translation>
    </message>
    <message>
        <source>the main window could not be loaded: </source>
        <translation>das Hauptfenster konnte nicht geladen werden: </translation>
    </message>
    <message>
        <source>quorpad: edits one file at a time; opened %1, left out: %2
</source>
        <translation>quorpad: bearbeitet jeweils nur eine Datei; geöffnet: %1, ausgelassen: %2
</translation>
    </message>
</context>
<context>
    <name>ImportJob</name>
    <message>
        <source>Reading %1</source>
        <translation>%1 wird gelesen</translation>
    </message>
    <message>
        <source>%1. Nothing was imported.</source>
        <translation>%1. Es wurde nichts importiert.</translation>
    </message>
    <message>
        <source>Importing %1</source>
        <translation>%1 wird importiert</translation>
    </message>
</context>
<context>
    <name>LeftCopy</name>
    <message>
        <source>There is not enough memory to read it.</source>
        <translation>Zum Lesen ist nicht genug Speicher vorhanden.</translation>
    </message>
</context>
<context>
    <name>LongJob</name>
    <message>
        <source>Reading the clipboard</source>
        <translation>Zwischenablage lesen</translation>
    </message>
    <message>
        <source>Inserting</source>
        <translation>Einfügen</translation>
    </message>
</context>
<context>
    <name>Modal</name>
    <message>
        <source>What the choice holds</source>
        <translation>Inhalt der Auswahl</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 existiert nicht.
Möchten Sie die Datei erstellen?</translation>
    </message>
    <message>
        <source>The template store could not be used.

</source>
        <translation>Der Vorlagenspeicher konnte nicht verwendet werden.

</translation>
    </message>
    <message>
        <source>File: %1
</source>
        <translation>Datei: %1
</translation>
    </message>
    <message>
        <source>Error %1: %2

%3</source>
        <translation>Fehler %1: %2

%3</translation>
    </message>
    <message>
        <source>File: %1

%2</source>
        <translation>Datei: %1

%2</translation>
    </message>
    <message>
        <source>Reading...</source>
        <translation>Wird gelesen...</translation>
    </message>
</context>
<context>
    <name>PasteTarget</name>
    <message>
        <source>&apos;%1&apos; is no modifier (ctrl, shift, alt or super)</source>
        <translation>„%1“ ist keine Modifikatortaste (ctrl, shift, alt oder super)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; names no key</source>
        <translation>„%1“ bezeichnet keine Taste</translation>
    </message>
    <message>
        <source>no window had the keyboard to paste into</source>
        <translation>kein Fenster hatte den Tastaturfokus, um dort einzufügen</translation>
    </message>
    <message>
        <source>the display cannot be reached</source>
        <translation>die Anzeige ist nicht erreichbar</translation>
    </message>
    <message>
        <source>the display has no XTest extension to send the paste key with</source>
        <translation>die Anzeige hat keine XTest-Erweiterung, um das Tastenkürzel zum Einfügen zu senden</translation>
    </message>
    <message>
        <source>the window that had the keyboard did not take it back</source>
        <translation>das Fenster, das den Tastaturfokus hatte, hat ihn nicht wieder übernommen</translation>
    </message>
    <message>
        <source>the keyboard has no key %1</source>
        <translation>die Tastatur hat keine Taste %1</translation>
    </message>
    <message>
        <source>wtype, which sends the paste key on Wayland, is not installed</source>
        <translation>wtype, das unter Wayland das Tastenkürzel zum Einfügen sendet, ist nicht installiert</translation>
    </message>
    <message>
        <source>wtype could not send the paste key</source>
        <translation>wtype konnte das Tastenkürzel zum Einfügen nicht senden</translation>
    </message>
    <message>
        <source>wtype could not send the paste key: %1</source>
        <translation>wtype konnte das Tastenkürzel zum Einfügen nicht senden: %1</translation>
    </message>
    <message>
        <source>wtype could not be started</source>
        <translation>wtype konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>The template is on the clipboard, not pasted: %1.</source>
        <translation>Die Vorlage liegt in der Zwischenablage, wurde aber nicht eingefügt: %1.</translation>
    </message>
</context>
<context>
    <name>PickWindow</name>
    <message>
        <source>Insert Template</source>
        <translation>Vorlage einfügen</translation>
    </message>
</context>
<context>
    <name>PrivateFolder</name>
    <message>
        <source>it belongs to another user (%1, uid %2)</source>
        <translation>Eigentümer ist ein anderer Benutzer (%1, UID %2)</translation>
    </message>
    <message>
        <source>other users may write to it (mode %1)</source>
        <translation>andere Benutzer haben Schreibrecht (Modus %1)</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>es ist eine symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>es ist keine reguläre Datei</translation>
    </message>
    <message>
        <source>It is a symbolic link.</source>
        <translation>Es ist eine symbolische Verknüpfung.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Es ist keine reguläre Datei.</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>There is not enough memory to read it.</source>
        <translation>Zum Lesen ist nicht genug Speicher vorhanden.</translation>
    </message>
    <message>
        <source>An unexpected error stopped its reading.</source>
        <translation>Ein unerwarteter Fehler hat das Lesen abgebrochen.</translation>
    </message>
</context>
<context>
    <name>ProgramFolder</name>
    <message>
        <source>Your templates are not used: %1 or the store in it is not yours alone: %2. Remove it, or make it yours alone, and start quorpad again.</source>
        <translation>Ihre Vorlagen werden nicht verwendet: %1 oder der Vorlagenspeicher darin gehört nicht Ihnen allein: %2. Entfernen Sie ihn oder machen Sie ihn zu Ihrem alleinigen Besitz, und starten Sie quorpad erneut.</translation>
    </message>
    <message>
        <source>Your templates cannot be kept in %1: %2.

The templates beside the program are used; they can be read but not changed.</source>
        <translation>Ihre Vorlagen können nicht in %1 gespeichert werden: %2.

Es werden die Vorlagen neben dem Programm verwendet; sie können gelesen, aber nicht geändert werden.</translation>
    </message>
    <message>
        <source>Your settings cannot be kept in %1: %2.</source>
        <translation>Ihre Einstellungen können nicht in %1 gespeichert werden: %2.</translation>
    </message>
    <message>
        <source>Templates: %1 (yours)</source>
        <translation>Vorlagen: %1 (eigene)</translation>
    </message>
    <message>
        <source>Templates: %1</source>
        <translation>Vorlagen: %1</translation>
    </message>
</context>
<context>
    <name>RecoveryCopy</name>
    <message>
        <source>Recovery copies are off for this session: %1 is not quorpad&apos;s own, since %2.</source>
        <translation>Wiederherstellungskopien sind in dieser Sitzung ausgeschaltet: %1 gehört nicht allein quorpad, denn %2.</translation>
    </message>
    <message>
        <source>Could not write a recovery copy in %1: %2</source>
        <translation>In %1 konnte keine Wiederherstellungskopie geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>RecoveryFormat</name>
    <message>
        <source>It does not begin as a recovery copy does.</source>
        <translation>Sie beginnt nicht so, wie eine Wiederherstellungskopie beginnt.</translation>
    </message>
    <message>
        <source>Its description of the document is cut short.</source>
        <translation>Ihre Beschreibung des Dokuments ist abgeschnitten.</translation>
    </message>
    <message>
        <source>Its description of the document cannot be read.</source>
        <translation>Ihre Beschreibung des Dokuments kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>It gives a length that does not fit the copy.</source>
        <translation>Sie gibt eine Länge an, die nicht zur Kopie passt.</translation>
    </message>
    <message>
        <source>It holds %1 bytes of text where %2 were written.</source>
        <translation>Sie enthält %1 Byte Text, geschrieben wurden aber %2.</translation>
    </message>
    <message>
        <source>Its text has been changed or damaged since it was written.</source>
        <translation>Ihr Text wurde seit dem Schreiben geändert oder beschädigt.</translation>
    </message>
    <message>
        <source>Its text is not valid UTF-8.</source>
        <translation>Ihr Text ist kein gültiges UTF-8.</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>at an unknown time</source>
        <translation>zu einem unbekannten Zeitpunkt</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>A recovery copy of unsaved changes cannot be read. It was set aside as
%1

%2</source>
        <translation>Eine Wiederherstellungskopie ungespeicherter Änderungen kann nicht gelesen werden. Sie wurde beiseitegelegt unter
%1

%2</translation>
    </message>
    <message>
        <source>%1 (last changed %2)</source>
        <translation>%1 (zuletzt geändert %2)</translation>
    </message>
    <message>
        <source>quorpad ended without saving changes to a document and kept a copy of them.

Document: %1
Last changed: %2

Restore brings the changes back as an unsaved document; Discard deletes the copy; Later keeps it for the next start.</source>
        <translation>quorpad wurde beendet, ohne die Änderungen an einem Dokument zu speichern, und hat eine Kopie davon aufbewahrt.

Dokument: %1
Zuletzt geändert: %2

„Wiederherstellen“ holt die Änderungen als ungespeichertes Dokument zurück; „Verwerfen“ löscht die Kopie; „Später“ bewahrt sie für den nächsten Start auf.</translation>
    </message>
    <message numerus="yes">
        <source>%n recovery copies of unsaved changes cannot be read. They were set aside, the first as
%1

%2</source>
        <translation>
            <numerusform>%n Wiederherstellungskopie ungespeicherter Änderungen kann nicht gelesen werden. Sie wurde beiseitegelegt unter
%1

%2</numerusform>
            <numerusform>%n Wiederherstellungskopien ungespeicherter Änderungen können nicht gelesen werden. Sie wurden beiseitegelegt, die erste unter
%1

%2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>quorpad ended without saving changes to %n documents and kept copies of them.

Restore brings back the first document checked as an unsaved document (the other copies stay for the next start); Discard deletes the copies checked; Later keeps them all for the next start.</source>
        <translation>
            <numerusform>quorpad wurde beendet, ohne die Änderungen an %n Dokument zu speichern, und hat eine Kopie davon aufbewahrt.

„Wiederherstellen“ holt das erste angekreuzte Dokument als ungespeichertes Dokument zurück (die übrigen Kopien bleiben für den nächsten Start); „Verwerfen“ löscht die angekreuzten Kopien; „Später“ bewahrt alle für den nächsten Start auf.</numerusform>
            <numerusform>quorpad wurde beendet, ohne die Änderungen an %n Dokumenten zu speichern, und hat Kopien davon aufbewahrt.

„Wiederherstellen“ holt das erste angekreuzte Dokument als ungespeichertes Dokument zurück (die übrigen Kopien bleiben für den nächsten Start); „Verwerfen“ löscht die angekreuzten Kopien; „Später“ bewahrt alle für den nächsten Start auf.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>could not lock %1 (%2); going on without it</source>
        <translation>%1 konnte nicht gesperrt werden (%2); es wird ohne Sperre fortgefahren</translation>
    </message>
    <message>
        <source>no permission</source>
        <translation>keine Berechtigung</translation>
    </message>
    <message>
        <source>held</source>
        <translation>belegt</translation>
    </message>
    <message>
        <source>could not reach the running quorpad at %1: %2</source>
        <translation>das laufende quorpad unter %1 ist nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>%1 is held by another user; not handing over to it</source>
        <translation>%1 gehört einem anderen Benutzer; es erfolgt keine Übergabe</translation>
    </message>
    <message>
        <source>the running quorpad sent an answer too long to read</source>
        <translation>das laufende quorpad hat eine zu lange Antwort gesendet</translation>
    </message>
    <message>
        <source>the running quorpad ended before it answered</source>
        <translation>das laufende quorpad wurde beendet, bevor es geantwortet hat</translation>
    </message>
    <message>
        <source>the running quorpad did not answer within %1 s (%2)</source>
        <translation>das laufende quorpad hat nicht innerhalb von %1 s geantwortet (%2)</translation>
    </message>
    <message>
        <source>the running quorpad&apos;s answer could not be read</source>
        <translation>die Antwort des laufenden quorpad konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>could not listen on %1: %2</source>
        <translation>an %1 kann nicht auf Verbindungen gewartet werden: %2</translation>
    </message>
    <message>
        <source>another quorpad answers later starts at %1 now</source>
        <translation>ein anderes quorpad beantwortet spätere Starts jetzt unter %1</translation>
    </message>
    <message>
        <source>later starts cannot reach this quorpad at %1 (%2); trying again</source>
        <translation>spätere Starts können dieses quorpad unter %1 nicht erreichen (%2); neuer Versuch</translation>
    </message>
    <message>
        <source>quorpad: the running quorpad is of another release (its exchange is version %1, this one&apos;s %2); end it, or start with --new-instance
</source>
        <translation>quorpad: das laufende quorpad gehört zu einer anderen Version (sein Austauschformat hat Version %1, dieses %2); beenden Sie es oder starten Sie mit --new-instance
</translation>
    </message>
</context>
<context>
    <name>StoreVersions</name>
    <message>
        <source>it is not yours alone: %1</source>
        <translation>es gehört nicht Ihnen allein: %1</translation>
    </message>
    <message>
        <source>the versions&apos; folder %1 cannot be used: %2</source>
        <translation>der Versionsordner %1 kann nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>Restored the version of %1</source>
        <translation>Version vom %1 wiederhergestellt</translation>
    </message>
    <message>
        <source>change %1: &quot;%2&quot; becomes &quot;%3&quot;</source>
        <translation>%1 ändern: „%2“ wird zu „%3“</translation>
    </message>
    <message>
        <source>rename %1 to %2</source>
        <translation>%1 in %2 umbenennen</translation>
    </message>
    <message>
        <source>add %1: %2</source>
        <translation>%1 hinzufügen: %2</translation>
    </message>
    <message>
        <source>remove %1: %2</source>
        <translation>%1 entfernen: %2</translation>
    </message>
    <message>
        <source>put the templates in another order</source>
        <translation>die Vorlagen in eine andere Reihenfolge bringen</translation>
    </message>
    <message>
        <source>Restoring this version changes nothing: it holds the templates as they are now.</source>
        <translation>Das Wiederherstellen dieser Version ändert nichts: Sie enthält die Vorlagen so, wie sie jetzt sind.</translation>
    </message>
    <message>
        <source>Restoring this version would:
- %1</source>
        <translation>Das Wiederherstellen dieser Version würde:
- %1</translation>
    </message>
    <message>
        <source>at %1</source>
        <translation>in %1</translation>
    </message>
    <message>
        <source>This version cannot be read: %1</source>
        <translation>Diese Version kann nicht gelesen werden: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n template(s)</source>
        <translation>
            <numerusform>%n Vorlage</numerusform>
            <numerusform>%n Vorlagen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> und %n weitere</numerusform>
            <numerusform> und %n weitere</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>rename %n more</source>
        <translation>
            <numerusform>%n weitere umbenennen</numerusform>
            <numerusform>%n weitere umbenennen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>change %n more</source>
        <translation>
            <numerusform>%n weitere ändern</numerusform>
            <numerusform>%n weitere ändern</numerusform>
        </translation>
    </message>
    <message>
        <source>The templates as they are now cannot be read from %1: </source>
        <translation>Die Vorlagen, wie sie jetzt sind, können nicht aus %1 gelesen werden: </translation>
    </message>
</context>
<context>
    <name>TemplateFiles</name>
    <message>
        <source>line %1: no template is in this file: a template is an index, a name and a value, separated by byte 4</source>
        <translation>Zeile %1: In dieser Datei ist keine Vorlage: Eine Vorlage besteht aus Index, Name und Wert, getrennt durch Byte 4</translation>
    </message>
    <message>
        <source>line %1: a quote inside a field that does not begin with one</source>
        <translation>Zeile %1: ein Anführungszeichen in einem Feld, das nicht mit einem beginnt</translation>
    </message>
    <message>
        <source>line %1: text after a quoted field&apos;s closing quote</source>
        <translation>Zeile %1: Text nach dem schließenden Anführungszeichen eines Feldes in Anführungszeichen</translation>
    </message>
    <message>
        <source>line %1: a quoted field is not closed</source>
        <translation>Zeile %1: ein Feld in Anführungszeichen ist nicht geschlossen</translation>
    </message>
    <message>
        <source>line 1: the first line must be the header &quot;name,value&quot;</source>
        <translation>Zeile 1: Die erste Zeile muss die Kopfzeile „name,value“ sein</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>Zeile %1: %2</translation>
    </message>
    <message>
        <source>Imported from %1: %2 added, %3 replaced, %4 skipped.</source>
        <translation>Importiert aus %1: %2 hinzugefügt, %3 ersetzt, %4 übersprungen.</translation>
    </message>
    <message>
        <source>

Not imported:
%1</source>
        <translation>

Nicht importiert:
%1</translation>
    </message>
    <message numerus="yes">
        <source>line %1: a row has a name and a value; this one has %n field(s)</source>
        <translation>
            <numerusform>Zeile %1: Eine Zeile hat einen Namen und einen Wert; diese hat %n Feld</numerusform>
            <numerusform>Zeile %1: Eine Zeile hat einen Namen und einen Wert; diese hat %n Felder</numerusform>
        </translation>
    </message>
    <message>
        <source>The name is empty.</source>
        <translation>Der Name ist leer.</translation>
    </message>
</context>
<context>
    <name>TemplateInsertion</name>
    <message>
        <source>The template “%1” asks for:</source>
        <translation>Die Vorlage „%1“ fragt nach:</translation>
    </message>
    <message>
        <source>Fill In Template</source>
        <translation>Vorlage ausfüllen</translation>
    </message>
</context>
<context>
    <name>TemplatePicker</name>
    <message>
        <source>Type to find a template</source>
        <translation>Tippen Sie, um eine Vorlage zu finden</translation>
    </message>
    <message>
        <source>Find a template</source>
        <translation>Vorlage suchen</translation>
    </message>
    <message>
        <source>Templates</source>
        <translation>Vorlagen</translation>
    </message>
    <message>
        <source>The templates could not be read from %1: </source>
        <translation>Die Vorlagen konnten nicht aus %1 gelesen werden: </translation>
    </message>
    <message>
        <source>Reading the templates</source>
        <translation>Vorlagen werden gelesen</translation>
    </message>
    <message>
        <source>There are no templates yet.</source>
        <translation>Es gibt noch keine Vorlagen.</translation>
    </message>
    <message>
        <source>No template matches.</source>
        <translation>Keine passende Vorlage.</translation>
    </message>
</context>
<context>
    <name>TemplateRequests</name>
    <message>
        <source>the templates could not be read: </source>
        <translation>die Vorlagen konnten nicht gelesen werden: </translation>
    </message>
    <message>
        <source>no template is called &quot;%1&quot; (quorpad --list prints their names)</source>
        <translation>es gibt keine Vorlage namens „%1“ (quorpad --list gibt ihre Namen aus)</translation>
    </message>
    <message>
        <source>quorpad: --copy asks nothing, so these fields are empty: %1
</source>
        <translation>quorpad: --copy fragt nichts ab, daher bleiben diese Felder leer: %1
</translation>
    </message>
    <message>
        <source>the main window could not be loaded: </source>
        <translation>das Hauptfenster konnte nicht geladen werden: </translation>
    </message>
</context>
<context>
    <name>VersionLines</name>
    <message>
        <source>Using Quorvin Template Engine </source>
        <translation>Verwendet Quorvin Template Engine </translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>not a regular file</source>
        <translation>keine reguläre Datei</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>ein Ordner</translation>
    </message>
    <message>
        <source>a character device</source>
        <translation>ein zeichenorientiertes Gerät</translation>
    </message>
    <message>
        <source>a block device</source>
        <translation>ein blockorientiertes Gerät</translation>
    </message>
    <message>
        <source>a named pipe (FIFO)</source>
        <translation>eine benannte Pipe (FIFO)</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>ein Socket</translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation>eine symbolische Verknüpfung</translation>
    </message>
    <message>
        <source>It is %1, not a regular file.</source>
        <translation>Es ist %1, keine reguläre Datei.</translation>
    </message>
    <message>
        <source>The file is larger than %1, too large to read here.</source>
        <translation>Die Datei ist größer als %1 und damit zu groß, um hier gelesen zu werden.</translation>
    </message>
    <message>
        <source>%1 is a symbolic link of user %2 in %3, a folder every user may write to; quorpad does not write through another user&apos;s link there.</source>
        <translation>%1 ist eine symbolische Verknüpfung des Benutzers %2 in %3, einem Ordner, in den jeder Benutzer schreiben darf; quorpad schreibt dort nicht über die Verknüpfung eines anderen Benutzers.</translation>
    </message>
    <message>
        <source>Only %1 of %2 bytes reached the disk.</source>
        <translation>Nur %1 von %2 Byte wurden auf den Datenträger geschrieben.</translation>
    </message>
    <message>
        <source>no file can be made in its folder %1: %2</source>
        <translation>in seinem Ordner %1 kann keine Datei angelegt werden: %2</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Using Quorvin Template Engine</source>
        <translation>Verwendet Quorvin Template Engine</translation>
    </message>
    <message>
        <source>(version unknown: %1)</source>
        <translation>(Version unbekannt: %1)</translation>
    </message>
</context>
<context>
    <name>frmConfig</name>
    <message>
        <source>Configuration</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Page Preview</source>
        <translation>Seitenvorschau</translation>
    </message>
    <message>
        <source>Browser Path:</source>
        <translation>Browser-Pfad:</translation>
    </message>
    <message>
        <source>Browser path</source>
        <translation>Browser-Pfad</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Select Preview Browser</source>
        <translation>Browser für die Vorschau auswählen</translation>
    </message>
    <message>
        <source>Could not save the settings file</source>
        <translation>Fehler beim Speichern der Einstellungsdatei</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Document</source>
        <translation>Dokument</translation>
    </message>
    <message>
        <source>The text being edited. The Menu key opens the templates popup; Ctrl+T finds any template.</source>
        <translation>Der bearbeitete Text. Die Menütaste öffnet das Vorlagenmenü; Strg+T findet jede beliebige Vorlage.</translation>
    </message>
    <message>
        <source>Document status</source>
        <translation>Dokumentstatus</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Öffnen...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Manage Templates</source>
        <translation>Vorlagen verwalten</translation>
    </message>
    <message>
        <source>Preview Page</source>
        <translation>Seitenvorschau</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation>Gehe zu Zeile</translation>
    </message>
    <message>
        <source>Line number (1 to %1):</source>
        <translation>Zeilennummer (1 bis %1):</translation>
    </message>
    <message>
        <source>Reading the templates</source>
        <translation>Vorlagen werden gelesen</translation>
    </message>
    <message>
        <source>Not Set</source>
        <translation>Nicht belegt</translation>
    </message>
</context>
<context>
    <name>frmManage</name>
    <message>
        <source>No value set for this template!</source>
        <translation>Für diese Vorlage ist kein Wert festgelegt!</translation>
    </message>
    <message>
        <source>Manage Templates</source>
        <translation>Vorlagen verwalten</translation>
    </message>
    <message>
        <source>Existing Templates</source>
        <translation>Vorhandene Vorlagen</translation>
    </message>
    <message>
        <source>Existing templates</source>
        <translation>Vorhandene Vorlagen</translation>
    </message>
    <message>
        <source>The templates in store order; the first thirteen fill the popup.</source>
        <translation>Die Vorlagen in der gespeicherten Reihenfolge; die ersten dreizehn füllen das Vorlagenmenü.</translation>
    </message>
    <message>
        <source>Find a template</source>
        <translation>Vorlage suchen</translation>
    </message>
    <message>
        <source>Shows the templates whose name or text holds what is typed. Down goes to the list; Escape shows every template again.</source>
        <translation>Zeigt die Vorlagen, deren Name oder Text das Eingegebene enthält. Pfeil nach unten wechselt in die Liste; Esc zeigt wieder alle Vorlagen.</translation>
    </message>
    <message>
        <source>Template Values</source>
        <translation>Vorlagenwerte</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Template name</source>
        <translation>Vorlagenname</translation>
    </message>
    <message>
        <source>Index:</source>
        <translation>Index:</translation>
    </message>
    <message>
        <source>Template menu index</source>
        <translation>Menüindex der Vorlage</translation>
    </message>
    <message>
        <source>Template Menu Index.</source>
        <translation>Menüindex der Vorlage.</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>Wert:</translation>
    </message>
    <message>
        <source>Template text</source>
        <translation>Vorlagentext</translation>
    </message>
    <message>
        <source>The text the template inserts. Tab moves on; Ctrl+Tab types a tab.</source>
        <translation>Der Text, den die Vorlage einfügt. Tab springt weiter; Strg+Tab fügt einen Tabulator ein.</translation>
    </message>
    <message>
        <source>Preview Template</source>
        <translation>Vorlagenvorschau</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Add this template.</source>
        <translation>Diese Vorlage hinzufügen.</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove this template.</source>
        <translation>Diese Vorlage entfernen.</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Modify the current template.</source>
        <translation>Die aktuelle Vorlage ändern.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Moves the chosen template up: the first thirteen fill the popup (Alt+Up in the list).</source>
        <translation>Verschiebt die gewählte Vorlage nach oben: Die ersten dreizehn füllen das Vorlagenmenü (Alt+Pfeil nach oben in der Liste).</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Moves the chosen template down (Alt+Down in the list).</source>
        <translation>Verschiebt die gewählte Vorlage nach unten (Alt+Pfeil nach unten in der Liste).</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Gives the chosen template the name in the Name box (F2 in the list goes there).</source>
        <translation>Gibt der gewählten Vorlage den Namen aus dem Feld „Name“ (F2 in der Liste springt dorthin).</translation>
    </message>
    <message>
        <source>Versions...</source>
        <translation>Versionen...</translation>
    </message>
    <message>
        <source>Earlier versions of the templates, to restore one.</source>
        <translation>Frühere Versionen der Vorlagen, um eine davon wiederherzustellen.</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exportieren...</translation>
    </message>
    <message>
        <source>Writes all templates, or those chosen in the list, to a file (CSV, or the store&apos;s own format).</source>
        <translation>Schreibt alle Vorlagen oder die in der Liste gewählten in eine Datei (CSV oder das eigene Format des Vorlagenspeichers).</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importieren...</translation>
    </message>
    <message>
        <source>Reads templates from a CSV file or a store file.</source>
        <translation>Liest Vorlagen aus einer CSV-Datei oder einer Vorlagenspeicher-Datei.</translation>
    </message>
    <message>
        <source>Fill fields</source>
        <translation>Felder ausfüllen</translation>
    </message>
    <message>
        <source>For every template: {:caret:}, {:date:}, {:time:}, {:clipboard:}, {:selection:} and {:ask Name:} in a template&apos;s text are filled as it is inserted; {:: writes {: itself. Off, every template inserts as written.</source>
        <translation>Für alle Vorlagen: {:caret:}, {:date:}, {:time:}, {:clipboard:}, {:selection:} und {:ask Name:} im Text einer Vorlage werden beim Einfügen ausgefüllt; {:: schreibt {: selbst. Ausgeschaltet fügt jede Vorlage ihren Text unverändert ein.</translation>
    </message>
    <message>
        <source>Fields are filled only with this on:</source>
        <translation>Felder werden nur ausgefüllt, wenn dies eingeschaltet ist:</translation>
    </message>
    <message>
        <source>This text holds fields; with Fill fields off it inserts as written, markers and all.</source>
        <translation>Dieser Text enthält Felder; ist „Felder ausfüllen“ ausgeschaltet, wird er unverändert eingefügt, samt Feldmarkierungen.</translation>
    </message>
    <message>
        <source>Could not save the settings to</source>
        <translation>Fehler beim Speichern der Einstellungen in</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no longer in the templates: it was renamed or removed elsewhere.</source>
        <translation>„%1“ ist nicht mehr unter den Vorlagen: Die Vorlage wurde andernorts umbenannt oder entfernt.</translation>
    </message>
    <message>
        <source>Template Exists!</source>
        <translation>Vorlage existiert bereits!</translation>
    </message>
    <message>
        <source>Added %1</source>
        <translation>%1 hinzugefügt</translation>
    </message>
    <message>
        <source>Could Not Add the template &apos;%1&apos;!</source>
        <translation>Die Vorlage „%1“ konnte nicht hinzugefügt werden!</translation>
    </message>
    <message>
        <source>Changed %1</source>
        <translation>%1 geändert</translation>
    </message>
    <message>
        <source>Removed %1</source>
        <translation>%1 entfernt</translation>
    </message>
    <message>
        <source>Moved %1 up</source>
        <translation>%1 nach oben verschoben</translation>
    </message>
    <message>
        <source>Moved %1 down</source>
        <translation>%1 nach unten verschoben</translation>
    </message>
    <message>
        <source>Moved %1 from place %2 to %3</source>
        <translation>%1 von Position %2 auf %3 verschoben</translation>
    </message>
    <message>
        <source>Could not keep a version of the templates before this change</source>
        <translation>Vor dieser Änderung konnte keine Version der Vorlagen aufbewahrt werden</translation>
    </message>
    <message>
        <source>No earlier versions of the templates are kept yet: one is kept before each change made here.</source>
        <translation>Es werden noch keine früheren Versionen der Vorlagen aufbewahrt: Vor jeder hier vorgenommenen Änderung wird eine aufbewahrt.</translation>
    </message>
    <message>
        <source>   then: %1</source>
        <translation>   danach: %1</translation>
    </message>
    <message>
        <source>Template Versions</source>
        <translation>Vorlagenversionen</translation>
    </message>
    <message>
        <source>The templates as they were before each of the last changes, newest first, with the change that followed. Restore makes the one chosen your templates again; the templates as they are now are kept as a version too, so that the restore can be taken back.</source>
        <translation>Die Vorlagen, wie sie vor jeder der letzten Änderungen waren, die neueste zuerst, jeweils mit der darauf folgenden Änderung. „Wiederherstellen“ macht die gewählte Version wieder zu Ihren Vorlagen; die aktuellen Vorlagen werden ebenfalls als Version aufbewahrt, sodass sich die Wiederherstellung rückgängig machen lässt.</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Could not restore the templates</source>
        <translation>Fehler beim Wiederherstellen der Vorlagen</translation>
    </message>
    <message>
        <source>There are no templates to export.</source>
        <translation>Es gibt keine Vorlagen zum Exportieren.</translation>
    </message>
    <message numerus="yes">
        <source>Export the %1 chosen in the list, or all %n templates?</source>
        <translation>
            <numerusform>Die %1 in der Liste gewählte oder insgesamt %n Vorlage exportieren?</numerusform>
            <numerusform>Die %1 in der Liste gewählten oder alle %n Vorlagen exportieren?</numerusform>
        </translation>
    </message>
    <message>
        <source>Chosen</source>
        <translation>Gewählte</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>Export Templates</source>
        <translation>Vorlagen exportieren</translation>
    </message>
    <message>
        <source>Template store (*.dat)</source>
        <translation>Vorlagenspeicher (*.dat)</translation>
    </message>
    <message>
        <source>Could not export the templates to</source>
        <translation>Fehler beim Exportieren der Vorlagen nach</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n template(s) to %1.</source>
        <translation>
            <numerusform>%n Vorlage nach %1 exportiert.</numerusform>
            <numerusform>%n Vorlagen nach %1 exportiert.</numerusform>
        </translation>
    </message>
    <message>
        <source>Import Templates</source>
        <translation>Vorlagen importieren</translation>
    </message>
    <message>
        <source>Templates (*.csv *.dat)</source>
        <translation>Vorlagen (*.csv *.dat)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Could not import the templates from</source>
        <translation>Fehler beim Importieren der Vorlagen aus</translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n templates in %2 have names that exist already. Skip them, replace the existing ones, or keep both (the imported ones get a number after their name)?</source>
        <translation>
            <numerusform>In %2 gibt es %n Vorlage, davon %1 mit bereits vorhandenem Namen. Überspringen, die vorhandenen ersetzen oder beide behalten (die importierten erhalten eine Nummer hinter ihrem Namen)?</numerusform>
            <numerusform>In %2 gibt es %n Vorlagen, davon %1 mit bereits vorhandenem Namen. Überspringen, die vorhandenen ersetzen oder beide behalten (die importierten erhalten eine Nummer hinter ihrem Namen)?</numerusform>
        </translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Ersetzen</translation>
    </message>
    <message>
        <source>Keep Both</source>
        <translation>Beide behalten</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n template(s) from %1</source>
        <translation>
            <numerusform>%n Vorlage aus %1 importiert</numerusform>
            <numerusform>%n Vorlagen aus %1 importiert</numerusform>
        </translation>
    </message>
    <message>
        <source>Renamed %1 to %2</source>
        <translation>%1 in %2 umbenannt</translation>
    </message>
    <message>
        <source>A template named &apos;%1&apos; exists already.</source>
        <translation>Eine Vorlage namens „%1“ existiert bereits.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>quorpad: no display to open a window on (%1 is not set): %2
</source>
        <translation>quorpad: keine Anzeige, auf der ein Fenster geöffnet werden kann (%1 ist nicht gesetzt): %2
</translation>
    </message>
    <message>
        <source>quorpad: cannot open a window on the display %1: %2
</source>
        <translation>quorpad: auf der Anzeige %1 kann kein Fenster geöffnet werden: %2
</translation>
    </message>
    <message>
        <source>quorpad: %1; starting on its own
</source>
        <translation>quorpad: %1; es wird eigenständig gestartet
</translation>
    </message>
</context>
</TS>
