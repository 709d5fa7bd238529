#include "TFormMain.h"
#include "Bass.h"
#include "DialogRunner.h"
#include "DiskSpaceGuard.h"
#include "FakeDesktop.h"
#include "Languages.h"
#include "MSNPopUp.h"
#include "MessageBox.h"
#include "Mount.h"
#include "SimulatedBackend.h"
#include "SimulatedSound.h"
#include "StartupBalloon.h"
#include "TFormSave.h"
#include "TempFolder.h"
#include "ToneMp3.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <tuple>

#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <filesystem>
#include <limits>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
SimulatedBackend* install(std::vector<CaptureInput> inputs, bool connects = true) {
    return InstallSimulatedSound(std::move(inputs), connects);
}

std::vector<CaptureInput> micMixMonitor() {
    return {{"Microphone", kInputMicrophone, 100},
            {"Stereo Mix", kInputAnalog, 100},
            {"Monitor of Speakers", kInputWaveOutput, 100}};
}

class FormMainTest : public ::testing::Test {
protected:
    void SetUp() override { MessageBox::SetTestMode(true); }
    void TearDown() override { BASS_SetBackend(nullptr); }

    std::vector<MessageBox::Shown> shown() { return MessageBox::TakeShown(); }
    TempFolder m_folder;
};
} // namespace

TEST_F(FormMainTest, DefaultChannelPrefersWaveOutputThenANamedMixThenTheFirst) {
    struct Case {
        std::vector<CaptureInput> inputs;
        int expected;
    };
    const Case cases[] = {
        {micMixMonitor(), 2},
        {{{"Mic", kInputMicrophone, 1}, {"Stereo Mix", kInputAnalog, 1}}, 1},
        {{{"Mic", kInputMicrophone, 1}, {"What U Hear WAV", kInputAnalog, 1}}, 1},
        {{{"Mix", kInputMicrophone, 1}, {"Line", kInputAnalog, 1}}, 0},
        {{{"Microphone", kInputAnalog, 1}}, 0},
        {{}, -1},
    };
    for (const Case& c : cases) {
        install(c.inputs);
        TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        ASSERT_TRUE(form.FormCreate());
        EXPECT_EQ(form.ComboChannels->currentIndex(), c.expected);
        form.FormClose();
        fs::remove(m_folder / "quillby.ini");
    }
}

TEST_F(FormMainTest, NoSettingsFileGivesTheDefaults) {
    std::vector<CaptureInput> inputs = micMixMonitor();
    inputs[2].volume = 64;
    install(inputs);
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form.FormCreate());
    EXPECT_EQ(form.ComboChannels->count(), 3);
    EXPECT_EQ(form.ComboChannels->itemText(2), "Monitor of Speakers");
    EXPECT_EQ(form.ComboChannels->currentIndex(), 2);
    EXPECT_EQ(form.SliderQuality->value(), 12);
    EXPECT_EQ(form.SliderVolume->value(), 64) << "the chosen input's own volume";
    EXPECT_TRUE(form.CheckStereo->isChecked());
    EXPECT_FALSE(form.CheckVBR->isChecked());
    EXPECT_FALSE(form.CurrentSettings().hideWizardWelcome);
    EXPECT_EQ(form.CurrentSettings().popupShowCount, 1) << "the start-up balloon was shown";
    EXPECT_EQ(form.CurrentSettings().lastSaveDir, "");
    EXPECT_FALSE(fs::exists(m_folder / "quillby.ini")) << "nothing is written before exit";
    EXPECT_TRUE(shown().empty());
}

