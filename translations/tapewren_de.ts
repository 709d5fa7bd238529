<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CommandKeysOffer</name>
    <message>
        <source>Add %1 (Record/Stop) and %2 (Pause/Resume) to GNOME&apos;s keyboard shortcuts? They then work from every window, and GNOME&apos;s Settings (Keyboard, Custom Shortcuts) can change or remove them.</source>
        <translation>%1 (Aufnahme/Stopp) und %2 (Pause/Fortsetzen) zu den Tastenkürzeln von GNOME hinzufügen? Dann wirken sie aus jedem Fenster, und GNOMEs Einstellungen (Tastatur, Eigene Tastenkürzel) können sie ändern oder entfernen.</translation>
    </message>
    <message>
        <source>The hotkeys are now GNOME keyboard shortcuts.</source>
        <translation>Die Tastenkürzel sind jetzt Tastenkürzel von GNOME.</translation>
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
        <translation>Tonaufnahme mit einem Klick</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Aufnahmekanal</translation>
    </message>
    <message>
        <source>Recording Quality</source>
        <translation>Aufnahmequalität</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Aufnahmelautstärke</translation>
    </message>
    <message>
        <source>About and Help</source>
        <translation>Info und Hilfe</translation>
    </message>
    <message>
        <source>Input of the sound server</source>
        <translation>Eingang des Soundservers</translation>
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
        <translation>Optimierer</translation>
    </message>
    <message>
        <source>Frequently Asked Questions</source>
        <translation>Häufige Fragen</translation>
    </message>
    <message>
        <source>Getting Support</source>
        <translation>Hilfe und Support</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Aufnahmekanal</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualität</translation>
    </message>
    <message>
        <source>Recording volume</source>
        <translation>Aufnahmelautstärke</translation>
    </message>
    <message>
        <source>Add hotkeys to GNOME</source>
        <translation>Tastenkürzel zu GNOME</translation>
    </message>
</context>
<context>
    <name>DiskSpaceGuard</name>
    <message>
        <source>Low disk space: room for less than a minute of recording.</source>
        <translation>Wenig Speicherplatz: Platz für weniger als eine Minute Aufnahme.</translation>
    </message>
    <message numerus="yes">
        <source>Low disk space: room for %n more minute(s) of recording.</source>
        <translation>
            <numerusform>Wenig Speicherplatz: Platz für noch %n Minute Aufnahme.</numerusform>
            <numerusform>Wenig Speicherplatz: Platz für noch %n Minuten Aufnahme.</numerusform>
        </translation>
    </message>
    <message>
        <source>Not enough free disk space to record: less than a minute of recording fits in %1.</source>
        <translation>Zu wenig freier Speicherplatz für eine Aufnahme: In %1 passt weniger als eine Minute Aufnahme.</translation>
    </message>
</context>
<context>
    <name>HotKeys</name>
    <message>
        <source>this desktop offers no global shortcuts</source>
        <translation>diese Arbeitsumgebung bietet keine globalen Tastenkürzel</translation>
    </message>
    <message>
        <source>no key of this keyboard makes it</source>
        <translation>keine Taste dieser Tastatur erzeugt es</translation>
    </message>
    <message>
        <source>another program holds it</source>
        <translation>ein anderes Programm belegt es</translation>
    </message>
    <message>
        <source>%1 (a GNOME shortcut)</source>
        <translation>%1 (ein Tastenkürzel von GNOME)</translation>
    </message>
    <message>
        <source>%1 cannot be given to GNOME.</source>
        <translation>%1 kann GNOME nicht übergeben werden.</translation>
    </message>
    <message>
        <source>%1 is already a GNOME shortcut (%2).</source>
        <translation>%1 ist bereits ein Tastenkürzel von GNOME (%2).</translation>
    </message>
    <message>
        <source>GNOME&apos;s settings cannot be changed.</source>
        <translation>Die Einstellungen von GNOME lassen sich nicht ändern.</translation>
    </message>
    <message>
        <source>GNOME can add them: see the settings</source>
        <translation>GNOME kann sie aufnehmen: siehe Einstellungen</translation>
    </message>
    <message>
        <source>Tapewren %1</source>
        <translation>Tapewren %1</translation>
    </message>
    <message>
        <source>Record/Stop</source>
        <translation>Aufnahme/Stopp</translation>
    </message>
    <message>
        <source>Pause/Resume</source>
        <translation>Pause/Fortsetzen</translation>
    </message>
