#include "Bass.h"
#include "Common.h"
#include "DialogRunner.h"
#include "FakeDesktop.h"
#include "LinkLabel.h"
#include "MSNPopUp.h"
#include "MessageBox.h"
#include "SimulatedBackend.h"
#include "SpinUntil.h"
#include "StartupBalloon.h"
#include "TFormMain.h"
#include "TFormSave.h"
#include "TFormWizard.h"
#include "TJvApplicationHotKey.h"
#include "TempFolder.h"
#include "TrayImages.h"
#include "TrayMeter.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <set>

namespace {
void pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

template <typename Pred> bool pumpUntil(Pred pred, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    return pred();
}

uint32_t level(uint32_t left, uint32_t right) {
    return left | (right << 16);
}

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimulatedBackend::Script script;
        script.inputs = {{"Monitor of Speakers", kInputWaveOutput, 100}};
        auto backend = std::make_unique<SimulatedBackend>(script);
        m_sim = backend.get();
        BASS_SetBackend(std::move(backend));
        TJvApplicationHotKey::ResetIdentifierCounterForTests();
        auto tray = std::make_unique<FakeTray>();
        auto keys = std::make_unique<FakeHotKeys>();
        m_tray = tray.get();
        m_keys = keys.get();
        m_keys->taken = m_taken;
        m_form = std::make_unique<TFormMain>(m_folder.Path(), std::move(tray), std::move(keys));
        ASSERT_TRUE(m_form->FormCreate());
        // Every stopped take is thrown away: Cancel, then Yes.
        DialogRunner::SetAnswer<TFormSave>([this](TFormSave& dialog) {
            ++m_dialogs;
            MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
            dialog.reject();
        });
        MessageBox::TakeShown();
    }
    void TearDown() override {
        if (m_form->TheRecorder().IsActive())
            m_form->ToggleRecording(false);
        m_form.reset();
        BASS_SetBackend(nullptr);
    }
    bool recording() const { return BASS_ChannelIsActive(1) != BASS_ACTIVE_STOPPED; }

    std::set<uint16_t> m_taken;
    TempFolder m_folder;
    SimulatedBackend* m_sim = nullptr;
    FakeTray* m_tray = nullptr;
    FakeHotKeys* m_keys = nullptr;
    std::unique_ptr<TFormMain> m_form;
    int m_dialogs = 0;
};

class TrayWithTakenKeyTest : public TrayTest {
protected:
    void SetUp() override {
        m_taken = {0xC04F};
        WriteFile(m_folder / "quillby.ini", "[Recorder]\nPOPCount=9\n");
        TrayTest::SetUp();
    }
};
} // namespace

TEST(TrayImages, BandsAndIconIndexes) {
    EXPECT_EQ(LevelIconIndex(level(0, 128)), 5);
    EXPECT_EQ(LevelIconIndex(level(128, 0)), 30);
    EXPECT_EQ(LevelIconIndex(level(40, 41)), 8);
    EXPECT_EQ(LevelIconIndex(level(129, 0)), 0);
    EXPECT_EQ(LevelIconIndex(level(64, 129)), 0);
    EXPECT_EQ(LevelIconIndex(level(128, 128)), 35);
    const int edges[][2] = {{0, 0},  {18, 0}, {19, 1}, {40, 1},  {41, 2},  {62, 2},
                            {63, 3}, {84, 3}, {85, 4}, {106, 4}, {107, 5}, {128, 5}};
    for (const auto& e : edges)
        EXPECT_EQ(LevelBand(static_cast<uint32_t>(e[0])), e[1]) << e[0];
}

TEST(TrayImages, ThirtyEightDistinctSixteenPixelImages) {
    std::set<QByteArray> seen;
    for (int i = 0; i < kTrayImageCount; ++i) {
        const QImage image = DrawTrayImage(i).toImage();
        ASSERT_EQ(image.size(), QSize(16, 16));
        seen.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                               static_cast<int>(image.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), 38u);
    EXPECT_EQ(DrawTrayImage(40).toImage(), DrawTrayImage(37).toImage()) << "past the end: the last";
    for (int i = 0; i < kTrayImageCount; ++i)
        EXPECT_EQ(TrayIconImage(i).pixmap(16, 16).toImage(), DrawTrayImage(i).toImage()) << i;
    // Icon 30: the upper (left) row lit, the lower dark.
    const QImage left = DrawTrayImage(30).toImage();
    EXPECT_GT(QColor(left.pixel(2, 3)).green(), 200);
    EXPECT_LT(QColor(left.pixel(2, 11)).green(), 100);
}

