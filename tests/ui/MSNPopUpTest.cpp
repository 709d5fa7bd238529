#include "MSNPopUp.h"
#include "Common.h"
#include "DesktopNotifications.h"
#include "FakeStatusNotifier.h"
#include "Popups.h"
#include "PrivateBus.h"
#include "ProgramPopup.h"
#include "Shell.h"
#include "SpinUntil.h"
#include "TFormMain.h"
#include "TempFolder.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <gtest/gtest.h>

#include <set>

namespace {
// A 1024 x 768 screen whose taskbar takes 30 pixels on one side.
std::pair<QRect, QRect> desktopWithTaskbar(TaskbarEdgeValue edge) {
    const QRect screen(0, 0, 1024, 768);
    switch (edge) {
    case edgeLeft:
        return {screen, QRect(30, 0, 994, 768)};
    case edgeTop:
        return {screen, QRect(0, 30, 1024, 738)};
    case edgeRight:
        return {screen, QRect(0, 0, 994, 768)};
    default:
        return {screen, QRect(0, 0, 1024, 738)};
    }
}

std::vector<TfrmMSNPopUp*> popups() {
    return VisiblePopups();
}

void slideIn(TfrmMSNPopUp* popup) {
    while (popup->tmrScroll->isActive())
        popup->ScrollStep();
}

void closeAll() {
    for (TfrmMSNPopUp* p : popups())
        delete p;
}

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_owner = std::make_unique<QWidget>();
        m_popup = new TMSNPopUp(m_owner.get());
        m_popup->Title = "Tapewren";
        m_popup->TimeOut = 5;
        m_popup->Options = msnAutoOpenURL | msnCascadePopups | msnAllowScroll;
        m_popup->ScreenAreas = [this] { return desktopWithTaskbar(m_edge); };
    }
    void TearDown() override {
        closeAll();
        SetShellOpener(nullptr);
    }
    TfrmMSNPopUp* present() {
        const auto before = popups();
        EXPECT_TRUE(m_popup->PresentPopup());
        for (TfrmMSNPopUp* p : popups())
            if (std::find(before.begin(), before.end(), p) == before.end())
                return p;
        return nullptr;
    }

    TaskbarEdgeValue m_edge = edgeBottom;
    std::unique_ptr<QWidget> m_owner;
    TMSNPopUp* m_popup = nullptr;
};
} // namespace

TEST_F(PopupTest, BottomTaskbarPlacesAndStacksPopups) {
    TfrmMSNPopUp* first = present();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->geometry(), QRect(860, 736, 148, 1)) << "collapsed onto the taskbar";
    std::vector<int> heights;
    while (first->tmrScroll->isActive()) {
        first->ScrollStep();
        heights.push_back(first->height());
    }
    ASSERT_EQ(heights.size(), 14u);
    EXPECT_EQ(heights[0], 10);
    EXPECT_EQ(heights[1], 19);
    EXPECT_EQ(heights[12], 118);
    EXPECT_EQ(heights[13], 121);
    EXPECT_EQ(first->geometry(), QRect(860, 615, 148, 121));
    EXPECT_TRUE(first->tmrExit->isActive());
    EXPECT_EQ(first->tmrExit->interval(), 5000);

    TfrmMSNPopUp* second = present();
    slideIn(second);
    EXPECT_EQ(second->geometry(), QRect(860, 492, 148, 121));
    TfrmMSNPopUp* third = present();
    slideIn(third);
    EXPECT_EQ(third->geometry(), QRect(860, 369, 148, 121));
}

TEST_F(PopupTest, SixFitAndTheSeventhIsRefused) {
    for (int i = 0; i < 6; ++i)
        slideIn(present());
    EXPECT_EQ(popups().size(), 6u);
    EXPECT_EQ(m_popup->cascadeOffset, 738);
    EXPECT_FALSE(m_popup->PresentPopup());
    EXPECT_EQ(popups().size(), 6u);
    EXPECT_EQ(m_popup->openPopupCount, 6);
}

