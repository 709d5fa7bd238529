<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>CommandKeysOffer</name>
    <message>
        <source>Add %1 (Record/Stop) and %2 (Pause/Resume) to GNOME&apos;s keyboard shortcuts? They then work from every window, and GNOME&apos;s Settings (Keyboard, Custom Shortcuts) can change or remove them.</source>
        <translation>Ajouter %1 (Enregistrer/Arrêter) et %2 (Pause/Reprendre) aux raccourcis clavier de GNOME ? Ils fonctionneront depuis toutes les fenêtres, et les Paramètres de GNOME (Clavier, Raccourcis personnalisés) pourront les modifier ou les supprimer.</translation>
    </message>
    <message>
        <source>The hotkeys are now GNOME keyboard shortcuts.</source>
        <translation>Les raccourcis sont désormais des raccourcis clavier de GNOME.</translation>
    </message>
</context>
<context>
    <name>Common</name>
    <message>
        <source>%1%</source>
        <comment>a percentage</comment>
        <translation>%1&#xa0;%</translation>
    </message>
</context>
<context>
    <name>ConfigFace</name>
    <message>
        <source>One-click sound recorder</source>
        <translation>Enregistreur audio en un clic</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Canal d&apos;enregistrement</translation>
    </message>
    <message>
        <source>Recording Quality</source>
        <translation>Qualité d&apos;enregistrement</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Volume d&apos;enregistrement</translation>
    </message>
    <message>
        <source>About and Help</source>
        <translation>À propos et aide</translation>
    </message>
    <message>
        <source>Input of the sound server</source>
        <translation>Entrée du serveur audio</translation>
    </message>
</context>
<context>
    <name>ConfigWindow</name>
    <message>
        <source>Stereo</source>
        <translation>Stéréo</translation>
    </message>
    <message>
        <source>VBR</source>
        <translation>VBR</translation>
    </message>
    <message>
        <source>Optimizer</source>
        <translation>Optimiseur</translation>
    </message>
    <message>
        <source>Frequently Asked Questions</source>
        <translation>Foire aux questions</translation>
    </message>
    <message>
        <source>Getting Support</source>
        <translation>Obtenir de l&apos;aide</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Canal d&apos;enregistrement</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualité</translation>
    </message>
    <message>
        <source>Recording volume</source>
        <translation>Volume d’enregistrement</translation>
    </message>
    <message>
        <source>Add hotkeys to GNOME</source>
        <translation>Raccourcis dans GNOME</translation>
    </message>
</context>
<context>
    <name>DiskSpaceGuard</name>
    <message>
        <source>Low disk space: room for less than a minute of recording.</source>
        <translation>Espace disque faible : place pour moins d&apos;une minute d&apos;enregistrement.</translation>
    </message>
    <message numerus="yes">
        <source>Low disk space: room for %n more minute(s) of recording.</source>
        <translation>
            <numerusform>Espace disque faible : place pour encore %n minute d&apos;enregistrement.</numerusform>
            <numerusform>Espace disque faible : place pour encore %n minutes d&apos;enregistrement.</numerusform>
        </translation>
    </message>
    <message>
        <source>Not enough free disk space to record: less than a minute of recording fits in %1.</source>
        <translation>Pas assez d&apos;espace disque libre pour enregistrer : moins d&apos;une minute d&apos;enregistrement tient dans %1.</translation>
    </message>
</context>
<context>
    <name>HotKeys</name>
    <message>
        <source>this desktop offers no global shortcuts</source>
        <translation>ce bureau n’offre pas de raccourcis globaux</translation>
    </message>
    <message>
        <source>no key of this keyboard makes it</source>
        <translation>aucune touche de ce clavier ne le produit</translation>
    </message>
    <message>
        <source>another program holds it</source>
        <translation>un autre programme l’utilise</translation>
    </message>
    <message>
        <source>%1 (a GNOME shortcut)</source>
        <translation>%1 (raccourci GNOME)</translation>
    </message>
    <message>
        <source>%1 cannot be given to GNOME.</source>
        <translation>%1 ne peut pas être confié à GNOME.</translation>
    </message>
    <message>
        <source>%1 is already a GNOME shortcut (%2).</source>
        <translation>%1 est déjà un raccourci GNOME (%2).</translation>
    </message>
    <message>
        <source>GNOME&apos;s settings cannot be changed.</source>
        <translation>Les paramètres de GNOME ne peuvent pas être modifiés.</translation>
    </message>
    <message>
        <source>GNOME can add them: see the settings</source>
        <translation>GNOME peut les ajouter : voir les réglages</translation>
    </message>
    <message>
        <source>Tapewren %1</source>
        <translation>Tapewren %1</translation>
    </message>
    <message>
        <source>Record/Stop</source>
        <translation>Enregistrer/Arrêter</translation>
    </message>
    <message>
        <source>Pause/Resume</source>
        <translation>Pause/Reprendre</translation>
    </message>
