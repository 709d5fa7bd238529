<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
<context>
    <name>CommandKeysOffer</name>
    <message>
        <source>Add %1 (Record/Stop) and %2 (Pause/Resume) to GNOME&apos;s keyboard shortcuts? They then work from every window, and GNOME&apos;s Settings (Keyboard, Custom Shortcuts) can change or remove them.</source>
        <translation>Aggiungere %1 (Registra/Ferma) e %2 (Pausa/Riprendi) alle scorciatoie da tastiera di GNOME? Funzioneranno da ogni finestra e le Impostazioni di GNOME (Tastiera, Scorciatoie personalizzate) potranno modificarle o rimuoverle.</translation>
    </message>
    <message>
        <source>The hotkeys are now GNOME keyboard shortcuts.</source>
        <translation>Le scorciatoie sono ora scorciatoie da tastiera di GNOME.</translation>
    </message>
</context>
<context>
    <name>Common</name>
    <message>
        <source>%1%</source>
        <comment>a percentage</comment>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>ConfigFace</name>
    <message>
        <source>One-click sound recorder</source>
        <translation>Registratore audio con un clic</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Canale di registrazione</translation>
    </message>
    <message>
        <source>Recording Quality</source>
        <translation>Qualità di registrazione</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Volume di registrazione</translation>
    </message>
    <message>
        <source>About and Help</source>
        <translation>Informazioni e guida</translation>
    </message>
    <message>
        <source>Input of the sound server</source>
        <translation>Ingresso del server audio</translation>
    </message>
</context>
<context>
    <name>ConfigWindow</name>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>VBR</source>
        <translation>VBR</translation>
    </message>
    <message>
        <source>Optimizer</source>
        <translation>Ottimizzatore</translation>
    </message>
    <message>
        <source>Frequently Asked Questions</source>
        <translation>Domande frequenti</translation>
    </message>
    <message>
        <source>Getting Support</source>
        <translation>Assistenza</translation>
    </message>
    <message>
        <source>Add hotkeys to GNOME</source>
        <translation>Scorciatoie in GNOME</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Guida</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Applica</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Canale di registrazione</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualità</translation>
    </message>
    <message>
        <source>Recording volume</source>
        <translation>Volume di registrazione</translation>
    </message>
</context>
<context>
    <name>DiskSpaceGuard</name>
    <message numerus="yes">
        <source>Low disk space: room for %n more minute(s) of recording.</source>
        <translation>
            <numerusform>Spazio su disco quasi esaurito: resta posto per ancora %n minuto di registrazione.</numerusform>
            <numerusform>Spazio su disco quasi esaurito: resta posto per ancora %n minuti di registrazione.</numerusform>
        </translation>
    </message>
    <message>
        <source>Not enough free disk space to record: less than a minute of recording fits in %1.</source>
        <translation>Spazio libero su disco insufficiente per registrare: in %1 entra meno di un minuto di registrazione.</translation>
    </message>
    <message>
        <source>Low disk space: room for less than a minute of recording.</source>
        <translation>Spazio su disco quasi esaurito: resta posto per meno di un minuto di registrazione.</translation>
    </message>
</context>
<context>
    <name>HotKeys</name>
    <message>
        <source>%1 (a GNOME shortcut)</source>
        <translation>%1 (una scorciatoia di GNOME)</translation>
    </message>
    <message>
        <source>GNOME can add them: see the settings</source>
        <translation>GNOME può aggiungerle: vedere le impostazioni</translation>
    </message>
    <message>
        <source>%1 cannot be given to GNOME.</source>
        <translation>%1 non può essere affidata a GNOME.</translation>
    </message>
    <message>
        <source>%1 is already a GNOME shortcut (%2).</source>
        <translation>%1 è già una scorciatoia di GNOME (%2).</translation>
    </message>
    <message>
        <source>GNOME&apos;s settings cannot be changed.</source>
        <translation>Le impostazioni di GNOME non si possono modificare.</translation>
    </message>
    <message>
        <source>this desktop offers no global shortcuts</source>
        <translation>questo desktop non offre scorciatoie globali</translation>
    </message>
    <message>
        <source>no key of this keyboard makes it</source>
        <translation>nessun tasto di questa tastiera la produce</translation>
    </message>
    <message>
        <source>another program holds it</source>
        <translation>un altro programma la occupa</translation>
    </message>
    <message>
        <source>Tapewren %1</source>
        <translation>Tapewren %1</translation>
    </message>
    <message>
        <source>Record/Stop</source>
        <translation>Registra/Ferma</translation>
    </message>
    <message>
        <source>Pause/Resume</source>
        <translation>Pausa/Riprendi</translation>
    </message>