</context>
<context>
    <name>InputChoice</name>
    <message>
        <source>&quot;%1&quot; is no longer available.</source>
        <translation>„%1“ ist nicht mehr verfügbar.</translation>
    </message>
    <message>
        <source>Microphone and speakers</source>
        <translation>Mikrofon und Lautsprecher</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.<byte value="xd"/>Recording from &quot;%2&quot; now.</source>
        <translation>„%1“ ist nicht mehr verfügbar.<byte value="xd"/>Aufnahme jetzt von „%2“.</translation>
    </message>
</context>
<context>
    <name>LeftTakes</name>
    <message>
        <source>A take left from an earlier run can not be read (%1):
%2
It is offered for saving as it is.</source>
        <translation>Eine Aufnahme aus einem früheren Lauf kann nicht gelesen werden (%1):
%2
Sie wird unverändert zum Speichern angeboten.</translation>
    </message>
</context>
<context>
    <name>MoveFile</name>
    <message>
        <source>Unable to save file. Please check disk space.</source>
        <translation>Datei kann nicht gespeichert werden. Bitte den Speicherplatz prüfen.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder is read-only.</source>
        <translation>Datei kann nicht gespeichert werden: Der Ordner ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Unable to save file: the name is too long.</source>
        <translation>Datei kann nicht gespeichert werden: Der Name ist zu lang.</translation>
    </message>
    <message>
        <source>Unable to save file: a folder of that name exists.</source>
        <translation>Datei kann nicht gespeichert werden: Ein Ordner dieses Namens existiert.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder does not exist.</source>
        <translation>Datei kann nicht gespeichert werden: Der Ordner existiert nicht.</translation>
    </message>
    <message>
        <source>Unable to save file: a file of that name exists.</source>
        <translation>Datei kann nicht gespeichert werden: Eine Datei dieses Namens existiert.</translation>
    </message>
    <message>
        <source>Unable to write the tag: the recording is too short.</source>
        <translation>Tag kann nicht geschrieben werden: Die Aufnahme ist zu kurz.</translation>
    </message>
    <message>
        <source>Unable to write the tag. Please check disk space.</source>
        <translation>Tag kann nicht geschrieben werden. Bitte den Speicherplatz prüfen.</translation>
    </message>
    <message>
        <source>Unable to save file: %1.</source>
        <translation>Datei kann nicht gespeichert werden: %1.</translation>
    </message>
    <message>
        <source>Unable to write the tag: %1.</source>
        <translation>Tag kann nicht geschrieben werden: %1.</translation>
    </message>
</context>
<context>
    <name>PortalHotKeys</name>
    <message>
        <source>the desktop opened no shortcut session</source>
        <translation>die Arbeitsumgebung hat keine Tastenkürzel-Sitzung geöffnet</translation>
    </message>
    <message>
        <source>the binding was cancelled</source>
        <translation>die Zuweisung wurde abgebrochen</translation>
    </message>
    <message>
        <source>the desktop did not bind it</source>
        <translation>die Arbeitsumgebung hat es nicht zugewiesen</translation>
    </message>
    <message>
        <source>the desktop did not answer</source>
        <translation>die Arbeitsumgebung hat nicht geantwortet</translation>
    </message>
</context>
<context>
    <name>ProgramPopup</name>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
</context>
<context>
    <name>QualityPresets</name>
    <message>
        <source>SampleRate: %u hz<byte value="xd"/>BitRate: %u kbps</source>
        <translation>Abtastrate: %u Hz<byte value="xd"/>Bitrate: %u kbps</translation>
    </message>
    <message>
        <source>Sample Rate: %5u hz<byte value="xd"/>
Bit Rate: %3u kbps</source>
        <translation>Abtastrate: %5u Hz<byte value="xd"/>
Bitrate: %3u kbps</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Recording Channel not specified.</source>
        <translation>Kein Aufnahmekanal gewählt.</translation>
    </message>
    <message>
        <source>Unable to create MP3 file.</source>
        <translation>MP3-Datei kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>Unable to start the MP3 encoder.</source>
        <translation>MP3-Encoder kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Unable to start recording.</source>
        <translation>Aufnahme kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Failed to write MP3 file to disk. Please check your disk space.</source>
        <translation>Die MP3-Datei konnte nicht auf den Datenträger geschrieben werden. Bitte prüfen Sie den freien Speicherplatz.</translation>
    </message>
    <message>
        <source>The end of the recording could not be written to disk. The file is incomplete.</source>
        <translation>Das Ende der Aufnahme konnte nicht auf den Datenträger geschrieben werden. Die Datei ist unvollständig.</translation>
    </message>
    <message>
        <source>Recording stopped: the recording device is no longer available.</source>
        <translation>Aufnahme beendet: Das Aufnahmegerät ist nicht mehr verfügbar.</translation>
    </message>
