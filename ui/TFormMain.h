#pragma once

#include "SettingsFile.h"

#include <QWidget>

#include <string>

class QCheckBox;
class QComboBox;
class QSlider;

// The main window: hidden while the program runs, it holds the controls whose
// values are the live settings, and it owns the program's lifetime.
class TFormMain : public QWidget {
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
    void SliderQualityChange();
    void SliderVolumeChange();

    void LoadSettings();
    RecorderSettings CurrentSettings() const;
    const SettingsFile& Settings() const { return m_settings; }
    std::string WorkingFolder() const { return m_dataFolder + "tmp"; }

    // Hooks for the tray, the hot keys and the start-up balloon.
    void SetTrayIconIndex(int index);
    void ActivateHotKeys();
    void ShowStartupBalloon();

    QComboBox* ComboChannels = nullptr;
    QSlider* SliderQuality = nullptr;
    QSlider* SliderVolume = nullptr;
    QCheckBox* CheckStereo = nullptr;
    QCheckBox* CheckVBR = nullptr;

    bool emailAfterRecording = false;
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
    bool m_audioOpen = false;
    bool m_closed = false;
};