TEST_F(TrayTest, StartUpShowsTheIdleIconTheBalloonAndRegistersBothKeys) {
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 36);
    EXPECT_TRUE(m_tray->visible);
    EXPECT_EQ(m_keys->registered, (std::map<int, uint16_t>{{0, 0xC04F}, {1, 0xC050}}));
    ASSERT_EQ(m_tray->balloons.size(), 2u) << "any balloon is removed first";
    EXPECT_TRUE(m_tray->balloons[0].hide);
    EXPECT_FALSE(m_tray->balloons[1].hide);
    EXPECT_EQ(m_tray->balloons[1].title, "Tapewren");
    EXPECT_EQ(m_tray->balloons[1].seconds, 10);
    EXPECT_EQ(m_tray->balloons[1].text,
              "Single click to record/stop\r\nRecord/Stop hotkey: Ctrl+Alt+O\r\nPause/Resume "
              "hotkey: Ctrl+Alt+P\r\nDouble-click to configure,\r\nRight click to get a menu.");
    EXPECT_EQ(m_tray->toolTip,
              "Tapewren(TM)\r\nClick once to start recording.\r\nDouble-click to configure.");
    EXPECT_TRUE(m_form->TimerHint->isActive());
    m_form->TimerHintTimer();
    EXPECT_TRUE(m_tray->balloons.back().hide);
    for (QTimer* timer : m_form->findChildren<QTimer*>())
        EXPECT_FALSE(timer->isActive()) << "no timer runs while idle: " << timer->interval();
}

TEST_F(TrayWithTakenKeyTest, ATakenKeyIsReportedAndForcesTheBalloon) {
    EXPECT_FALSE(m_form->RecordHotKey->Active());
    EXPECT_TRUE(m_form->PauseHotKey->Active());
    EXPECT_EQ(m_form->PauseHotKey->Id(), 1) << "identifiers count every activation";
    EXPECT_EQ(m_form->CurrentSettings().popupShowCount, 10);
    EXPECT_EQ(m_tray->balloons.back().text,
              "Single click to record/stop\r\nFailed to set hotkey for [Record/Stop].\r\n"
              "Pause/Resume hotkey: Ctrl+Alt+P\r\nDouble-click to configure,\r\nRight click to "
              "get a menu.");
    EXPECT_EQ(m_tray->balloons.back().summary, "Tapewren: only the Pause/Resume hotkey Ctrl+Alt+P");

    // A backend that says why: the reason follows the failure, in both lines.
    FakeHotKeys keys;
    keys.taken = {0xC04F, 0xC050};
    keys.why = "another program holds it";
    TJvApplicationHotKey record(keys, 0xC04F, "Record/Stop", {});
    TJvApplicationHotKey pause(keys, 0xC050, "Pause/Resume", {});
    record.SetActive(true);
    pause.SetActive(true);
    EXPECT_EQ(HotKeyStatusLines(record, pause),
              "Failed to set hotkey for [Record/Stop]. (another program holds it)\r\nFailed to set "
              "hotkey for [Pause/Resume] (another program holds it)");
    EXPECT_EQ(StartupBalloonSummary(record, pause), "Tapewren: no hotkeys");
    keys.taken.clear();
    record.SetActive(false);
    record.SetActive(true);
    EXPECT_EQ(StartupBalloonSummary(record, pause),
              "Tapewren: only the Record/Stop hotkey Ctrl+Alt+O");
    EXPECT_EQ(HotKeyStatusLines(record, pause).section("\r\n", 0, 0),
              "Record/Stop hotkey: Ctrl+Alt+O")
        << "the reason of a failure before goes with it";
}

// A desktop that binds keys only to commands (GNOME before 48): the
// configuration window offers to add them, and adds nothing unasked.
class CommandKeys : public FakeHotKeys {
public:
    std::vector<CommandKey> added;
    bool OffersCommandKeys() const override { return true; }
    std::string AddCommandKeys(const std::vector<CommandKey>& keys) override {
        added = keys;
        taken.erase(0xC04F);
        return "Ctrl+Alt+P is already a GNOME shortcut (Terminal).";
    }
};

