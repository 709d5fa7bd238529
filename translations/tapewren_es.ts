<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>CommandKeysOffer</name>
    <message>
        <source>Add %1 (Record/Stop) and %2 (Pause/Resume) to GNOME&apos;s keyboard shortcuts? They then work from every window, and GNOME&apos;s Settings (Keyboard, Custom Shortcuts) can change or remove them.</source>
        <translation>¿Añadir %1 (Grabar/Detener) y %2 (Pausa/Reanudar) a los atajos de teclado de GNOME? Funcionarán desde cualquier ventana, y la Configuración de GNOME (Teclado, Atajos personalizados) podrá cambiarlos o quitarlos.</translation>
    </message>
    <message>
        <source>The hotkeys are now GNOME keyboard shortcuts.</source>
        <translation>Los atajos son ahora atajos de teclado de GNOME.</translation>
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
        <translation>Grabadora de sonido en un clic</translation>
    </message>
    <message>
        <source>Recording Channel</source>
        <translation>Canal de grabación</translation>
    </message>
    <message>
        <source>Recording Quality</source>
        <translation>Calidad de grabación</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Volumen de grabación</translation>
    </message>
    <message>
        <source>About and Help</source>
        <translation>Información y ayuda</translation>
    </message>
    <message>
        <source>Input of the sound server</source>
        <translation>Entrada de sonido</translation>
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
        <translation>Optimizador</translation>
    </message>
    <message>
        <source>Frequently Asked Questions</source>
        <translation>Preguntas frecuentes</translation>
    </message>
    <message>
        <source>Getting Support</source>
        <translation>Obtener ayuda</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
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
        <translation>Canal de grabación</translation>
    </message>
    <message>
        <source>Quality</source>
        <translation>Calidad</translation>
    </message>
    <message>
        <source>Recording volume</source>
        <translation>Volumen de grabación</translation>
    </message>
    <message>
        <source>Add hotkeys to GNOME</source>
        <translation>Atajos en GNOME</translation>
    </message>
</context>
<context>
    <name>DiskSpaceGuard</name>
    <message>
        <source>Low disk space: room for less than a minute of recording.</source>
        <translation>Poco espacio en disco: queda sitio para menos de un minuto de grabación.</translation>
    </message>
    <message numerus="yes">
        <source>Low disk space: room for %n more minute(s) of recording.</source>
        <translation>
            <numerusform>Poco espacio en disco: queda sitio para %n minuto más de grabación.</numerusform>
            <numerusform>Poco espacio en disco: queda sitio para %n minutos más de grabación.</numerusform>
        </translation>
    </message>
    <message>
        <source>Not enough free disk space to record: less than a minute of recording fits in %1.</source>
        <translation>No hay espacio libre suficiente para grabar: en %1 cabe menos de un minuto de grabación.</translation>
    </message>
</context>
<context>
    <name>HotKeys</name>
    <message>
        <source>this desktop offers no global shortcuts</source>
        <translation>este escritorio no ofrece atajos globales</translation>
    </message>
    <message>
        <source>no key of this keyboard makes it</source>
        <translation>ninguna tecla de este teclado lo produce</translation>
    </message>
    <message>
        <source>another program holds it</source>
        <translation>otro programa lo usa</translation>
    </message>
    <message>
        <source>%1 (a GNOME shortcut)</source>
        <translation>%1 (un atajo de GNOME)</translation>
    </message>
    <message>
        <source>%1 cannot be given to GNOME.</source>
        <translation>%1 no se puede dar a GNOME.</translation>
    </message>
    <message>
        <source>%1 is already a GNOME shortcut (%2).</source>
        <translation>%1 ya es un atajo de GNOME (%2).</translation>
    </message>
    <message>
        <source>GNOME&apos;s settings cannot be changed.</source>
        <translation>La configuración de GNOME no se puede cambiar.</translation>
    </message>
    <message>
        <source>GNOME can add them: see the settings</source>
        <translation>GNOME puede añadirlos: vea la configuración</translation>
    </message>
    <message>
        <source>Tapewren %1</source>
        <translation>Tapewren %1</translation>
    </message>
    <message>
        <source>Record/Stop</source>
        <translation>Grabar/Detener</translation>
    </message>
    <message>
        <source>Pause/Resume</source>
        <translation>Pausa/Reanudar</translation>
    </message>