TEST_F(FormMainTest, StoredValuesAreClampedAndBadChannelFallsBack) {
    install(micMixMonitor());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nChannel=7\nQuality=99\nVolume=0\n"
                                        "Stereo=yes\nVBR=0x1\nHideWiz1=1\nPOPCount=3\n"
                                        "LastDir=/gone/folder/\n");
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form.FormCreate());
    EXPECT_EQ(form.ComboChannels->currentIndex(), 2);
    EXPECT_EQ(form.SliderQuality->value(), 76);
    EXPECT_EQ(form.SliderVolume->value(), 1);
    EXPECT_TRUE(form.CheckStereo->isChecked());
    EXPECT_TRUE(form.CheckVBR->isChecked());
    EXPECT_TRUE(form.CurrentSettings().hideWizardWelcome);
    EXPECT_EQ(form.CurrentSettings().popupShowCount, 4) << "3 stored, and the balloon once more";
    EXPECT_EQ(form.CurrentSettings().lastSaveDir, "/gone/folder/") << "kept even though it is gone";

    WriteFile(m_folder / "quillby.ini", "[Recorder]\nChannel=1\nQuality=-3\nVolume=250\n");
    TFormMain second(m_folder.Path(), std::make_unique<FakeTray>(),
                     std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(second.FormCreate());
    EXPECT_EQ(second.ComboChannels->currentIndex(), 1);
    EXPECT_EQ(second.SliderQuality->value(), 0);
    EXPECT_EQ(second.SliderVolume->value(), 100);

    WriteFile(m_folder / "quillby.ini", "[Recorder]\nQuality=5\n");
    TFormMain third(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(third.FormCreate());
    EXPECT_EQ(third.SliderVolume->value(), 100)
        << "a file without the key (the first save, then a crash): the input's own volume";
}

TEST_F(FormMainTest, ExitWritesTheSettingsAndClosesTheDevice) {
    SimulatedBackend* sim = install(micMixMonitor());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nLastDir=/music/\n");
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form.FormCreate());
    bool closed = false;
    QObject::connect(&form, &TFormMain::closed, [&] { closed = true; });
    form.SliderVolume->setValue(42);
    form.MenuExitClick();
    EXPECT_TRUE(closed);
    EXPECT_EQ(ReadFile(m_folder / "quillby.ini"),
              "[Recorder]\nLastDir=/music/\nChannel=2\nChannelName=Monitor of Speakers\n"
              "Quality=12\nVolume=42\nStereo=1\n"
              "VBR=0\nHideWiz1=0\nPopCount=1\n");
    EXPECT_EQ(sim->Calls().back(), "Disconnect");
    EXPECT_EQ(BASS_RecordGetInputName(0), nullptr);
}

TEST_F(FormMainTest, UnwritableSettingsAreReportedAndTheProgramStillCloses) {
    install(micMixMonitor());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nQuality=5\n");
    // Readable, but a mount point cannot be replaced, even by root.
    TestMount pinned = TestMount::ReadOnlyBind(m_folder / "quillby.ini");
    if (!pinned.Ok())
        GTEST_SKIP() << "cannot mount here";
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form.FormCreate());
    EXPECT_TRUE(shown().empty());
    bool closed = false;
    QObject::connect(&form, &TFormMain::closed, [&] { closed = true; });
    form.MenuExitClick();
    const auto boxes = shown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.toStdString(), "Unable to write to " + (m_folder / "quillby.ini"));
    EXPECT_EQ(boxes[0].caption, "Tapewren");
    EXPECT_EQ(boxes[0].icon, MessageBox::Icon::Error);
    EXPECT_TRUE(closed);
    EXPECT_EQ(ReadFile(m_folder / "quillby.ini"), "[Recorder]\nQuality=5\n");
}

TEST_F(FormMainTest, UnreadableSettingsAreReportedOnceAtStartAndLeftAlone) {
    std::vector<CaptureInput> inputs = micMixMonitor();
    inputs[2].volume = 64;
    install(inputs);
    std::string junk = "[Recorder]\nQuality=61\nVolume=80\n";
    junk += std::string("\0\x01\xff\x7f binary", 12);
    for (const bool readError : {true, false}) {
        fs::remove(m_folder / "quillby.ini");
        // Every read fails (EIO), as on a failing disk; or some other file
        // took the name.
        if (readError)
            fs::create_symlink("/proc/self/mem", m_folder / "quillby.ini");
        else
            WriteFile(m_folder / "quillby.ini", junk);
        TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        ASSERT_TRUE(form.FormCreate());
        auto boxes = shown();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.toStdString(), "Unable to read " + (m_folder / "quillby.ini") +
                                                   ". The default settings are used and the file "
                                                   "is left as it is.");
        EXPECT_EQ(boxes[0].icon, MessageBox::Icon::Error);
        EXPECT_EQ(form.SliderQuality->value(), 12) << "defaults";
        EXPECT_EQ(form.SliderVolume->value(), 64) << "and the input's own volume";
        form.SaveLastDir();
        form.MenuExitClick();
        EXPECT_TRUE(shown().empty()) << "said once";
        if (readError)
            EXPECT_TRUE(fs::is_symlink(m_folder / "quillby.ini")) << "not written over";
        else
            EXPECT_EQ(ReadFile(m_folder / "quillby.ini"), junk) << "not written over";
    }
}