</context>
<context>
    <name>RecorderWindow</name>
    <message>
        <source>&amp;Menu</source>
        <translation>&amp;Menü</translation>
    </message>
    <message>
        <source>Tapewren is in its own window (this desktop shows no tray icons).</source>
        <translation>Tapewren läuft in einem eigenen Fenster (dieser Desktop zeigt keine Symbole im Systembereich).</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
</context>
<context>
    <name>SendEmail</name>
    <message>
        <source>Error while trying to send email</source>
        <translation>Fehler beim Versuch, die E-Mail zu senden</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Unable to read %1. The default settings are used and the file is left as it is.</source>
        <translation>%1 kann nicht gelesen werden. Die Standardeinstellungen werden verwendet, die Datei bleibt unverändert.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>ShortCut</name>
    <message>
        <source>Shift+</source>
        <translation>Umschalt+</translation>
    </message>
    <message>
        <source>Ctrl+</source>
        <translation>Strg+</translation>
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
        <translation>Tonaufnahme läuft</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>TEmail</name>
    <message>
        <source>Put your subject here</source>
        <translation>Betreff hier eingeben</translation>
    </message>
    <message>
        <source>Your message text goes here<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Create voice mail with Tapewren</source>
        <translation>Hier steht Ihr Nachrichtentext<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Sprachnachricht erstellt mit Tapewren</translation>
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
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <source>&amp;Record Now  [Tray Click]</source>
        <translation>&amp;Aufnehmen  [Klick aufs Symbol]</translation>
    </message>
    <message>
        <source>Record and &amp;Email</source>
        <translation>Aufnehmen und per &amp;E-Mail senden</translation>
    </message>
    <message>
        <source>&amp;Config...  [Tray Doulble-Click]</source>
        <translation>&amp;Konfigurieren...  [Doppelklick aufs Symbol]</translation>
    </message>
    <message>
        <source>Start with the &amp;desktop</source>
        <translation>Mit dem &amp;Desktop starten</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>&amp;Hilfe...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Can not initiate defualt recording device.</source>
        <translation>Das Standard-Aufnahmegerät kann nicht initialisiert werden.</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop].</source>
        <translation>Tastenkürzel für [Aufnahme/Stopp] konnte nicht gesetzt werden.</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume]</source>
        <translation>Tastenkürzel für [Pause/Fortsetzen] konnte nicht gesetzt werden</translation>
    </message>
    <message>
        <source>Configuration is disabled while recording is in progress.</source>
        <translation>Während einer Aufnahme sind die Einstellungen gesperrt.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click once to start recording.<byte value="xd"/>
Double-click to configure.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Ein Klick startet die Aufnahme.<byte value="xd"/>
Doppelklick für Einstellungen.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Recording is disabled when<byte value="xd"/>
config window is active.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Aufnahme gesperrt, solange<byte value="xd"/>
das Einstellungsfenster offen ist.</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>In %1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Can not re-initiate defualt recording device.</source>
        <translation>Das Standard-Aufnahmegerät kann nicht erneut initialisiert werden.</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: waiting for the desktop</source>
        <translation>Tastenkürzel Aufnahme/Stopp: wartet auf die Arbeitsumgebung</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: waiting for the desktop</source>
        <translation>Tastenkürzel Pause/Fortsetzen: wartet auf die Arbeitsumgebung</translation>
    </message>
    <message>
        <source>Channel: %1<byte value="xd"/>Sample Rate: %2hz<byte value="xd"/>Bit Rate: %3kbps %4<byte value="xd"/>Volume: %5    %6</source>
        <translation>Kanal: %1<byte value="xd"/>Abtastrate: %2 Hz<byte value="xd"/>Bitrate: %3 kbit/s %4<byte value="xd"/>Lautstärke: %5    %6</translation>
    </message>
    <message>
        <source>[Stereo]</source>
        <translation>[Stereo]</translation>
    </message>
    <message>
        <source>Single click to record/stop<byte value="xd"/>