</context>
<context>
    <name>InputChoice</name>
    <message>
        <source>&quot;%1&quot; is no longer available.</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est plus disponible.</translation>
    </message>
    <message>
        <source>Microphone and speakers</source>
        <translation>Micro et haut-parleurs</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.<byte value="xd"/>Recording from &quot;%2&quot; now.</source>
        <translation>«&#xa0;%1&#xa0;» n&apos;est plus disponible.<byte value="xd"/>L&apos;enregistrement se fait maintenant depuis «&#xa0;%2&#xa0;».</translation>
    </message>
</context>
<context>
    <name>LeftTakes</name>
    <message>
        <source>A take left from an earlier run can not be read (%1):
%2
It is offered for saving as it is.</source>
        <translation>Un enregistrement laissé par une session précédente ne peut pas être lu (%1) :
%2
Il est proposé tel quel à la sauvegarde.</translation>
    </message>
</context>
<context>
    <name>MoveFile</name>
    <message>
        <source>Unable to save file. Please check disk space.</source>
        <translation>Impossible d&apos;enregistrer le fichier. Vérifiez l&apos;espace disque.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder is read-only.</source>
        <translation>Impossible d&apos;enregistrer le fichier : le dossier est en lecture seule.</translation>
    </message>
    <message>
        <source>Unable to save file: the name is too long.</source>
        <translation>Impossible d&apos;enregistrer le fichier : le nom est trop long.</translation>
    </message>
    <message>
        <source>Unable to save file: a folder of that name exists.</source>
        <translation>Impossible d&apos;enregistrer le fichier : un dossier de ce nom existe.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder does not exist.</source>
        <translation>Impossible d&apos;enregistrer le fichier : le dossier n&apos;existe pas.</translation>
    </message>
    <message>
        <source>Unable to save file: a file of that name exists.</source>
        <translation>Impossible d&apos;enregistrer le fichier : un fichier de ce nom existe.</translation>
    </message>
    <message>
        <source>Unable to write the tag: the recording is too short.</source>
        <translation>Impossible d&apos;écrire le tag : l&apos;enregistrement est trop court.</translation>
    </message>
    <message>
        <source>Unable to write the tag. Please check disk space.</source>
        <translation>Impossible d&apos;écrire le tag. Vérifiez l&apos;espace disque.</translation>
    </message>
    <message>
        <source>Unable to save file: %1.</source>
        <translation>Impossible d&apos;enregistrer le fichier : %1.</translation>
    </message>
    <message>
        <source>Unable to write the tag: %1.</source>
        <translation>Impossible d&apos;écrire le tag : %1.</translation>
    </message>
</context>
<context>
    <name>PortalHotKeys</name>
    <message>
        <source>the desktop opened no shortcut session</source>
        <translation>le bureau n’a ouvert aucune session de raccourcis</translation>
    </message>
    <message>
        <source>the binding was cancelled</source>
        <translation>l’attribution a été annulée</translation>
    </message>
    <message>
        <source>the desktop did not bind it</source>
        <translation>le bureau ne l’a pas attribué</translation>
    </message>
    <message>
        <source>the desktop did not answer</source>
        <translation>le bureau n’a pas répondu</translation>
    </message>
</context>
<context>
    <name>ProgramPopup</name>
    <message>
        <source>Play</source>
        <translation>Lire</translation>
    </message>
</context>
<context>
    <name>QualityPresets</name>
    <message>
        <source>SampleRate: %u hz<byte value="xd"/>BitRate: %u kbps</source>
        <translation>Échantillonnage : %u Hz<byte value="xd"/>Débit : %u kbit/s</translation>
    </message>
    <message>
        <source>Sample Rate: %5u hz<byte value="xd"/>
Bit Rate: %3u kbps</source>
        <translation>Échantillonnage : %5u Hz<byte value="xd"/>