</context>
<context>
    <name>InputChoice</name>
    <message>
        <source>Microphone and speakers</source>
        <translation>Microfono e altoparlanti</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.</source>
        <translation>«%1» non è più disponibile.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.<byte value="xd"/>Recording from &quot;%2&quot; now.</source>
        <translation>«%1» non è più disponibile.<byte value="xd"/>Ora si registra da «%2».</translation>
    </message>
</context>
<context>
    <name>LeftTakes</name>
    <message>
        <source>A take left from an earlier run can not be read (%1):
%2
It is offered for saving as it is.</source>
        <translation>Una registrazione rimasta da un&apos;esecuzione precedente non può essere letta (%1):
%2
Viene proposta per il salvataggio così com&apos;è.</translation>
    </message>
</context>
<context>
    <name>MoveFile</name>
    <message>
        <source>Unable to save file. Please check disk space.</source>
        <translation>Impossibile salvare il file. Controllare lo spazio su disco.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder is read-only.</source>
        <translation>Impossibile salvare il file: la cartella è di sola lettura.</translation>
    </message>
    <message>
        <source>Unable to save file: the name is too long.</source>
        <translation>Impossibile salvare il file: il nome è troppo lungo.</translation>
    </message>
    <message>
        <source>Unable to save file: a folder of that name exists.</source>
        <translation>Impossibile salvare il file: esiste una cartella con quel nome.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder does not exist.</source>
        <translation>Impossibile salvare il file: la cartella non esiste.</translation>
    </message>
    <message>
        <source>Unable to save file: a file of that name exists.</source>
        <translation>Impossibile salvare il file: esiste un file con quel nome.</translation>
    </message>
    <message>
        <source>Unable to save file: %1.</source>
        <translation>Impossibile salvare il file: %1.</translation>
    </message>
    <message>
        <source>Unable to write the tag: the recording is too short.</source>
        <translation>Impossibile scrivere il tag: la registrazione è troppo breve.</translation>
    </message>
    <message>
        <source>Unable to write the tag. Please check disk space.</source>
        <translation>Impossibile scrivere il tag. Controllare lo spazio su disco.</translation>
    </message>
    <message>
        <source>Unable to write the tag: %1.</source>
        <translation>Impossibile scrivere il tag: %1.</translation>
    </message>
</context>
<context>
    <name>PortalHotKeys</name>
    <message>
        <source>the desktop opened no shortcut session</source>
        <translation>il desktop non ha aperto alcuna sessione di scorciatoie</translation>
    </message>
    <message>
        <source>the binding was cancelled</source>
        <translation>l&apos;assegnazione è stata annullata</translation>
    </message>
    <message>
        <source>the desktop did not bind it</source>
        <translation>il desktop non l&apos;ha assegnata</translation>
    </message>
    <message>
        <source>the desktop did not answer</source>
        <translation>il desktop non ha risposto</translation>
    </message>
</context>
<context>
    <name>ProgramPopup</name>
    <message>
        <source>Play</source>
        <translation>Riproduci</translation>
    </message>
</context>
<context>
    <name>QualityPresets</name>
    <message>
        <source>SampleRate: %u hz<byte value="xd"/>BitRate: %u kbps</source>
        <translation>Campionamento: %u Hz<byte value="xd"/>Bitrate: %u kbps</translation>
    </message>
    <message>
        <source>Sample Rate: %5u hz<byte value="xd"/>
Bit Rate: %3u kbps</source>
        <translation>Campionamento: %5u Hz<byte value="xd"/>