</context>
<context>
    <name>InputChoice</name>
    <message>
        <source>&quot;%1&quot; is no longer available.</source>
        <translation>«%1» ya no está disponible.</translation>
    </message>
    <message>
        <source>Microphone and speakers</source>
        <translation>Micrófono y altavoces</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer available.<byte value="xd"/>Recording from &quot;%2&quot; now.</source>
        <translation>«%1» ya no está disponible.<byte value="xd"/>Ahora se graba desde «%2».</translation>
    </message>
</context>
<context>
    <name>LeftTakes</name>
    <message>
        <source>A take left from an earlier run can not be read (%1):
%2
It is offered for saving as it is.</source>
        <translation>No se puede leer una grabación que quedó de una ejecución anterior (%1):
%2
Se ofrece para guardarla tal como está.</translation>
    </message>
</context>
<context>
    <name>MoveFile</name>
    <message>
        <source>Unable to save file. Please check disk space.</source>
        <translation>No se puede guardar el archivo. Compruebe el espacio en disco.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder is read-only.</source>
        <translation>No se puede guardar el archivo: la carpeta es de solo lectura.</translation>
    </message>
    <message>
        <source>Unable to save file: the name is too long.</source>
        <translation>No se puede guardar el archivo: el nombre es demasiado largo.</translation>
    </message>
    <message>
        <source>Unable to save file: a folder of that name exists.</source>
        <translation>No se puede guardar el archivo: existe una carpeta con ese nombre.</translation>
    </message>
    <message>
        <source>Unable to save file: the folder does not exist.</source>
        <translation>No se puede guardar el archivo: la carpeta no existe.</translation>
    </message>
    <message>
        <source>Unable to save file: a file of that name exists.</source>
        <translation>No se puede guardar el archivo: existe un archivo con ese nombre.</translation>
    </message>
    <message>
        <source>Unable to write the tag: the recording is too short.</source>
        <translation>No se puede escribir la etiqueta: la grabación es demasiado corta.</translation>
    </message>
    <message>
        <source>Unable to write the tag. Please check disk space.</source>
        <translation>No se puede escribir la etiqueta. Compruebe el espacio en disco.</translation>
    </message>
    <message>
        <source>Unable to save file: %1.</source>
        <translation>No se puede guardar el archivo: %1.</translation>
    </message>
    <message>
        <source>Unable to write the tag: %1.</source>
        <translation>No se puede escribir la etiqueta: %1.</translation>
    </message>
</context>
<context>
    <name>PortalHotKeys</name>
    <message>
        <source>the desktop opened no shortcut session</source>
        <translation>el escritorio no abrió ninguna sesión de atajos</translation>
    </message>
    <message>
        <source>the binding was cancelled</source>
        <translation>la asignación se canceló</translation>
    </message>
    <message>
        <source>the desktop did not bind it</source>
        <translation>el escritorio no lo asignó</translation>
    </message>
    <message>
        <source>the desktop did not answer</source>
        <translation>el escritorio no respondió</translation>
    </message>
</context>
<context>
    <name>ProgramPopup</name>
    <message>
        <source>Play</source>
        <translation>Reproducir</translation>
    </message>
</context>
<context>
    <name>QualityPresets</name>
    <message>
        <source>SampleRate: %u hz<byte value="xd"/>BitRate: %u kbps</source>
        <translation>Muestreo: %u Hz<byte value="xd"/>Tasa de bits: %u kbps</translation>
    </message>
    <message>
        <source>Sample Rate: %5u hz<byte value="xd"/>
Bit Rate: %3u kbps</source>
        <translation>Muestreo: %5u Hz<byte value="xd"/>
Tasa de bits: %3u kbps</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>Recording Channel not specified.</source>
        <translation>No se ha elegido un canal de grabación.</translation>
    </message>
    <message>
        <source>Unable to create MP3 file.</source>
        <translation>No se puede crear el archivo MP3.</translation>
    </message>
    <message>
        <source>Unable to start the MP3 encoder.</source>
        <translation>No se puede iniciar el codificador MP3.</translation>
    </message>
    <message>
        <source>Unable to start recording.</source>
        <translation>No se puede iniciar la grabación.</translation>
    </message>
    <message>
        <source>Failed to write MP3 file to disk. Please check your disk space.</source>
        <translation>No se pudo escribir el archivo MP3 en el disco. Compruebe el espacio libre.</translation>
    </message>
    <message>
        <source>The end of the recording could not be written to disk. The file is incomplete.</source>
        <translation>El final de la grabación no se pudo escribir en el disco. El archivo está incompleto.</translation>
    </message>
    <message>
        <source>Recording stopped: the recording device is no longer available.</source>
        <translation>Grabación detenida: el dispositivo de grabación ya no está disponible.</translation>
    </message>
