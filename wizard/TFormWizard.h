#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QSlider;

// The Sound Optimizer: finds a recording volume by listening to an input.
// Opened modally from the configuration window, or alone with the argument "w".
class TFormWizard : public QDialog {
    Q_OBJECT
public:
    enum Page { PageWelcome = 0, PageOPT = 1, PageDecide = 2 };

    explicit TFormWizard(QWidget* parent = nullptr);
    ~TFormWizard() override;

    // Opens the capture functions for the wizard and lists the inputs. False
    // after a fatal failure, which has been shown and has ended the program.
    bool FormCreate();
    // Makes a page current and runs its entry handler.
    void SetActivePage(int page);
    int ActivePage() const;

    // The values exchanged with the configuration window.
    QComboBox* ComboRecChannel = nullptr;
    QSlider* SliderVOL = nullptr;
    QCheckBox* CheckW1 = nullptr;

private:
    int m_page = PageWelcome;
};