TEST_F(FormMainTest, ASignalEndsTheProgramWhileTheSettingsWriteErrorIsShown) {
    install(micMixMonitor());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nQuality=5\n");
    ::chmod((m_folder / "quillby.ini").c_str(), 0444);
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form.FormCreate());
    bool closed = false;
    QObject::connect(&form, &TFormMain::closed, [&] { closed = true; });
    // A real box this time, waiting for an OK that nobody gives.
    MessageBox::SetTestMode(false);
    QString seen;
    QTimer::singleShot(200, &form, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            seen = box->text();
        form.ExitRequested();
    });
    bool stuck = false;
    QTimer::singleShot(5000, &form, [&] { // the test's own way out if the signal is ignored
        stuck = true;
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    form.MenuExitClick();
    MessageBox::SetTestMode(true);
    EXPECT_EQ(seen.toStdString(), "Unable to write to " + (m_folder / "quillby.ini"));
    EXPECT_FALSE(stuck) << "the box outlived the signal";
    EXPECT_TRUE(closed);
    EXPECT_EQ(ReadFile(m_folder / "quillby.ini"), "[Recorder]\nQuality=5\n") << "read-only";
}

TEST_F(FormMainTest, ShownBalloonCountStopsAtTheLargestNumber) {
    install(micMixMonitor());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nPOPCount=2147483647\n");
    auto keys = std::make_unique<FakeHotKeys>();
    keys->taken.insert(0xC04F); // the balloon then shows at every start
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::move(keys));
    ASSERT_TRUE(form.FormCreate());
    EXPECT_EQ(form.CurrentSettings().popupShowCount, std::numeric_limits<int>::max());
    form.FormClose();
    EXPECT_EQ(SettingsFile(m_folder / "quillby.ini").Load()->popupShowCount,
              std::numeric_limits<int>::max());
}