TEST(CommandKeysOffer, OfferedWhileAKeyFailsAndAddedOnlyAfterYes) {
    TempFolder folder;
    SimulatedBackend::Script script;
    script.inputs = {{"Monitor of Speakers", kInputWaveOutput, 100}};
    BASS_SetBackend(std::make_unique<SimulatedBackend>(script));
    auto keys = std::make_unique<CommandKeys>();
    CommandKeys* desktop = keys.get();
    desktop->taken = {0xC04F, 0xC050};
    TFormMain form(folder.Path(), std::make_unique<FakeTray>(), std::move(keys));
    ASSERT_TRUE(form.FormCreate());
    MessageBox::TakeShown();
    form.show();
    ASSERT_TRUE(form.LabelCommandKeys->isVisible()) << "not offered";
    MessageBox::SetNextAnswer(MessageBox::Answer::No);
    form.LabelCommandKeys->Activate();
    EXPECT_TRUE(MessageBox::TakeShown().empty()) << "asked before the press had its answer";
    QCoreApplication::processEvents();
    EXPECT_TRUE(desktop->added.empty()) << "added without a yes";
    std::vector<MessageBox::Shown> shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].text.startsWith("Add Ctrl+Alt+O (Record/Stop) and Ctrl+Alt+P"))
        << shown[0].text.toStdString();

    MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
    form.LabelCommandKeys->Activate();
    QCoreApplication::processEvents();
    ASSERT_EQ(desktop->added.size(), 2u);
    EXPECT_EQ(desktop->added[1].name, "Pause/Resume");
    shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, "Ctrl+Alt+P is already a GNOME shortcut (Terminal).")
        << "the key GNOME has";
    EXPECT_EQ(form.RecordHotKey->Status(), TJvApplicationHotKey::State::Set) << "registered again";
    EXPECT_EQ(HotKeyStatusLines(*form.RecordHotKey, *form.PauseHotKey).section("\r\n", 0, 0),
              "Record/Stop hotkey: Ctrl+Alt+O");
    EXPECT_TRUE(form.LabelCommandKeys->isVisible()) << "one key still fails";
    form.hide();
    form.FormClose();
    BASS_SetBackend(nullptr);
}

TEST(StartupBalloon, CountRule) {
    int count = 5;
    EXPECT_TRUE(CountStartupBalloon(count, true));
    EXPECT_EQ(count, 6);
    EXPECT_FALSE(CountStartupBalloon(count, true)) << "six times is enough while both keys work";
    EXPECT_EQ(count, 6);
    EXPECT_TRUE(CountStartupBalloon(count, false)) << "a key that does not work is told";
    EXPECT_EQ(count, 7);
}

// Keys the desktop binds later, as a portal does.
class LaterKeys : public FakeHotKeys {
public:
    bool SettlesLater() const override { return true; }
    void Settle(int id, bool bound) { Settled(id, {bound, "", bound ? "" : "refused"}); }
};