%1<byte value="xd"/>
Double-click to configure,<byte value="xd"/>
Right click to get a menu.</source>
        <translation>Ein Klick: Aufnahme starten/stoppen<byte value="xd"/>
%1<byte value="xd"/>
Doppelklick: Einstellungen,<byte value="xd"/>
Rechtsklick: Menü.</translation>
    </message>
    <message>
        <source>Tapewren: hotkeys %1 and %2</source>
        <translation>Tapewren: Tastenkürzel %1 und %2</translation>
    </message>
    <message>
        <source>Tapewren: only the Record/Stop hotkey %1</source>
        <translation>Tapewren: nur das Tastenkürzel Aufnahme/Stopp %1</translation>
    </message>
    <message>
        <source>Tapewren: only the Pause/Resume hotkey %1</source>
        <translation>Tapewren: nur das Tastenkürzel Pause/Fortsetzen %1</translation>
    </message>
    <message>
        <source>Tapewren: no hotkeys</source>
        <translation>Tapewren: keine Tastenkürzel</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop]. (%1)</source>
        <translation>Tastenkürzel für [Aufnahme/Stopp] konnte nicht gesetzt werden. (%1)</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume] (%1)</source>
        <translation>Tastenkürzel für [Pause/Fortsetzen] konnte nicht gesetzt werden (%1)</translation>
    </message>
    <message>
        <source>Click for the menu: its first item records/stops<byte value="xd"/>
%1<byte value="xd"/>
Its Config item configures.</source>
        <translation>Klick öffnet das Menü: sein erster Eintrag nimmt auf/stoppt<byte value="xd"/>
%1<byte value="xd"/>
Sein Eintrag Einstellungen konfiguriert.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click for the menu: Record is its first item.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Klick öffnet das Menü: Aufnehmen ist sein erster Eintrag.</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Aufnehmen</translation>
    </message>
    <message>
        <source>Tapewren: waiting for the hotkeys</source>
        <translation>Tapewren: wartet auf die Tastenkürzel</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: %1</source>
        <translation>Tastenkürzel Aufnahme/Stopp: %1</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: %1</source>
        <translation>Tastenkürzel Pause/Fortsetzen: %1</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Total Time: %1<byte value="xd"/>
File Size: %2 KB<byte value="xd"/>
Source: %3<byte value="xd"/>
Quality: %4 hz / %5 kbps<byte value="xd"/>
Volume: %6</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Dauer: %1<byte value="xd"/>
Dateigröße: %2 KB<byte value="xd"/>
Quelle: %3<byte value="xd"/>
Qualität: %4 Hz / %5 kbit/s<byte value="xd"/>
Lautstärke: %6</translation>
    </message>
</context>
<context>
    <name>TFormSave</name>
    <message>
        <source>Save as</source>
        <translation>Speichern unter</translation>
    </message>
    <message>
        <source>MP3 Tag Writer</source>
        <translation>MP3-Tag schreiben</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Interpret:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Kommentar:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genre:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Jahr:</translation>
    </message>
    <message>
        <source>Cl&amp;ear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Email</source>
        <translation>Speichern &amp;&amp; senden</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Tag &amp;&amp; Email</source>
        <translation>Tag &amp;&amp; senden</translation>
    </message>
    <message>
        <source>Save with Tag</source>
        <translation>Mit Tag speichern</translation>
    </message>
    <message>
        <source>Unable to gain access to the record file. File can&apos;t be saved.</source>
        <translation>Kein Zugriff auf die Aufnahmedatei. Die Datei kann nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Record data file is missing. File can&apos;t be saved!!</source>
        <translation>Die Aufnahmedatei fehlt. Die Datei kann nicht gespeichert werden!!</translation>
    </message>
    <message>
        <source>Please specify a file name to save as.</source>
        <translation>Bitte einen Dateinamen zum Speichern angeben.</translation>
    </message>
    <message>
        <source>File already exists, do you want to overwrite it?</source>
        <translation>Die Datei existiert bereits. Soll sie überschrieben werden?</translation>
    </message>
    <message>
        <source>File&apos;s been saved.<byte value="xd"/>Click to play now.</source>
        <translation>Die Datei wurde gespeichert.<byte value="xd"/>Klicken zum Abspielen.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel saving and lose the sound data you just recorded?</source>
        <translation>Wirklich das Speichern abbrechen und die eben aufgenommenen Tondaten verwerfen?</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>A file name cannot contain control characters such as a line break or a tab.</source>
        <translation>Ein Dateiname darf keine Steuerzeichen wie einen Zeilenumbruch oder einen Tabulator enthalten.</translation>
    </message>
    <message>
        <source>type in a file name</source>
        <translation>Dateinamen eingeben</translation>
    </message>
