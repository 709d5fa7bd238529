<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>CommandKeysOffer</name>
    <message>
        <source>Add %1 (Record/Stop) and %2 (Pause/Resume) to GNOME&apos;s keyboard shortcuts? They then work from every window, and GNOME&apos;s Settings (Keyboard, Custom Shortcuts) can change or remove them.</source>
        <translation>Adicionar %1 (Gravar/Parar) e %2 (Pausar/Retomar) aos atalhos de teclado do GNOME? Eles passam a funcionar em qualquer janela, e as Configurações do GNOME (Teclado, Atalhos personalizados) podem alterá-los ou removê-los.</translation>
    </message>
    <message>
        <source>The hotkeys are now GNOME keyboard shortcuts.</source>
        <translation>As teclas de atalho agora são atalhos de teclado do GNOME.</translation>
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
        <translation>Gravador de som com um clique</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Canal de gravação</translation>
    </message>
    <message>
        <source>Recording Quality</source>
        <translation>Qualidade de gravação</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Volume de gravação</translation>
    </message>
    <message>
        <source>About and Help</source>
        <translation>Sobre e ajuda</translation>
    </message>
    <message>
        <source>Input of the sound server</source>
        <translation>Entrada de som</translation>
    </message>
</context>
<context>
    <name>ConfigWindow</name>
    <message>
        <source>Stereo</source>
        <translation>Estéreo</translation>
    </message>
    <message>
        <source>VBR</source>
        <translation>VBR</translation>
    </message>
    <message>
        <source>Optimizer</source>
        <translation>Otimizador</translation>
    </message>
    <message>
        <source>Frequently Asked Questions</source>
        <translation>Perguntas frequentes</translation>
    </message>
    <message>
        <source>Getting Support</source>
        <translation>Obter suporte</translation>
    </message>
    <message>
        <source>Add hotkeys to GNOME</source>
        <translation>Atalhos no GNOME</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Canal de gravação</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Qualidade</translation>
    </message>
    <message>
        <source>Recording volume</source>
        <translation>Volume de gravação</translation>
    </message>
</context>
<context>
    <name>DiskSpaceGuard</name>
    <message numerus="yes">
        <source>Low disk space: room for %n more minute(s) of recording.</source>
        <translation>
            <numerusform>Pouco espaço em disco: há espaço para mais %n minuto de gravação.</numerusform>
            <numerusform>Pouco espaço em disco: há espaço para mais %n minutos de gravação.</numerusform>
        </translation>
    </message>
    <message>
        <source>Not enough free disk space to record: less than a minute of recording fits in %1.</source>
        <translation>Espaço livre em disco insuficiente para gravar: cabe menos de um minuto de gravação em %1.</translation>
    </message>
    <message>
        <source>Low disk space: room for less than a minute of recording.</source>
        <translation>Pouco espaço em disco: há espaço para menos de um minuto de gravação.</translation>
    </message>
</context>
<context>
    <name>HotKeys</name>
    <message>
        <source>%1 (a GNOME shortcut)</source>
        <translation>%1 (um atalho do GNOME)</translation>
    </message>
    <message>
        <source>GNOME can add them: see the settings</source>
        <translation>O GNOME pode adicioná-los: veja as configurações</translation>
    </message>
    <message>
        <source>%1 cannot be given to GNOME.</source>
        <translation>%1 não pode ser passado ao GNOME.</translation>
    </message>
    <message>
        <source>%1 is already a GNOME shortcut (%2).</source>
        <translation>%1 já é um atalho do GNOME (%2).</translation>
    </message>
    <message>
        <source>GNOME&apos;s settings cannot be changed.</source>
        <translation>As configurações do GNOME não podem ser alteradas.</translation>
    </message>
    <message>
        <source>this desktop offers no global shortcuts</source>
        <translation>este ambiente de trabalho não oferece atalhos globais</translation>
    </message>
    <message>
        <source>no key of this keyboard makes it</source>
        <translation>nenhuma tecla deste teclado o produz</translation>
    </message>
    <message>
        <source>another program holds it</source>
        <translation>outro programa o ocupa</translation>
    </message>
    <message>
        <source>Tapewren %1</source>
        <translation>Tapewren %1</translation>
    </message>
    <message>
        <source>Record/Stop</source>
        <translation>Gravar/Parar</translation>
    </message>
    <message>
        <source>Pause/Resume</source>
        <translation>Pausar/Retomar</translation>
    </message>
