<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>CommandLine</name>
    <message>
        <source>Edit plain-text and HTML files with reusable templates, from the notification area.
A quorpad that is already running opens FILE itself and comes to the front.</source>
        <translation>Édite des fichiers texte brut et HTML à l’aide de modèles réutilisables, depuis la zone de notification.
Un quorpad déjà en cours d’exécution ouvre lui-même FILE et passe au premier plan.</translation>
    </message>
    <message>
        <source>Print this help and end.</source>
        <translation>Affiche cette aide et quitte.</translation>
    </message>
    <message>
        <source>Print the program&apos;s and the template engine&apos;s versions and end.</source>
        <translation>Affiche les versions du programme et du moteur de modèles, puis quitte.</translation>
    </message>
    <message>
        <source>Start a quorpad of its own even when one is running already.</source>
        <translation>Démarre un quorpad distinct même si un autre est déjà en cours d’exécution.</translation>
    </message>
    <message>
        <source>Print the names of the templates, one a line, in the store&apos;s order.</source>
        <translation>Affiche les noms des modèles, un par ligne, dans l’ordre du fichier de modèles.</translation>
    </message>
    <message>
        <source>Put the text of the template NAME on the clipboard, where the running quorpad keeps it for other programs.</source>
        <translation>Place le texte du modèle NAME dans le presse-papiers, où le quorpad en cours d’exécution le garde à disposition des autres programmes.</translation>
    </message>
    <message>
        <source>Show the template picker as a small window of its own (for a desktop shortcut); the template chosen goes on the clipboard and is pasted into the window that had the keyboard.</source>
        <translation>Affiche le sélecteur de modèles dans une petite fenêtre distincte (pour un raccourci du bureau)&#xa0;; le modèle choisi est placé dans le presse-papiers puis collé dans la fenêtre qui avait le focus clavier.</translation>
    </message>
    <message>
        <source>With --pick: the key that pastes, such as ctrl+shift+v or shift+Insert for a terminal (ctrl+v unless given).</source>
        <translation>Avec --pick&#xa0;: la touche qui colle, par exemple ctrl+shift+v ou shift+Insert pour un terminal (ctrl+v par défaut).</translation>
    </message>
    <message>
        <source>With --pick: only put the template on the clipboard.</source>
        <translation>Avec --pick&#xa0;: place seulement le modèle dans le presse-papiers.</translation>
    </message>
    <message>
        <source>The file to open (a text or HTML file).</source>
        <translation>Le fichier à ouvrir (un fichier texte ou HTML).</translation>
    </message>
    <message>
        <source>--pick cannot be given with --%1</source>
        <translation>--pick ne peut pas être utilisé avec --%1</translation>
    </message>
    <message>
        <source>--pick takes no file</source>
        <translation>--pick n’accepte aucun fichier</translation>
    </message>
    <message>
        <source>--paste-key is given once, and not with --no-paste</source>
        <translation>--paste-key s’indique une seule fois, et pas avec --no-paste</translation>
    </message>
    <message>
        <source>--paste-key %1: %2</source>
        <translation>--paste-key %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>--%1 goes with --pick</source>
        <translation>--%1 s’utilise avec --pick</translation>
    </message>
    <message>
        <source>--list and --copy cannot be given together</source>
        <translation>--list et --copy ne peuvent pas être utilisés ensemble</translation>
    </message>
    <message>
        <source>--copy takes one template</source>
        <translation>--copy accepte un seul modèle</translation>
    </message>
    <message>
        <source>--%1 takes no file</source>
        <translation>--%1 n’accepte aucun fichier</translation>
    </message>
</context>
<context>
    <name>Document</name>
    <message>
        <source>reading line %1</source>
        <translation>lecture de la ligne %1</translation>
    </message>
    <message>
        <source>“%1” (U+%2) is not in Windows-1252: the file will be saved as UTF-8.</source>
        <translation>«&#xa0;%1&#xa0;» (U+%2) n’est pas dans Windows-1252&#xa0;: le fichier sera enregistré en UTF-8.</translation>
    </message>
    <message>
        <source>Do you wish to save this file:<byte value="xd"/>
%1</source>
        <translation>Voulez-vous enregistrer ce fichier&#xa0;?<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>Saving</source>
        <translation>Enregistrement</translation>
    </message>
    <message>
        <source>The save was stopped before it ended.</source>
        <translation>L’enregistrement a été interrompu avant la fin.</translation>
    </message>
    <message>
        <source>The text changed while it was written; save it again.</source>
        <translation>Le texte a changé pendant son écriture&#xa0;; enregistrez-le de nouveau.</translation>
    </message>
    <message>
        <source>Could not save the file</source>
        <translation>Impossible d’enregistrer le fichier</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Enregistrer le fichier</translation>
    </message>
    <message>
        <source>Open File</source>
        <translation>Ouvrir un fichier</translation>
    </message>
    <message>
        <source>opening %1...</source>
        <translation>ouverture de %1...</translation>
    </message>
    <message>
        <source>Could not open the file</source>
        <translation>Impossible d’ouvrir le fichier</translation>
    </message>
    <message>
        <source>Opening</source>
        <translation>Ouverture</translation>
    </message>
    <message>
        <source>Opening (read-only until whole)</source>
        <translation>Ouverture (lecture seule jusqu’au chargement complet)</translation>
    </message>
    <message>
        <source>saving %1...</source>
        <translation>enregistrement de %1...</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Sans titre</translation>
    </message>
</context>
<context>
    <name>DocumentFile</name>
    <message>
        <source>It holds binary data (a NUL byte at offset %1), not text: quorpad opens text files only, and saving it would change it.</source>
        <translation>Il contient des données binaires (un octet NUL à la position %1), et non du texte&#xa0;: quorpad n’ouvre que des fichiers texte, et l’enregistrer le modifierait.</translation>
    </message>
    <message>
        <source>It holds binary data (control bytes), not text: quorpad opens text files only, and saving it would change it.</source>
        <translation>Il contient des données binaires (des octets de contrôle), et non du texte&#xa0;: quorpad n’ouvre que des fichiers texte, et l’enregistrer le modifierait.</translation>
    </message>