</context>
<context>
    <name>RecorderWindow</name>
    <message>
        <source>&amp;Menu</source>
        <translation>&amp;Menú</translation>
    </message>
    <message>
        <source>Tapewren is in its own window (this desktop shows no tray icons).</source>
        <translation>Tapewren está en su propia ventana (este escritorio no muestra iconos en la bandeja del sistema).</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Grabar</translation>
    </message>
</context>
<context>
    <name>SendEmail</name>
    <message>
        <source>Error while trying to send email</source>
        <translation>Error al intentar enviar el correo</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>Unable to read %1. The default settings are used and the file is left as it is.</source>
        <translation>No se puede leer %1. Se usa la configuración predeterminada y el archivo se deja como está.</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
</context>
<context>
    <name>ShortCut</name>
    <message>
        <source>Shift+</source>
        <translation>Mayús+</translation>
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
        <translation>Grabando sonido</translation>
    </message>
</context>
<context>
    <name>SystemTray</name>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>TEmail</name>
    <message>
        <source>Put your subject here</source>
        <translation>Escriba aquí el asunto</translation>
    </message>
    <message>
        <source>Your message text goes here<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Create voice mail with Tapewren</source>
        <translation>Escriba aquí su mensaje<byte value="xd"/>
<byte value="xd"/>
--<byte value="xd"/>
Mensaje de voz creado con Tapewren</translation>
    </message>
</context>
<context>
    <name>TFormMain</name>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pausa</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Detener</translation>
    </message>
    <message>
        <source>&amp;Record Now  [Tray Click]</source>
        <translation>&amp;Grabar ahora  [Clic en el icono]</translation>
    </message>
    <message>
        <source>Record and &amp;Email</source>
        <translation>Grabar y enviar por &amp;correo</translation>
    </message>
    <message>
        <source>&amp;Config...  [Tray Doulble-Click]</source>
        <translation>C&amp;onfigurar...  [Doble clic en el icono]</translation>
    </message>
    <message>
        <source>Start with the &amp;desktop</source>
        <translation>Iniciar con el &amp;escritorio</translation>
    </message>
    <message>
        <source>&amp;Help...</source>
        <translation>A&amp;yuda...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Can not initiate defualt recording device.</source>
        <translation>No se puede inicializar el dispositivo de grabación predeterminado.</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop].</source>
        <translation>No se pudo asignar el atajo [Grabar/Detener].</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume]</source>
        <translation>No se pudo asignar el atajo [Pausa/Reanudar]</translation>
    </message>
    <message>
        <source>Configuration is disabled while recording is in progress.</source>
        <translation>La configuración no está disponible mientras se graba.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click once to start recording.<byte value="xd"/>
Double-click to configure.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Un clic para empezar a grabar.<byte value="xd"/>
Doble clic para configurar.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Recording is disabled when<byte value="xd"/>
config window is active.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
No se puede grabar mientras<byte value="xd"/>
la ventana de configuración está abierta.</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Reanudar</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>No se puede escribir en %1</translation>
    </message>
    <message>
        <source>Can not re-initiate defualt recording device.</source>
        <translation>No se puede reinicializar el dispositivo de grabación predeterminado.</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: waiting for the desktop</source>
        <translation>Atajo Grabar/Detener: esperando al escritorio</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: waiting for the desktop</source>
        <translation>Atajo Pausa/Reanudar: esperando al escritorio</translation>
    </message>
    <message>
        <source>Channel: %1<byte value="xd"/>Sample Rate: %2hz<byte value="xd"/>Bit Rate: %3kbps %4<byte value="xd"/>Volume: %5    %6</source>
        <translation>Canal: %1<byte value="xd"/>Frecuencia: %2 Hz<byte value="xd"/>Tasa de bits: %3 kbps %4<byte value="xd"/>Volumen: %5    %6</translation>
    </message>
    <message>
        <source>[Stereo]</source>
        <translation>[Estéreo]</translation>
    </message>
    <message>
        <source>Single click to record/stop<byte value="xd"/>
