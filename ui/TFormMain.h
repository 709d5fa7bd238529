#pragma once

#include "ConfigWindow.h"
#include "HotKeyBackend.h"
#include "LeftTakes.h"
#include "MailClient.h"
#include "MessageBox.h"
#include "ProgramFiles.h"
#include "ProgramPopup.h"
#include "Recorder.h"
#include "SettingsFile.h"
#include "TCoolTrayIcon.h"
#include "TJvApplicationHotKey.h"
#include "TrayMenu.h"

#include <QPointer>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

class StartupBalloon;
class TFormSave;
class TMSNPopUp;
class TrayMeter;

// The main window: hidden while the program runs, it holds the controls whose
// values are the live settings, and it owns the program's lifetime.
class TFormMain : public ConfigWindow, public TrayMenu, public RecorderHost {
    Q_OBJECT
public:
    // files: where quillby.ini and the takes live. Without backends the
    // desktop's own tray and hot keys are used.
    explicit TFormMain(const ProgramFiles& files, std::unique_ptr<TrayBackend> tray = nullptr,
                       std::unique_ptr<HotKeyBackend> hotKeys = nullptr);
    ~TFormMain() override;

    // Runs the start-up steps. False after a fatal failure, which has been
    // shown; the program must then end without FormClose.
    bool FormCreate();
    void MenuExitClick();
    // SIGTERM, SIGINT, SIGHUP: the program ends at once, asking nothing; a
    // running take is finished and waits in the working folder for the next
    // start.
    void ExitRequested();
    // Takes left by an earlier run, one save dialog after another.
    void OfferLeftTakes();
    void FormClose();
    void ShutdownAudio();
    // An input came or went, or the sound server is back: the inputs are
    // read again and the chosen one is kept by name; when it is gone the
    // user is told and the default input is used until it returns.
    void RefreshInputs();
    void ToggleRecording(bool email);
    void TogglePause();
    Recorder& TheRecorder() { return m_recorder; }
    void SliderQualityChange();
    void SliderVolumeChange();

    void LoadSettings();
    // The live values, as they would be written now.
    RecorderSettings CurrentSettings() const;

    // The tray, its menu and the hot keys.
    void ActivateHotKeys();
    void UpdateHotKeyStatus();
    void ShowStartupBalloon();
    void TimerHintTimer();
    void TrayIconClick() { ToggleRecording(false); }
    void TrayIconDblClick();
    // The hint as it reads now; also kept current on the icon.
    QString TrayIconMouseEnter();
    void PopupMenuPopup();
    void PauseHotKeyHotKey() { TogglePause(); }
    void ShowMainWindow();
    void HideMainWindow() { hide(); }
    void BringApplicationToFront() { RaiseProgramWindows(); }
    void FormShow();
    void MenuAutostartClick();
    void MenuHelpClick();
    void BtnOKClick();
    void BtnCancelClick();
    void BtnVolOptClick();
    void LabelVersionClick();
    void LabelSupportClick();
    void LabelFAQClick();
    // Tests put a fake in place of the desktop's mail client.
    void SetMailClient(std::unique_ptr<MailClient> client) { m_mailClient = std::move(client); }

    // The one way the program shows a popup; with a link, clicking the text opens it.
    void ShowNotification(const QString& text, const QString& link);

    // What the recorder asks of the window.
    RecorderHost::Settings RecordingSettings() override;
    void ShowError(const std::string& text) override {
        MessageBox::Error(QString::fromStdString(text));
    }
    void ShowNotification(const std::string& text) override {
        ShowNotification(QString::fromStdString(text), QString());
    }
    void TakeChanged(Take take) override;
    void EnterTrayBusyMode() override;
    void LeaveTrayBusyMode() override;
    void RunSaveDialog(const std::string& tempFileName, bool email) override;
    void SaveLastDir() override;

    TMSNPopUp* MSNPopUp = nullptr;
    TCoolTrayIcon* TrayIcon = nullptr;
    std::unique_ptr<TJvApplicationHotKey> RecordHotKey;
    std::unique_ptr<TJvApplicationHotKey> PauseHotKey;
    QTimer* TimerHint = nullptr;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool openAudio();
    void tellStartup();

    std::string m_takesFolder;
    SettingsFile m_settings;
    std::unique_ptr<HotKeyBackend> m_hotKeys;
    std::unique_ptr<MailClient> m_mailClient;
    Recorder m_recorder;
    TrayMeter* m_meter = nullptr;
    StartupBalloon* m_balloon = nullptr;
    QString HotKeyStatusText;
    bool hideWizardWelcome = false;
    int popupShowCount = 0;
    std::string lastSaveDir;
    bool m_audioOpen = false;
    bool m_settingsUnreadable = false;
    bool m_closed = false;
    std::vector<LeftTake> m_leftTakes;
    QPointer<TFormSave> m_saveDialog;
    bool m_endingWithoutAsking = false;
};
