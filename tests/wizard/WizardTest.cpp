// The volume search and the wizard window on the simulated sound system.
#include "Bass.h"
#include "Common.h"
#include "FakeOptimizerHost.h"
#include "Gauge.h"
#include "MessageBox.h"
#include "SimulatedBackend.h"
#include "TFormWizard.h"
#include "VolumeOptimizer.h"

#include "SpinUntil.h"
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {
// A stereo block whose peaks read as the given levels (0..128).
std::vector<uint8_t> block(int left, int right) {
    const auto sample = [](int level) {
        return static_cast<int16_t>(level >= 128 ? -32768 : level * 256);
    };
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 64; ++i)
        for (const int16_t s : {sample(left), sample(right)}) {
            bytes.push_back(static_cast<uint8_t>(s & 0xFF));
            bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
        }
    return bytes;
}

std::vector<CaptureInput> threeInputs() {
    return {{"Microphone", kInputMicrophone, 80},
            {"Line In", kInputLine, 80},
            {"Monitor of Speakers", kInputWaveOutput, 80}};
}

int count(const std::vector<std::string>& calls, const std::string& call) {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

class OptimizerTest : public ::testing::Test {
protected:
    void SetUp() override { install({}); }
    void TearDown() override { BASS_SetBackend(nullptr); }

    void install(SimulatedBackend::Script script) {
        if (script.inputs.empty())
            script.inputs = threeInputs();
        auto backend = std::make_unique<SimulatedBackend>(script);
        sim = backend.get();
        BASS_SetBackend(std::move(backend));
    }
    // Delivers the blocks and waits until the window's thread has shown the last.
    void feed(int blocks, int left, int right = 0) {
        for (int i = 0; i < blocks; ++i)
            sim->Push(block(left, right));
        ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
        const int volume = optimizer.Volume();
        ASSERT_TRUE(spinUntil([&] {
            return host.volume == volume && host.left == std::min(left, 128) && host.right == right;
        })) << "the levels never reached the host";
    }
    std::vector<std::string> calls() { return sim->Calls(); }

    SimulatedBackend* sim = nullptr;
    FakeOptimizerHost host;
    VolumeOptimizer optimizer{host};
};
} // namespace