Débit : %3u kbit/s</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Recording Channel not specified.</source>
        <translation>Aucun canal d&apos;enregistrement choisi.</translation>
    </message>
    <message>
        <source>Unable to create MP3 file.</source>
        <translation>Impossible de créer le fichier MP3.</translation>
    </message>
    <message>
        <source>Unable to start the MP3 encoder.</source>
        <translation>Impossible de démarrer l&apos;encodeur MP3.</translation>
    </message>
    <message>
        <source>Unable to start recording.</source>
        <translation>Impossible de démarrer l&apos;enregistrement.</translation>
    </message>
    <message>
        <source>Failed to write MP3 file to disk. Please check your disk space.</source>
        <translation>Impossible d&apos;écrire le fichier MP3 sur le disque. Vérifiez l&apos;espace disponible.</translation>
    </message>
    <message>
        <source>The end of the recording could not be written to disk. The file is incomplete.</source>
        <translation>La fin de l&apos;enregistrement n&apos;a pas pu être écrite sur le disque. Le fichier est incomplet.</translation>
    </message>
    <message>
        <source>Recording stopped: the recording device is no longer available.</source>
        <translation>Enregistrement arrêté : le périphérique d&apos;enregistrement n&apos;est plus disponible.</translation>
    </message>
</context>
<context>
    <name>RecorderWindow</name>
    <message>
        <source>&amp;Menu</source>
        <translation>&amp;Menu</translation>
    </message>
    <message>
        <source>Tapewren is in its own window (this desktop shows no tray icons).</source>
        <translation>Tapewren est dans sa propre fenêtre (ce bureau n&apos;affiche pas d&apos;icônes de la zone de notification).</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Enregistrer</translation>
    </message>
</context>
<context>
    <name>SendEmail</name>
    <message>
        <source>Error while trying to send email</source>
        <translation>Erreur lors de l&apos;envoi du courriel</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Unable to read %1. The default settings are used and the file is left as it is.</source>
        <translation>Impossible de lire %1. Les réglages par défaut sont utilisés et le fichier reste tel quel.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossible d&apos;écrire dans %1</translation>
    </message>
</context>
<context>
    <name>ShortCut</name>
    <message>
        <source>Shift+</source>
        <translation>Maj+</translation>
    </message>
    <message>
        <source>Ctrl+</source>
        <translation>Ctrl+</translation>
    </message>
    <message>
        <source>Alt+</source>
        <translation>Alt+</translation>
    </message>
</context>
<context>
    <name>SleepInhibitor</name>
    <message>
        <source>Recording sound</source>
        <translation>Enregistrement audio en cours</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>TEmail</name>
    <message>
        <source>Put your subject here</source>
        <translation>Saisissez l&apos;objet ici</translation>
    </message>
    <message>
        <source>Your message text goes here<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Create voice mail with Tapewren</source>
        <translation>Saisissez votre message ici<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Message vocal créé avec Tapewren</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Arrêter</translation>
    </message>
    <message>
        <source>&amp;Record Now  [Tray Click]</source>
        <translation>&amp;Enregistrer  [Clic sur l&apos;icône]</translation>
    </message>
    <message>
        <source>Record and &amp;Email</source>
        <translation>Enregistrer et envoyer par &amp;courriel</translation>
    </message>
    <message>
        <source>&amp;Config...  [Tray Doulble-Click]</source>
        <translation>C&amp;onfiguration...  [Double-clic sur l&apos;icône]</translation>
    </message>
    <message>
        <source>Start with the &amp;desktop</source>
        <translation>Démarrer avec le &amp;bureau</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>Ai&amp;de...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Can not initiate defualt recording device.</source>
        <translation>Impossible d&apos;initialiser le périphérique d&apos;enregistrement par défaut.</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop].</source>
        <translation>Impossible de définir le raccourci [Enregistrer/Arrêter].</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume]</source>
        <translation>Impossible de définir le raccourci [Pause/Reprendre]</translation>
    </message>
    <message>
        <source>Configuration is disabled while recording is in progress.</source>
        <translation>La configuration est désactivée pendant l&apos;enregistrement.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click once to start recording.<byte value="xd"/>
Double-click to configure.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Un clic pour enregistrer.<byte value="xd"/>
Double-clic pour configurer.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Recording is disabled when<byte value="xd"/>
config window is active.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Enregistrement désactivé tant que<byte value="xd"/>
la fenêtre de configuration est ouverte.</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Reprendre</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossible d&apos;écrire dans %1</translation>
    </message>
    <message>
        <source>Can not re-initiate defualt recording device.</source>
        <translation>Impossible de réinitialiser le périphérique d&apos;enregistrement par défaut.</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: waiting for the desktop</source>
        <translation>Raccourci Enregistrer/Arrêter : en attente du bureau</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: waiting for the desktop</source>
        <translation>Raccourci Pause/Reprendre : en attente du bureau</translation>
    </message>
    <message>
        <source>Channel: %1<byte value="xd"/>Sample Rate: %2hz<byte value="xd"/>Bit Rate: %3kbps %4<byte value="xd"/>Volume: %5    %6</source>
        <translation>Canal : %1<byte value="xd"/>Fréquence : %2 Hz<byte value="xd"/>Débit : %3 kbit/s %4<byte value="xd"/>Volume : %5    %6</translation>
    </message>
    <message>
        <source>[Stereo]</source>
        <translation>[Stéréo]</translation>
    </message>
    <message>
        <source>Single click to record/stop<byte value="xd"/>