</context>
<context>
    <name>DocumentPanels</name>
    <message>
        <source>Format notice</source>
        <translation>Avis de format</translation>
    </message>
    <message>
        <source>Caret position</source>
        <translation>Position du curseur</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Encodage</translation>
    </message>
    <message>
        <source>The encoding the next save writes. Click or press Ctrl+E in the document to choose.</source>
        <translation>L’encodage utilisé au prochain enregistrement. Cliquez ou appuyez sur Ctrl+E dans le document pour le choisir.</translation>
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
        <translation>Fins de ligne</translation>
    </message>
    <message>
        <source>The line ends the next save writes. Click or press Ctrl+L in the document to choose.</source>
        <translation>Les fins de ligne utilisées au prochain enregistrement. Cliquez ou appuyez sur Ctrl+L dans le document pour les choisir.</translation>
    </message>
    <message>
        <source>Unsaved changes</source>
        <translation>Modifications non enregistrées</translation>
    </message>
    <message>
        <source>Work under way</source>
        <translation>Opération en cours</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Stops the work and leaves everything as it was (Escape).</source>
        <translation>Arrête l’opération et laisse tout en l’état (Échap).</translation>
    </message>
    <message>
        <source>Ln %1, Col %2</source>
        <translation>Ligne %1, col. %2</translation>
    </message>
    <message>
        <source>Mixed</source>
        <translation>Mixtes</translation>
    </message>
    <message>
        <source>Unsaved</source>
        <translation>Non enregistré</translation>
    </message>
    <message>
        <source>%1...</source>
        <translation>%1...</translation>
    </message>
    <message>
        <source>%1... %2%</source>
        <translation>%1... %2&#xa0;%</translation>
    </message>
    <message>
        <source>The text has characters that Windows-1252 lacks.</source>
        <translation>Le texte contient des caractères absents de Windows-1252.</translation>
    </message>
</context>
<context>
    <name>EngineError</name>
    <message>
        <source>Overflow</source>
        <translation>Dépassement de capacité</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Type incompatible</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Fichier introuvable</translation>
    </message>
    <message>
        <source>Device I/O error</source>
        <translation>Erreur d’entrée/sortie sur le périphérique</translation>
    </message>
    <message>
        <source>Disk full</source>
        <translation>Disque plein</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permission refusée</translation>
    </message>
    <message>
        <source>Path/File access error</source>
        <translation>Erreur d’accès au chemin/fichier</translation>
    </message>
    <message>
        <source>Object doesn&apos;t support this property or method</source>
        <translation>Propriété ou méthode non gérée par cet objet</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Erreur définie par l’application ou par l’objet</translation>
    </message>
</context>
<context>
    <name>EngineRefusal</name>
    <message>
        <source>A template name cannot contain the control character 0x04: it separates a template&apos;s name from its value in the store.</source>
        <translation>Un nom de modèle ne peut pas contenir le caractère de contrôle 0x04 : il sépare, dans le fichier de modèles, le nom d’un modèle de sa valeur.</translation>
    </message>
    <message>
        <source>A template name cannot be longer than 32767 characters.</source>
        <translation>Un nom de modèle ne peut pas dépasser 32767 caractères.</translation>
    </message>
    <message>
        <source>A template with the same text is stored already.</source>
        <translation>Un modèle avec le même texte est déjà enregistré.</translation>
    </message>
</context>
<context>
    <name>Failure</name>
    <message>
        <source>unknown error</source>
        <translation>erreur inconnue</translation>
    </message>
</context>
<context>
    <name>FindBar</name>
    <message>
        <source>No match</source>
        <translation>Aucune occurrence</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Rechercher</translation>
    </message>
    <message>
        <source>Searched for as you type. Enter finds the next match, Shift+Enter the previous one, Escape closes the bar.</source>
        <translation>La recherche se fait pendant la saisie. Entrée trouve l’occurrence suivante, Maj+Entrée la précédente, Échap ferme la barre.</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>The previous match (Shift+F3).</source>
        <translation>L’occurrence précédente (Maj+F3).</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>The next match (F3).</source>
        <translation>L’occurrence suivante (F3).</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation>Respecter la casse</translation>
    </message>
    <message>
        <source>Whole words</source>
        <translation>Mots entiers</translation>
    </message>
    <message>
        <source>Regular expression</source>
        <translation>Expression régulière</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Closes the bar (Escape).</source>
        <translation>Ferme la barre (Échap).</translation>
    </message>
    <message>
        <source>Replace with</source>
        <translation>Remplacer par</translation>
    </message>
    <message>
        <source>Enter replaces the selected match and finds the next; Ctrl+Enter replaces every match.</source>
        <translation>Entrée remplace l’occurrence sélectionnée et trouve la suivante&#xa0;; Ctrl+Entrée remplace toutes les occurrences.</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Replaces the selected match and finds the next.</source>
        <translation>Remplace l’occurrence sélectionnée et trouve la suivante.</translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation>Tout remplacer</translation>
    </message>
    <message>
        <source>Replaces every match, as one step for Undo.</source>
        <translation>Remplace toutes les occurrences, en une seule étape d’annulation.</translation>
    </message>
    <message>
        <source>Find status</source>
        <translation>État de la recherche</translation>
    </message>
    <message>
        <source>Not a regular expression: %1 (at character %2)</source>
        <translation>Expression régulière non valide&#xa0;: %1 (au caractère %2)</translation>
    </message>
    <message>
        <source>Not found.</source>
        <translation>Introuvable.</translation>
    </message>
    <message>
        <source>Search wrapped around the end.</source>
        <translation>Recherche poursuivie depuis le début.</translation>
    </message>
    <message>
        <source>Search wrapped around the start.</source>
        <translation>Recherche poursuivie depuis la fin.</translation>
    </message>
    <message>
        <source>Searching</source>
        <translation>Recherche</translation>
    </message>
    <message>
        <source>Replacing</source>
        <translation>Remplacement</translation>
    </message>
    <message>
        <source>Replace All stopped part-way: the document changed meanwhile.</source>
        <translation>«&#xa0;Tout remplacer&#xa0;» s’est arrêté en cours de route&#xa0;: le document a changé entre-temps.</translation>
    </message>
    <message>
        <source>Nothing was replaced: the document changed meanwhile.</source>
        <translation>Rien n’a été remplacé&#xa0;: le document a changé entre-temps.</translation>
    </message>
    <message>
        <source>Nothing was replaced: %1</source>
        <translation>Rien n’a été remplacé&#xa0;: %1</translation>
    </message>
    <message numerus="yes">
        <source>Replaced %n match(es).</source>
        <translation>
            <numerusform>%n occurrence remplacée.</numerusform>
            <numerusform>%n occurrences remplacées.</numerusform>
        </translation>
    </message>
    <message>
        <source>Counting</source>
        <translation>Comptage</translation>
    </message>
    <message>
        <source>The expression is too complex to search this text.</source>
        <translation>L’expression est trop complexe pour rechercher dans ce texte.</translation>
    </message>
    <message numerus="yes">
        <source>%n match(es)</source>
        <translation>
            <numerusform>%n occurrence</numerusform>
            <numerusform>%n occurrences</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HandOver</name>
    <message>
        <source>Could not open the file %1