Bitrate: %3u kbps</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Recording Channel not specified.</source>
        <translation>Nessun canale di registrazione scelto.</translation>
    </message>
    <message>
        <source>Unable to create MP3 file.</source>
        <translation>Impossibile creare il file MP3.</translation>
    </message>
    <message>
        <source>Unable to start the MP3 encoder.</source>
        <translation>Impossibile avviare l&apos;encoder MP3.</translation>
    </message>
    <message>
        <source>Unable to start recording.</source>
        <translation>Impossibile avviare la registrazione.</translation>
    </message>
    <message>
        <source>Failed to write MP3 file to disk. Please check your disk space.</source>
        <translation>Impossibile scrivere il file MP3 su disco. Controllare lo spazio libero.</translation>
    </message>
    <message>
        <source>The end of the recording could not be written to disk. The file is incomplete.</source>
        <translation>Non è stato possibile scrivere su disco la fine della registrazione. Il file è incompleto.</translation>
    </message>
    <message>
        <source>Recording stopped: the recording device is no longer available.</source>
        <translation>Registrazione interrotta: il dispositivo di registrazione non è più disponibile.</translation>
    </message>
</context>
<context>
    <name>RecorderWindow</name>
    <message>
        <source>Stop</source>
        <translation>Ferma</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Registra</translation>
    </message>
    <message>
        <source>&amp;Menu</source>
        <translation>&amp;Menu</translation>
    </message>
    <message>
        <source>Tapewren is in its own window (this desktop shows no tray icons).</source>
        <translation>Tapewren è in una finestra propria (questo desktop non mostra icone nell&apos;area di notifica).</translation>
    </message>
</context>
<context>
    <name>SendEmail</name>
    <message>
        <source>Error while trying to send email</source>
        <translation>Errore durante l&apos;invio dell&apos;e-mail</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Unable to read %1. The default settings are used and the file is left as it is.</source>
        <translation>Impossibile leggere %1. Si usano le impostazioni predefinite e il file resta invariato.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossibile scrivere in %1</translation>
    </message>
</context>
<context>
    <name>ShortCut</name>
    <message>
        <source>Shift+</source>
        <translation>Maiusc+</translation>
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
        <translation>Registrazione audio in corso</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <source>Close</source>
        <translation>Chiudi</translation>
    </message>
</context>
<context>
    <name>TEmail</name>
    <message>
        <source>Put your subject here</source>
        <translation>Inserire qui l&apos;oggetto</translation>
    </message>
    <message>
        <source>Your message text goes here<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Create voice mail with Tapewren</source>
        <translation>Scrivere qui il testo del messaggio<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Messaggio vocale creato con Tapewren</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>Channel: %1<byte value="xd"/>Sample Rate: %2hz<byte value="xd"/>Bit Rate: %3kbps %4<byte value="xd"/>Volume: %5    %6</source>
        <translation>Canale: %1<byte value="xd"/>Campionamento: %2 Hz<byte value="xd"/>Bitrate: %3 kbps %4<byte value="xd"/>Volume: %5    %6</translation>
    </message>
    <message>
        <source>[Stereo]</source>
        <translation>[Stereo]</translation>
    </message>
    <message>
        <source>Click for the menu: its first item records/stops<byte value="xd"/>
%1<byte value="xd"/>
Its Config item configures.</source>
        <translation>Un clic apre il menu: la prima voce registra/ferma<byte value="xd"/>
%1<byte value="xd"/>
La voce Configura apre le impostazioni.</translation>
    </message>
    <message>
        <source>Single click to record/stop<byte value="xd"/>
%1<byte value="xd"/>
Double-click to configure,<byte value="xd"/>
Right click to get a menu.</source>
        <translation>Un clic: avvia/ferma la registrazione<byte value="xd"/>
%1<byte value="xd"/>
Doppio clic: impostazioni,<byte value="xd"/>
clic destro: menu.</translation>
    </message>
    <message>
        <source>Tapewren: waiting for the hotkeys</source>
        <translation>Tapewren: in attesa delle scorciatoie</translation>
    </message>
    <message>
        <source>Tapewren: hotkeys %1 and %2</source>
        <translation>Tapewren: scorciatoie %1 e %2</translation>
    </message>
    <message>
        <source>Tapewren: only the Record/Stop hotkey %1</source>
        <translation>Tapewren: solo la scorciatoia Registra/Ferma %1</translation>
    </message>
    <message>
        <source>Tapewren: only the Pause/Resume hotkey %1</source>
        <translation>Tapewren: solo la scorciatoia Pausa/Riprendi %1</translation>
    </message>
    <message>
        <source>Tapewren: no hotkeys</source>
        <translation>Tapewren: nessuna scorciatoia</translation>
    </message>
    <message>
        <source>Can not initiate defualt recording device.</source>
        <translation>Impossibile inizializzare il dispositivo di registrazione predefinito.</translation>
    </message>
    <message>
        <source>Configuration is disabled while recording is in progress.</source>
        <translation>Le impostazioni non sono disponibili durante una registrazione.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click for the menu: Record is its first item.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Un clic apre il menu: Registra è la prima voce.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click once to start recording.<byte value="xd"/>
