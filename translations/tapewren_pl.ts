<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pl_PL">
<context>
    <name>CommandKeysOffer</name>
    <message>
        <source>Add %1 (Record/Stop) and %2 (Pause/Resume) to GNOME&apos;s keyboard shortcuts? They then work from every window, and GNOME&apos;s Settings (Keyboard, Custom Shortcuts) can change or remove them.</source>
        <translation>Dodać %1 (Nagrywaj/Zatrzymaj) i %2 (Pauza/Wznów) do skrótów klawiszowych GNOME? Będą wtedy działać w każdym oknie, a w Ustawieniach GNOME (Klawiatura, Własne skróty) można je zmienić lub usunąć.</translation>
    </message>
    <message>
        <source>The hotkeys are now GNOME keyboard shortcuts.</source>
        <translation>Skróty są teraz skrótami klawiszowymi GNOME.</translation>
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
        <translation>Nagrywanie dźwięku jednym kliknięciem</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Kanał nagrywania</translation>
    </message>
    <message>
        <source>Recording Quality</source>
        <translation>Jakość nagrywania</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Głośność nagrywania</translation>
    </message>
    <message>
        <source>About and Help</source>
        <translation>O programie i pomoc</translation>
    </message>
    <message>
        <source>Input of the sound server</source>
        <translation>Wejście serwera dźwięku</translation>
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
        <translation>Optymalizator</translation>
    </message>
    <message>
        <source>Frequently Asked Questions</source>
        <translation>Często zadawane pytania</translation>
    </message>
    <message>
        <source>Getting Support</source>
        <translation>Wsparcie</translation>
    </message>
    <message>
        <source>Add hotkeys to GNOME</source>
        <translation>Skróty w GNOME</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Pomoc</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Zastosuj</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Kanał nagrywania</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Jakość</translation>
    </message>
    <message>
        <source>Recording volume</source>
        <translation>Głośność nagrywania</translation>
    </message>
</context>
<context>
    <name>DiskSpaceGuard</name>
    <message numerus="yes">
        <source>Low disk space: room for %n more minute(s) of recording.</source>
        <translation>
            <numerusform>Mało miejsca na dysku: wystarczy jeszcze na %n minutę nagrania.</numerusform>
            <numerusform>Mało miejsca na dysku: wystarczy jeszcze na %n minuty nagrania.</numerusform>
            <numerusform>Mało miejsca na dysku: wystarczy jeszcze na %n minut nagrania.</numerusform>
        </translation>
    </message>
    <message>
        <source>Not enough free disk space to record: less than a minute of recording fits in %1.</source>
        <translation>Za mało wolnego miejsca na dysku, by nagrywać: w %1 zmieści się mniej niż minuta nagrania.</translation>
    </message>
    <message>
        <source>Low disk space: room for less than a minute of recording.</source>
        <translation>Mało miejsca na dysku: wystarczy na mniej niż minutę nagrania.</translation>
    </message>
</context>
<context>
    <name>HotKeys</name>
    <message>
        <source>%1 (a GNOME shortcut)</source>
        <translation>%1 (skrót GNOME)</translation>
    </message>
    <message>
        <source>GNOME can add them: see the settings</source>
        <translation>GNOME może je dodać: zobacz ustawienia</translation>
    </message>
    <message>
        <source>%1 cannot be given to GNOME.</source>
        <translation>Nie można przekazać %1 do GNOME.</translation>
    </message>
    <message>
        <source>%1 is already a GNOME shortcut (%2).</source>
        <translation>%1 jest już skrótem GNOME (%2).</translation>
    </message>
    <message>
        <source>GNOME&apos;s settings cannot be changed.</source>
        <translation>Nie można zmienić ustawień GNOME.</translation>
    </message>
    <message>
        <source>this desktop offers no global shortcuts</source>
        <translation>to środowisko nie obsługuje skrótów globalnych</translation>
    </message>
    <message>
        <source>no key of this keyboard makes it</source>
        <translation>żaden klawisz tej klawiatury go nie wytwarza</translation>
    </message>
    <message>
        <source>another program holds it</source>
        <translation>zajmuje go inny program</translation>
    </message>
    <message>
        <source>Tapewren %1</source>
        <translation>Tapewren %1</translation>
    </message>
    <message>
        <source>Record/Stop</source>
        <translation>Nagrywaj/Zatrzymaj</translation>
    </message>
    <message>
        <source>Pause/Resume</source>
        <translation>Pauza/Wznów</translation>
    </message>
