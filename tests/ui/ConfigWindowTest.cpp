#include "Bass.h"
#include "Common.h"
#include "DialogRunner.h"
#include "FakeDesktop.h"
#include "HelpFiles.h"
#include "ImageButton.h"
#include "ImageSlider.h"
#include "LinkLabel.h"
#include "MSNPopUp.h"
#include "MessageBox.h"
#include "Popups.h"
#include "SettingsFile.h"
#include "Shell.h"
#include "SimulatedSound.h"
#include "TFormMain.h"
#include "TFormWizard.h"
#include "TempFolder.h"
#include "TrayImages.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {
SimulatedBackend* install(std::vector<CaptureInput> inputs, bool connects = true) {
    return InstallSimulatedSound(std::move(inputs), connects);
}

std::vector<CaptureInput> threeInputs() {
    return {{"Microphone", kInputMicrophone, 100},
            {"Line In", kInputAnalog, 100},
            {"Monitor of Speakers", kInputWaveOutput, 100}};
}

void closePopups() {
    for (TfrmMSNPopUp* popup : VisiblePopups())
        delete popup;
}

void press(QWidget* widget, int x, QEvent::Type type) {
    const QPointF at(x, widget->height() / 2);
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void clickLabel(QWidget* label) {
    press(label, 3, QEvent::MouseButtonPress);
    press(label, 3, QEvent::MouseButtonRelease);
}

double luminance(QRgb c) {
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

// The pixels that the focus changes by a contrast of 3:1 at least.
int focusPixels(QWidget* control) {
    control->clearFocus();
    const QImage rest = control->grab().toImage();
    control->setFocus();
    const QImage focused = control->grab().toImage();
    int count = 0;
    for (int y = 0; y < rest.height(); ++y)
        for (int x = 0; x < rest.width(); ++x) {
            const double a = luminance(rest.pixel(x, y)), b = luminance(focused.pixel(x, y));
            count += (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05) >= 3.0;
        }
    return count;
}

class ConfigWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::TakeShown();
        SetShellOpener([this](const std::string& target) { m_opened.push_back(target); });
        SetProgramEnder([this] { ++m_ended; });
    }
    void TearDown() override {
        closePopups();
        SetShellOpener(nullptr);
        SetProgramEnder(nullptr);
        BASS_SetBackend(nullptr);
    }

    // The window as a double click on the tray icon opens it.
    std::unique_ptr<TFormMain> openWindow() {
        auto form = std::make_unique<TFormMain>(m_folder.Path(), std::make_unique<FakeTray>(),
                                                std::make_unique<FakeHotKeys>());
        EXPECT_TRUE(form->FormCreate());
        closePopups();
        form->TrayIconDblClick();
        EXPECT_TRUE(form->isVisible());
        return form;
    }

    TempFolder m_folder;
    std::vector<std::string> m_opened;
    int m_ended = 0;
};
} // namespace

TEST_F(ConfigWindowTest, ApplyHidesTheWindowAndSummarisesEachCheckBoxInItsOwnLine) {
    install(threeInputs());
    struct Case {
        bool vbr, stereo;
        QString text;
    };
    const Case cases[] = {
        {false, true,
         "Channel: Line In\nSample Rate: 44100hz\nBit Rate: 128kbps \nVolume: 10%    [Stereo]"},
        {false, false,
         "Channel: Line In\nSample Rate: 44100hz\nBit Rate: 128kbps \nVolume: 10%    "},
        {true, false,
         "Channel: Line In\nSample Rate: 44100hz\nBit Rate: 128kbps [VBR]\nVolume: 10%    "},
        {true, true,
         "Channel: Line In\nSample Rate: 44100hz\nBit Rate: 128kbps [VBR]\nVolume: 10%    "
         "[Stereo]"},
    };
    for (const Case& c : cases) {
        auto form = openWindow();
        form->ComboChannels->setCurrentIndex(1);
        form->SliderQuality->setValue(61);
        form->SliderVolume->setValue(10);
        form->CheckVBR->setChecked(c.vbr);
        form->CheckStereo->setChecked(c.stereo);
        form->ImageBtnApply->click();
        EXPECT_FALSE(form->isVisible());
        EXPECT_EQ(form->TrayIcon->IconIndex(), kIdleIcon) << "the tray is ready again";
        const auto popups = VisiblePopups();
        ASSERT_EQ(popups.size(), 1u);
        EXPECT_EQ(popups[0]->lblText->text().toStdString(), c.text.toStdString())
            << "VBR " << c.vbr << ", stereo " << c.stereo;
        closePopups();
        form->FormClose();
    }
    EXPECT_TRUE(MessageBox::TakeShown().empty());
}