TEST(StartupBalloon, OneBalloonOnceEveryKeyHasSettledAndAnotherOnlyForALateKey) {
    TempFolder folder;
    SimulatedBackend::Script script;
    script.inputs = {{"Monitor of Speakers", kInputWaveOutput, 100}};
    BASS_SetBackend(std::make_unique<SimulatedBackend>(script));
    for (const bool late : {false, true}) {
        auto tray = std::make_unique<FakeTray>();
        auto keys = std::make_unique<LaterKeys>();
        FakeTray* shown = tray.get();
        LaterKeys* desktop = keys.get();
        TFormMain form(folder.Path(), std::move(tray), std::move(keys));
        ASSERT_TRUE(form.FormCreate());
        const auto balloons = [&] {
            return std::count_if(shown->balloons.begin(), shown->balloons.end(),
                                 [](const auto& b) { return !b.hide; });
        };
        EXPECT_EQ(balloons(), 0) << "waits for the desktop's word";
        desktop->Settle(form.RecordHotKey->Id(), true);
        EXPECT_EQ(balloons(), 0) << "one key has settled, the other has not";
        if (late) {
            QElapsedTimer waited;
            waited.start();
            while (balloons() == 0 && waited.elapsed() < 3 * StartupBalloon::kKeysAnswerMs)
                QApplication::processEvents(QEventLoop::AllEvents, 20);
            ASSERT_EQ(balloons(), 1) << "shown at the bound";
            EXPECT_THAT(shown->balloons.back().text.toStdString(),
                        ::testing::HasSubstr("waiting for the desktop"));
            EXPECT_EQ(shown->balloons.back().summary, "Tapewren: waiting for the hotkeys");
        }
        desktop->Settle(form.PauseHotKey->Id(), false);
        EXPECT_EQ(balloons(), late ? 2 : 1);
        // A desktop that names no trigger: our own key is shown.
        EXPECT_THAT(shown->balloons.back().text.toStdString(),
                    ::testing::HasSubstr("Record/Stop hotkey: Ctrl+Alt+O\r\nFailed to set hotkey "
                                         "for [Pause/Resume] (refused)"));
        EXPECT_EQ(shown->balloons.back().summary,
                  "Tapewren: only the Record/Stop hotkey Ctrl+Alt+O");
        desktop->Settle(form.PauseHotKey->Id(), false);
        EXPECT_EQ(balloons(), late ? 2 : 1) << "told once more at the most";
        form.FormClose();
    }
    BASS_SetBackend(nullptr);
}

// A word that comes after the key was given up speaks of nothing the user has.
TEST(StartupBalloon, AKeyGivenUpIgnoresTheDesktopsLateWordOnIt) {
    LaterKeys desktop;
    TJvApplicationHotKey record(desktop, 0xC04F, "Record", {}), pause(desktop, 0xC050, "Pause", {});
    ListenToHotKeys(desktop, record, pause, [] {});
    record.SetActive(true);
    pause.SetActive(true);
    desktop.Settle(pause.Id(), true);
    record.SetActive(false);
    desktop.Settle(record.Id(), false);
    EXPECT_EQ(HotKeyStatusLines(record, pause),
              "Failed to set hotkey for [Record/Stop].\r\nPause/Resume hotkey: Ctrl+Alt+P");
}

TEST_F(TrayTest, ClickRecordsAfterTheDoubleClickTimeAndTwoClicksInTimeConfigure) {
    m_tray->Click();
    EXPECT_FALSE(recording()) << "held back for the double-click time";
    EXPECT_TRUE(m_form->TrayIcon->ClickPending());
    EXPECT_TRUE(pumpUntil([this] { return recording(); })) << "the click never started a take";
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 0);

    m_tray->Click();
    EXPECT_TRUE(pumpUntil([this] { return !recording(); })) << "the click never stopped the take";
    EXPECT_EQ(m_dialogs, 1);
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 36);

    m_tray->Click();
    m_tray->Click(); // trays that report every press as a click
    EXPECT_FALSE(m_form->TrayIcon->ClickPending()) << "two clicks in time are a double click";
    EXPECT_FALSE(recording());
    EXPECT_TRUE(m_form->isVisible());
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 37);
    m_form->BtnCancelClick();
}

TEST_F(TrayTest, BusyModeOnlyBringsTheWindowForward) {
    m_form->TrayIconDblClick();
    EXPECT_TRUE(m_form->isVisible());
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 37);
    EXPECT_EQ(m_tray->menu, nullptr) << "no menu while busy";
    EXPECT_EQ(m_tray->toolTip,
              "Tapewren(TM)\r\nRecording is disabled when\r\nconfig window is active.");
    m_form->TrayIcon->LeftClicked();
    EXPECT_TRUE(pumpUntil([this] { return !m_form->TrayIcon->ClickPending(); }))
        << "the click was never dropped";
    m_keys->Press(0xC04F);
    EXPECT_FALSE(recording()) << "neither a click nor the record key starts a take";
    m_form->BtnCancelClick();
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 36);
    EXPECT_EQ(m_tray->menu, m_form->PopupMenu);
}

TEST_F(TrayTest, DoubleClickWhileTheSaveDialogIsOpenOpensNothing) {
    bool configShown = false;
    DialogRunner::SetAnswer<TFormSave>([&](TFormSave& dialog) {
        ++m_dialogs;
        m_tray->DoubleClick();
        configShown = m_form->isVisible();
        MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
        dialog.reject();
    });
    m_form->ToggleRecording(false);
    m_form->ToggleRecording(false);
    ASSERT_EQ(m_dialogs, 1);
    EXPECT_FALSE(configShown) << "the configuration window never opens over the save dialog";
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 36);
}