TEST_F(PopupTest, ClosingPopupsFreesNoPlaceUntilAllAreGone) {
    TfrmMSNPopUp* a = present();
    present();
    a->ExitTimerFired();
    while (a->tmrScrollDown->isActive() || a->isVisible())
        a->ScrollDownStep();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_popup->openPopupCount, 1);
    TfrmMSNPopUp* c = present();
    slideIn(c);
    EXPECT_EQ(c->y(), 369) << "a new popup goes to the next place, not the freed one";
    closeAll();
    EXPECT_EQ(m_popup->openPopupCount, 0);
    TfrmMSNPopUp* d = present();
    slideIn(d);
    EXPECT_EQ(d->y(), 615);
}

TEST_F(PopupTest, OtherEdgesAndAMovedTaskbarResetTheStack) {
    slideIn(present());
    slideIn(present());
    m_edge = edgeTop;
    TfrmMSNPopUp* top = present();
    EXPECT_EQ(top->geometry(), QRect(860, 32, 148, 1));
    slideIn(top);
    EXPECT_EQ(top->geometry(), QRect(860, 32, 148, 121));
    EXPECT_EQ(m_popup->openPopupCount, 1);
    m_edge = edgeLeft;
    TfrmMSNPopUp* left = present();
    slideIn(left);
    EXPECT_EQ(left->geometry(), QRect(46, 645, 148, 121));
    m_edge = edgeRight;
    TfrmMSNPopUp* right = present();
    EXPECT_EQ(right->geometry(), QRect(978, 645, 1, 121));
    slideIn(right);
    EXPECT_EQ(right->geometry(), QRect(830, 645, 148, 121));
    EXPECT_EQ(right->tmrExit->interval(), 5000) << "TimeOut counts seconds";
}

TEST_F(PopupTest, WithoutSlidingItAppearsWhole) {
    m_popup->Options &= ~msnAllowScroll;
    TfrmMSNPopUp* p = present();
    EXPECT_EQ(p->geometry(), QRect(860, 615, 148, 121));
    EXPECT_FALSE(p->tmrScroll->isActive());
    EXPECT_TRUE(p->tmrExit->isActive());
    EXPECT_EQ(p->tmrExit->interval(), 5000) << "TimeOut counts seconds";
}