%1<byte value="xd"/>
Double-click to configure,<byte value="xd"/>
Right click to get a menu.</source>
        <translation>Un clic pour enregistrer/arrêter<byte value="xd"/>
%1<byte value="xd"/>
Double-clic pour configurer,<byte value="xd"/>
clic droit pour le menu.</translation>
    </message>
    <message>
        <source>Tapewren: hotkeys %1 and %2</source>
        <translation>Tapewren : raccourcis %1 et %2</translation>
    </message>
    <message>
        <source>Tapewren: only the Record/Stop hotkey %1</source>
        <translation>Tapewren : seul le raccourci Enregistrer/Arrêter %1</translation>
    </message>
    <message>
        <source>Tapewren: only the Pause/Resume hotkey %1</source>
        <translation>Tapewren : seul le raccourci Pause/Reprendre %1</translation>
    </message>
    <message>
        <source>Tapewren: no hotkeys</source>
        <translation>Tapewren : aucun raccourci</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop]. (%1)</source>
        <translation>Impossible de définir le raccourci [Enregistrer/Arrêter]. (%1)</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume] (%1)</source>
        <translation>Impossible de définir le raccourci [Pause/Reprendre] (%1)</translation>
    </message>
    <message>
        <source>Click for the menu: its first item records/stops<byte value="xd"/>
%1<byte value="xd"/>
Its Config item configures.</source>
        <translation>Un clic ouvre le menu : son premier élément enregistre/arrête<byte value="xd"/>
%1<byte value="xd"/>
Son élément Configurer règle le programme.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click for the menu: Record is its first item.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Un clic ouvre le menu : Enregistrer est son premier élément.</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Enregistrer</translation>
    </message>
    <message>
        <source>Tapewren: waiting for the hotkeys</source>
        <translation>Tapewren : en attente des raccourcis</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: %1</source>
        <translation>Raccourci Enregistrer/Arrêter : %1</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: %1</source>
        <translation>Raccourci Pause/Reprendre : %1</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Total Time: %1<byte value="xd"/>
File Size: %2 KB<byte value="xd"/>
Source: %3<byte value="xd"/>
Quality: %4 hz / %5 kbps<byte value="xd"/>
Volume: %6</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Durée : %1<byte value="xd"/>
Taille : %2 Ko<byte value="xd"/>
Source : %3<byte value="xd"/>
Qualité : %4 Hz / %5 kbit/s<byte value="xd"/>
Volume : %6</translation>
    </message>
</context>
<context>
    <name>TFormSave</name>
    <message>
        <source>Save as</source>
        <translation>Enregistrer sous</translation>
    </message>
    <message>
        <source>MP3 Tag Writer</source>
        <translation>Écriture du tag MP3</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titre :</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album :</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Artiste :</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Remarque :</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genre :</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Année :</translation>
    </message>
    <message>
        <source>Cl&amp;ear</source>
        <translation>&amp;Effacer</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Email</source>
        <translation>Enregistrer et envoyer</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Tag &amp;&amp; Email</source>
        <translation>Tag et envoi</translation>
    </message>
    <message>
        <source>Save with Tag</source>
        <translation>Avec tag</translation>
    </message>
    <message>
        <source>Unable to gain access to the record file. File can&apos;t be saved.</source>
        <translation>Impossible d&apos;accéder au fichier enregistré. Le fichier ne peut pas être sauvegardé.</translation>
    </message>
    <message>
        <source>Record data file is missing. File can&apos;t be saved!!</source>
        <translation>Le fichier de l&apos;enregistrement est introuvable. Le fichier ne peut pas être sauvegardé !!</translation>
    </message>
    <message>
        <source>Please specify a file name to save as.</source>
        <translation>Veuillez indiquer un nom de fichier.</translation>
    </message>
    <message>
        <source>File already exists, do you want to overwrite it?</source>
        <translation>Le fichier existe déjà, voulez-vous le remplacer ?</translation>
    </message>
    <message>
        <source>File&apos;s been saved.<byte value="xd"/>Click to play now.</source>
        <translation>Le fichier a été enregistré.<byte value="xd"/>Cliquez pour l&apos;écouter.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel saving and lose the sound data you just recorded?</source>
        <translation>Voulez-vous vraiment annuler et perdre le son que vous venez d&apos;enregistrer ?</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>A file name cannot contain control characters such as a line break or a tab.</source>
        <translation>Un nom de fichier ne peut pas contenir de caractères de contrôle, comme un saut de ligne ou une tabulation.</translation>
    </message>
    <message>
        <source>type in a file name</source>
        <translation>saisissez un nom de fichier</translation>
    </message>