TEST_F(ConfigWindowTest, CancelKeepsWhatWasChangedForTheNextTakeAndTheSettings) {
    install(threeInputs());
    auto form = openWindow();
    form->ComboChannels->setCurrentIndex(0);
    emit form->ComboChannels->activated(0);
    form->SliderVolume->setValue(73);
    form->SliderQuality->setValue(40);
    form->CheckStereo->setChecked(false);
    form->CheckVBR->setChecked(true);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form->SliderQuality, &escape); // it reaches the window
    EXPECT_FALSE(form->isVisible()) << "Escape is Cancel";
    EXPECT_EQ(form->TrayIcon->IconIndex(), kIdleIcon);
    EXPECT_TRUE(VisiblePopups().empty()) << "Cancel tells nothing";
    const RecorderHost::Settings next = form->RecordingSettings();
    EXPECT_EQ(next.channel, 0);
    EXPECT_EQ(next.volume, 73);
    EXPECT_EQ(next.quality, 40);
    EXPECT_FALSE(next.stereo);
    EXPECT_TRUE(next.vbr);
    form->MenuExitClick();
    const std::string saved = ReadFile(m_folder / "quillby.ini");
    EXPECT_NE(
        saved.find("Channel=0\nChannelName=" + form->ComboChannels->itemText(0).toStdString() +
                   "\nQuality=40\nVolume=73\nStereo=0\nVBR=1\n"),
        std::string::npos)
        << saved;
}

TEST_F(ConfigWindowTest, SlidersFollowThePointerAndTheirHintsFollowTheValue) {
    install(threeInputs());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nQuality=12\nVolume=50\n");
    auto form = openWindow();
    auto* quality = static_cast<ImageSlider*>(form->SliderQuality);
    press(quality, quality->ThumbCentre(61), QEvent::MouseButtonPress);
    EXPECT_EQ(quality->value(), 61);
    EXPECT_EQ(quality->toolTip(), "Sample Rate: 44100 hz\nBit Rate: 128 kbps");
    press(quality, quality->ThumbCentre(66), QEvent::MouseMove);
    EXPECT_EQ(quality->value(), 66);
    EXPECT_EQ(quality->toolTip(), "Sample Rate: 48000 hz\nBit Rate:  40 kbps");
    press(quality, quality->width() + 40, QEvent::MouseMove);
    EXPECT_EQ(quality->value(), 76) << "past the end is the last preset";
    press(quality, -40, QEvent::MouseMove);
    EXPECT_EQ(quality->value(), 0);
    press(quality, -40, QEvent::MouseButtonRelease);
    press(quality, quality->ThumbCentre(30), QEvent::MouseMove);
    EXPECT_EQ(quality->value(), 0) << "moving without the button held changes nothing";

    auto* volume = static_cast<ImageSlider*>(form->SliderVolume);
    press(volume, volume->ThumbCentre(1), QEvent::MouseButtonPress);
    press(volume, volume->ThumbCentre(100), QEvent::MouseButtonRelease);
    EXPECT_EQ(volume->value(), 1);
    EXPECT_EQ(volume->toolTip(), "1%");

    form->ImageBtnCancel->click();
    form->SliderVolume->setValue(64);
    EXPECT_EQ(volume->toolTip(), "1%") << "a hidden window keeps its hint";
    form->FormClose();
}