TEST_F(PopupTest, LinkedTextOpensTheLinkAndOtherClicksOnlyClose) {
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& target) { opened.push_back(target); });
    m_popup->URL = "/music/take.mp3";
    m_popup->Options |= msnAllowHyperlink;
    TfrmMSNPopUp* p = present();
    QMouseEvent right(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::RightButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(p->lblText, &right);
    EXPECT_TRUE(opened.empty()) << "a right click only closes";
    EXPECT_FALSE(p->isVisible());

    p = present();
    QMouseEvent left(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(p->lblText, &left);
    EXPECT_EQ(opened, std::vector<std::string>{"/music/take.mp3"});
    EXPECT_FALSE(p->isVisible());

    p = present();
    QApplication::sendEvent(p->lblTitle, &left);
    EXPECT_EQ(opened.size(), 1u) << "the title is no link";
}

TEST_F(PopupTest, PopupsNeverTakeTheFocus) {
    TfrmMSNPopUp* p = present();
    EXPECT_TRUE(p->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(p->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(p->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(p->focusPolicy(), Qt::NoFocus);
}

TEST(PopupGeometry, TaskbarEdgeFromTheWorkArea) {
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(TaskbarEdgeOf(screen, QRect(0, 0, 1024, 742)), edgeBottom);
    EXPECT_EQ(TaskbarEdgeOf(screen, QRect(0, 26, 1024, 742)), edgeTop);
    EXPECT_EQ(TaskbarEdgeOf(screen, QRect(40, 0, 984, 768)), edgeLeft);
    EXPECT_EQ(TaskbarEdgeOf(screen, QRect(0, 0, 984, 768)), edgeRight);
    EXPECT_EQ(TaskbarEdgeOf(screen, screen), edgeBottom) << "no panel: as if at the bottom";
}

TEST(PopupGeometry, GradientRows) {
    const QColor top(157, 157, 255), bottom(255, 255, 255);
    EXPECT_EQ(GradientRowColor(top, bottom, 0, 117), top);
    EXPECT_EQ(GradientRowColor(top, bottom, 117, 117), bottom);
    // 157 + 98 x 116 / 117 = 254.16
    EXPECT_EQ(GradientRowColor(top, bottom, 116, 117), QColor(254, 254, 255));
    // Halves go away from zero: 0 + 255 x 1 / 2 = 127.5
    EXPECT_EQ(GradientRowColor(QColor(0, 0, 0), QColor(255, 255, 255), 1, 2),
              QColor(128, 128, 128));
}

TEST(ShowNotification, ALinkOnlyForTheMessageThatHasOne) {
    TempFolder folder;
    TFormMain form(folder.Path());
    form.MSNPopUp->ScreenAreas = [] { return desktopWithTaskbar(edgeBottom); };
    form.ShowNotification("File's been saved.\rClick to play now.", "/music/a.mp3");
    EXPECT_TRUE(form.MSNPopUp->Options & msnAllowHyperlink);
    EXPECT_EQ(form.MSNPopUp->TextCursor.shape(), Qt::PointingHandCursor);
    form.ShowNotification("Configuration is disabled while recording is in progress.", "");
    EXPECT_FALSE(form.MSNPopUp->Options & msnAllowHyperlink);
    EXPECT_EQ(form.MSNPopUp->TextCursor.shape(), Qt::ArrowCursor);
    const auto shown = popups();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(form.MSNPopUp->openPopupCount, 2);
    // A screen reader speaks each as it shows: an alert, titled, with its text.
    std::set<QString> told;
    for (TfrmMSNPopUp* popup : shown) {
        const QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(popup);
        EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
        EXPECT_EQ(alert->text(QAccessible::Name), "Tapewren");
        told.insert(alert->text(QAccessible::Description));
    }
    EXPECT_EQ(told,
              (std::set<QString>{"File's been saved.\nClick to play now.",
                                 "Configuration is disabled while recording is in progress."}));
    closeAll();
}

// On Wayland, where the popup cannot be placed, the notification server shows
// it: the saved take is played from its action, and only from ours.
TEST(ShowNotification, OnTheServerTheSavedTakePlaysFromOurActionAlone) {
    TempFolder folder;
    PrivateBus bus(folder.Path());
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
    QObject serverObject;
    auto* server = new FakeNotifications(&serverObject);
    uint shownId = 0;
    QString shown;
    server->notified = [&](uint id, const QString& summary, const QString& body) {
        shownId = id;
        shown = summary + "|" + body;
    };
    QDBusConnection desktop = bus.Connect("desktop");
    ASSERT_TRUE(desktop.registerObject("/org/freedesktop/Notifications", &serverObject));
    ASSERT_TRUE(desktop.registerService("org.freedesktop.Notifications"));
    std::vector<std::string> opened;
    SetShellOpener([&](const std::string& target) { opened.push_back(target); });
    DesktopNotifications notifications(bus.Connect("program"));

    NotifyProgramPopup(notifications, "File's been saved.\rClick to play now.", "/music/a.mp3", 5);
    ASSERT_TRUE(spinUntil([&] { return shownId != 0; })) << "no notification";
    EXPECT_EQ(shown, "File's been saved.|Click to play now.");
    EXPECT_EQ(server->actions, QStringList({"default", "Play", "play", "Play"}));
    runEventsFor(100); // its id comes back

    emit server->ActionInvoked(shownId + 1, "play");
    QDBusMessage odd = QDBusMessage::createSignal("/org/freedesktop/Notifications",
                                                  "org.freedesktop.Notifications", "ActionInvoked");
    odd << shownId << 1u;
    desktop.send(odd);
    runEventsFor(200);
    EXPECT_TRUE(opened.empty()) << "another notification's action, or a malformed one";
    emit server->ActionInvoked(shownId, "play");
    EXPECT_TRUE(spinUntil([&] { return !opened.empty(); })) << "the Play action opened nothing";
    EXPECT_EQ(opened, std::vector<std::string>{"/music/a.mp3"});

    NotifyProgramPopup(notifications, "Configuration is disabled while recording is in progress.",
                       "", 5);
    ASSERT_TRUE(spinUntil([&] { return shown.startsWith("Configuration"); }));
    EXPECT_TRUE(server->actions.isEmpty()) << "nothing to play";
    runEventsFor(100);
    emit server->ActionInvoked(shownId, "default");
    runEventsFor(200);
    EXPECT_EQ(opened.size(), 1u) << "the earlier take played again";
    SetShellOpener(nullptr);
}