TEST_F(FormMainTest, TheInputListFollowsTheServerAndKeepsTheChosenInputByName) {
    SimulatedBackend* sim = install(micMixMonitor());
    auto form = std::make_unique<TFormMain>(m_folder.Path(), std::make_unique<FakeTray>(),
                                            std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form->FormCreate());
    form->ComboChannels->setCurrentIndex(1); // the user picks Stereo Mix
    emit form->ComboChannels->activated(1);
    sim->Reconnect({{"Headset", kInputMicrophone, 100},
                    {"Monitor of Speakers", kInputWaveOutput, 100},
                    {"Stereo Mix", kInputAnalog, 100}});
    QCoreApplication::processEvents();
    ASSERT_EQ(form->ComboChannels->count(), 3);
    EXPECT_EQ(form->ComboChannels->itemText(0), "Headset");
    EXPECT_EQ(form->ComboChannels->currentText(), "Stereo Mix");
    EXPECT_EQ(form->RecordingSettings().channel, 2);

    // Unplugged while another input arrives: said, and the default used.
    sim->ChangeInputs({{"Headset", kInputMicrophone, 100},
                       {"Monitor of Speakers", kInputWaveOutput, 100},
                       {"USB Mic", kInputMicrophone, 100}});
    QCoreApplication::processEvents();
    EXPECT_EQ(form->ComboChannels->count(), 3);
    EXPECT_EQ(form->ComboChannels->itemText(2), "USB Mic");
    EXPECT_EQ(form->ComboChannels->currentText(), "Monitor of Speakers");
    EXPECT_EQ(form->MSNPopUp->Text, "\"Stereo Mix\" is no longer available.\r"
                                    "Recording from \"Monitor of Speakers\" now.");
    // Plugged in again, elsewhere in the list: the user's choice again.
    sim->ChangeInputs(
        {{"Stereo Mix", kInputAnalog, 100}, {"Monitor of Speakers", kInputWaveOutput, 100}});
    QCoreApplication::processEvents();
    EXPECT_EQ(form->RecordingSettings().channel, 0);
    form->MenuExitClick();
    EXPECT_NE(ReadFile(m_folder / "quillby.ini").find("Channel=0\nChannelName=Stereo Mix\n"),
              std::string::npos);
    sim->Reconnect(micMixMonitor());
    QCoreApplication::processEvents();
    EXPECT_EQ(form->ComboChannels->count(), 2) << "no longer told after shut-down";
    form.reset();

    // The next start finds the stored input by its name, not by its index.
    install({{"Headset", kInputMicrophone, 100}, {"Stereo Mix", kInputAnalog, 100}});
    form = std::make_unique<TFormMain>(m_folder.Path(), std::make_unique<FakeTray>(),
                                       std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form->FormCreate());
    EXPECT_EQ(form->RecordingSettings().channel, 1);
    form->FormClose();
    form.reset();
    // Gone since: said, and not the input that now has its index.
    install(micMixMonitor());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nChannel=1\nChannelName=USB Mic\n");
    form = std::make_unique<TFormMain>(m_folder.Path(), std::make_unique<FakeTray>(),
                                       std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form->FormCreate());
    EXPECT_EQ(form->RecordingSettings().channel, 2);
    EXPECT_EQ(form->MSNPopUp->Text, "\"USB Mic\" is no longer available.\r"
                                    "Recording from \"Monitor of Speakers\" now.");
    form->FormClose();
    EXPECT_NE(ReadFile(m_folder / "quillby.ini").find("ChannelName=USB Mic\n"), std::string::npos)
        << "the choice waits for its input to come back";
}

TEST_F(FormMainTest, NoSoundServerIsFatalAndTouchesNothing) {
    SimulatedBackend* sim = install(micMixMonitor(), false);
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nQuality=5\n");
    fs::create_directories(m_folder / "tmp");
    WriteFile(m_folder / "tmp/tmpfile1.mp3", "take");
    {
        TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        EXPECT_FALSE(form.FormCreate());
    }
    const auto boxes = shown();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Can not initiate defualt recording device.");
    EXPECT_EQ(boxes[0].icon, MessageBox::Icon::Error);
    EXPECT_EQ(ReadFile(m_folder / "quillby.ini"), "[Recorder]\nQuality=5\n");
    EXPECT_EQ(ReadFile(m_folder / "tmp/tmpfile1.mp3"), "take");
    EXPECT_EQ(sim->Calls().back(), "Connect");
}

TEST_F(FormMainTest, TakesLeftByAnEarlierRunAreOfferedInOrderAndTheRestRemoved) {
    install(micMixMonitor());
    fs::create_directories(m_folder / "tmp/sub");
    ASSERT_TRUE(WriteToneMp3(m_folder / "tmp/tmpfile10.mp3"));
    ASSERT_TRUE(WriteToneMp3(m_folder / "tmp/tmpfile2.mp3"));
    WriteFile(m_folder / "tmp/tmpfile1.mp3", "no sound in here");
    WriteFile(m_folder / "tmp/tmpfile3.mp3", "");
    WriteFile(m_folder / "tmp/sub/x", "not ours");
    ASSERT_TRUE(WriteToneMp3(m_folder / "tmp/song.mp3"));
    WriteFile(m_folder / "tmp/notes.txt", "not ours either");
    const std::string song = ReadFile(m_folder / "tmp/song.mp3");
    ::chmod((m_folder / "tmp/tmpfile1.mp3").c_str(), 0444);
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    std::vector<std::string> offered;
    DialogRunner::SetAnswer<TFormSave>([&](TFormSave& dialog) {
        offered.push_back(form.TheRecorder().tempFileName);
        EXPECT_EQ(form.TrayIcon->IconIndex(), 37) << "busy while the dialog is open";
        // The second is discarded: Cancel, then Yes.
        if (offered.size() == 2)
            MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
        dialog.reject();
    });
    ASSERT_TRUE(form.FormCreate());
    EXPECT_FALSE(fs::exists(m_folder / "tmp/tmpfile1.mp3"));
    EXPECT_FALSE(fs::exists(m_folder / "tmp/tmpfile3.mp3"));
    EXPECT_EQ(ReadFile(m_folder / "tmp/sub/x"), "not ours");
    EXPECT_EQ(ReadFile(m_folder / "tmp/notes.txt"), "not ours either");
    EXPECT_TRUE(offered.empty()) << "offered once the program runs, not during start-up";

    QCoreApplication::processEvents();
    EXPECT_EQ(offered, (std::vector<std::string>{m_folder / "tmp/tmpfile2.mp3",
                                                 m_folder / "tmp/tmpfile10.mp3"}));
    EXPECT_TRUE(fs::exists(m_folder / "tmp/tmpfile2.mp3")) << "kept: Cancel, then No";
    EXPECT_FALSE(fs::exists(m_folder / "tmp/tmpfile10.mp3")) << "discarded by the user";
    EXPECT_EQ(ReadFile(m_folder / "tmp/song.mp3"), song) << "sound, but not a take of ours";
    EXPECT_EQ(form.TrayIcon->IconIndex(), 36);
    form.FormClose();
}