</context>
<context>
    <name>TFormWizard</name>
    <message>
        <source>Back</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Suivant</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Terminer</translation>
    </message>
    <message>
        <source>Don&apos;t show this page again</source>
        <translation>Ne plus afficher cette page</translation>
    </message>
    <message>
        <source>Tapewren Sound Optimizer</source>
        <translation>Optimiseur de son Tapewren</translation>
    </message>
    <message>
        <source>This is a simple 2-step wizard</source>
        <translation>Un assistant simple en 2 étapes</translation>
    </message>
    <message>
        <source>People using other recorder software often end up with <byte value="xd"/>
distorted results because it&apos;s hard to find the proper recording volume level.</source>
        <translation>Avec d&apos;autres logiciels d&apos;enregistrement, le résultat est souvent <byte value="xd"/>
distordu, car le bon volume d&apos;enregistrement est difficile à trouver.</translation>
    </message>
    <message>
        <source>Tapewren&apos;s sophisticated smart-detect technology will help you to determine the ideal recording volume level which will ensure the best sound quality.</source>
        <translation>La détection intelligente de Tapewren vous aide à trouver le volume d&apos;enregistrement idéal, gage de la meilleure qualité sonore.</translation>
    </message>
    <message>
        <source>To get best sound quality, it is recommended to run this wizard each time you change the input channel.</source>
        <translation>Pour la meilleure qualité sonore, lancez cet assistant à chaque changement de canal d&apos;entrée.</translation>
    </message>
    <message>
        <source>Start the Wizard</source>
        <translation>Lancer l&apos;assistant</translation>
    </message>
    <message>
        <source>1. Pick the right recording channel.<byte value="xd"/>
2. Play audio file, speak into the microphone or turn on<byte value="xd"/>
the connected input sound source.<byte value="xd"/>
3. Optimization starts automatically.</source>
        <translation>1. Choisissez le bon canal d&apos;enregistrement.<byte value="xd"/>
2. Lisez un fichier audio, parlez dans le micro ou allumez<byte value="xd"/>
la source sonore branchée.<byte value="xd"/>
3. L&apos;optimisation démarre d&apos;elle-même.</translation>
    </message>
    <message>
        <source>Recording Channel to Use</source>
        <translation>Canal d&apos;enregistrement à utiliser</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Gauche</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Droite</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Volume d&apos;enregistrement</translation>
    </message>
    <message>
        <source>You may click the &quot;Next&quot; button, when the above<byte value="xd"/>
blue volume bar stops progressing.</source>
        <translation>Cliquez sur «&#xa0;Suivant&#xa0;» quand la barre de volume<byte value="xd"/>
bleue ci-dessus cesse d&apos;avancer.</translation>
    </message>
    <message>
        <source>Manual Finetune (Optional)</source>
        <translation>Réglage fin manuel (facultatif)</translation>
    </message>
    <message>
        <source>You may skip this step and click &quot;Finish&quot; directly</source>
        <translation>Vous pouvez passer cette étape et cliquer sur «&#xa0;Terminer&#xa0;»</translation>
    </message>
    <message>
        <source>Volume to Use</source>
        <translation>Volume à utiliser</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erreur</translation>
    </message>
    <message>
        <source>Can&apos;t start default recording device</source>
        <translation>Impossible de démarrer le périphérique d&apos;enregistrement par défaut</translation>
    </message>
    <message>
        <source>Volume to Use: %1</source>
        <translation>Volume à utiliser : %1</translation>
    </message>
</context>
<context>
    <name>TSavePanel</name>
    <message>
        <source>MP3 Files (*.MP3 *.mp3)</source>
        <translation>Fichiers MP3 (*.MP3 *.mp3)</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Nom du fichier :</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Type de fichier :</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>VolumeOptimizer</name>
    <message>
        <source>Unable to start the default recording device.</source>
        <translation>Impossible de démarrer le périphérique d&apos;enregistrement par défaut.</translation>
    </message>
    <message>
        <source>Unable to start the selected channel.</source>
        <translation>Impossible de démarrer le canal choisi.</translation>
    </message>
</context>
</TS>