</context>
<context>
    <name>InputChoice</name>
    <message>
        <source>Microphone and speakers</source>
        <translation>Mikrofon i głośniki</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.</source>
        <translation>„%1” nie jest już dostępne.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.<byte value="xd"/>Recording from &quot;%2&quot; now.</source>
        <translation>„%1” nie jest już dostępne.<byte value="xd"/>Teraz nagrywanie z „%2”.</translation>
    </message>
</context>
<context>
    <name>LeftTakes</name>
    <message>
        <source>A take left from an earlier run can not be read (%1):
%2
It is offered for saving as it is.</source>
        <translation>Nie można odczytać nagrania pozostałego po poprzednim uruchomieniu (%1):
%2
Zostanie zaproponowane do zapisania w obecnej postaci.</translation>
    </message>
</context>
<context>
    <name>MoveFile</name>
    <message>
        <source>Unable to save file. Please check disk space.</source>
        <translation>Nie można zapisać pliku. Sprawdź wolne miejsce na dysku.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder is read-only.</source>
        <translation>Nie można zapisać pliku: katalog jest tylko do odczytu.</translation>
    </message>
    <message>
        <source>Unable to save file: the name is too long.</source>
        <translation>Nie można zapisać pliku: nazwa jest za długa.</translation>
    </message>
    <message>
        <source>Unable to save file: a folder of that name exists.</source>
        <translation>Nie można zapisać pliku: istnieje katalog o tej nazwie.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder does not exist.</source>
        <translation>Nie można zapisać pliku: katalog nie istnieje.</translation>
    </message>
    <message>
        <source>Unable to save file: a file of that name exists.</source>
        <translation>Nie można zapisać pliku: istnieje plik o tej nazwie.</translation>
    </message>
    <message>
        <source>Unable to save file: %1.</source>
        <translation>Nie można zapisać pliku: %1.</translation>
    </message>
    <message>
        <source>Unable to write the tag: the recording is too short.</source>
        <translation>Nie można zapisać znacznika: nagranie jest za krótkie.</translation>
    </message>
    <message>
        <source>Unable to write the tag. Please check disk space.</source>
        <translation>Nie można zapisać znacznika. Sprawdź wolne miejsce na dysku.</translation>
    </message>
    <message>
        <source>Unable to write the tag: %1.</source>
        <translation>Nie można zapisać znacznika: %1.</translation>
    </message>
</context>
<context>
    <name>PortalHotKeys</name>
    <message>
        <source>the desktop opened no shortcut session</source>
        <translation>środowisko nie otworzyło sesji skrótów</translation>
    </message>
    <message>
        <source>the binding was cancelled</source>
        <translation>przypisanie zostało anulowane</translation>
    </message>
    <message>
        <source>the desktop did not bind it</source>
        <translation>środowisko go nie przypisało</translation>
    </message>
    <message>
        <source>the desktop did not answer</source>
        <translation>środowisko nie odpowiedziało</translation>
    </message>
</context>
<context>
    <name>ProgramPopup</name>
    <message>
        <source>Play</source>
        <translation>Odtwórz</translation>
    </message>
</context>
<context>
    <name>QualityPresets</name>
    <message>
        <source>SampleRate: %u hz<byte value="xd"/>BitRate: %u kbps</source>
        <translation>Próbkowanie: %u Hz<byte value="xd"/>Przepływność: %u kb/s</translation>
    </message>
    <message>
        <source>Sample Rate: %5u hz<byte value="xd"/>
Bit Rate: %3u kbps</source>
        <translation>Próbkowanie: %5u Hz<byte value="xd"/>
Przepływność: %3u kb/s</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Recording Channel not specified.</source>
        <translation>Nie wybrano kanału nagrywania.</translation>
    </message>
    <message>
        <source>Unable to create MP3 file.</source>
        <translation>Nie można utworzyć pliku MP3.</translation>
    </message>
    <message>
        <source>Unable to start the MP3 encoder.</source>
        <translation>Nie można uruchomić kodera MP3.</translation>
    </message>
    <message>
        <source>Unable to start recording.</source>
        <translation>Nie można rozpocząć nagrywania.</translation>
    </message>
    <message>
        <source>Failed to write MP3 file to disk. Please check your disk space.</source>
        <translation>Nie udało się zapisać pliku MP3 na dysku. Sprawdź wolne miejsce.</translation>
    </message>
    <message>
        <source>The end of the recording could not be written to disk. The file is incomplete.</source>
        <translation>Nie udało się zapisać końca nagrania na dysku. Plik jest niekompletny.</translation>
    </message>
    <message>
        <source>Recording stopped: the recording device is no longer available.</source>
        <translation>Nagrywanie zatrzymane: urządzenie nagrywające nie jest już dostępne.</translation>
    </message>
