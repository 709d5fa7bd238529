#pragma once

#include "HotKeyBackend.h"
#include "LeftTakes.h"
#include "MSNPopUp.h"
#include "MailClient.h"
#include "ProgramFiles.h"
#include "Recorder.h"
#include "SettingsFile.h"
#include "TCoolTrayIcon.h"
#include "TJvApplicationHotKey.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class ConfigFace;
class ImageButton;
class InputChoice;
class LinkLabel;
class QAction;
class QCheckBox;
class QComboBox;
class QMenu;
class QSlider;
class TFormSave;
class TFormWizard;

// The main window: hidden while the program runs, it holds the controls whose
// values are the live settings, and it owns the program's lifetime.
class TFormMain : public QWidget, public RecorderHost {
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
    // SIGTERM, SIGINT, SIGHUP: Exit, unless a save dialog is open; then the
    // program ends at once, asking nothing, and its take waits in the
    // working folder for the next start.
    void ExitRequested();
    // Takes left by an earlier run, one save dialog after another.
    void OfferLeftTakes();
    void FormClose();
    void ShutdownAudio();
    void SelectDefaultChannel();
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
    RecorderSettings CurrentSettings() const;
    const std::string& WorkingFolder() const { return m_takesFolder; }

    // The tray, its menu and the hot keys.
    void SetTrayIconIndex(int index);
    void ActivateHotKeys();
    void UpdateHotKeyStatus();
    void TellStartup();
    void ShowStartupBalloon();
    void TimerHintTimer();
    void TrayIconClick();
    void TrayIconDblClick();
    // The hint as it reads now; also kept current on the icon.
    QString TrayIconMouseEnter();
    void PopupMenuPopup();
    void PauseHotKeyHotKey();
    void ShowMainWindow();
    void HideMainWindow();
    void BringApplicationToFront();
    void FormShow();
    void MenuAutostartClick();
    void MenuHelpClick();
    void BtnOKClick();
    void BtnCancelClick();
    void BtnVolOptClick();
    void LabelVersionClick();
    void LabelSupportClick();
    void LabelFAQClick();
    // Tests drive the sound optimizer through this instead of a person.
    std::function<void(TFormWizard&)> WizardDriver;
    // Hands a saved take to the mail client; owner gets the error box.
    void SendEmail(QWidget* owner, const TEmail& mail);
    // Tests put a fake in place of the desktop's mail client.
    void SetMailClient(std::unique_ptr<MailClient> client) { m_mailClient = std::move(client); }
    // Tests drive the save dialog through this instead of a person.
    std::function<void(class TFormSave&)> SaveDialogDriver;

    // The one way the program shows a popup; with a link, clicking the text opens it.
    void ShowNotification(const QString& text, const QString& link);

    // What the recorder asks of the window.
    RecorderHost::Settings RecordingSettings() override;
    void ShowError(const std::string& text) override;
    void ShowNotification(const std::string& text) override;
    void SetTrayIcon(int index) override { SetTrayIconIndex(index); }
    // The meter's icon for a level; the meter's timer reads the level.
    void UpdateLevelIcon(uint32_t level);
    // Four looks a second: a meter that reads the loudest since its last look
    // misses nothing, and each look is a wake-up of this thread.
    static constexpr int kMeterIntervalMs = 250;
    void EnterTrayBusyMode() override;
    void LeaveTrayBusyMode() override;
    void RunSaveDialog(const std::string& tempFileName, bool email) override;
    void SaveLastDir() override;

    QComboBox* ComboChannels = nullptr;
    QSlider* SliderQuality = nullptr;
    QSlider* SliderVolume = nullptr;
    QCheckBox* CheckStereo = nullptr;
    QCheckBox* CheckVBR = nullptr;
    TMSNPopUp* MSNPopUp = nullptr;
    ConfigFace* ImageBG = nullptr;
    ImageButton* Image1 = nullptr; // runs the sound optimizer
    ImageButton* ImageHelp = nullptr;
    ImageButton* ImageBtnApply = nullptr;
    ImageButton* ImageBtnCancel = nullptr;
    LinkLabel* LabelVersion = nullptr;
    LinkLabel* LabelFAQ = nullptr;
    LinkLabel* LabelSupport = nullptr;
    TCoolTrayIcon* TrayIcon = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* MenuPause = nullptr;
    QAction* MenuStop = nullptr;
    QAction* MenuRecord = nullptr;
    QAction* MenuRecordEmail = nullptr;
    QAction* MenuConfig = nullptr;
    QAction* MenuAutostart = nullptr;
    QAction* MenuHelp = nullptr;
    QAction* MenuExit = nullptr;
    std::unique_ptr<TJvApplicationHotKey> RecordHotKey;
    std::unique_ptr<TJvApplicationHotKey> PauseHotKey;
    QString HotKeyStatusText;
    // The start-up balloon waits for the desktop's word on its keys, once.
    bool m_balloonWaited = false;
    bool m_balloonDue = false;
    bool m_balloonRetell = false;
    QTimer* TimerHint = nullptr;

    bool hideWizardWelcome = false;
    int popupShowCount = 0;
    std::string lastSaveDir;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeBottomRight();
    void buildMenu();
    void refreshHint();
    void meterTick();
    void showSliderHint(QSlider* slider, const QString& text);

    std::string m_takesFolder;
    SettingsFile m_settings;
    std::unique_ptr<InputChoice> m_inputChoice;
    std::unique_ptr<HotKeyBackend> m_hotKeys;
    std::unique_ptr<MailClient> m_mailClient;
    // While recording, the one timer that shows the level and the hint's time:
    // a few looks a second, not one per block from the capture thread.
    QTimer m_meter;
    std::pair<int64_t, int64_t> m_hintShown{-1, -1}; // time and size the hint shows
    Recorder m_recorder;
    bool m_audioOpen = false;
    bool m_settingsUnreadable = false;
    bool m_closed = false;
    std::vector<LeftTake> m_leftTakes;
    QPointer<TFormSave> m_saveDialog;
    bool m_endingWithoutAsking = false;
};
