// The program's responsiveness and memory at the edges of a take, with the
// desktop's real tray icon showing the level (run it on the test desktop):
//   tray_bench first-block [takes]  the real sound server, "Monitor of
//       Speakers": the time from the click being decided to the first
//       captured block, blocks per second, and from a stop to the save dialog
//   tray_bench hour [speed]  an hour of simulated input paced at speed times
//       real time, its level changing every ten seconds of sound: resident
//       memory every ten minutes of the take, the level icons shown, then
//       from the stop to the save dialog
#include "Bass.h"
#include "BenchSupport.h"
#include "DialogRunner.h"
#include "FakeDesktop.h"
#include "MSNPopUp.h"
#include "MessageBox.h"
#include "SimulatedBackend.h"
#include "TFormMain.h"
#include "TFormSave.h"
#include "TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point from, Clock::time_point to = Clock::now()) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void pumpFor(double ms) {
    const auto from = Clock::now();
    while (msSince(from) < ms) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The main window as the program builds it, noting when blocks arrive and
// when the save dialog is on screen; the dialog then discards the take.
class BenchForm : public TFormMain {
public:
    explicit BenchForm(const std::string& folder)
        : TFormMain(folder, nullptr, std::make_unique<FakeHotKeys>()) {
        DialogRunner::SetAnswer<TFormSave>([this](TFormSave& dialog) {
            dialog.show();
            const auto from = Clock::now();
            while (!(dialog.windowHandle() && dialog.windowHandle()->isExposed()) &&
                   msSince(from) < 10000)
                QApplication::processEvents(QEventLoop::AllEvents, 5);
            dialogShown = Clock::now();
            MessageBox::SetNextAnswer(MessageBox::Answer::Yes);
            dialog.reject();
        });
    }
    // 44100 Hz, 128 kbps, stereo, constant bit rate, full volume.
    bool Open(const QString& input) {
        if (!FormCreate())
            return false;
        ComboChannels->setCurrentIndex(ComboChannels->findText(input));
        SliderQuality->setValue(61);
        SliderVolume->setValue(100);
        CheckStereo->setChecked(true);
        CheckVBR->setChecked(false);
        pumpFor(500);
        return ComboChannels->currentIndex() >= 0;
    }
    // Milliseconds from the stop being decided to the save dialog on screen.
    double StopToDialog() {
        const auto from = Clock::now();
        ToggleRecording(false);
        return msSince(from, dialogShown);
    }

    Clock::time_point dialogShown;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

int firstBlock(int takes) {
    TempFolder folder;
    BenchForm form(folder.Path());
    if (!form.Open(QStringLiteral("Monitor of Speakers"))) {
        std::fprintf(stderr, "no \"Monitor of Speakers\" to record\n");
        return 1;
    }
    std::vector<double> latency, dialog;
    for (int take = 0; take < takes; ++take) {
        const auto clicked = Clock::now();
        form.ToggleRecording(false);
        // The meter's reading turns from nothing to the tone with the first
        // block; the bench looks for it.
        const auto came = [] { return BASS_ChannelGetLevel(kRecordChannel) != 0; };
        while (!came() && msSince(clicked) < 5000)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (!came()) {
            std::fprintf(stderr, "no block within 5 s\n");
            return 1;
        }
        latency.push_back(msSince(clicked));
        pumpFor(2000);
        dialog.push_back(form.StopToDialog());
        pumpFor(300);
    }
    std::printf("click to first block (ms), %d takes: median %.1f, max %.1f\n", takes,
                median(latency), *std::max_element(latency.begin(), latency.end()));
    std::printf("stop to save dialog after a 2 s take (ms): median %.1f\n", median(dialog));
    form.FormClose();
    return 0;
}

// 100 ms blocks of a 440 Hz tone, each at its own pair of levels.
std::vector<std::vector<uint8_t>> levelBlocks() {
    constexpr int frames = 4410;
    std::vector<std::vector<uint8_t>> blocks;
    for (int index = 0; index < 36; ++index) {
        // The middle of each band, in samples: level x 32768 / 128.
        const double peak[] = {9 * 256, 30 * 256, 52 * 256, 74 * 256, 96 * 256, 118 * 256};
        std::vector<int16_t> pcm(frames * 2);
        for (int i = 0; i < frames; ++i) {
            const double s = std::sin(2 * M_PI * 440.0 * i / 44100);
            pcm[2 * i] = static_cast<int16_t>(peak[index / 6] * s);
            pcm[2 * i + 1] = static_cast<int16_t>(peak[index % 6] * s);
        }
        const auto* bytes = reinterpret_cast<const uint8_t*>(pcm.data());
        blocks.emplace_back(bytes, bytes + pcm.size() * 2);
    }
    return blocks;
}

int hour(double speed) {
    SimulatedBackend::Script script;
    script.inputs = {{"Monitor of Speakers", kInputWaveOutput, 100}};
    auto backend = std::make_unique<SimulatedBackend>(script);
    SimulatedBackend* sim = backend.get();
    BASS_SetBackend(std::move(backend));
    TempFolder folder;
    BenchForm form(folder.Path());
    if (!form.Open(QStringLiteral("Monitor of Speakers")))
        return 1;
    const auto blocks = levelBlocks();
    constexpr int blocksPerTenMinutes = 6000;
    std::printf("one-hour take at %.0f x real time, resident memory (KiB) every 10 min:", speed);
    std::printf(" %ld", ResidentKiB());
    std::fflush(stdout);
    form.ToggleRecording(false);
    const auto start = Clock::now();
    int pushed = 0, iconChanges = 0, icon = form.TrayIcon->IconIndex();
    for (int mark = 1; mark <= 6; ++mark) {
        while (pushed < mark * blocksPerTenMinutes) {
            const int due = std::min(mark * blocksPerTenMinutes,
                                     static_cast<int>(msSince(start) * speed / 100));
            // The level changes every ten seconds of sound, a third of a
            // second at 30 x: more than the meter's look, so that each
            // change can show.
            for (; pushed < due; ++pushed)
                sim->Push(blocks[static_cast<size_t>(pushed / 100 * 7 % 36)]);
            QApplication::processEvents();
            if (form.TrayIcon->IconIndex() != icon) {
                icon = form.TrayIcon->IconIndex();
                ++iconChanges;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (!sim->WaitUntilDrained())
            std::fprintf(stderr, "the simulated device did not drain: figures are short\n");
        QApplication::processEvents();
        std::printf(" %ld", ResidentKiB());
        std::fflush(stdout);
    }
    std::printf("\n");
    std::printf("level icon changes shown in the tray: %d in %.0f s\n", iconChanges,
                msSince(start) / 1000);
    std::printf("stop to save dialog after one hour (ms): %.1f\n", form.StopToDialog());
    std::printf("resident memory after the dialog (KiB): %ld\n", ResidentKiB());
    form.FormClose();
    BASS_SetBackend(nullptr);
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The bench answers the save dialog's question itself.
    MessageBox::SetTestMode(true);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "first-block")
        return firstBlock(argc > 2 ? std::atoi(argv[2]) : 10);
    if (mode == "hour")
        return hour(argc > 2 ? std::atof(argv[2]) : 30);
    std::fprintf(stderr, "usage: tray_bench first-block [takes] | hour [speed]\n");
    return 2;
}