TEST_F(FormMainTest, ASignalWhileTheSaveDialogIsOpenEndsWithoutAskingAndKeepsTheTake) {
    install(micMixMonitor());
    fs::create_directories(m_folder / "tmp");
    ASSERT_TRUE(WriteToneMp3(m_folder / "tmp/tmpfile1.mp3"));
    ASSERT_TRUE(WriteToneMp3(m_folder / "tmp/tmpfile2.mp3"));
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    int dialogs = 0;
    int result = -1;
    DialogRunner::SetAnswer<TFormSave>([&](TFormSave& dialog) {
        ++dialogs;
        dialog.setResult(-1);
        form.ExitRequested();
        result = dialog.result();
        // Whatever is asked after the signal is answered No by nobody.
        MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
        dialog.reject();
    });
    bool closed = false;
    QObject::connect(&form, &TFormMain::closed, [&] { closed = true; });
    ASSERT_TRUE(form.FormCreate());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs, 1) << "the second take waits for the next start";
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(fs::exists(m_folder / "tmp/tmpfile1.mp3"));
    EXPECT_TRUE(fs::exists(m_folder / "tmp/tmpfile2.mp3"));
    EXPECT_TRUE(fs::exists(m_folder / "quillby.ini")) << "settings written as at exit";
    EXPECT_TRUE(shown().empty()) << "nothing was asked";
}

// A session that ends has nobody to answer a dialog: the take is finished
// and stays for the next start, and the program ends without asking.
TEST_F(FormMainTest, ASignalDuringATakeEndsWithoutADialogAndKeepsTheTake) {
    install(micMixMonitor());
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    int dialogs = 0;
    DialogRunner::SetAnswer<TFormSave>([&](TFormSave&) { ++dialogs; });
    bool closed = false;
    QObject::connect(&form, &TFormMain::closed, [&] { closed = true; });
    ASSERT_TRUE(form.FormCreate());
    form.ToggleRecording(false);
    ASSERT_TRUE(form.TheRecorder().IsActive());
    form.ExitRequested();
    QCoreApplication::processEvents();
    EXPECT_TRUE(closed);
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(shown().empty()) << "nothing was asked";
    EXPECT_TRUE(fs::exists(m_folder / "tmp/tmpfile1.mp3")) << "kept for the next start";
    EXPECT_TRUE(fs::exists(m_folder / "quillby.ini")) << "settings written as at exit";
}

TEST_F(FormMainTest, StoredValuesOutsideTheRangesRecordAtTheNearestEnd) {
    install(micMixMonitor());
    for (const auto& [stored, quality, volume] :
         {std::tuple{"Quality=99\nVolume=0\n", 76, 1}, {"Quality=-3\nVolume=250\n", 0, 100}}) {
        WriteFile(m_folder / "quillby.ini", std::string("[Recorder]\n") + stored);
        TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        ASSERT_TRUE(form.FormCreate());
        const RecorderHost::Settings used = form.RecordingSettings();
        EXPECT_EQ(used.quality, quality) << stored;
        EXPECT_EQ(used.volume, volume) << stored;
    }
}