TEST_F(TrayTest, DoubleClickWhileRecordingOrPausedOnlyRefuses) {
    m_form->ToggleRecording(false);
    m_tray->Click();
    m_tray->DoubleClick(); // XEmbed trays: a click, then the double click
    EXPECT_FALSE(m_form->TrayIcon->ClickPending()) << "the click belongs to the double click";
    EXPECT_FALSE(m_form->isVisible());
    EXPECT_TRUE(recording());
    EXPECT_EQ(m_form->MSNPopUp->Text, "Configuration is disabled while recording is in progress.");
    m_form->MSNPopUp->Text.clear();
    m_keys->Press(0xC050);
    ASSERT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PAUSED);
    m_form->TrayIconDblClick();
    EXPECT_FALSE(m_form->isVisible()) << "a paused take is still a take";
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PAUSED);
    EXPECT_EQ(m_form->MSNPopUp->Text, "Configuration is disabled while recording is in progress.");
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TfrmMSNPopUp*>(w))
            delete w;
}

TEST_F(TrayTest, TheIconFollowsTheTake) {
    m_form->ToggleRecording(false);
    ASSERT_TRUE(recording());
    EXPECT_LT(m_form->TrayIcon->IconIndex(), kIdleIcon) << "the meter";
    m_form->TogglePause();
    EXPECT_LT(m_form->TrayIcon->IconIndex(), kIdleIcon) << "a paused take keeps its meter";
    m_form->TogglePause();
    m_form->ToggleRecording(false);
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), kIdleIcon);
    std::filesystem::remove_all(m_folder / "tmp");
    m_form->ToggleRecording(false); // its file cannot be made
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), kIdleIcon) << "a take that never began";
    for (QTimer* timer : m_form->findChildren<QTimer*>())
        if (timer->interval() == TrayMeter::kMeterIntervalMs) {
            EXPECT_FALSE(timer->isActive()) << "no meter runs";
        }
}

TEST_F(TrayTest, MenuFollowsTheRecordingState) {
    const auto enabled = [this] {
        return std::vector<bool>{m_form->MenuPause->isEnabled(), m_form->MenuStop->isEnabled(),
                                 m_form->MenuRecord->isEnabled(),
                                 m_form->MenuRecordEmail->isEnabled(),
                                 m_form->MenuConfig->isEnabled()};
    };
    m_form->PopupMenuPopup();
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true, true}));
    m_form->ToggleRecording(false);
    m_form->PopupMenuPopup();
    EXPECT_EQ(m_form->MenuPause->text(), "&Pause");
    m_keys->Press(0xC050);
    m_form->PopupMenuPopup();
    EXPECT_EQ(m_form->MenuPause->text(), "&Resume");
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, false, false}));
    m_keys->Press(0xC050);
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PLAYING);
    m_keys->Press(0xC04F);
    EXPECT_FALSE(recording());
    EXPECT_EQ(m_dialogs, 1) << "the record key's second press leads to the save dialog";
    m_form->PopupMenuPopup();
    EXPECT_EQ(m_form->MenuPause->text(), "&Resume") << "left as it was while idle";
    EXPECT_EQ(m_form->MenuConfig->text(), "&Config...  [Tray Doulble-Click]");
    // Read without the hint for the mouse, which is its description.
    const QAccessibleInterface* config = QAccessible::queryAccessibleInterface(m_form->MenuConfig);
    EXPECT_EQ(config->text(QAccessible::Name), "Config...");
    EXPECT_EQ(config->text(QAccessible::Description), "Tray Doulble-Click");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(m_form->MenuRecord)->text(QAccessible::Name),
              "Record Now");
    // A take whose device has stalled (the simulated ones never do) still pauses.
    m_form->UpdateTrayMenu(BASS_ACTIVE_STALLED, false);
    EXPECT_EQ(m_form->MenuPause->text(), "&Pause");
    EXPECT_FALSE(m_form->MenuClick->isVisible()) << "a click reaches the program here";
}