</context>
<context>
    <name>InputChoice</name>
    <message>
        <source>Microphone and speakers</source>
        <translation>Microfone e alto-falantes</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.</source>
        <translation>&quot;%1&quot; não está mais disponível.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.<byte value="xd"/>Recording from &quot;%2&quot; now.</source>
        <translation>&quot;%1&quot; não está mais disponível.<byte value="xd"/>Gravando agora de &quot;%2&quot;.</translation>
    </message>
</context>
<context>
    <name>LeftTakes</name>
    <message>
        <source>A take left from an earlier run can not be read (%1):
%2
It is offered for saving as it is.</source>
        <translation>Uma gravação deixada por uma execução anterior não pode ser lida (%1):
%2
Ela é oferecida para salvar do jeito que está.</translation>
    </message>
</context>
<context>
    <name>MoveFile</name>
    <message>
        <source>Unable to save file. Please check disk space.</source>
        <translation>Não foi possível salvar o arquivo. Verifique o espaço em disco.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder is read-only.</source>
        <translation>Não foi possível salvar o arquivo: a pasta é somente leitura.</translation>
    </message>
    <message>
        <source>Unable to save file: the name is too long.</source>
        <translation>Não foi possível salvar o arquivo: o nome é longo demais.</translation>
    </message>
    <message>
        <source>Unable to save file: a folder of that name exists.</source>
        <translation>Não foi possível salvar o arquivo: já existe uma pasta com esse nome.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder does not exist.</source>
        <translation>Não foi possível salvar o arquivo: a pasta não existe.</translation>
    </message>
    <message>
        <source>Unable to save file: a file of that name exists.</source>
        <translation>Não foi possível salvar o arquivo: já existe um arquivo com esse nome.</translation>
    </message>
    <message>
        <source>Unable to save file: %1.</source>
        <translation>Não foi possível salvar o arquivo: %1.</translation>
    </message>
    <message>
        <source>Unable to write the tag: the recording is too short.</source>
        <translation>Não foi possível gravar a tag: a gravação é curta demais.</translation>
    </message>
    <message>
        <source>Unable to write the tag. Please check disk space.</source>
        <translation>Não foi possível gravar a tag. Verifique o espaço em disco.</translation>
    </message>
    <message>
        <source>Unable to write the tag: %1.</source>
        <translation>Não foi possível gravar a tag: %1.</translation>
    </message>
</context>
<context>
    <name>PortalHotKeys</name>
    <message>
        <source>the desktop opened no shortcut session</source>
        <translation>o ambiente de trabalho não abriu nenhuma sessão de atalhos</translation>
    </message>
    <message>
        <source>the binding was cancelled</source>
        <translation>a atribuição foi cancelada</translation>
    </message>
    <message>
        <source>the desktop did not bind it</source>
        <translation>o ambiente de trabalho não o atribuiu</translation>
    </message>
    <message>
        <source>the desktop did not answer</source>
        <translation>o ambiente de trabalho não respondeu</translation>
    </message>
</context>
<context>
    <name>ProgramPopup</name>
    <message>
        <source>Play</source>
        <translation>Reproduzir</translation>
    </message>
</context>
<context>
    <name>QualityPresets</name>
    <message>
        <source>SampleRate: %u hz<byte value="xd"/>BitRate: %u kbps</source>
        <translation>Amostragem: %u Hz<byte value="xd"/>Taxa de bits: %u kbps</translation>
    </message>
    <message>
        <source>Sample Rate: %5u hz<byte value="xd"/>
Bit Rate: %3u kbps</source>
        <translation>Amostragem: %5u Hz<byte value="xd"/>