TEST_F(FormMainTest, SliderHintsKeepTheirStartupTextWhileHidden) {
    install(micMixMonitor());
    WriteFile(m_folder / "quillby.ini", "[Recorder]\nQuality=61\nVolume=37\n");
    TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(), std::make_unique<FakeHotKeys>());
    ASSERT_TRUE(form.FormCreate());
    EXPECT_EQ(form.SliderQuality->toolTip(), "SampleRate: 44100 hz\nBitRate: 128 kbps");
    EXPECT_EQ(form.SliderVolume->toolTip(), "37%");
    form.SliderQuality->setValue(66);
    form.SliderVolume->setValue(5);
    EXPECT_EQ(form.SliderQuality->toolTip(), "SampleRate: 44100 hz\nBitRate: 128 kbps");
    form.show();
    form.SliderQuality->setValue(65);
    form.SliderQuality->setValue(66);
    EXPECT_EQ(form.SliderQuality->toolTip(), "Sample Rate: 48000 hz\nBit Rate:  40 kbps");
    form.SliderVolume->setValue(6);
    EXPECT_EQ(form.SliderVolume->toolTip(), "6%");
    form.hide();
}

// Qt's own texts, such as a message box's buttons, come in the program's
// language too, and texts built from parts reach the catalogue whole.
TEST(Languages, GermanBringsQtsOwnButtonsAndTheBalloonWhole) {
    LoadTranslations(*qApp, {"de-DE", "en-US"});
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    const QString yes = box.button(QMessageBox::Yes)->text();
    const QString balloon = StartupBalloonText("-");
    qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
    EXPECT_EQ(yes, "&Ja");
    EXPECT_EQ(balloon, "Ein Klick: Aufnahme starten/stoppen\r\n-\r\nDoppelklick: Einstellungen,\r\n"
                       "Rechtsklick: Menü.");
    // English comes first: German is the user's second language. English
    // has its plural forms from a catalogue of its own.
    LoadTranslations(*qApp, {"en-GB", "de-DE"});
    const QString english = StartupBalloonText("-");
    const std::string one = DiskSpaceGuard::LowSpaceText(1), two = DiskSpaceGuard::LowSpaceText(2);
    qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
    EXPECT_EQ(english, "Single click to record/stop\r\n-\r\nDouble-click to configure,\r\n"
                       "Right click to get a menu.");
    EXPECT_EQ(one, "Low disk space: room for 1 more minute of recording.");
    EXPECT_EQ(two, "Low disk space: room for 2 more minutes of recording.");
}

// The program's own input reads in the user's language, and the settings
// keep it by the name it has in every language.
TEST_F(FormMainTest, TheMixedInputReadsInGermanAndIsKeptByItsOwnName) {
    SimulatedBackend::Script script;
    script.inputs = micMixMonitor();
    script.mixMicrophone = 0;
    script.mixSpeakers = 2;
    LoadTranslations(*qApp, {"de-DE"});
    QString shown, volume;
    int found = -1;
    for (int start = 0; start < 2; ++start) {
        BASS_SetBackend(std::make_unique<SimulatedBackend>(script));
        TFormMain form(m_folder.Path(), std::make_unique<FakeTray>(),
                       std::make_unique<FakeHotKeys>());
        if (!form.FormCreate())
            break;
        if (start == 0) {
            volume = form.SliderVolume->toolTip();
            form.ComboChannels->setCurrentIndex(3);
            emit form.ComboChannels->activated(3);
            shown = form.ComboChannels->currentText();
        } else {
            found = form.ComboChannels->currentIndex();
        }
        form.MenuExitClick();
    }
    qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
    EXPECT_EQ(shown, "Mikrofon und Lautsprecher");
    EXPECT_EQ(volume, QStringLiteral("100\u00a0%")) << "German writes a space before %";
    EXPECT_EQ(found, 3) << "the next start finds it by the name it was stored by";
    EXPECT_NE(ReadFile(m_folder / "quillby.ini").find("ChannelName=Microphone and speakers\n"),
              std::string::npos);
}
