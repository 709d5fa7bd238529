// Popups on the test desktop's real X display, above IceWM's taskbar.
#include "AudioCheck.h"
#include "MSNPopUp.h"
#include "Popups.h"
#include "TFormMain.h"
#include "TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QScreen>
#include <gtest/gtest.h>

namespace {
void pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

std::vector<TfrmMSNPopUp*> popups() {
    return VisiblePopups();
}

void screenshot(const char* name) {
    if (const char* folder = std::getenv("TAPEWREN_SHOTS"))
        RunCommand(std::string("import -window root '") + folder + "/" + name + ".png'");
}
} // namespace

TEST(PopupOnTheDesktop, SlidesInAboveTheTaskbarStaysAndSlidesOut) {
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs the test desktop's X display";
    TempFolder folder;
    TFormMain form(folder.Path());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_LT(area.height(), QGuiApplication::primaryScreen()->geometry().height())
        << "IceWM's taskbar takes its strip off the work area";

    form.ShowNotification("Recording stopped: the recording device is no longer available.", "");
    ASSERT_EQ(popups().size(), 1u);
    QPointer<TfrmMSNPopUp> popup = popups().front();
    EXPECT_LT(popup->height(), 121) << "it starts collapsed onto the taskbar";
    pump(60);
    screenshot("popup-sliding-in");
    // Time out from the moment it is fully out; a loaded machine may take long.
    QElapsedTimer out;
    QElapsedTimer guard;
    guard.start();
    while (popup && !out.isValid() && guard.elapsed() < 5000) {
        if (popup->height() == 121)
            out.start();
        else
            pump(5);
    }
    ASSERT_TRUE(popup);
    ASSERT_TRUE(out.isValid()) << "it slid in";
    EXPECT_EQ(popup->geometry(), QRect(area.x() + area.width() - 148 - 16,
                                       area.y() + area.height() - 2 - 121, 148, 121));
    EXPECT_FALSE(popup->isActiveWindow()) << "a popup never takes the focus";
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    screenshot("popup-out");

    form.ShowNotification("File's been saved.\rClick to play now.", "/tmp/take.mp3");
    pump(500);
    ASSERT_EQ(popups().size(), 2u);
    TfrmMSNPopUp* second = popups()[0] == popup.data() ? popups()[1] : popups()[0];
    EXPECT_EQ(second->y(), popup->y() - 123) << "the second stacks above the first";
    screenshot("popup-two");

    // Out for its five seconds; the margins leave room for a loaded machine.
    while (out.elapsed() < 4500)
        pump(20);
    ASSERT_TRUE(popup);
    EXPECT_EQ(popup->height(), 121) << "stays out for its time-out";
    while (out.elapsed() < 5200)
        pump(20);
    screenshot("popup-sliding-out");
    while (popup && out.elapsed() < 9000)
        pump(20);
    EXPECT_TRUE(popup.isNull()) << "the first has slid out and gone";
    while (!popups().empty() && out.elapsed() < 12000)
        pump(20);
    EXPECT_TRUE(popups().empty()) << "the second popup never slid out";
    EXPECT_EQ(form.MSNPopUp->openPopupCount, 0);
}