Taxa de bits: %3u kbps</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Recording Channel not specified.</source>
        <translation>Nenhum canal de gravação escolhido.</translation>
    </message>
    <message>
        <source>Unable to create MP3 file.</source>
        <translation>Não foi possível criar o arquivo MP3.</translation>
    </message>
    <message>
        <source>Unable to start the MP3 encoder.</source>
        <translation>Não foi possível iniciar o codificador MP3.</translation>
    </message>
    <message>
        <source>Unable to start recording.</source>
        <translation>Não foi possível iniciar a gravação.</translation>
    </message>
    <message>
        <source>Failed to write MP3 file to disk. Please check your disk space.</source>
        <translation>Não foi possível gravar o arquivo MP3 no disco. Verifique o espaço livre.</translation>
    </message>
    <message>
        <source>The end of the recording could not be written to disk. The file is incomplete.</source>
        <translation>O final da gravação não pôde ser gravado no disco. O arquivo está incompleto.</translation>
    </message>
    <message>
        <source>Recording stopped: the recording device is no longer available.</source>
        <translation>Gravação interrompida: o dispositivo de gravação não está mais disponível.</translation>
    </message>
</context>
<context>
    <name>RecorderWindow</name>
    <message>
        <source>Stop</source>
        <translation>Parar</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Gravar</translation>
    </message>
    <message>
        <source>&amp;Menu</source>
        <translation>&amp;Menu</translation>
    </message>
    <message>
        <source>Tapewren is in its own window (this desktop shows no tray icons).</source>
        <translation>O Tapewren está em uma janela própria (este ambiente de trabalho não mostra ícones na bandeja do sistema).</translation>
    </message>
</context>
<context>
    <name>SendEmail</name>
    <message>
        <source>Error while trying to send email</source>
        <translation>Erro ao tentar enviar o e-mail</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Unable to read %1. The default settings are used and the file is left as it is.</source>
        <translation>Não foi possível ler %1. As configurações padrão são usadas e o arquivo fica como está.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Não foi possível gravar em %1</translation>
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
        <translation>Gravando som</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
</context>
<context>
    <name>TEmail</name>
    <message>
        <source>Put your subject here</source>
        <translation>Escreva o assunto aqui</translation>
    </message>
    <message>
        <source>Your message text goes here<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Create voice mail with Tapewren</source>
        <translation>Escreva sua mensagem aqui<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Mensagem de voz criada com o Tapewren</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>Channel: %1<byte value="xd"/>Sample Rate: %2hz<byte value="xd"/>Bit Rate: %3kbps %4<byte value="xd"/>Volume: %5    %6</source>
        <translation>Canal: %1<byte value="xd"/>Amostragem: %2 Hz<byte value="xd"/>Taxa de bits: %3 kbps %4<byte value="xd"/>Volume: %5    %6</translation>
    </message>
    <message>
        <source>[Stereo]</source>
        <translation>[Estéreo]</translation>
    </message>
    <message>
        <source>Click for the menu: its first item records/stops<byte value="xd"/>
%1<byte value="xd"/>
Its Config item configures.</source>
        <translation>Um clique abre o menu: o primeiro item grava/para<byte value="xd"/>
%1<byte value="xd"/>
O item Configurar abre as configurações.</translation>
    </message>
    <message>
        <source>Single click to record/stop<byte value="xd"/>
%1<byte value="xd"/>
Double-click to configure,<byte value="xd"/>
Right click to get a menu.</source>
        <translation>Um clique: gravar/parar<byte value="xd"/>
%1<byte value="xd"/>
Clique duplo: configurações,<byte value="xd"/>
clique direito: menu.</translation>
    </message>
    <message>
        <source>Tapewren: waiting for the hotkeys</source>
        <translation>Tapewren: aguardando as teclas de atalho</translation>
    </message>
    <message>
        <source>Tapewren: hotkeys %1 and %2</source>
        <translation>Tapewren: teclas de atalho %1 e %2</translation>
    </message>
    <message>
        <source>Tapewren: only the Record/Stop hotkey %1</source>
        <translation>Tapewren: só a tecla de atalho Gravar/Parar %1</translation>
    </message>
    <message>
        <source>Tapewren: only the Pause/Resume hotkey %1</source>
        <translation>Tapewren: só a tecla de atalho Pausar/Retomar %1</translation>
    </message>
    <message>
        <source>Tapewren: no hotkeys</source>
        <translation>Tapewren: nenhuma tecla de atalho</translation>
    </message>
    <message>
        <source>Can not initiate defualt recording device.</source>
        <translation>Não foi possível inicializar o dispositivo de gravação padrão.</translation>
    </message>
    <message>
        <source>Configuration is disabled while recording is in progress.</source>
        <translation>As configurações ficam indisponíveis durante a gravação.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click for the menu: Record is its first item.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Um clique abre o menu: Gravar é o primeiro item.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click once to start recording.<byte value="xd"/>