</context>
<context>
    <name>TFormWizard</name>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Don&apos;t show this page again</source>
        <translation>Diese Seite nicht mehr zeigen</translation>
    </message>
    <message>
        <source>Tapewren Sound Optimizer</source>
        <translation>Tapewren-Klangoptimierer</translation>
    </message>
    <message>
        <source>This is a simple 2-step wizard</source>
        <translation>Ein einfacher Assistent in 2 Schritten</translation>
    </message>
    <message>
        <source>People using other recorder software often end up with <byte value="xd"/>
distorted results because it&apos;s hard to find the proper recording volume level.</source>
        <translation>Mit anderen Aufnahmeprogrammen klingt das Ergebnis oft <byte value="xd"/>
verzerrt, weil die richtige Aufnahmelautstärke schwer zu finden ist.</translation>
    </message>
    <message>
        <source>Tapewren&apos;s sophisticated smart-detect technology will help you to determine the ideal recording volume level which will ensure the best sound quality.</source>
        <translation>Tapewrens ausgefeilte Erkennung hilft Ihnen, die ideale Aufnahmelautstärke für die beste Tonqualität zu finden.</translation>
    </message>
    <message>
        <source>To get best sound quality, it is recommended to run this wizard each time you change the input channel.</source>
        <translation>Für die beste Tonqualität sollten Sie diesen Assistenten nach jedem Wechsel des Eingangs ausführen.</translation>
    </message>
    <message>
        <source>Start the Wizard</source>
        <translation>Assistent starten</translation>
    </message>
    <message>
        <source>1. Pick the right recording channel.<byte value="xd"/>
2. Play audio file, speak into the microphone or turn on<byte value="xd"/>
the connected input sound source.<byte value="xd"/>
3. Optimization starts automatically.</source>
        <translation>1. Wählen Sie den richtigen Aufnahmekanal.<byte value="xd"/>
2. Spielen Sie eine Audiodatei ab, sprechen Sie ins Mikrofon<byte value="xd"/>
oder schalten Sie die angeschlossene Tonquelle ein.<byte value="xd"/>
3. Die Optimierung startet von selbst.</translation>
    </message>
    <message>
        <source>Recording Channel to Use</source>
        <translation>Zu verwendender Aufnahmekanal</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Aufnahmelautstärke</translation>
    </message>
    <message>
        <source>You may click the &quot;Next&quot; button, when the above<byte value="xd"/>
blue volume bar stops progressing.</source>
        <translation>Klicken Sie auf „Weiter“, sobald der blaue<byte value="xd"/>
Lautstärkebalken oben stehen bleibt.</translation>
    </message>
    <message>
        <source>Manual Finetune (Optional)</source>
        <translation>Feinabstimmung von Hand (optional)</translation>
    </message>
    <message>
        <source>You may skip this step and click &quot;Finish&quot; directly</source>
        <translation>Sie können diesen Schritt überspringen und gleich auf „Fertig“ klicken</translation>
    </message>
    <message>
        <source>Volume to Use</source>
        <translation>Zu verwendende Lautstärke</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Can&apos;t start default recording device</source>
        <translation>Das Standard-Aufnahmegerät kann nicht gestartet werden</translation>
    </message>
    <message>
        <source>Volume to Use: %1</source>
        <translation>Zu verwendende Lautstärke: %1</translation>
    </message>
</context>
<context>
    <name>TSavePanel</name>
    <message>
        <source>MP3 Files (*.MP3 *.mp3)</source>
        <translation>MP3-Dateien (*.MP3 *.mp3)</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>Datei&amp;name:</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Dateityp:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>VolumeOptimizer</name>
    <message>
        <source>Unable to start the default recording device.</source>
        <translation>Das Standard-Aufnahmegerät kann nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Unable to start the selected channel.</source>
        <translation>Der gewählte Kanal kann nicht gestartet werden.</translation>
    </message>
</context>
</TS>