TEST_F(ConfigWindowTest, TheOptimizerGetsTheWindowsValuesAndGivesItsOwnBack) {
    for (const bool skipWelcome : {false, true}) {
        SimulatedBackend* sim = install(threeInputs());
        WriteFile(m_folder / "quillby.ini",
                  std::string("[Recorder]\nChannel=1\nVolume=40\nHideWiz1=") +
                      (skipWelcome ? "1" : "0") + "\n");
        auto form = openWindow();
        bool ran = false;
        DialogRunner::SetAnswer<TFormWizard>([&](TFormWizard& wizard) {
            ran = true;
            EXPECT_EQ(wizard.SliderVOL->value(), 100);
            EXPECT_EQ(wizard.CheckW1->isChecked(), skipWelcome);
            EXPECT_EQ(wizard.ActivePage(),
                      skipWelcome ? TFormWizard::PageOPT : TFormWizard::PageWelcome);
            const auto calls = sim->Calls();
            EXPECT_NE(std::find(calls.begin(), calls.end(), "Disconnect"), calls.end())
                << "the window let go of the sound system first";
            // The wizard's choice; then it fails and gives up.
            if (wizard.ComboRecChannel->count() == 0)
                wizard.ComboRecChannel->addItems({"Microphone", "Line In", "Monitor of Speakers"});
            wizard.ComboRecChannel->setCurrentIndex(2);
            wizard.SliderVOL->setValue(23);
            wizard.CheckW1->setChecked(!skipWelcome);
            wizard.reject();
        });
        form->Image1->click();
        EXPECT_FALSE(ran) << "opened before the press had its answer";
        QCoreApplication::processEvents();
        EXPECT_TRUE(ran);
        EXPECT_EQ(form->SliderVolume->value(), 23);
        EXPECT_EQ(form->ComboChannels->currentIndex(), 2);
        EXPECT_EQ(form->CurrentSettings().hideWizardWelcome, !skipWelcome);
        EXPECT_TRUE(form->isVisible()) << "back in the configuration window";
        EXPECT_NE(BASS_RecordGetInputName(0), nullptr) << "the sound system is open again";
        EXPECT_EQ(m_ended, 0);
        EXPECT_TRUE(MessageBox::TakeShown().empty());
        form->FormClose();
    }
}

// A log-out while the optimizer searches: the input gets its volume back, as
// when the optimizer runs alone, and the settings keep the window's volume.
TEST_F(ConfigWindowTest, ASignalOverTheOptimizerKeepsNoVolume) {
    SimulatedBackend* sim = install(threeInputs());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nChannel=1\nVolume=40\n");
    auto form = openWindow();
    bool closed = false;
    QObject::connect(form.get(), &TFormMain::closed, [&] { closed = true; });
    DialogRunner::SetAnswer<TFormWizard>([&](TFormWizard& wizard) {
        wizard.show();
        wizard.SliderVOL->setValue(97);
        form->ExitRequested();
        QApplication::closeAllWindows(); // as the application's quit does
    });
    form->Image1->click();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(closed);
    const auto calls = sim->Calls();
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "KeepVolumes"), calls.end());
    EXPECT_EQ(SettingsFile(m_folder / "quillby.ini").Load()->volume, 40);
}

TEST_F(ConfigWindowTest, AnOptimizerWithoutInputsLeavesTheChosenInput) {
    install(threeInputs());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nChannel=1\n");
    auto form = openWindow();
    DialogRunner::SetAnswer<TFormWizard>([](TFormWizard& wizard) {
        wizard.ComboRecChannel->clear();
        wizard.SliderVOL->setValue(55);
        wizard.reject();
    });
    form->Image1->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->ComboChannels->currentIndex(), 1);
    EXPECT_EQ(form->SliderVolume->value(), 55);
    form->FormClose();
}

TEST_F(ConfigWindowTest, AnOptimizerWhoseSearchCannotStartHandsBackItsVolumeAndTheUntouchedBox) {
    SimulatedBackend::Script refuses;
    refuses.inputs = threeInputs();
    refuses.startSucceeds = false;
    BASS_SetBackend(std::make_unique<SimulatedBackend>(refuses));
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nChannel=1\nVolume=40\nHideWiz1=1\n");
    auto form = openWindow();
    DialogRunner::SetAnswer<TFormWizard>([](TFormWizard& wizard) {
        wizard.BtnNext->click();
        wizard.SliderVOL->setValue(70);
        wizard.close();
    });
    form->Image1->click();
    QCoreApplication::processEvents();
    const auto boxes = MessageBox::TakeShown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Unable to start the selected channel.");
    EXPECT_EQ(form->SliderVolume->value(), 70);
    EXPECT_TRUE(form->CurrentSettings().hideWizardWelcome) << "the box was left as it was";
    form->FormClose();
    EXPECT_NE(ReadFile(m_folder / "quillby.ini").find("HideWiz1=1\n"), std::string::npos);
}