Double-click to configure.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Un clic avvia la registrazione.<byte value="xd"/>
Doppio clic per le impostazioni.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Recording is disabled when<byte value="xd"/>
config window is active.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Registrazione non disponibile finché<byte value="xd"/>
la finestra delle impostazioni è aperta.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Impossibile scrivere in %1</translation>
    </message>
    <message>
        <source>Can not re-initiate defualt recording device.</source>
        <translation>Impossibile reinizializzare il dispositivo di registrazione predefinito.</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: %1</source>
        <translation>Scorciatoia Registra/Ferma: %1</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop].</source>
        <translation>Impossibile impostare la scorciatoia per [Registra/Ferma].</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop]. (%1)</source>
        <translation>Impossibile impostare la scorciatoia per [Registra/Ferma]. (%1)</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: waiting for the desktop</source>
        <translation>Scorciatoia Registra/Ferma: in attesa del desktop</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: %1</source>
        <translation>Scorciatoia Pausa/Riprendi: %1</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume]</source>
        <translation>Impossibile impostare la scorciatoia per [Pausa/Riprendi]</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume] (%1)</source>
        <translation>Impossibile impostare la scorciatoia per [Pausa/Riprendi] (%1)</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: waiting for the desktop</source>
        <translation>Scorciatoia Pausa/Riprendi: in attesa del desktop</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Registra</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pausa</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Ferma</translation>
    </message>
    <message>
        <source>&amp;Record Now  [Tray Click]</source>
        <translation>&amp;Registra ora  [clic sull&apos;icona]</translation>
    </message>
    <message>
        <source>Record and &amp;Email</source>
        <translation>Registra e invia per e-&amp;mail</translation>
    </message>
    <message>
        <source>&amp;Config...  [Tray Doulble-Click]</source>
        <translation>&amp;Configura...  [doppio clic sull&apos;icona]</translation>
    </message>
    <message>
        <source>Start with the &amp;desktop</source>
        <translation>Avvia con il &amp;desktop</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>&amp;Guida...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Esci</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>Ri&amp;prendi</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Total Time: %1<byte value="xd"/>
File Size: %2 KB<byte value="xd"/>
Source: %3<byte value="xd"/>
Quality: %4 hz / %5 kbps<byte value="xd"/>
Volume: %6</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Durata: %1<byte value="xd"/>
Dimensione: %2 KB<byte value="xd"/>
Sorgente: %3<byte value="xd"/>
Qualità: %4 Hz / %5 kbps<byte value="xd"/>
Volume: %6</translation>
    </message>
</context>
<context>
    <name>TFormSave</name>
    <message>
        <source>Save as</source>
        <translation>Salva come</translation>
    </message>
    <message>
        <source>MP3 Tag Writer</source>
        <translation>Tag MP3</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titolo:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Artista:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Commento:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genere:</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genere</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Anno:</translation>
    </message>
    <message>
        <source>Cl&amp;ear</source>
        <translation>&amp;Pulisci</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Email</source>
        <translation>Salva e invia</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salva</translation>
    </message>
    <message>
        <source>Tag &amp;&amp; Email</source>
        <translation>Tag e invia</translation>
    </message>
    <message>
        <source>Save with Tag</source>
        <translation>Con tag</translation>
    </message>
    <message>
        <source>Unable to gain access to the record file. File can&apos;t be saved.</source>
        <translation>Impossibile accedere al file registrato. Il file non può essere salvato.</translation>
    </message>
    <message>
        <source>Record data file is missing. File can&apos;t be saved!!</source>
        <translation>Il file della registrazione manca. Il file non può essere salvato!!</translation>
    </message>
    <message>
        <source>Please specify a file name to save as.</source>
        <translation>Indicare un nome con cui salvare il file.</translation>
    </message>
    <message>
        <source>A file name cannot contain control characters such as a line break or a tab.</source>
        <translation>Un nome di file non può contenere caratteri di controllo come un a capo o una tabulazione.</translation>
    </message>
    <message>
        <source>File already exists, do you want to overwrite it?</source>
        <translation>Il file esiste già. Sovrascriverlo?</translation>
    </message>
    <message>
        <source>File&apos;s been saved.<byte value="xd"/>Click to play now.</source>
        <translation>Il file è stato salvato.<byte value="xd"/>Fare clic per ascoltarlo.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel saving and lose the sound data you just recorded?</source>
        <translation>Annullare davvero il salvataggio e perdere il suono appena registrato?</translation>
    </message>
    <message>
        <source>type in a file name</source>
        <translation>digitare un nome di file</translation>
    </message>