%1<byte value="xd"/>
Double-click to configure,<byte value="xd"/>
Right click to get a menu.</source>
        <translation>Un clic para grabar/detener<byte value="xd"/>
%1<byte value="xd"/>
Doble clic para configurar,<byte value="xd"/>
clic derecho para el menú.</translation>
    </message>
    <message>
        <source>Tapewren: hotkeys %1 and %2</source>
        <translation>Tapewren: atajos %1 y %2</translation>
    </message>
    <message>
        <source>Tapewren: only the Record/Stop hotkey %1</source>
        <translation>Tapewren: solo el atajo Grabar/Detener %1</translation>
    </message>
    <message>
        <source>Tapewren: only the Pause/Resume hotkey %1</source>
        <translation>Tapewren: solo el atajo Pausa/Reanudar %1</translation>
    </message>
    <message>
        <source>Tapewren: no hotkeys</source>
        <translation>Tapewren: sin atajos</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Record/Stop]. (%1)</source>
        <translation>No se pudo asignar el atajo [Grabar/Detener]. (%1)</translation>
    </message>
    <message>
        <source>Failed to set hotkey for [Pause/Resume] (%1)</source>
        <translation>No se pudo asignar el atajo [Pausa/Reanudar] (%1)</translation>
    </message>
    <message>
        <source>Click for the menu: its first item records/stops<byte value="xd"/>
%1<byte value="xd"/>
Its Config item configures.</source>
        <translation>Un clic abre el menú: su primer elemento graba/detiene<byte value="xd"/>
%1<byte value="xd"/>
Su elemento Configurar configura.</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Click for the menu: Record is its first item.</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Un clic abre el menú: Grabar es su primer elemento.</translation>
    </message>
    <message>
        <source>&amp;Record</source>
        <translation>&amp;Grabar</translation>
    </message>
    <message>
        <source>Tapewren: waiting for the hotkeys</source>
        <translation>Tapewren: esperando los atajos</translation>
    </message>
    <message>
        <source>Record/Stop hotkey: %1</source>
        <translation>Atajo Grabar/Detener: %1</translation>
    </message>
    <message>
        <source>Pause/Resume hotkey: %1</source>
        <translation>Atajo Pausa/Reanudar: %1</translation>
    </message>
    <message>
        <source>Tapewren(TM)<byte value="xd"/>
Total Time: %1<byte value="xd"/>
File Size: %2 KB<byte value="xd"/>
Source: %3<byte value="xd"/>
Quality: %4 hz / %5 kbps<byte value="xd"/>
Volume: %6</source>
        <translation>Tapewren(TM)<byte value="xd"/>
Duración: %1<byte value="xd"/>
Tamaño: %2 KB<byte value="xd"/>
Fuente: %3<byte value="xd"/>
Calidad: %4 Hz / %5 kbps<byte value="xd"/>
Volumen: %6</translation>
    </message>
</context>
<context>
    <name>TFormSave</name>
    <message>
        <source>Save as</source>
        <translation>Guardar como</translation>
    </message>
    <message>
        <source>MP3 Tag Writer</source>
        <translation>Etiquetas MP3</translation>
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
        <translation>Nota:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Género:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Año:</translation>
    </message>
    <message>
        <source>Cl&amp;ear</source>
        <translation>&amp;Borrar</translation>
    </message>
    <message>
        <source>Save &amp;&amp; Email</source>
        <translation>Guardar y enviar</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Tag &amp;&amp; Email</source>
        <translation>Etiquetar y enviar</translation>
    </message>
    <message>
        <source>Save with Tag</source>
        <translation>Con etiqueta</translation>
    </message>
    <message>
        <source>Unable to gain access to the record file. File can&apos;t be saved.</source>
        <translation>No se puede acceder al archivo grabado. No se puede guardar.</translation>
    </message>
    <message>
        <source>Record data file is missing. File can&apos;t be saved!!</source>
        <translation>Falta el archivo de la grabación. ¡¡No se puede guardar!!</translation>
    </message>
    <message>
        <source>Please specify a file name to save as.</source>
        <translation>Indique un nombre de archivo para guardar.</translation>
    </message>
    <message>
        <source>File already exists, do you want to overwrite it?</source>
        <translation>El archivo ya existe, ¿quiere sobrescribirlo?</translation>
    </message>
    <message>
        <source>File&apos;s been saved.<byte value="xd"/>Click to play now.</source>
        <translation>El archivo se ha guardado.<byte value="xd"/>Haga clic para reproducirlo.</translation>
    </message>
    <message>
        <source>Are you sure you want to cancel saving and lose the sound data you just recorded?</source>
        <translation>¿Seguro que quiere cancelar y perder el sonido que acaba de grabar?</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Género</translation>
    </message>
    <message>
        <source>A file name cannot contain control characters such as a line break or a tab.</source>
        <translation>Un nombre de archivo no puede contener caracteres de control, como un salto de línea o un tabulador.</translation>
    </message>
    <message>
        <source>type in a file name</source>
        <translation>escriba un nombre de archivo</translation>
    </message>