TEST_F(ConfigWindowTest, SoundSystemGoneAfterTheOptimizerIsFatalAndWritesNothing) {
    install(threeInputs());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nVolume=40\n");
    {
        auto form = openWindow();
        DialogRunner::SetAnswer<TFormWizard>([](TFormWizard& wizard) {
            wizard.SliderVOL->setValue(90);
            install(threeInputs(), false); // the sound server went away meanwhile
            wizard.accept();
        });
        form->Image1->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(form->SliderVolume->value(), 90);
        const auto boxes = MessageBox::TakeShown();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "Can not re-initiate defualt recording device.");
        EXPECT_EQ(boxes[0].caption, "Tapewren");
        EXPECT_EQ(boxes[0].icon, MessageBox::Icon::Error);
        EXPECT_EQ(m_ended, 1);
        form->MenuExitClick();
    }
    EXPECT_EQ(ReadFile(m_folder / "quillby.ini"), "[Recorder]\nVolume=40\n");
}

TEST_F(ConfigWindowTest, FocusStandsOutAndAScreenReaderHearsTheQualitysPreset) {
    install(threeInputs());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nQuality=61\n");
    auto form = openWindow();
    EXPECT_EQ(form->focusWidget(), form->ComboChannels) << "the first control";
    QApplication::setActiveWindow(form.get());
    // At least a ring of one pixel round the control.
    for (QWidget* control : std::initializer_list<QWidget*>{
             form->ComboChannels, form->SliderQuality, form->CheckStereo, form->Image1,
             form->LabelFAQ, form->ImageHelp, form->ImageBtnApply, form->ImageBtnCancel})
        EXPECT_GE(focusPixels(control), 2 * (control->width() + control->height()) - 4)
            << control->objectName().toStdString();

    QAccessibleInterface* quality = QAccessible::queryAccessibleInterface(form->SliderQuality);
    EXPECT_EQ(quality->valueInterface()->currentValue().toInt(), 128) << "kbps";
    EXPECT_EQ(quality->text(QAccessible::Value), "Sample Rate: 44100 hz\nBit Rate: 128 kbps");
    // Moved by a key, the hint shows at the thumb, not at the pointer.
    QCursor::setPos(0, 0);
    form->SliderQuality->setFocus();
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(form->SliderQuality, &right);
    const auto* slider = static_cast<ImageSlider*>(form->SliderQuality);
    const QPoint thumb = slider->mapToGlobal(QPoint(slider->ThumbCentre(62), slider->height()));
    QWidget* tip = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QTipLabel") && window->isVisible())
            tip = window;
    ASSERT_NE(tip, nullptr) << "no hint shown";
    EXPECT_LT((tip->pos() - thumb).manhattanLength(), 40);
    form->FormClose();
}

