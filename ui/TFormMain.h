#pragma once

#include "MSNPopUp.h"
#include "Recorder.h"
#include "SettingsFile.h"

#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QSlider;

// The main window: hidden while the program runs, it holds the controls whose
// values are the live settings, and it owns the program's lifetime.
class TFormMain : public QWidget, public RecorderHost {
    Q_OBJECT
public:
    // dataFolder: where quillby.ini and tmp/ live, ending in "/".
    explicit TFormMain(std::string dataFolder, QWidget* parent = nullptr);
    ~TFormMain() override;

    // Runs the start-up steps. False after a fatal failure, which has been
    // shown; the program must then end without FormClose.
    bool FormCreate();
    void MenuExitClick();
    void FormClose();
    void ShutdownAudio();
    void SelectDefaultChannel();
    void ToggleRecording(bool email) { m_recorder.ToggleRecording(email); }
    void TogglePause() { m_recorder.TogglePause(); }
    Recorder& TheRecorder() { return m_recorder; }
    void SliderQualityChange();
    void SliderVolumeChange();

    void LoadSettings();
    RecorderSettings CurrentSettings() const;
    const SettingsFile& SettingsStore() const { return m_settings; }
    std::string WorkingFolder() const { return m_dataFolder + "tmp"; }

    // Hooks for the tray, the hot keys and the start-up balloon.
    void SetTrayIconIndex(int index);
    void ActivateHotKeys();
    void ShowStartupBalloon();

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

    bool hideWizardWelcome = false;
    int popupShowCount = 0;
    std::string lastSaveDir;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void placeBottomRight();
    void showSliderHint(QSlider* slider, const QString& text);

    std::string m_dataFolder;
    SettingsFile m_settings;
    Recorder m_recorder;
    bool m_audioOpen = false;
    bool m_closed = false;
};