TEST_F(OptimizerTest, AStartSwitchesEveryInputOffAndTheChosenOneOnAtFullVolume) {
    EXPECT_EQ(optimizer.Volume(), 1) << "a new window shows 1";
    optimizer.ComboRecChannelChange(1);
    // Switching off goes on until an input index fails: the fourth.
    const std::vector<std::string> expected = {
        "Connect",      "SetInput 0 off",    "SetInput 1 off", "SetInput 2 off",
        "GuardVolumes", "SetInput 1 on 100", "Start 44100 2"};
    EXPECT_EQ(calls(), expected);
    EXPECT_EQ(host.volume, 100);
    EXPECT_EQ(host.left, 0);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(OptimizerTest, OnlyALeftLevelAbove120LowersTheVolumeOnePointPerBlock) {
    optimizer.ComboRecChannelChange(2);
    feed(20, 120, 128); // exactly 120 on the left, full scale on the right
    EXPECT_EQ(optimizer.Volume(), 100);
    feed(20, 64, 128);
    EXPECT_EQ(optimizer.Volume(), 100) << "the right level is never tested";
    EXPECT_EQ(count(calls(), "SetInput 2 on 100"), 1) << "nothing sent for quiet blocks";

    feed(5, 121, 3);
    EXPECT_EQ(optimizer.Volume(), 95);
    EXPECT_EQ(host.volume, 95);
    for (int v = 99; v >= 95; --v)
        EXPECT_EQ(count(calls(), "SetInput 2 on " + std::to_string(v)), 1) << v;
    feed(10, 100);
    EXPECT_EQ(optimizer.Volume(), 95) << "never raised";
}

TEST_F(OptimizerTest, ASourceTooLoudEvenAt1StaysAt1AndSends1AtEveryBlock) {
    optimizer.ComboRecChannelChange(0);
    feed(99, 128, 128);
    EXPECT_EQ(optimizer.Volume(), 1);
    EXPECT_EQ(count(calls(), "SetInput 0 on 1"), 1);
    feed(7, 128, 128);
    EXPECT_EQ(optimizer.Volume(), 1);
    EXPECT_EQ(host.volume, 1);
    EXPECT_EQ(count(calls(), "SetInput 0 on 1"), 8);
}

TEST_F(OptimizerTest, WithNoInputChosenASearchStillRunsAndLowers) {
    optimizer.ComboRecChannelChange(-1);
    EXPECT_EQ(optimizer.Channel(), -1);
    EXPECT_EQ(count(calls(), "Start 44100 2"), 1);
    feed(3, 128);
    EXPECT_EQ(optimizer.Volume(), 97);
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(OptimizerTest, AnotherPickMidSearchZeroesTheBarsAndStartsAgainFrom100) {
    optimizer.ComboRecChannelChange(0);
    feed(30, 125, 90);
    EXPECT_EQ(optimizer.Volume(), 70);
    // Blocks handled but not yet shown: their refresh is still to come.
    sim->Push(block(122, 90));
    ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
    const size_t firstSearch = calls().size();
    optimizer.ComboRecChannelChange(2);
    EXPECT_EQ(host.left, 0);
    EXPECT_EQ(host.right, 0);
    EXPECT_EQ(host.volume, 100);
    // The refresh asked for by the old search's last block shows no old level.
    EXPECT_FALSE(spinUntil([&] { return host.left != 0; }, 200)) << "an old level was shown";
    EXPECT_EQ(count(calls(), "Stop"), 1) << "the first search ended";
    EXPECT_EQ(count(calls(), "SetInput 2 on 100"), 1);
    feed(4, 126);
    EXPECT_EQ(optimizer.Volume(), 96) << "from 100, not from 69";
    EXPECT_EQ(count(calls(), "SetInput 2 on 96"), 1);
    const std::vector<std::string> all = calls();
    EXPECT_EQ(std::count_if(all.begin() + static_cast<long>(firstSearch), all.end(),
                            [](const std::string& c) { return c.starts_with("SetInput 0 on"); }),
              0)
        << "the old input is left alone";
}

TEST_F(OptimizerTest, FailuresToStartAreShownAndKeepTheBar) {
    optimizer.ComboRecChannelChange(0);
    feed(10, 128);
    ASSERT_EQ(optimizer.Volume(), 90);

    SimulatedBackend::Script noServer;
    noServer.connects = false;
    install(noServer);
    optimizer.ComboRecChannelChange(0);
    EXPECT_EQ(host.errors,
              std::vector<std::string>{"Unable to start the default recording device."});
    EXPECT_EQ(optimizer.Volume(), 90);

    SimulatedBackend::Script refuses;
    refuses.startSucceeds = false;
    install(refuses);
    host.errors.clear();
    optimizer.ComboRecChannelChange(1);
    EXPECT_EQ(host.errors, std::vector<std::string>{"Unable to start the selected channel."});
    EXPECT_EQ(optimizer.Volume(), 90);
    EXPECT_EQ(count(calls(), "SetInput 1 on 100"), 1) << "the input stays on at 100";
}

TEST_F(OptimizerTest, TheDeviceCanBeReleasedWhileBlocksAreHandled) {
    // The window's thread ends searches while blocks stream in; the handler
    // must never wait for it.
    for (int round = 0; round < 20; ++round) {
        optimizer.ComboRecChannelChange(round % 3);
        for (int i = 0; i < 200; ++i)
            sim->Push(block(128, 128));
    }
    BASS_RecordFree();
    EXPECT_EQ(BASS_ChannelIsActive(kRecordChannel), 0u);
    EXPECT_GE(optimizer.Volume(), 1);
}

namespace {
class WizardTest : public OptimizerTest {
protected:
    void SetUp() override {
        OptimizerTest::SetUp();
        MessageBox::TakeShown();
        SetProgramEnder([this] { ++ended; });
    }
    void TearDown() override {
        SetProgramEnder(nullptr);
        OptimizerTest::TearDown();
    }
    // Blocks for the wizard's own search; waits until its bars show them.
    void feedWizard(TFormWizard& w, int blocks, int left, int right = 0) {
        for (int i = 0; i < blocks; ++i)
            sim->Push(block(left, right));
        ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
        ASSERT_TRUE(spinUntil([&] {
            return w.GaugeLeft->value() == std::min(left, 100) &&
                   w.GaugeRight->value() == std::min(right, 100);
        })) << "the gauges never showed the levels";
    }
    // What a person sees: the widget is shown within the window.
    static bool seen(QWidget* widget, TFormWizard& w) { return widget->isVisibleTo(&w); }

    int ended = 0;
};
} // namespace

TEST_F(WizardTest, CreationListsTheInputsWithNoneChosenOnTheWelcomePage) {
    TFormWizard w;
    ASSERT_TRUE(w.FormCreate());
    ASSERT_EQ(w.ComboRecChannel->count(), 3);
    EXPECT_EQ(w.ComboRecChannel->itemText(2), "Monitor of Speakers");
    EXPECT_EQ(w.ComboRecChannel->currentIndex(), -1);
    EXPECT_EQ(w.ActivePage(), TFormWizard::PageWelcome);
    EXPECT_EQ(w.size(), QSize(445, 307));
    EXPECT_EQ(w.windowTitle(), "Tapewren");
    EXPECT_FALSE(seen(w.BtnBack, w));
    EXPECT_FALSE(seen(w.BtnNext, w));
    EXPECT_FALSE(seen(w.BtnFinish, w));
    EXPECT_TRUE(seen(w.CheckW1, w));
    // At 256 where its text fits, further left where it needs more room, and
    // never cut.
    EXPECT_EQ(w.CheckW1->geometry().topRight(), QPoint(440, 278));
    EXPECT_LE(w.CheckW1->x(), 256);
    EXPECT_GE(w.CheckW1->width(), w.CheckW1->sizeHint().width());
    EXPECT_EQ(w.GaugeVOL->text(), "1%");
    EXPECT_EQ(count(calls(), "Start 44100 2"), 0) << "no search before the channel page";
    EXPECT_EQ(ended, 0);
}

TEST_F(WizardTest, AFailureToOpenTheDeviceIsShownAndEndsTheProgram) {
    SimulatedBackend::Script noServer;
    noServer.connects = false;
    install(noServer);
    TFormWizard w;
    EXPECT_FALSE(w.FormCreate());
    EXPECT_EQ(ended, 1);
    const auto shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].text, "Can't start default recording device");
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Error);

    SimulatedBackend::Script noOutput;
    noOutput.hasOutput = false;
    install(noOutput);
    TFormWizard second;
    EXPECT_FALSE(second.FormCreate());
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(MessageBox::TakeShown().size(), 1u);
}