</context>
<context>
    <name>TFormWizard</name>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Siguiente</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>Terminar</translation>
    </message>
    <message>
        <source>Don&apos;t show this page again</source>
        <translation>No volver a mostrar esta página</translation>
    </message>
    <message>
        <source>Tapewren Sound Optimizer</source>
        <translation>Optimizador de sonido de Tapewren</translation>
    </message>
    <message>
        <source>This is a simple 2-step wizard</source>
        <translation>Un asistente sencillo de 2 pasos</translation>
    </message>
    <message>
        <source>People using other recorder software often end up with <byte value="xd"/>
distorted results because it&apos;s hard to find the proper recording volume level.</source>
        <translation>Con otros programas de grabación el resultado suele salir <byte value="xd"/>
distorsionado, porque es difícil dar con el volumen de grabación adecuado.</translation>
    </message>
    <message>
        <source>Tapewren&apos;s sophisticated smart-detect technology will help you to determine the ideal recording volume level which will ensure the best sound quality.</source>
        <translation>La detección inteligente de Tapewren le ayuda a encontrar el volumen de grabación ideal para la mejor calidad de sonido.</translation>
    </message>
    <message>
        <source>To get best sound quality, it is recommended to run this wizard each time you change the input channel.</source>
        <translation>Para la mejor calidad de sonido, ejecute este asistente cada vez que cambie el canal de entrada.</translation>
    </message>
    <message>
        <source>Start the Wizard</source>
        <translation>Iniciar asistente</translation>
    </message>
    <message>
        <source>1. Pick the right recording channel.<byte value="xd"/>
2. Play audio file, speak into the microphone or turn on<byte value="xd"/>
the connected input sound source.<byte value="xd"/>
3. Optimization starts automatically.</source>
        <translation>1. Elija el canal de grabación adecuado.<byte value="xd"/>
2. Reproduzca un archivo de audio, hable al micrófono o<byte value="xd"/>
encienda la fuente de sonido conectada.<byte value="xd"/>
3. La optimización empieza sola.</translation>
    </message>
    <message>
        <source>Recording Channel to Use</source>
        <translation>Canal de grabación a usar</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Izquierdo</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Derecho</translation>
    </message>
    <message>
        <source>Recording Volume</source>
        <translation>Volumen de grabación</translation>
    </message>
    <message>
        <source>You may click the &quot;Next&quot; button, when the above<byte value="xd"/>
blue volume bar stops progressing.</source>
        <translation>Pulse «Siguiente» cuando la barra azul de volumen<byte value="xd"/>
de arriba deje de avanzar.</translation>
    </message>
    <message>
        <source>Manual Finetune (Optional)</source>
        <translation>Ajuste fino manual (opcional)</translation>
    </message>
    <message>
        <source>You may skip this step and click &quot;Finish&quot; directly</source>
        <translation>Puede saltarse este paso y pulsar «Terminar» directamente</translation>
    </message>
    <message>
        <source>Volume to Use</source>
        <translation>Volumen a usar</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Can&apos;t start default recording device</source>
        <translation>No se puede iniciar el dispositivo de grabación predeterminado</translation>
    </message>
    <message>
        <source>Volume to Use: %1</source>
        <translation>Volumen a usar: %1</translation>
    </message>
</context>
<context>
    <name>TSavePanel</name>
    <message>
        <source>MP3 Files (*.MP3 *.mp3)</source>
        <translation>Archivos MP3 (*.MP3 *.mp3)</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Nombre de archivo:</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Tipo de archivo:</translation>
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
        <translation>No se puede iniciar el dispositivo de grabación predeterminado.</translation>
    </message>
    <message>
        <source>Unable to start the selected channel.</source>
        <translation>No se puede iniciar el canal elegido.</translation>
    </message>
</context>
</TS>