</context>
<context>
    <name>TFormWizard</name>
    <message>
        <source>Back</source>
        <translation>Indietro</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Avanti</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fine</translation>
    </message>
    <message>
        <source>Don&apos;t show this page again</source>
        <translation>Non mostrare più questa pagina</translation>
    </message>
    <message>
        <source>Tapewren Sound Optimizer</source>
        <translation>Ottimizzatore audio di Tapewren</translation>
    </message>
    <message>
        <source>This is a simple 2-step wizard</source>
        <translation>Una semplice procedura in 2 passi</translation>
    </message>
    <message>
        <source>People using other recorder software often end up with <byte value="xd"/>
distorted results because it&apos;s hard to find the proper recording volume level.</source>
        <translation>Con altri programmi di registrazione il risultato è spesso <byte value="xd"/>
distorto, perché è difficile trovare il giusto volume di registrazione.</translation>
    </message>
    <message>
        <source>Tapewren&apos;s sophisticated smart-detect technology will help you to determine the ideal recording volume level which will ensure the best sound quality.</source>
        <translation>Il rilevamento intelligente di Tapewren aiuta a trovare il volume di registrazione ideale per la migliore qualità audio.</translation>
    </message>
    <message>
        <source>To get best sound quality, it is recommended to run this wizard each time you change the input channel.</source>
        <translation>Per la migliore qualità audio, si consiglia di eseguire questa procedura a ogni cambio del canale di ingresso.</translation>
    </message>
    <message>
        <source>Start the Wizard</source>
        <translation>Avvia la procedura</translation>
    </message>
    <message>
        <source>1. Pick the right recording channel.<byte value="xd"/>
2. Play audio file, speak into the microphone or turn on<byte value="xd"/>
the connected input sound source.<byte value="xd"/>
3. Optimization starts automatically.</source>
        <translation>1. Scegliere il canale di registrazione giusto.<byte value="xd"/>
2. Riprodurre un file audio, parlare nel microfono o accendere<byte value="xd"/>
la sorgente audio collegata.<byte value="xd"/>
3. L&apos;ottimizzazione parte da sola.</translation>
    </message>
    <message>
        <source>Recording Channel to Use</source>
        <translation>Canale di registrazione da usare</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Sinistro</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Destro</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Volume di registrazione</translation>
    </message>
    <message>
        <source>You may click the &quot;Next&quot; button, when the above<byte value="xd"/>
blue volume bar stops progressing.</source>
        <translation>Fare clic su «Avanti» quando la barra blu<byte value="xd"/>
del volume qui sopra smette di avanzare.</translation>
    </message>
    <message>
        <source>Manual Finetune (Optional)</source>
        <translation>Regolazione fine manuale (facoltativa)</translation>
    </message>
    <message>
        <source>You may skip this step and click &quot;Finish&quot; directly</source>
        <translation>Si può saltare questo passo e fare subito clic su «Fine»</translation>
    </message>
    <message>
        <source>Volume to Use</source>
        <translation>Volume da usare</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Errore</translation>
    </message>
    <message>
        <source>Volume to Use: %1</source>
        <translation>Volume da usare: %1</translation>
    </message>
    <message>
        <source>Can&apos;t start default recording device</source>
        <translation>Impossibile avviare il dispositivo di registrazione predefinito</translation>
    </message>
</context>
<context>
    <name>TSavePanel</name>
    <message>
        <source>MP3 Files (*.MP3 *.mp3)</source>
        <translation>File MP3 (*.MP3 *.mp3)</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Nome file:</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Tipo di file:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
</context>
<context>
    <name>VolumeOptimizer</name>
    <message>
        <source>Unable to start the default recording device.</source>
        <translation>Impossibile avviare il dispositivo di registrazione predefinito.</translation>
    </message>
    <message>
        <source>Unable to start the selected channel.</source>
        <translation>Impossibile avviare il canale scelto.</translation>
    </message>
</context>
</TS>