%2</source>
        <translation>Impossible d’ouvrir le fichier %1

%2</translation>
    </message>
    <message>
        <source>the main window could not be loaded: </source>
        <translation>la fenêtre principale n’a pas pu être chargée&#xa0;: </translation>
    </message>
    <message>
        <source>quorpad: edits one file at a time; opened %1, left out: %2
</source>
        <translation>quorpad: modifie un seul fichier à la fois&#xa0;; ouvert&#xa0;: %1, laissés de côté&#xa0;: %2
</translation>
    </message>
</context>
<context>
    <name>ImportJob</name>
    <message>
        <source>Reading %1</source>
        <translation>Lecture de %1</translation>
    </message>
    <message>
        <source>%1. Nothing was imported.</source>
        <translation>%1. Rien n’a été importé.</translation>
    </message>
    <message>
        <source>Importing %1</source>
        <translation>Importation de %1</translation>
    </message>
</context>
<context>
    <name>LeftCopy</name>
    <message>
        <source>There is not enough memory to read it.</source>
        <translation>La mémoire est insuffisante pour la lire.</translation>
    </message>
</context>
<context>
    <name>LongJob</name>
    <message>
        <source>Reading the clipboard</source>
        <translation>Lecture du presse-papiers</translation>
    </message>
    <message>
        <source>Inserting</source>
        <translation>Insertion</translation>
    </message>
</context>
<context>
    <name>Modal</name>
    <message>
        <source>What the choice holds</source>
        <translation>Contenu de l’élément choisi</translation>
    </message>
    <message>
        <source>Insert</source>
        <translation>Insérer</translation>
    </message>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 n’existe pas.
Voulez-vous le créer&#xa0;?</translation>
    </message>
    <message>
        <source>The template store could not be used.

</source>
        <translation>Le fichier de modèles n’a pas pu être utilisé.

</translation>
    </message>
    <message>
        <source>File: %1
</source>
        <translation>Fichier&#xa0;: %1
</translation>
    </message>
    <message>
        <source>Error %1: %2

%3</source>
        <translation>Erreur %1&#xa0;: %2

%3</translation>
    </message>
    <message>
        <source>File: %1

%2</source>
        <translation>Fichier&#xa0;: %1

%2</translation>
    </message>
    <message>
        <source>Reading...</source>
        <translation>Lecture...</translation>
    </message>
</context>
<context>
    <name>PasteTarget</name>
    <message>
        <source>&apos;%1&apos; is no modifier (ctrl, shift, alt or super)</source>
        <translation>«&#xa0;%1&#xa0;» n’est pas un modificateur (ctrl, shift, alt ou super)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; names no key</source>
        <translation>«&#xa0;%1&#xa0;» ne désigne aucune touche</translation>
    </message>
    <message>
        <source>no window had the keyboard to paste into</source>
        <translation>aucune fenêtre n’avait le focus clavier pour y coller</translation>
    </message>
    <message>
        <source>the display cannot be reached</source>
        <translation>l’affichage est inaccessible</translation>
    </message>
    <message>
        <source>the display has no XTest extension to send the paste key with</source>
        <translation>l’affichage n’a pas l’extension XTest pour envoyer la touche de collage</translation>
    </message>
    <message>
        <source>the window that had the keyboard did not take it back</source>
        <translation>la fenêtre qui avait le focus clavier ne l’a pas récupéré</translation>
    </message>
    <message>
        <source>the keyboard has no key %1</source>
        <translation>le clavier n’a pas de touche %1</translation>
    </message>
    <message>
        <source>wtype, which sends the paste key on Wayland, is not installed</source>
        <translation>wtype, qui envoie la touche de collage sous Wayland, n’est pas installé</translation>
    </message>
    <message>
        <source>wtype could not send the paste key</source>
        <translation>wtype n’a pas pu envoyer la touche de collage</translation>
    </message>
    <message>
        <source>wtype could not send the paste key: %1</source>
        <translation>wtype n’a pas pu envoyer la touche de collage&#xa0;: %1</translation>
    </message>
    <message>
        <source>wtype could not be started</source>
        <translation>wtype n’a pas pu être lancé</translation>
    </message>
    <message>
        <source>The template is on the clipboard, not pasted: %1.</source>
        <translation>Le modèle est dans le presse-papiers, mais n’a pas été collé&#xa0;: %1.</translation>
    </message>
</context>
<context>
    <name>PickWindow</name>
    <message>
        <source>Insert Template</source>
        <translation>Insérer un modèle</translation>
    </message>