Double-click to configure.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Um clique inicia a gravação.<byte value="xd"/>
Clique duplo para configurar.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Recording is disabled when<byte value="xd"/>
config window is active.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Gravação indisponível enquanto<byte value="xd"/>
a janela de configurações estiver aberta.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Não foi possível gravar em %1</translation>
    </message>
    <message>
        <source>Can not re-initiate defualt recording device.</source>
        <translation>Não foi possível reinicializar o dispositivo de gravação padrão.</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: %1</source>
        <translation>Tecla de atalho Gravar/Parar: %1</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop].</source>
        <translation>Não foi possível definir a tecla de atalho para [Gravar/Parar].</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop]. (%1)</source>
        <translation>Não foi possível definir a tecla de atalho para [Gravar/Parar]. (%1)</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: waiting for the desktop</source>
        <translation>Tecla de atalho Gravar/Parar: aguardando o ambiente de trabalho</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: %1</source>
        <translation>Tecla de atalho Pausar/Retomar: %1</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume]</source>
        <translation>Não foi possível definir a tecla de atalho para [Pausar/Retomar]</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume] (%1)</source>
        <translation>Não foi possível definir a tecla de atalho para [Pausar/Retomar] (%1)</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: waiting for the desktop</source>
        <translation>Tecla de atalho Pausar/Retomar: aguardando o ambiente de trabalho</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Gravar</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pausar</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>Pa&amp;rar</translation>
    </message>
    <message>
        <source>&amp;Record Now  [Tray Click]</source>
        <translation>&amp;Gravar agora  [clique no ícone]</translation>
    </message>
    <message>
        <source>Record and &amp;Email</source>
        <translation>Gravar e enviar por &amp;e-mail</translation>
    </message>
    <message>
        <source>&amp;Config...  [Tray Doulble-Click]</source>
        <translation>&amp;Configurar...  [clique duplo no ícone]</translation>
    </message>
    <message>
        <source>Start with the &amp;desktop</source>
        <translation>Iniciar com a &amp;área de trabalho</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>A&amp;juda...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>Re&amp;tomar</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Total Time: %1<byte value="xd"/>
File Size: %2 KB<byte value="xd"/>
Source: %3<byte value="xd"/>
Quality: %4 hz / %5 kbps<byte value="xd"/>
Volume: %6</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Duração: %1<byte value="xd"/>
Tamanho: %2 KB<byte value="xd"/>
Origem: %3<byte value="xd"/>
Qualidade: %4 Hz / %5 kbps<byte value="xd"/>
Volume: %6</translation>
    </message>
</context>
<context>
    <name>TFormSave</name>
    <message>
        <source>Save as</source>
        <translation>Salvar como</translation>
    </message>
    <message>
        <source>MP3 Tag Writer</source>
        <translation>Tag MP3</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Título:</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Álbum:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Artista:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Comentário:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Gênero:</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Gênero</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Ano:</translation>
    </message>
    <message>
        <source>Cl&amp;ear</source>
        <translation>&amp;Limpar</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Email</source>
        <translation>Salvar e enviar</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salvar</translation>
    </message>
    <message>
        <source>Tag &amp;&amp; Email</source>
        <translation>Tag e enviar</translation>
    </message>
    <message>
        <source>Save with Tag</source>
        <translation>Com tag</translation>
    </message>
    <message>
        <source>Unable to gain access to the record file. File can&apos;t be saved.</source>
        <translation>Não foi possível acessar o arquivo gravado. O arquivo não pode ser salvo.</translation>
    </message>
    <message>
        <source>Record data file is missing. File can&apos;t be saved!!</source>
        <translation>O arquivo da gravação sumiu. O arquivo não pode ser salvo!!</translation>
    </message>
    <message>
        <source>Please specify a file name to save as.</source>
        <translation>Informe um nome de arquivo para salvar.</translation>
    </message>
    <message>
        <source>A file name cannot contain control characters such as a line break or a tab.</source>
        <translation>Um nome de arquivo não pode conter caracteres de controle, como quebra de linha ou tabulação.</translation>
    </message>
    <message>
        <source>File already exists, do you want to overwrite it?</source>
        <translation>O arquivo já existe. Deseja substituí-lo?</translation>
    </message>
    <message>
        <source>File&apos;s been saved.<byte value="xd"/>Click to play now.</source>
        <translation>O arquivo foi salvo.<byte value="xd"/>Clique para ouvir agora.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel saving and lose the sound data you just recorded?</source>
        <translation>Deseja mesmo cancelar e perder o som que acabou de gravar?</translation>
    </message>
    <message>
        <source>type in a file name</source>
        <translation>digite um nome de arquivo</translation>
    </message>
