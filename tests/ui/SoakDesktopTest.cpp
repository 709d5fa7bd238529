// Hours of use in a minute, the way a user makes takes: the record key on the
// test desktop's real X display, the real tray, the real sound server, "Save
// as" answered and its popup shown. Nothing a take costs may stay.
#include "AudioCheck.h"
#include "DialogRunner.h"
#include "SpinUntil.h"
#include "TFormMain.h"
#include "TFormSave.h"
#include "TempFolder.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QWindow>
#include <gtest/gtest.h>

#include <filesystem>

namespace {
long residentKb() {
    const std::string status = ReadFile("/proc/self/status");
    return std::stol(status.substr(status.find("VmRSS:") + 6));
}

long descriptors() {
    const auto all = std::filesystem::directory_iterator("/proc/self/fd");
    return std::distance(begin(all), end(all));
}

// The record key as the X server delivers a keyboard's, to the grab.
void pressRecordKey() {
    RunCommand("xdotool key --delay 0 ctrl+alt+o");
}
} // namespace

TEST(SoakOnTheDesktop, FiveHundredTakesByTheRecordKeyLeaveNoMemoryOrDescriptorBehind) {
    if (QGuiApplication::platformName() != "xcb" || RunCommand("pactl info").empty())
        GTEST_SKIP() << "needs the test desktop (scripts/desktop.sh) with its tone playing";
    TempFolder folder;
    std::filesystem::create_directories(folder / "music");
    TFormMain form(folder.Path());
    ASSERT_TRUE(form.FormCreate());
    ASSERT_TRUE(form.RecordHotKey->Active()) << "the X server gave the program its key";
    int saved = 0;
    double lastSeconds = 0;
    DialogRunner::SetAnswer<TFormSave>([&](TFormSave& d) {
        // On screen, as the user answers it: a window that is never shown
        // builds less than one that is.
        d.show();
        spinUntil(
            [&] { return d.isVisible() && d.windowHandle() && d.windowHandle()->isExposed(); });
        d.PanelSaveDlg->setDirectory(QString::fromStdString(folder / "music"));
        d.PanelSaveDlg->FileNameEdit()->setText("take");
        d.PanelSaveDlg->accept();
        saved += std::filesystem::exists(folder / "music/take.mp3");
        if (saved == 500)
            lastSeconds = FfprobeDuration(folder / "music/take.mp3");
        std::filesystem::remove(folder / "music/take.mp3");
    });
    long fds = 0, kb = 0;
    for (int i = 1; i <= 500; ++i) {
        pressRecordKey();
        ASSERT_TRUE(spinUntil([&] { return form.TheRecorder().IsActive(); }))
            << "take " << i << " started";
        runEventsFor(10);
        pressRecordKey();
        ASSERT_TRUE(spinUntil([&] { return saved == i; })) << "take " << i << " saved";
        if (i == 50) {
            fds = descriptors();
            kb = residentKb();
        }
        if (i % 50 == 0)
            std::printf("after %d takes: %ld kB resident, %ld descriptors\n", i, residentKb(),
                        descriptors());
    }
    EXPECT_GT(lastSeconds, 0) << "the last take decodes";
    EXPECT_LE(descriptors(), fds) << "descriptors left open";
    EXPECT_LT(residentKb() - kb, 1024) << "kB grown over 450 takes";
    form.FormClose();
}