TEST_F(WizardTest, ThePagesRunFromWelcomeToDecisionAndBackWithTheirButtons) {
    TFormWizard w;
    ASSERT_TRUE(w.FormCreate());
    w.SliderVOL->setValue(100);
    w.BtnStart->click();
    EXPECT_EQ(w.ActivePage(), TFormWizard::PageOPT);
    EXPECT_EQ(w.Wizard->currentIndex(), 1);
    EXPECT_FALSE(seen(w.BtnBack, w));
    EXPECT_TRUE(seen(w.BtnNext, w));
    EXPECT_EQ(w.BtnNext->geometry(), QRect(356, 273, 78, 26));
    EXPECT_FALSE(seen(w.BtnFinish, w));
    EXPECT_FALSE(seen(w.CheckW1, w));
    EXPECT_EQ(count(calls(), "Start 44100 2"), 1) << "the channel page starts a search";
    EXPECT_EQ(w.GaugeVOL->text(), "100%");

    // Levels from 100 up fill the green bars.
    feedWizard(w, 63, 128, 100);
    EXPECT_EQ(w.GaugeLeft->value(), 100);
    EXPECT_EQ(w.GaugeRight->value(), 100);
    feedWizard(w, 1, 99, 0);
    EXPECT_EQ(w.GaugeLeft->value(), 99);
    // A screen reader reads the bars' values, and their names are their labels.
    QAccessibleInterface* left = QAccessible::queryAccessibleInterface(w.GaugeLeft);
    EXPECT_EQ(left->role(), QAccessible::ProgressBar);
    EXPECT_EQ(left->valueInterface()->currentValue().toInt(), 99);
    EXPECT_EQ(left->text(QAccessible::Name), "Left");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w.GaugeRight)->text(QAccessible::Name),
              "Right");
    ASSERT_TRUE(spinUntil([&] { return w.GaugeVOL->text() == "37%"; }))
        << "the volume never showed 37%";

    w.BtnNext->click();
    EXPECT_EQ(w.ActivePage(), TFormWizard::PageDecide);
    EXPECT_EQ(w.SliderVOL->value(), 37);
    EXPECT_EQ(w.GroupW3->title(), "Volume to Use: 37%");
    EXPECT_TRUE(seen(w.BtnBack, w));
    EXPECT_EQ(w.BtnBack->geometry(), QRect(271, 273, 78, 26));
    EXPECT_FALSE(seen(w.BtnNext, w));
    EXPECT_TRUE(seen(w.BtnFinish, w));
    EXPECT_EQ(w.BtnFinish->geometry(), QRect(356, 273, 77, 26));

    // The search goes on; the slider took its value once.
    feedWizard(w, 2, 128);
    EXPECT_EQ(w.GaugeVOL->value(), 35);
    EXPECT_EQ(w.SliderVOL->value(), 37);
    const size_t callsBefore = calls().size();
    w.SliderVOL->setValue(41);
    EXPECT_EQ(w.GroupW3->title(), "Volume to Use: 41%");
    EXPECT_EQ(calls().size(), callsBefore) << "the slider sends nothing";

    w.BtnBack->click();
    EXPECT_EQ(w.ActivePage(), TFormWizard::PageOPT);
    EXPECT_EQ(w.GaugeVOL->value(), 100) << "a new search from 100";
    EXPECT_EQ(count(calls(), "Start 44100 2"), 2);
    feedWizard(w, 10, 128);
    w.BtnNext->click();
    EXPECT_EQ(w.SliderVOL->value(), 90);
}