</context>
<context>
    <name>PrivateFolder</name>
    <message>
        <source>it belongs to another user (%1, uid %2)</source>
        <translation>il appartient à un autre utilisateur (%1, uid %2)</translation>
    </message>
    <message>
        <source>other users may write to it (mode %1)</source>
        <translation>d’autres utilisateurs peuvent y écrire (mode %1)</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>c’est un lien symbolique</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>ce n’est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>It is a symbolic link.</source>
        <translation>C’est un lien symbolique.</translation>
    </message>
    <message>
        <source>It is not a regular file.</source>
        <translation>Ce n’est pas un fichier ordinaire.</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>There is not enough memory to read it.</source>
        <translation>La mémoire est insuffisante pour le lire.</translation>
    </message>
    <message>
        <source>An unexpected error stopped its reading.</source>
        <translation>Une erreur inattendue a interrompu sa lecture.</translation>
    </message>
</context>
<context>
    <name>ProgramFolder</name>
    <message>
        <source>Your templates are not used: %1 or the store in it is not yours alone: %2. Remove it, or make it yours alone, and start quorpad again.</source>
        <translation>Vos modèles ne sont pas utilisés&#xa0;: %1 ou le fichier de modèles qu’il contient n’est pas réservé à vous seul&#xa0;: %2. Supprimez-le ou réservez-le à vous seul, puis relancez quorpad.</translation>
    </message>
    <message>
        <source>Your templates cannot be kept in %1: %2.

The templates beside the program are used; they can be read but not changed.</source>
        <translation>Vos modèles ne peuvent pas être conservés dans %1&#xa0;: %2.

Les modèles situés à côté du programme sont utilisés&#xa0;; ils peuvent être lus mais pas modifiés.</translation>
    </message>
    <message>
        <source>Your settings cannot be kept in %1: %2.</source>
        <translation>Vos paramètres ne peuvent pas être conservés dans %1&#xa0;: %2.</translation>
    </message>
    <message>
        <source>Templates: %1 (yours)</source>
        <translation>Modèles&#xa0;: %1 (les vôtres)</translation>
    </message>
    <message>
        <source>Templates: %1</source>
        <translation>Modèles&#xa0;: %1</translation>
    </message>
</context>
<context>
    <name>RecoveryCopy</name>
    <message>
        <source>Recovery copies are off for this session: %1 is not quorpad&apos;s own, since %2.</source>
        <translation>Les copies de récupération sont désactivées pour cette session&#xa0;: %1 n’est pas réservé à quorpad, car %2.</translation>
    </message>
    <message>
        <source>Could not write a recovery copy in %1: %2</source>
        <translation>Impossible d’écrire une copie de récupération dans %1&#xa0;: %2</translation>
    </message>
</context>
<context>
    <name>RecoveryFormat</name>
    <message>
        <source>It does not begin as a recovery copy does.</source>
        <translation>Elle ne commence pas comme une copie de récupération.</translation>
    </message>
    <message>
        <source>Its description of the document is cut short.</source>
        <translation>Sa description du document est tronquée.</translation>
    </message>
    <message>
        <source>Its description of the document cannot be read.</source>
        <translation>Sa description du document est illisible.</translation>
    </message>
    <message>
        <source>It gives a length that does not fit the copy.</source>
        <translation>Elle indique une longueur qui ne correspond pas à la copie.</translation>
    </message>
    <message>
        <source>It holds %1 bytes of text where %2 were written.</source>
        <translation>Elle contient %1 octets de texte alors que %2 ont été écrits.</translation>
    </message>
    <message>
        <source>Its text has been changed or damaged since it was written.</source>
        <translation>Son texte a été modifié ou endommagé depuis son écriture.</translation>
    </message>
    <message>
        <source>Its text is not valid UTF-8.</source>
        <translation>Son texte n’est pas de l’UTF-8 valide.</translation>
    </message>
</context>
<context>
    <name>RecoveryOffer</name>
    <message>
        <source>at an unknown time</source>
        <translation>date inconnue</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurer</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Abandonner</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Plus tard</translation>
    </message>
    <message>
        <source>A recovery copy of unsaved changes cannot be read. It was set aside as
%1

%2</source>
        <translation>Une copie de récupération de modifications non enregistrées est illisible. Elle a été mise de côté sous
%1