// GNOME's AppIndicator opens the menu on a click and sends a click only on a
// double click: the menu's first item records and stops, a double click
// configures, and the hint says so.
TEST_F(TrayTest, WhereAClickOpensTheMenuItsFirstItemRecordsAndADoubleClickConfigures) {
    m_tray->menuOnClick = true;
    m_form->PopupMenuPopup();
    ASSERT_TRUE(m_form->MenuClick->isVisible());
    EXPECT_EQ(m_form->PopupMenu->actions().first(), m_form->MenuClick);
    EXPECT_EQ(m_form->PopupMenu->defaultAction(), m_form->MenuClick);
    EXPECT_EQ(m_form->MenuClick->text(), "&Record");
    EXPECT_EQ(m_form->TrayIconMouseEnter(),
              "Tapewren(TM)\r\nClick for the menu: Record is its first item.");
    m_form->MenuClick->trigger();
    EXPECT_TRUE(recording());
    m_form->PopupMenuPopup();
    EXPECT_EQ(m_form->MenuClick->text(), "&Stop");
    m_form->MenuClick->trigger();
    EXPECT_FALSE(recording());
    EXPECT_EQ(m_dialogs, 1);
    m_tray->Click();
    EXPECT_FALSE(recording()) << "a double click is no take";
    EXPECT_TRUE(m_form->isVisible()) << "but the configuration window";
    m_form->BtnCancelClick();
}

TEST_F(TrayTest, RecordingHintCountsTimeAndSize) {
    m_form->ToggleRecording(false);
    m_form->TheRecorder().recordStartTick = TickCount() - 3725400;
    m_form->TheRecorder().encodedByteCount = 5000;
    EXPECT_EQ(m_form->TrayIconMouseEnter(),
              "Tapewren(TM)\r\nTotal Time: 01:02:05\r\nFile Size: 4 KB\r\nSource: Monitor of "
              "Speakers\r\nQuality: 11025 hz / 32 kbps\r\nVolume: 100%");
    // The clock held still: the size alone moves the hint on.
    const auto atTheSameTime = [this](const char* size) {
        return pumpUntil([this, size] {
            m_form->TheRecorder().recordStartTick = TickCount() - 3725400;
            return m_tray->toolTip.contains(size);
        });
    };
    EXPECT_TRUE(atTheSameTime("File Size: 4 KB")) << "the hint never showed 4 KB";
    m_form->TheRecorder().encodedByteCount = 9000;
    EXPECT_TRUE(atTheSameTime("File Size: 8 KB")) << "the hint never showed 8 KB";
    m_form->TheRecorder().recordStartTick = TickCount() - 3725600;
    EXPECT_TRUE(pumpUntil([this] {
        return m_tray->toolTip.contains("Total Time: 01:02:0") &&
               !m_tray->toolTip.contains("01:02:05");
    })) << "the hint never showed the new time";
    m_form->TheRecorder().recordStartTick -= 10000;
    EXPECT_TRUE(pumpUntil([this] { return m_tray->toolTip.contains("Total Time: 01:02:1"); }))
        << "the clock alone moves the hint on, with no sound";
    m_form->ToggleRecording(false);
    EXPECT_EQ(m_tray->toolTip,
              "Tapewren(TM)\r\nClick once to start recording.\r\nDouble-click to configure.");
}

TEST_F(TrayTest, HintIsCutAt127Characters) {
    m_form->TrayIcon->SetHint(QString(200, 'x'));
    EXPECT_EQ(m_tray->toolTip.size(), 127);
}