TEST_F(WizardTest, PickingAnEntryRestartsTheSearchOnIt) {
    TFormWizard w;
    ASSERT_TRUE(w.FormCreate());
    w.SetActivePage(TFormWizard::PageOPT);
    feedWizard(w, 5, 128, 60);
    w.ComboRecChannel->setCurrentIndex(2);
    emit w.ComboRecChannel->activated(2);
    EXPECT_EQ(w.GaugeLeft->value(), 0);
    EXPECT_EQ(w.GaugeRight->value(), 0);
    EXPECT_EQ(w.GaugeVOL->value(), 100);
    feedWizard(w, 3, 128);
    EXPECT_EQ(count(calls(), "SetInput 2 on 97"), 1);
}

TEST_F(WizardTest, ValuesGoBackHoweverTheWindowIsClosed) {
    enum class End { FinishOnDecision, CloseBoxOnDecision, CloseBoxOnChannelPage };
    for (const End end :
         {End::FinishOnDecision, End::CloseBoxOnDecision, End::CloseBoxOnChannelPage}) {
        install({});
        TFormWizard w;
        ASSERT_TRUE(w.FormCreate());
        // As the configuration window opens it: index, slider 100, check box, page.
        w.ComboRecChannel->setCurrentIndex(1);
        w.SliderVOL->setValue(100);
        w.CheckW1->setChecked(true);
        w.SetActivePage(TFormWizard::PageOPT);
        EXPECT_EQ(count(calls(), "SetInput 1 on 100"), 1) << "searching before it is shown";
        EXPECT_FALSE(seen(w.CheckW1, w));
        w.show();
        feedWizard(w, 50, 128);
        if (end != End::CloseBoxOnChannelPage) {
            w.BtnNext->click();
            EXPECT_EQ(w.SliderVOL->value(), 50);
            w.SliderVOL->setValue(60);
        }
        if (end == End::FinishOnDecision)
            w.BtnFinish->click();
        else
            w.close();
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.SliderVOL->value(), end == End::CloseBoxOnChannelPage ? 100 : 60)
            << static_cast<int>(end);
        // The input keeps the slider's volume, the last one sent before the keep.
        const auto all = calls();
        const auto keep = std::find(all.begin(), all.end(), "KeepVolumes");
        ASSERT_NE(keep, all.end());
        const auto lastSet =
            std::find_if(std::make_reverse_iterator(keep), all.rend(),
                         [](const std::string& c) { return c.rfind("SetInput 1", 0) == 0; });
        EXPECT_EQ(*lastSet,
                  end == End::CloseBoxOnChannelPage ? "SetInput 1 on 50" : "SetInput 1 on 60");
        EXPECT_EQ(w.ComboRecChannel->currentIndex(), 1);
        EXPECT_TRUE(w.CheckW1->isChecked());
    }
}

TEST_F(WizardTest, DestroyingTheWindowEndsTheSearchAndReleasesTheDevice) {
    {
        TFormWizard w;
        ASSERT_TRUE(w.FormCreate());
        w.SetActivePage(TFormWizard::PageOPT);
        for (int i = 0; i < 500; ++i)
            sim->Push(block(128, 128));
    }
    EXPECT_EQ(BASS_ChannelIsActive(kRecordChannel), 0u);
    const auto all = calls();
    EXPECT_EQ(all.back(), "Disconnect");
    QCoreApplication::processEvents(); // a refresh still queued goes nowhere
}

TEST_F(WizardTest, ThePagesShowTheirTexts) {
    TFormWizard w;
    ASSERT_TRUE(w.FormCreate());
    QStringList texts;
    for (const QLabel* label : w.findChildren<QLabel*>())
        texts << label->text();
    for (const QString& expected :
         {QStringLiteral("Tapewren Sound Optimizer"),
          QStringLiteral("This is a simple 2-step wizard"),
          QStringLiteral("Manual Finetune (Optional)"),
          QStringLiteral("You may skip this step and click \"Finish\" directly"),
          QStringLiteral(
              "People using other recorder software often end up with \ndistorted results "
              "because it's hard to find the proper recording volume level."),
          QStringLiteral(
              "1. Pick the right recording channel.\n2. Play audio file, speak into the "
              "microphone or turn on\nthe connected input sound source.\n3. Optimization "
              "starts automatically."),
          QStringLiteral("You may click the \"Next\" button, when the above\nblue volume bar stops "
                         "progressing."),
          QStringLiteral("Left"), QStringLiteral("Right")})
        EXPECT_TRUE(texts.contains(expected)) << expected.toStdString();
    EXPECT_EQ(w.BtnStart->text(), "Start the Wizard");
    EXPECT_EQ(w.CheckW1->text(), "Don't show this page again");
}