</context>
<context>
    <name>TFormWizard</name>
    <message>
        <source>Back</source>
        <translation>Voltar</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Avançar</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Concluir</translation>
    </message>
    <message>
        <source>Don&apos;t show this page again</source>
        <translation>Não mostrar esta página novamente</translation>
    </message>
    <message>
        <source>Tapewren Sound Optimizer</source>
        <translation>Otimizador de som do Tapewren</translation>
    </message>
    <message>
        <source>This is a simple 2-step wizard</source>
        <translation>Um assistente simples de 2 etapas</translation>
    </message>
    <message>
        <source>People using other recorder software often end up with <byte value="xd"/>
distorted results because it&apos;s hard to find the proper recording volume level.</source>
        <translation>Com outros programas de gravação o resultado costuma sair <byte value="xd"/>
distorcido, porque é difícil acertar o volume de gravação.</translation>
    </message>
    <message>
        <source>Tapewren&apos;s sophisticated smart-detect technology will help you to determine the ideal recording volume level which will ensure the best sound quality.</source>
        <translation>A detecção inteligente do Tapewren ajuda você a encontrar o volume de gravação ideal para a melhor qualidade de som.</translation>
    </message>
    <message>
        <source>To get best sound quality, it is recommended to run this wizard each time you change the input channel.</source>
        <translation>Para a melhor qualidade de som, execute este assistente sempre que trocar o canal de entrada.</translation>
    </message>
    <message>
        <source>Start the Wizard</source>
        <translation>Iniciar o assistente</translation>
    </message>
    <message>
        <source>1. Pick the right recording channel.<byte value="xd"/>
2. Play audio file, speak into the microphone or turn on<byte value="xd"/>
the connected input sound source.<byte value="xd"/>
3. Optimization starts automatically.</source>
        <translation>1. Escolha o canal de gravação certo.<byte value="xd"/>
2. Toque um arquivo de áudio, fale no microfone ou ligue<byte value="xd"/>
a fonte de som conectada.<byte value="xd"/>
3. A otimização começa sozinha.</translation>
    </message>
    <message>
        <source>Recording Channel to Use</source>
        <translation>Canal de gravação a usar</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Esquerdo</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Direito</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Volume de gravação</translation>
    </message>
    <message>
        <source>You may click the &quot;Next&quot; button, when the above<byte value="xd"/>
blue volume bar stops progressing.</source>
        <translation>Clique em &quot;Avançar&quot; quando a barra azul de volume<byte value="xd"/>
acima parar de avançar.</translation>
    </message>
    <message>
        <source>Manual Finetune (Optional)</source>
        <translation>Ajuste fino manual (opcional)</translation>
    </message>
    <message>
        <source>You may skip this step and click &quot;Finish&quot; directly</source>
        <translation>Você pode pular esta etapa e clicar direto em &quot;Concluir&quot;</translation>
    </message>
    <message>
        <source>Volume to Use</source>
        <translation>Volume a usar</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Erro</translation>
    </message>
    <message>
        <source>Volume to Use: %1</source>
        <translation>Volume a usar: %1</translation>
    </message>
    <message>
        <source>Can&apos;t start default recording device</source>
        <translation>Não foi possível iniciar o dispositivo de gravação padrão</translation>
    </message>
</context>
<context>
    <name>TSavePanel</name>
    <message>
        <source>MP3 Files (*.MP3 *.mp3)</source>
        <translation>Arquivos MP3 (*.MP3 *.mp3)</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Nome do arquivo:</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Tipo de arquivo:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>VolumeOptimizer</name>
    <message>
        <source>Unable to start the default recording device.</source>
        <translation>Não foi possível iniciar o dispositivo de gravação padrão.</translation>
    </message>
    <message>
        <source>Unable to start the selected channel.</source>
        <translation>Não foi possível iniciar o canal escolhido.</translation>
    </message>
</context>
</TS>