// The meter looks a few times a second at the loudest since its last look:
// a steady tone in pieces of a few milliseconds, each of which holds only a
// sliver of the wave, shows one steady icon; the capture thread never wakes
// the GUI for it; and each image is handed over as the same icon object.
TEST_F(TrayTest, TheMeterShowsTheLoudestSinceItsLastLookAndWakesTheGuiForNothingElse) {
    struct MetaCallCounter : QObject {
        std::atomic<int> count{0};
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::MetaCall;
            return false;
        }
    } counter;
    // A 50 Hz wave in 2 ms pieces: a tenth of a period each.
    const auto tone = [](double peak, int piece) {
        std::vector<int16_t> pcm(2 * 88);
        for (int i = 0; i < 88; ++i)
            pcm[2 * i] = pcm[2 * i + 1] = static_cast<int16_t>(
                peak * 32767 * std::sin(2 * M_PI * 50 * (piece * 88 + i) / 44100.0));
        const auto* bytes = reinterpret_cast<const uint8_t*>(pcm.data());
        return std::vector<uint8_t>(bytes, bytes + pcm.size() * 2);
    };
    const auto play = [&](double peak, int ms) {
        QElapsedTimer timer;
        timer.start();
        for (int piece = 0; timer.elapsed() < ms; ++piece) {
            m_sim->Push(tone(peak, piece));
            pump(2);
        }
    };
    m_form->ToggleRecording(false);
    qApp->installEventFilter(&counter);
    play(0.6, TrayMeter::kMeterIntervalMs * 2);
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), LevelIconIndex(level(76, 76)));
    const int before = m_tray->iconChanges;
    play(0.6, TrayMeter::kMeterIntervalMs * 6);
    EXPECT_EQ(m_tray->iconChanges, before) << "a steady tone flickers";

    for (double peak : {0.2, 0.9, 0.4, 0.7, 0.1})
        play(peak, TrayMeter::kMeterIntervalMs * 2);
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), LevelIconIndex(level(12, 12)))
        << "the meter falls when the sound does";
    EXPECT_GE(m_tray->iconChanges - before, 5);
    EXPECT_EQ(counter.count, 0) << "the capture thread woke the GUI";
    qApp->removeEventFilter(&counter);
    EXPECT_LE(m_tray->iconKeys.size(), 8u) << "idle, silence and six level images";

    m_form->ToggleRecording(false);
    pump(TrayMeter::kMeterIntervalMs * 2);
    EXPECT_EQ(m_form->TrayIcon->IconIndex(), 36) << "a late level never covers the idle icon";
}

TEST_F(TrayTest, StartWithTheDesktopIsACheckableMenuItemThatWritesTheEntry) {
    TempFolder config;
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.Path()));
    const std::string entry = config / "autostart/io.github.tapewren.Tapewren.desktop";
    m_form->PopupMenuPopup();
    EXPECT_TRUE(m_form->MenuAutostart->isCheckable());
    EXPECT_FALSE(m_form->MenuAutostart->isChecked()) << "off by default";
    m_form->MenuAutostart->trigger();
    EXPECT_TRUE(m_form->MenuAutostart->isChecked());
    EXPECT_NE(ReadFile(entry).find("Exec=\"" + QApplication::applicationFilePath().toStdString()),
              std::string::npos);
    m_form->MenuAutostart->trigger();
    EXPECT_FALSE(m_form->MenuAutostart->isChecked());
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_TRUE(MessageBox::TakeShown().empty());

    // A folder that cannot be made: the user is told, the item stays off.
    std::filesystem::remove_all(config / "autostart");
    WriteFile(config / "autostart", "in the way");
    m_form->MenuAutostart->trigger();
    const auto shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Error);
    EXPECT_EQ(shown[0].text.toStdString(), "Unable to write to " + entry);
    EXPECT_FALSE(m_form->MenuAutostart->isChecked());
    qputenv("XDG_CONFIG_HOME", old);
}

// The optimizer captures on the take's channel: the pause key leaves its
// search alone, and minimising the window under it does not act as Cancel.
TEST_F(TrayTest, ThePauseKeyAndAMinimiseLeaveTheOptimizerAlone) {
    m_form->TrayIconDblClick();
    ASSERT_TRUE(m_form->isVisible());
    bool driven = false;
    DialogRunner::SetAnswer<TFormWizard>([&](TFormWizard& wizard) {
        wizard.setWindowModality(Qt::ApplicationModal);
        wizard.show();
        wizard.SetActivePage(TFormWizard::PageOPT);
        ASSERT_TRUE(spinUntil([&] { return recording(); })) << "the search runs";
        m_keys->Press(0xC050);
        EXPECT_EQ(BASS_ChannelIsActive(kRecordChannel), BASS_ACTIVE_PLAYING) << "paused";
        // As the window manager minimises: showMinimized() would show it again.
        m_form->setWindowState(m_form->windowState() | Qt::WindowMinimized);
        EXPECT_TRUE(m_form->isVisible()) << "the window went as on Cancel";
        wizard.reject();
        driven = true;
    });
    m_form->BtnVolOptClick();
    EXPECT_TRUE(driven);
    m_form->BtnCancelClick();
}
