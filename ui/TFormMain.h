#pragma once

#include "HotKeyBackend.h"
#include "MSNPopUp.h"
#include "Recorder.h"
#include "SettingsFile.h"
#include "TCoolTrayIcon.h"
#include "TJvApplicationHotKey.h"

#include <QTimer>
#include <QWidget>

#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QMenu;
class QPushButton;
class QSlider;

// The main window: hidden while the program runs, it holds the controls whose
// values are the live settings, and it owns the program's lifetime.
class TFormMain : public QWidget, public RecorderHost {
    Q_OBJECT
public:
    // dataFolder: where quillby.ini and tmp/ live, ending in "/". Without
    // backends the desktop's own tray and hot keys are used.
    explicit TFormMain(std::string dataFolder, std::unique_ptr<TrayBackend> tray = nullptr,
                       std::unique_ptr<HotKeyBackend> hotKeys = nullptr);
    ~TFormMain() override;

    // Runs the start-up steps. False after a fatal failure, which has been
    // shown; the program must then end without FormClose.
    bool FormCreate();
    void MenuExitClick();
    void FormClose();
    void ShutdownAudio();
    void SelectDefaultChannel();
    // The sound server is back: its inputs are read again and the chosen
    // one is kept by name where it still exists.
    void RefreshInputs();
    void ToggleRecording(bool email);
    void TogglePause();
    Recorder& TheRecorder() { return m_recorder; }
    void SliderQualityChange();
    void SliderVolumeChange();

    void LoadSettings();
    RecorderSettings CurrentSettings() const;
    std::string WorkingFolder() const { return m_dataFolder + "tmp"; }

    // The tray, its menu and the hot keys.
    void SetTrayIconIndex(int index);
    void ActivateHotKeys();
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
    void MenuHelpClick();
    void BtnOKClick();
    void BtnCancelClick();
    void SendEmail(const std::string& attachment);
    // Tests drive the save dialog through this instead of a person.
    std::function<void(class TFormSave&)> SaveDialogDriver;

    // The one way the program shows a popup; with a link, clicking the text opens it.
    void ShowNotification(const QString& text, const QString& link);

    // What the recorder asks of the window.
    RecorderHost::Settings RecordingSettings() override;
    void ShowError(const std::string& text) override;
    void ShowNotification(const std::string& text) override;
    void SetTrayIcon(int index) override { SetTrayIconIndex(index); }
    void UpdateLevelIcon(uint32_t level) override;
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
    QPushButton* ImageBtnApply = nullptr;
    QPushButton* ImageBtnCancel = nullptr;
    TCoolTrayIcon* TrayIcon = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* MenuPause = nullptr;
    QAction* MenuStop = nullptr;
    QAction* MenuRecord = nullptr;
    QAction* MenuRecordEmail = nullptr;
    QAction* MenuConfig = nullptr;
    QAction* MenuHelp = nullptr;
    QAction* MenuExit = nullptr;
    std::unique_ptr<TJvApplicationHotKey> RecordHotKey;
    std::unique_ptr<TJvApplicationHotKey> PauseHotKey;
    QString HotKeyStatusText;
    QTimer* TimerHint = nullptr;

    bool hideWizardWelcome = false;
    int popupShowCount = 0;
    std::string lastSaveDir;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeBottomRight();
    void fillInputList();
    void buildMenu();
    void refreshHint();
    void showSliderHint(QSlider* slider, const QString& text);

    std::string m_dataFolder;
    SettingsFile m_settings;
    std::unique_ptr<HotKeyBackend> m_hotKeys;
    QTimer m_hintRefresh;
    Recorder m_recorder;
    bool m_audioOpen = false;
    bool m_settingsUnreadable = false;
    bool m_closed = false;
};
