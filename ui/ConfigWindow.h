#pragma once

#include "SettingsFile.h"

#include <QWidget>

#include <memory>

class ConfigFace;
class ImageButton;
class InputChoice;
class LinkLabel;
class QCheckBox;
class QComboBox;
class QSlider;

// The configuration window as the user sees it: its painted face and the
// controls laid on it, with their names for screen readers and their tab
// order. What the controls do is the main window's.
class ConfigWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConfigWindow(QWidget* parent = nullptr);
    ~ConfigWindow() override;

    // The inputs of ComboChannels, and the one the user chose by name.
    InputChoice& Inputs() { return *m_inputChoice; }
    const InputChoice& Inputs() const { return *m_inputChoice; }
    void SelectDefaultChannel();
    // The controls take the stored values, or the defaults where none are
    // stored. Returns the stored input's name when it is gone, else empty.
    QString ShowSettings(const std::optional<RecorderSettings>& stored);
    // The controls' values; the rest stays as the defaults.
    RecorderSettings ShownSettings() const;

    // The slider's value as a hint: read by screen readers, and shown at the
    // pointer while the user drags it in the visible window.
    void ShowSliderHint(QSlider* slider, const QString& text);
    // Near the corner where the tray usually is.
    void PlaceBottomRight();
    // The sliders' hints as a start shows them, before any change.
    void ShowStartupHints();
    // What Apply shows: the settings a take will be made with.
    QString SummaryText() const;
    // The slider captions as the tray's hint and the window show them.
    static QString VolumeText(int percent);

    QComboBox* ComboChannels = nullptr;
    QSlider* SliderQuality = nullptr;
    QSlider* SliderVolume = nullptr;
    QCheckBox* CheckStereo = nullptr;
    QCheckBox* CheckVBR = nullptr;
    ConfigFace* ImageBG = nullptr;
    ImageButton* Image1 = nullptr; // runs the sound optimizer
    ImageButton* ImageHelp = nullptr;
    ImageButton* ImageBtnApply = nullptr;
    ImageButton* ImageBtnCancel = nullptr;
    LinkLabel* LabelVersion = nullptr;
    LinkLabel* LabelFAQ = nullptr;
    LinkLabel* LabelSupport = nullptr;
    // Shown only where the desktop can be given the hot keys as its own
    // shortcuts (GNOME before 48).
    LinkLabel* LabelCommandKeys = nullptr;

signals:
    // Escape, or the window minimized: what Cancel does.
    void CancelRequested();
    void Shown();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    std::unique_ptr<InputChoice> m_inputChoice;
};