%2</translation>
    </message>
    <message>
        <source>%1 (last changed %2)</source>
        <translation>%1 (dernière modification&#xa0;: %2)</translation>
    </message>
    <message>
        <source>quorpad ended without saving changes to a document and kept a copy of them.

Document: %1
Last changed: %2

Restore brings the changes back as an unsaved document; Discard deletes the copy; Later keeps it for the next start.</source>
        <translation>quorpad s’est arrêté sans enregistrer les modifications d’un document et en a conservé une copie.

Document&#xa0;: %1
Dernière modification&#xa0;: %2

Restaurer rétablit les modifications dans un document non enregistré&#xa0;; Abandonner supprime la copie&#xa0;; Plus tard la conserve pour le prochain démarrage.</translation>
    </message>
    <message numerus="yes">
        <source>%n recovery copies of unsaved changes cannot be read. They were set aside, the first as
%1

%2</source>
        <translation>
            <numerusform>%n copie de récupération de modifications non enregistrées est illisible. Elle a été mise de côté sous
%1

%2</numerusform>
            <numerusform>%n copies de récupération de modifications non enregistrées sont illisibles. Elles ont été mises de côté, la première sous
%1

%2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>quorpad ended without saving changes to %n documents and kept copies of them.

Restore brings back the first document checked as an unsaved document (the other copies stay for the next start); Discard deletes the copies checked; Later keeps them all for the next start.</source>
        <translation>
            <numerusform>quorpad s’est arrêté sans enregistrer les modifications de %n document et en a conservé une copie.

Restaurer rétablit le premier document coché dans un document non enregistré (les autres copies restent pour le prochain démarrage)&#xa0;; Abandonner supprime les copies cochées&#xa0;; Plus tard les conserve toutes pour le prochain démarrage.</numerusform>
            <numerusform>quorpad s’est arrêté sans enregistrer les modifications de %n documents et en a conservé des copies.

Restaurer rétablit le premier document coché dans un document non enregistré (les autres copies restent pour le prochain démarrage)&#xa0;; Abandonner supprime les copies cochées&#xa0;; Plus tard les conserve toutes pour le prochain démarrage.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SingleInstance</name>
    <message>
        <source>could not lock %1 (%2); going on without it</source>
        <translation>impossible de verrouiller %1 (%2)&#xa0;; poursuite sans verrou</translation>
    </message>
    <message>
        <source>no permission</source>
        <translation>autorisation refusée</translation>
    </message>
    <message>
        <source>held</source>
        <translation>déjà verrouillé</translation>
    </message>
    <message>
        <source>could not reach the running quorpad at %1: %2</source>
        <translation>impossible de joindre le quorpad en cours d’exécution sur %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>%1 is held by another user; not handing over to it</source>
        <translation>%1 est détenu par un autre utilisateur&#xa0;; pas de transmission à celui-ci</translation>
    </message>
    <message>
        <source>the running quorpad sent an answer too long to read</source>
        <translation>le quorpad en cours d’exécution a envoyé une réponse trop longue pour être lue</translation>
    </message>
    <message>
        <source>the running quorpad ended before it answered</source>
        <translation>le quorpad en cours d’exécution s’est arrêté avant de répondre</translation>
    </message>
    <message>
        <source>the running quorpad did not answer within %1 s (%2)</source>
        <translation>le quorpad en cours d’exécution n’a pas répondu dans les %1&#xa0;s (%2)</translation>
    </message>
    <message>
        <source>the running quorpad&apos;s answer could not be read</source>
        <translation>la réponse du quorpad en cours d’exécution n’a pas pu être lue</translation>
    </message>
    <message>
        <source>could not listen on %1: %2</source>
        <translation>impossible d’écouter sur %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>another quorpad answers later starts at %1 now</source>
        <translation>un autre quorpad répond désormais aux démarrages suivants sur %1</translation>
    </message>
    <message>
        <source>later starts cannot reach this quorpad at %1 (%2); trying again</source>
        <translation>les démarrages suivants ne peuvent pas joindre ce quorpad sur %1 (%2)&#xa0;; nouvelle tentative</translation>
    </message>
    <message>
        <source>quorpad: the running quorpad is of another release (its exchange is version %1, this one&apos;s %2); end it, or start with --new-instance
</source>
        <translation>quorpad: le quorpad en cours d’exécution est d’une autre version (son protocole d’échange est en version %1, celui-ci en %2)&#xa0;; arrêtez-le ou démarrez avec --new-instance
</translation>
    </message>
</context>
<context>
    <name>StoreVersions</name>
    <message>
        <source>it is not yours alone: %1</source>
        <translation>il n’est pas réservé à vous seul&#xa0;: %1</translation>
    </message>
    <message>
        <source>the versions&apos; folder %1 cannot be used: %2</source>
        <translation>le dossier des versions %1 est inutilisable&#xa0;: %2</translation>
    </message>
    <message>
        <source>Restored the version of %1</source>
        <translation>Version du %1 restaurée</translation>
    </message>
    <message>
        <source>change %1: &quot;%2&quot; becomes &quot;%3&quot;</source>
        <translation>modifier %1&#xa0;: «&#xa0;%2&#xa0;» devient «&#xa0;%3&#xa0;»</translation>
    </message>
    <message>
        <source>rename %1 to %2</source>
        <translation>renommer %1 en %2</translation>
    </message>
    <message>
        <source>add %1: %2</source>
        <translation>ajouter %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>remove %1: %2</source>
        <translation>supprimer %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>put the templates in another order</source>
        <translation>changer l’ordre des modèles</translation>
    </message>
    <message>
        <source>Restoring this version changes nothing: it holds the templates as they are now.</source>
        <translation>Restaurer cette version ne change rien&#xa0;: elle contient les modèles tels qu’ils sont actuellement.</translation>
    </message>
    <message>
        <source>Restoring this version would:
- %1</source>
        <translation>Restaurer cette version aurait pour effet de&#xa0;:
- %1</translation>
    </message>
    <message>
        <source>at %1</source>
        <translation>à la %1</translation>
    </message>
    <message>
        <source>This version cannot be read: %1</source>
        <translation>Cette version est illisible&#xa0;: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n template(s)</source>
        <translation>
            <numerusform>%n modèle</numerusform>
            <numerusform>%n modèles</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source> and %n more</source>
        <translation>
            <numerusform> et %n autre</numerusform>
            <numerusform> et %n autres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>rename %n more</source>
        <translation>
            <numerusform>renommer %n autre</numerusform>
            <numerusform>renommer %n autres</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>change %n more</source>
        <translation>
            <numerusform>modifier %n autre</numerusform>
            <numerusform>modifier %n autres</numerusform>
        </translation>
    </message>
    <message>
        <source>The templates as they are now cannot be read from %1: </source>
        <translation>Les modèles tels qu’ils sont maintenant ne peuvent pas être lus depuis %1&#xa0;: </translation>
    </message>
</context>
<context>
    <name>TemplateFiles</name>
    <message>
        <source>line %1: no template is in this file: a template is an index, a name and a value, separated by byte 4</source>
        <translation>ligne %1&#xa0;: ce fichier ne contient aucun modèle&#xa0;: un modèle se compose d’un index, d’un nom et d’une valeur, séparés par l’octet 4</translation>
    </message>
    <message>
        <source>line %1: a quote inside a field that does not begin with one</source>
        <translation>ligne %1&#xa0;: guillemet dans un champ qui ne commence pas par un guillemet</translation>
    </message>
    <message>
        <source>line %1: text after a quoted field&apos;s closing quote</source>
        <translation>ligne %1&#xa0;: texte après le guillemet fermant d’un champ entre guillemets</translation>
    </message>
    <message>
        <source>line %1: a quoted field is not closed</source>
        <translation>ligne %1&#xa0;: un champ entre guillemets n’est pas fermé</translation>
    </message>
    <message>
        <source>line 1: the first line must be the header &quot;name,value&quot;</source>
        <translation>ligne 1&#xa0;: la première ligne doit être l’en-tête &quot;name,value&quot;</translation>
    </message>
    <message>
        <source>line %1: %2</source>
        <translation>ligne %1&#xa0;: %2</translation>
    </message>
    <message>
        <source>Imported from %1: %2 added, %3 replaced, %4 skipped.</source>
        <translation>Importation depuis %1&#xa0;: %2 ajouté(s), %3 remplacé(s), %4 ignoré(s).</translation>
    </message>
    <message>
        <source>

Not imported:
%1</source>
        <translation>

Non importés&#xa0;:
%1</translation>
    </message>
    <message numerus="yes">
        <source>line %1: a row has a name and a value; this one has %n field(s)</source>
        <translation>
            <numerusform>ligne %1&#xa0;: une ligne a un nom et une valeur&#xa0;; celle-ci a %n champ</numerusform>
            <numerusform>ligne %1&#xa0;: une ligne a un nom et une valeur&#xa0;; celle-ci a %n champs</numerusform>
        </translation>
    </message>
    <message>
        <source>The name is empty.</source>
        <translation>Le nom est vide.</translation>
    </message>
</context>
<context>
    <name>TemplateInsertion</name>
    <message>
        <source>The template “%1” asks for:</source>
        <translation>Le modèle «&#xa0;%1&#xa0;» demande&#xa0;:</translation>
    </message>
    <message>
        <source>Fill In Template</source>
        <translation>Remplir le modèle</translation>
    </message>
</context>
<context>
    <name>TemplatePicker</name>
    <message>
        <source>Type to find a template</source>
        <translation>Tapez pour trouver un modèle</translation>
    </message>
    <message>
        <source>Find a template</source>
        <translation>Rechercher un modèle</translation>
    </message>
    <message>
        <source>Templates</source>
        <translation>Modèles</translation>
    </message>
    <message>
        <source>The templates could not be read from %1: </source>
        <translation>Les modèles n’ont pas pu être lus depuis %1&#xa0;: </translation>
    </message>
    <message>
        <source>Reading the templates</source>
        <translation>Lecture des modèles</translation>
    </message>
    <message>
        <source>There are no templates yet.</source>
        <translation>Il n’y a encore aucun modèle.</translation>
    </message>
    <message>
        <source>No template matches.</source>
        <translation>Aucun modèle ne correspond.</translation>
    </message>
</context>
<context>
    <name>TemplateRequests</name>
    <message>
        <source>the templates could not be read: </source>
        <translation>les modèles n’ont pas pu être lus&#xa0;: </translation>
    </message>
    <message>
        <source>no template is called &quot;%1&quot; (quorpad --list prints their names)</source>
        <translation>aucun modèle ne s’appelle «&#xa0;%1&#xa0;» (quorpad --list affiche leurs noms)</translation>
    </message>
    <message>
        <source>quorpad: --copy asks nothing, so these fields are empty: %1
</source>
        <translation>quorpad: --copy ne pose aucune question, ces champs sont donc vides&#xa0;: %1
</translation>
    </message>
    <message>
        <source>the main window could not be loaded: </source>
        <translation>la fenêtre principale n’a pas pu être chargée&#xa0;: </translation>
    </message>
</context>
<context>
    <name>VersionLines</name>
    <message>
        <source>Using Quorvin Template Engine </source>
        <translation>Utilise Quorvin Template Engine </translation>
    </message>
</context>
<context>
    <name>WholeFile</name>
    <message>
        <source>not a regular file</source>
        <translation>pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>un dossier</translation>
    </message>
    <message>
        <source>a character device</source>
        <translation>un périphérique en mode caractère</translation>
    </message>
    <message>
        <source>a block device</source>
        <translation>un périphérique en mode bloc</translation>
    </message>
    <message>
        <source>a named pipe (FIFO)</source>
        <translation>un tube nommé (FIFO)</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>un socket</translation>
    </message>
    <message>
        <source>a symbolic link</source>
        <translation>un lien symbolique</translation>
    </message>
    <message>
        <source>It is %1, not a regular file.</source>
        <translation>C’est %1, et non un fichier ordinaire.</translation>
    </message>
    <message>
        <source>The file is larger than %1, too large to read here.</source>
        <translation>Le fichier dépasse %1&#xa0;: il est trop volumineux pour être lu ici.</translation>
    </message>
    <message>
        <source>%1 is a symbolic link of user %2 in %3, a folder every user may write to; quorpad does not write through another user&apos;s link there.</source>
        <translation>%1 est un lien symbolique de l’utilisateur %2 dans %3, un dossier où tous les utilisateurs peuvent écrire&#xa0;; quorpad n’y écrit pas à travers le lien d’un autre utilisateur.</translation>
    </message>
    <message>
        <source>Only %1 of %2 bytes reached the disk.</source>
        <translation>Seuls %1 octets sur %2 ont été écrits sur le disque.</translation>
    </message>
    <message>
        <source>no file can be made in its folder %1: %2</source>
        <translation>aucun fichier ne peut être créé dans son dossier %1 : %2</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Using Quorvin Template Engine</source>
        <translation>Utilise Quorvin Template Engine</translation>
    </message>
    <message>
        <source>(version unknown: %1)</source>
        <translation>(version inconnue&#xa0;: %1)</translation>
    </message>
</context>
<context>
    <name>frmConfig</name>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>Page Preview</source>
        <translation>Aperçu de la page</translation>
    </message>
    <message>
        <source>Browser Path:</source>
        <translation>Navigateur&#xa0;:</translation>
    </message>
    <message>
        <source>Browser path</source>
        <translation>Chemin du navigateur</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Select Preview Browser</source>
        <translation>Choisir le navigateur d’aperçu</translation>
    </message>
    <message>
        <source>Could not save the settings file</source>
        <translation>Impossible d’enregistrer le fichier de paramètres</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Document</source>
        <translation>Document</translation>
    </message>
    <message>
        <source>The text being edited. The Menu key opens the templates popup; Ctrl+T finds any template.</source>
        <translation>Le texte en cours de modification. La touche Menu ouvre le menu des modèles&#xa0;; Ctrl+T trouve n’importe quel modèle.</translation>
    </message>
    <message>
        <source>Document status</source>
        <translation>État du document</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Nouveau</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Ouvrir...</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Enregistrer sous...</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Configuration</translation>
    </message>
    <message>
        <source>About</source>
        <translation>À propos</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Manage Templates</source>
        <translation>Gérer les modèles</translation>
    </message>
    <message>
        <source>Preview Page</source>
        <translation>Aperçu de la page</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Fichier</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Édition</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Couper</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Coller</translation>
    </message>
    <message>
        <source>Go to Line</source>
        <translation>Aller à la ligne</translation>
    </message>
    <message>
        <source>Line number (1 to %1):</source>
        <translation>Numéro de ligne (1 à %1)&#xa0;:</translation>
    </message>
    <message>
        <source>Reading the templates</source>
        <translation>Lecture des modèles</translation>
    </message>
    <message>
        <source>Not Set</source>
        <translation>Non défini</translation>
    </message>
</context>
<context>
    <name>frmManage</name>
    <message>
        <source>No value set for this template!</source>
        <translation>Aucune valeur définie pour ce modèle&#xa0;!</translation>
    </message>
    <message>
        <source>Manage Templates</source>
        <translation>Gérer les modèles</translation>
    </message>
    <message>
        <source>Existing Templates</source>
        <translation>Modèles existants</translation>
    </message>
    <message>
        <source>Existing templates</source>
        <translation>Modèles existants</translation>
    </message>
    <message>
        <source>The templates in store order; the first thirteen fill the popup.</source>
        <translation>Les modèles dans l’ordre du fichier de modèles&#xa0;; les treize premiers remplissent le menu contextuel.</translation>
    </message>
    <message>
        <source>Find a template</source>
        <translation>Rechercher un modèle</translation>
    </message>
    <message>
        <source>Shows the templates whose name or text holds what is typed. Down goes to the list; Escape shows every template again.</source>
        <translation>Affiche les modèles dont le nom ou le texte contient la saisie. Bas passe à la liste&#xa0;; Échap affiche de nouveau tous les modèles.</translation>
    </message>
    <message>
        <source>Template Values</source>
        <translation>Valeurs du modèle</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Nom&#xa0;:</translation>
    </message>
    <message>
        <source>Template name</source>
        <translation>Nom du modèle</translation>
    </message>
    <message>
        <source>Index:</source>
        <translation>Index&#xa0;:</translation>
    </message>
    <message>
        <source>Template menu index</source>
        <translation>Index du modèle dans le menu</translation>
    </message>
    <message>
        <source>Template Menu Index.</source>
        <translation>Index du modèle dans le menu.</translation>
    </message>
    <message>
        <source>Value:</source>
        <translation>Valeur&#xa0;:</translation>
    </message>
    <message>
        <source>Template text</source>
        <translation>Texte du modèle</translation>
    </message>
    <message>
        <source>The text the template inserts. Tab moves on; Ctrl+Tab types a tab.</source>
        <translation>Le texte inséré par le modèle. Tab passe au champ suivant&#xa0;; Ctrl+Tab insère une tabulation.</translation>
    </message>
    <message>
        <source>Preview Template</source>
        <translation>Aperçu du modèle</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Ajouter</translation>
    </message>
    <message>
        <source>Add this template.</source>
        <translation>Ajouter ce modèle.</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Supprimer</translation>
    </message>
    <message>
        <source>Remove this template.</source>
        <translation>Supprimer ce modèle.</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Modifier</translation>
    </message>
    <message>
        <source>Modify the current template.</source>
        <translation>Modifier le modèle actuel.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Terminé</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Monter</translation>
    </message>
    <message>
        <source>Moves the chosen template up: the first thirteen fill the popup (Alt+Up in the list).</source>
        <translation>Monte le modèle choisi&#xa0;: les treize premiers remplissent le menu contextuel (Alt+Haut dans la liste).</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Descendre</translation>
    </message>
    <message>
        <source>Moves the chosen template down (Alt+Down in the list).</source>
        <translation>Descend le modèle choisi (Alt+Bas dans la liste).</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Renommer</translation>
    </message>
    <message>
        <source>Gives the chosen template the name in the Name box (F2 in the list goes there).</source>
        <translation>Donne au modèle choisi le nom saisi dans le champ Nom (F2 dans la liste y mène).</translation>
    </message>
    <message>
        <source>Versions...</source>
        <translation>Versions...</translation>
    </message>
    <message>
        <source>Earlier versions of the templates, to restore one.</source>
        <translation>Versions antérieures des modèles, pour en restaurer une.</translation>
    </message>
    <message>
        <source>Export...</source>
        <translation>Exporter...</translation>
    </message>
    <message>
        <source>Writes all templates, or those chosen in the list, to a file (CSV, or the store&apos;s own format).</source>
        <translation>Écrit tous les modèles, ou ceux choisis dans la liste, dans un fichier (CSV ou format propre au fichier de modèles).</translation>
    </message>
    <message>
        <source>Import...</source>
        <translation>Importer...</translation>
    </message>
    <message>
        <source>Reads templates from a CSV file or a store file.</source>
        <translation>Lit des modèles depuis un fichier CSV ou un fichier de modèles.</translation>
    </message>
    <message>
        <source>Fill fields</source>
        <translation>Remplir les champs</translation>
    </message>
    <message>
        <source>For every template: {:caret:}, {:date:}, {:time:}, {:clipboard:}, {:selection:} and {:ask Name:} in a template&apos;s text are filled as it is inserted; {:: writes {: itself. Off, every template inserts as written.</source>
        <translation>Pour tous les modèles&#xa0;: {:caret:}, {:date:}, {:time:}, {:clipboard:}, {:selection:} et {:ask Name:} sont remplis dans le texte d’un modèle lors de son insertion&#xa0;; {:: écrit {: lui-même. Désactivé, chaque modèle est inséré tel quel.</translation>
    </message>
    <message>
        <source>Fields are filled only with this on:</source>
        <translation>Les champs ne sont remplis que si ceci est activé&#xa0;:</translation>
    </message>
    <message>
        <source>This text holds fields; with Fill fields off it inserts as written, markers and all.</source>
        <translation>Ce texte contient des champs&#xa0;; si «&#xa0;Remplir les champs&#xa0;» est désactivé, il est inséré tel quel, marqueurs compris.</translation>
    </message>
    <message>
        <source>Could not save the settings to</source>
        <translation>Impossible d’enregistrer les paramètres dans</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is no longer in the templates: it was renamed or removed elsewhere.</source>
        <translation>«&#xa0;%1&#xa0;» ne figure plus parmi les modèles&#xa0;: il a été renommé ou supprimé ailleurs.</translation>
    </message>
    <message>
        <source>Template Exists!</source>
        <translation>Ce modèle existe déjà&#xa0;!</translation>
    </message>
    <message>
        <source>Added %1</source>
        <translation>Modèle %1 ajouté</translation>
    </message>
    <message>
        <source>Could Not Add the template &apos;%1&apos;!</source>
        <translation>Impossible d’ajouter le modèle «&#xa0;%1&#xa0;»&#xa0;!</translation>
    </message>
    <message>
        <source>Changed %1</source>
        <translation>Modèle %1 modifié</translation>
    </message>
    <message>
        <source>Removed %1</source>
        <translation>Modèle %1 supprimé</translation>
    </message>
    <message>
        <source>Moved %1 up</source>
        <translation>Modèle %1 monté</translation>
    </message>
    <message>
        <source>Moved %1 down</source>
        <translation>Modèle %1 descendu</translation>
    </message>
    <message>
        <source>Moved %1 from place %2 to %3</source>
        <translation>Modèle %1 déplacé de la position %2 à la position %3</translation>
    </message>
    <message>
        <source>Could not keep a version of the templates before this change</source>
        <translation>Impossible de conserver une version des modèles avant cette modification</translation>
    </message>
    <message>
        <source>No earlier versions of the templates are kept yet: one is kept before each change made here.</source>
        <translation>Aucune version antérieure des modèles n’est encore conservée&#xa0;: une version est conservée avant chaque modification faite ici.</translation>
    </message>
    <message>
        <source>   then: %1</source>
        <translation>   puis&#xa0;: %1</translation>
    </message>
    <message>
        <source>Template Versions</source>
        <translation>Versions des modèles</translation>
    </message>
    <message>
        <source>The templates as they were before each of the last changes, newest first, with the change that followed. Restore makes the one chosen your templates again; the templates as they are now are kept as a version too, so that the restore can be taken back.</source>
        <translation>Les modèles tels qu’ils étaient avant chacune des dernières modifications, du plus récent au plus ancien, avec la modification qui a suivi. Restaurer refait de la version choisie vos modèles&#xa0;; les modèles actuels sont eux aussi conservés comme version, afin que la restauration puisse être annulée.</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Restaurer</translation>
    </message>
    <message>
        <source>Could not restore the templates</source>
        <translation>Impossible de restaurer les modèles</translation>
    </message>
    <message>
        <source>There are no templates to export.</source>
        <translation>Il n’y a aucun modèle à exporter.</translation>
    </message>
    <message numerus="yes">
        <source>Export the %1 chosen in the list, or all %n templates?</source>
        <translation>
            <numerusform>Exporter la sélection de la liste (%1) ou l’ensemble (%n modèle)&#xa0;?</numerusform>
            <numerusform>Exporter la sélection de la liste (%1) ou l’ensemble (%n modèles)&#xa0;?</numerusform>
        </translation>
    </message>
    <message>
        <source>Chosen</source>
        <translation>Sélection</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Tous</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
    <message>
        <source>Export Templates</source>
        <translation>Exporter les modèles</translation>
    </message>
    <message>
        <source>Template store (*.dat)</source>
        <translation>Fichier de modèles (*.dat)</translation>
    </message>
    <message>
        <source>Could not export the templates to</source>
        <translation>Impossible d’exporter les modèles vers</translation>
    </message>
    <message numerus="yes">
        <source>Exported %n template(s) to %1.</source>
        <translation>
            <numerusform>%n modèle exporté vers %1.</numerusform>
            <numerusform>%n modèles exportés vers %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>Import Templates</source>
        <translation>Importer des modèles</translation>
    </message>
    <message>
        <source>Templates (*.csv *.dat)</source>
        <translation>Modèles (*.csv *.dat)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>Could not import the templates from</source>
        <translation>Impossible d’importer les modèles depuis</translation>
    </message>
    <message numerus="yes">
        <source>%1 of the %n templates in %2 have names that exist already. Skip them, replace the existing ones, or keep both (the imported ones get a number after their name)?</source>
        <translation>
            <numerusform>Le modèle de %2 (%1 sur %n) porte un nom qui existe déjà. L’ignorer, remplacer le modèle existant ou garder les deux (le modèle importé reçoit un numéro après son nom)&#xa0;?</numerusform>
            <numerusform>Parmi les %n modèles de %2, %1 portent un nom qui existe déjà. Les ignorer, remplacer les modèles existants ou garder les deux (les modèles importés reçoivent un numéro après leur nom)&#xa0;?</numerusform>
        </translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Ignorer</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Remplacer</translation>
    </message>
    <message>
        <source>Keep Both</source>
        <translation>Garder les deux</translation>
    </message>
    <message numerus="yes">
        <source>Imported %n template(s) from %1</source>
        <translation>
            <numerusform>%n modèle importé depuis %1</numerusform>
            <numerusform>%n modèles importés depuis %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Renamed %1 to %2</source>
        <translation>Modèle %1 renommé en %2</translation>
    </message>
    <message>
        <source>A template named &apos;%1&apos; exists already.</source>
        <translation>Un modèle nommé «&#xa0;%1&#xa0;» existe déjà.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>quorpad: no display to open a window on (%1 is not set): %2
</source>
        <translation>quorpad: aucun affichage où ouvrir une fenêtre (%1 n’est pas défini)&#xa0;: %2
</translation>
    </message>
    <message>
        <source>quorpad: cannot open a window on the display %1: %2
</source>
        <translation>quorpad: impossible d’ouvrir une fenêtre sur l’affichage %1&#xa0;: %2
</translation>
    </message>
    <message>
        <source>quorpad: %1; starting on its own
</source>
        <translation>quorpad: %1&#xa0;; démarrage indépendant
</translation>
    </message>
</context>
</TS>