</context>
<context>
    <name>RecorderWindow</name>
    <message>
        <source>Stop</source>
        <translation>Zatrzymaj</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Nagrywaj</translation>
    </message>
    <message>
        <source>&amp;Menu</source>
        <translation>&amp;Menu</translation>
    </message>
    <message>
        <source>Tapewren is in its own window (this desktop shows no tray icons).</source>
        <translation>Tapewren działa we własnym oknie (to środowisko nie pokazuje ikon w zasobniku systemowym).</translation>
    </message>
</context>
<context>
    <name>SendEmail</name>
    <message>
        <source>Error while trying to send email</source>
        <translation>Błąd podczas wysyłania wiadomości e-mail</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Unable to read %1. The default settings are used and the file is left as it is.</source>
        <translation>Nie można odczytać %1. Używane są ustawienia domyślne, a plik pozostaje bez zmian.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Nie można zapisać w %1</translation>
    </message>
</context>
<context>
    <name>ShortCut</name>
    <message>
        <source>Shift+</source>
        <translation>Shift+</translation>
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
        <translation>Trwa nagrywanie dźwięku</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <source>Close</source>
        <translation>Zamknij</translation>
    </message>
</context>
<context>
    <name>TEmail</name>
    <message>
        <source>Put your subject here</source>
        <translation>Wpisz tutaj temat</translation>
    </message>
    <message>
        <source>Your message text goes here<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Create voice mail with Tapewren</source>
        <translation>Tutaj wpisz treść wiadomości<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Wiadomość głosowa nagrana w Tapewren</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>Channel: %1<byte value="xd"/>Sample Rate: %2hz<byte value="xd"/>Bit Rate: %3kbps %4<byte value="xd"/>Volume: %5    %6</source>
        <translation>Kanał: %1<byte value="xd"/>Próbkowanie: %2 Hz<byte value="xd"/>Przepływność: %3 kb/s %4<byte value="xd"/>Głośność: %5    %6</translation>
    </message>
    <message>
        <source>[Stereo]</source>
        <translation>[Stereo]</translation>
    </message>
    <message>
        <source>Click for the menu: its first item records/stops<byte value="xd"/>
%1<byte value="xd"/>
Its Config item configures.</source>
        <translation>Kliknięcie otwiera menu: pierwsza pozycja nagrywa/zatrzymuje<byte value="xd"/>
%1<byte value="xd"/>
Pozycja Konfiguruj otwiera ustawienia.</translation>
    </message>
    <message>
        <source>Single click to record/stop<byte value="xd"/>
%1<byte value="xd"/>
Double-click to configure,<byte value="xd"/>
Right click to get a menu.</source>
        <translation>Kliknięcie: nagrywanie/zatrzymanie<byte value="xd"/>
%1<byte value="xd"/>
Podwójne kliknięcie: ustawienia,<byte value="xd"/>
prawy przycisk: menu.</translation>
    </message>
    <message>
        <source>Tapewren: waiting for the hotkeys</source>
        <translation>Tapewren: oczekiwanie na skróty</translation>
    </message>
    <message>
        <source>Tapewren: hotkeys %1 and %2</source>
        <translation>Tapewren: skróty %1 i %2</translation>
    </message>
    <message>
        <source>Tapewren: only the Record/Stop hotkey %1</source>
        <translation>Tapewren: tylko skrót Nagrywaj/Zatrzymaj %1</translation>
    </message>
    <message>
        <source>Tapewren: only the Pause/Resume hotkey %1</source>
        <translation>Tapewren: tylko skrót Pauza/Wznów %1</translation>
    </message>
    <message>
        <source>Tapewren: no hotkeys</source>
        <translation>Tapewren: brak skrótów</translation>
    </message>
    <message>
        <source>Can not initiate defualt recording device.</source>
        <translation>Nie można zainicjować domyślnego urządzenia nagrywającego.</translation>
    </message>
    <message>
        <source>Configuration is disabled while recording is in progress.</source>
        <translation>Podczas nagrywania ustawienia są niedostępne.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click for the menu: Record is its first item.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Kliknięcie otwiera menu: Nagrywaj to pierwsza pozycja.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click once to start recording.<byte value="xd"/>