TEST_F(ConfigWindowTest, LinksOpenThroughTheShellAndTurnOrangeUnderThePointer) {
    install(threeInputs());
    auto form = openWindow();
    for (LinkLabel* label : {form->LabelVersion, form->LabelFAQ, form->LabelSupport}) {
        EXPECT_EQ(label->Colour(), QColor(122, 160, 199)) << label->text().toStdString();
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), label->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(label, &enter);
        EXPECT_EQ(label->Colour(), QColor(255, 128, 0));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(label, &leave);
        EXPECT_EQ(label->Colour(), QColor(122, 160, 199));
        EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_LE(label->geometry().right(), 337) << "the text is not cut off";
        // The keyboard's and a screen reader's: a link, pressed by Enter or Space.
        const QAccessibleInterface* link = QAccessible::queryAccessibleInterface(label);
        EXPECT_EQ(link->role(), QAccessible::Link);
        EXPECT_EQ(link->text(QAccessible::Name), label->text());
        EXPECT_TRUE(link->state().focusable);
    }
    for (int key : {Qt::Key_Return, Qt::Key_Space}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(form->LabelSupport, &press);
    }
    EXPECT_EQ(m_opened.size(), 2u);
    m_opened.clear();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form.get())->role(), QAccessible::Dialog);
    EXPECT_EQ(form->SliderQuality->accessibleName(), "Quality");
    EXPECT_EQ(form->SliderVolume->accessibleName(), "Recording volume");
    EXPECT_FALSE(form->SliderQuality->accessibleDescription().isEmpty());
    EXPECT_FALSE(form->ComboChannels->accessibleName().isEmpty());
    // A drawn button is read once, by its name, and a press is answered
    // before the optimizer, which is modal, opens.
    QAccessibleInterface* optimizer = QAccessible::queryAccessibleInterface(form->Image1);
    EXPECT_EQ(optimizer->role(), QAccessible::Button);
    EXPECT_EQ(optimizer->text(QAccessible::Name), "Optimizer");
    EXPECT_EQ(optimizer->text(QAccessible::Description), "");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(form->ImageHelp)->text(QAccessible::Name),
              "Help");
    // Tab runs as the face reads, top to bottom and left to right.
    QWidget* expected[] = {form->ComboChannels, form->SliderQuality,    form->CheckStereo,
                           form->CheckVBR,      form->SliderVolume,     form->Image1,
                           form->LabelVersion,  form->LabelCommandKeys, form->LabelFAQ,
                           form->LabelSupport,  form->ImageHelp,        form->ImageBtnApply,
                           form->ImageBtnCancel};
    for (size_t i = 1; i < std::size(expected); ++i)
        EXPECT_EQ(expected[i - 1]->nextInFocusChain(), expected[i]) << i;
    for (QWidget* button : std::initializer_list<QWidget*>{
             form->Image1, form->ImageHelp, form->ImageBtnApply, form->ImageBtnCancel})
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);

    clickLabel(form->LabelVersion);
    clickLabel(form->LabelSupport);
    ASSERT_EQ(m_opened.size(), 2u);
    EXPECT_TRUE(QString::fromStdString(m_opened[0]).startsWith("https://"));
    EXPECT_TRUE(QString::fromStdString(m_opened[1]).startsWith("https://"));
    EXPECT_NE(m_opened[0], m_opened[1]);
    // Neither page is beside the test program nor installed: nothing happens.
    m_opened.clear();
    clickLabel(form->LabelFAQ);
    form->ImageHelp->click();
    EXPECT_TRUE(m_opened.empty());
    EXPECT_TRUE(MessageBox::TakeShown().empty());
    EXPECT_TRUE(form->isVisible());
    int cancels = 0;
    QObject::connect(form->ImageBtnCancel, &QAbstractButton::clicked, [&] { ++cancels; });
    QAccessible::queryAccessibleInterface(form->ImageBtnCancel)
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(cancels, 0) << "clicked before the press had its answer";
    QCoreApplication::processEvents();
    EXPECT_EQ(cancels, 1);
    form->FormClose();
    // Where the desktop asks for high contrast, the palette's colour.
    qputenv("GTK_THEME", "HighContrast");
    const LinkLabel link(nullptr, "LabelFAQ", "Frequently Asked Questions");
    qunsetenv("GTK_THEME");
    EXPECT_EQ(link.Colour(), QApplication::palette().color(QPalette::Link));
}

TEST(HelpFiles, TheFirstFolderThatHoldsThePageWins) {
    TempFolder beside, installed;
    WriteFile(installed / "faq.htm", "faq");
    WriteFile(installed / "Tapewren.html", "guide");
    WriteFile(beside / "Tapewren.html", "guide");
    const std::vector<std::string> folders = {beside / "", installed.Path()};
    EXPECT_EQ(FindHelpFile("Tapewren.html", folders), beside / "Tapewren.html");
    EXPECT_EQ(FindHelpFile("faq.htm", folders), installed / "faq.htm");
    EXPECT_EQ(FindHelpFile("Tapewren.chm", folders), "");
    fs::create_directories(beside / "faq.htm/");
    EXPECT_EQ(FindHelpFile("faq.htm", folders), installed / "faq.htm") << "a folder is no page";

    // The program's own folders: beside the executable comes before the data
    // folder of an installation.
    const std::string page = "help-order-test.htm";
    const fs::path share = ProgramFolder() + "../share/tapewren/";
    fs::create_directories(share);
    WriteFile(share / page, "installed");
    WriteFile(ProgramFolder() + page, "beside");
    EXPECT_EQ(ReadFile(FindHelpFile(page)), "beside");
    fs::remove(ProgramFolder() + page);
    EXPECT_EQ(ReadFile(FindHelpFile(page)), "installed");
    fs::remove(share / page);
    fs::remove(share.parent_path()); // only when left empty
    fs::remove(share.parent_path().parent_path());
}
