#pragma once

#include "InputChoice.h"
#include "VolumeOptimizer.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSlider;
class QStackedWidget;
class Gauge;

// The Sound Optimizer: finds a recording volume by listening to an input.
// Opened modally from the configuration window, or alone with the argument "w".
class TFormWizard : public QDialog, private OptimizerHost {
    Q_OBJECT
public:
    enum Page { PageWelcome = 0, PageOPT = 1, PageDecide = 2 };

    explicit TFormWizard(QWidget* parent = nullptr);
    // Stops the search and releases the capture functions; failures are
    // of no interest any more.
    ~TFormWizard() override;

    // Opens the capture functions for the wizard and lists the inputs. False
    // after a fatal failure, which has been shown and has ended the program.
    bool FormCreate();
    // What the configuration window hands the wizard, and gets back as the
    // wizard shows it at its end (also after an error inside it).
    struct Exchange {
        QString channel; // by name: inputs may come and go meanwhile
        int volume = 100;
        bool hideWelcome = false;
    };
    // Runs the wizard modally over owner. A wizard that could list no inputs
    // gives back no channel. False after a fatal failure, which was shown.
    static bool RunFor(QWidget* owner, Exchange& exchange,
                       std::function<void(const QString&)> showInputGone);
    // The program is ending without the user (a log-out): an open optimizer
    // ends without keeping the volume it found, so the input gets its own
    // back, as when the optimizer runs alone.
    static void AbandonOpen();
    // Makes a page current and runs its entry handler.
    void SetActivePage(int page);
    int ActivePage() const;

    // The values exchanged with the configuration window.
    QComboBox* ComboRecChannel = nullptr;
    QSlider* SliderVOL = nullptr;
    QCheckBox* CheckW1 = nullptr;

    QStackedWidget* Wizard = nullptr;
    QPushButton* BtnStart = nullptr;
    QPushButton* BtnBack = nullptr;
    QPushButton* BtnNext = nullptr;
    QPushButton* BtnFinish = nullptr;
    Gauge* GaugeLeft = nullptr;
    Gauge* GaugeRight = nullptr;
    Gauge* GaugeVOL = nullptr;
    QGroupBox* GroupW3 = nullptr;

    static constexpr const char* kNoDeviceText = QT_TR_NOOP("Can't start default recording device");

    void BtnStartClick();
    void BtnNextClick();
    void BtnBackClick();
    void BtnFinishClick();
    void ComboRecChannelChange();
    void SliderVOLChange(int value);
    // An input came or went: the list follows, the chosen input by its name,
    // and a running search starts again on it.
    void RefreshInputs();
    // How the user learns that the input searched on is gone; without it, a
    // message box on top of the wizard.
    std::function<void(const QString&)> ShowInputGone;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* makeWelcomePage();
    QWidget* makeOptPage();
    QWidget* makeDecidePage();
    void PageWelcomePage();
    void PageOPTPage();
    void PageDecidePage();
    void FormDestroy();

    void ShowError(const std::string& text) override;
    void ShowLevels(int left, int right) override;
    void ShowVolume(int percent) override;

    VolumeOptimizer m_optimizer;
    std::unique_ptr<InputChoice> m_inputChoice;
    int m_page = PageWelcome;
};