Double-click to configure.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Kliknij, aby zacząć nagrywanie.<byte value="xd"/>
Kliknij dwukrotnie, aby zmienić ustawienia.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Recording is disabled when<byte value="xd"/>
config window is active.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Nagrywanie jest niedostępne,<byte value="xd"/>
gdy okno ustawień jest otwarte.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Nie można zapisać w %1</translation>
    </message>
    <message>
        <source>Can not re-initiate defualt recording device.</source>
        <translation>Nie można ponownie zainicjować domyślnego urządzenia nagrywającego.</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: %1</source>
        <translation>Skrót Nagrywaj/Zatrzymaj: %1</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop].</source>
        <translation>Nie udało się ustawić skrótu [Nagrywaj/Zatrzymaj].</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop]. (%1)</source>
        <translation>Nie udało się ustawić skrótu [Nagrywaj/Zatrzymaj]. (%1)</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: waiting for the desktop</source>
        <translation>Skrót Nagrywaj/Zatrzymaj: oczekiwanie na środowisko</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: %1</source>
        <translation>Skrót Pauza/Wznów: %1</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume]</source>
        <translation>Nie udało się ustawić skrótu [Pauza/Wznów]</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume] (%1)</source>
        <translation>Nie udało się ustawić skrótu [Pauza/Wznów] (%1)</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: waiting for the desktop</source>
        <translation>Skrót Pauza/Wznów: oczekiwanie na środowisko</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Nagrywaj</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pauza</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Zatrzymaj</translation>
    </message>
    <message>
        <source>&amp;Record Now  [Tray Click]</source>
        <translation>&amp;Nagrywaj teraz  [kliknięcie ikony]</translation>
    </message>
    <message>
        <source>Record and &amp;Email</source>
        <translation>Nagraj i wyślij &amp;e-mailem</translation>
    </message>
    <message>
        <source>&amp;Config...  [Tray Doulble-Click]</source>
        <translation>&amp;Konfiguruj...  [podwójne kliknięcie ikony]</translation>
    </message>
    <message>
        <source>Start with the &amp;desktop</source>
        <translation>Uruchamiaj &amp;razem z pulpitem</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>P&amp;omoc...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>Zakoń&amp;cz</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Wznów</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Total Time: %1<byte value="xd"/>
File Size: %2 KB<byte value="xd"/>
Source: %3<byte value="xd"/>
Quality: %4 hz / %5 kbps<byte value="xd"/>
Volume: %6</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Czas: %1<byte value="xd"/>
Rozmiar pliku: %2 KB<byte value="xd"/>
Źródło: %3<byte value="xd"/>
Jakość: %4 Hz / %5 kb/s<byte value="xd"/>
Głośność: %6</translation>
    </message>
</context>
<context>
    <name>TFormSave</name>
    <message>
        <source>Save as</source>
        <translation>Zapisz jako</translation>
    </message>
    <message>
        <source>MP3 Tag Writer</source>
        <translation>Znacznik MP3</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Tytuł:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Wykonawca:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Komentarz:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Gatunek:</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Gatunek</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Rok:</translation>
    </message>
    <message>
        <source>Cl&amp;ear</source>
        <translation>&amp;Wyczyść</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Email</source>
        <translation>Zapisz i wyślij</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Zapisz</translation>
    </message>
    <message>
        <source>Tag &amp;&amp; Email</source>
        <translation>Znacznik i e-mail</translation>
    </message>
    <message>
        <source>Save with Tag</source>
        <translation>Ze znacznikiem</translation>
    </message>
    <message>
        <source>Unable to gain access to the record file. File can&apos;t be saved.</source>
        <translation>Brak dostępu do pliku nagrania. Nie można zapisać pliku.</translation>
    </message>
    <message>
        <source>Record data file is missing. File can&apos;t be saved!!</source>
        <translation>Brak pliku z nagraniem. Nie można zapisać pliku!!</translation>
    </message>
    <message>
        <source>Please specify a file name to save as.</source>
        <translation>Podaj nazwę pliku do zapisania.</translation>
    </message>
    <message>
        <source>A file name cannot contain control characters such as a line break or a tab.</source>
        <translation>Nazwa pliku nie może zawierać znaków sterujących, takich jak podział wiersza lub tabulator.</translation>
    </message>
    <message>
        <source>File already exists, do you want to overwrite it?</source>
        <translation>Plik już istnieje. Czy go zastąpić?</translation>
    </message>
    <message>
        <source>File&apos;s been saved.<byte value="xd"/>Click to play now.</source>
        <translation>Plik został zapisany.<byte value="xd"/>Kliknij, aby go odtworzyć.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel saving and lose the sound data you just recorded?</source>
        <translation>Czy na pewno anulować zapisywanie i utracić właśnie nagrany dźwięk?</translation>
    </message>
    <message>
        <source>type in a file name</source>
        <translation>wpisz nazwę pliku</translation>
    </message>
</context>
<context>
    <name>TFormWizard</name>
    <message>
        <source>Back</source>
        <translation>Wstecz</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Dalej</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Zakończ</translation>
    </message>
    <message>
        <source>Don&apos;t show this page again</source>
        <translation>Nie pokazuj więcej tej strony</translation>
    </message>
    <message>
        <source>Tapewren Sound Optimizer</source>
        <translation>Optymalizator dźwięku Tapewren</translation>
    </message>
    <message>
        <source>This is a simple 2-step wizard</source>
        <translation>Prosty kreator w 2 krokach</translation>
    </message>
    <message>
        <source>People using other recorder software often end up with <byte value="xd"/>
distorted results because it&apos;s hard to find the proper recording volume level.</source>
        <translation>W innych programach do nagrywania dźwięk często wychodzi <byte value="xd"/>
zniekształcony, bo trudno trafić we właściwą głośność nagrywania.</translation>
    </message>
    <message>
        <source>Tapewren&apos;s sophisticated smart-detect technology will help you to determine the ideal recording volume level which will ensure the best sound quality.</source>
        <translation>Inteligentne wykrywanie w Tapewren pomoże ustalić idealną głośność nagrywania, która zapewni najlepszą jakość dźwięku.</translation>
    </message>
    <message>
        <source>To get best sound quality, it is recommended to run this wizard each time you change the input channel.</source>
        <translation>Aby uzyskać najlepszą jakość dźwięku, uruchamiaj ten kreator po każdej zmianie kanału wejściowego.</translation>
    </message>
    <message>
        <source>Start the Wizard</source>
        <translation>Uruchom kreator</translation>
    </message>
    <message>
        <source>1. Pick the right recording channel.<byte value="xd"/>
2. Play audio file, speak into the microphone or turn on<byte value="xd"/>
the connected input sound source.<byte value="xd"/>
3. Optimization starts automatically.</source>
        <translation>1. Wybierz właściwy kanał nagrywania.<byte value="xd"/>
2. Odtwórz plik dźwiękowy, mów do mikrofonu lub włącz<byte value="xd"/>
podłączone źródło dźwięku.<byte value="xd"/>
3. Optymalizacja zacznie się sama.</translation>
    </message>
    <message>
        <source>Recording Channel to Use</source>
        <translation>Kanał nagrywania</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Lewy</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Prawy</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Głośność nagrywania</translation>
    </message>
    <message>
        <source>You may click the &quot;Next&quot; button, when the above<byte value="xd"/>
blue volume bar stops progressing.</source>
        <translation>Kliknij „Dalej”, gdy niebieski pasek głośności<byte value="xd"/>
powyżej przestanie się przesuwać.</translation>
    </message>
    <message>
        <source>Manual Finetune (Optional)</source>
        <translation>Ręczne dostrojenie (opcjonalne)</translation>
    </message>
    <message>
        <source>You may skip this step and click &quot;Finish&quot; directly</source>
        <translation>Możesz pominąć ten krok i od razu kliknąć „Zakończ”</translation>
    </message>
    <message>
        <source>Volume to Use</source>
        <translation>Głośność do użycia</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Błąd</translation>
    </message>
    <message>
        <source>Volume to Use: %1</source>
        <translation>Głośność do użycia: %1</translation>
    </message>
    <message>
        <source>Can&apos;t start default recording device</source>
        <translation>Nie można uruchomić domyślnego urządzenia nagrywającego</translation>
    </message>
</context>
<context>
    <name>TSavePanel</name>
    <message>
        <source>MP3 Files (*.MP3 *.mp3)</source>
        <translation>Pliki MP3 (*.MP3 *.mp3)</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Nazwa pliku:</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Typ pliku:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anuluj</translation>
    </message>
</context>
<context>
    <name>VolumeOptimizer</name>
    <message>
        <source>Unable to start the default recording device.</source>
        <translation>Nie można uruchomić domyślnego urządzenia nagrywającego.</translation>
    </message>
    <message>
        <source>Unable to start the selected channel.</source>
        <translation>Nie można uruchomić wybranego kanału.</translation>
    </message>
</context>
</TS>
