#include "DesktopTray.h"
#include "Alert.h"
#include "DesktopNotifications.h"
#include "FakeDesktop.h"
#include "FakeStatusNotifier.h"
#include "PrivateBus.h"
#include "RecorderWindow.h"
#include "SpinUntil.h"
#include "TempFolder.h"
#include "TrayPresence.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <xcb/xcb.h>

#include <string>

namespace {
// How often a signal came.
struct Count {
    template <typename Sender, typename Signal> Count(Sender* sender, Signal signal) {
        QObject::connect(sender, signal, [this] { ++n; });
    }
    int n = 0;
};

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");

// A desktop's tray on a bus of the test's own: a watcher that can come, go
// and lose its host.
class TrayBusTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_bus.address.isEmpty()) << "dbus-daemon did not start"; }
    void offerWatcher(bool host) {
        m_desktop = m_bus.Connect("desktop");
        if (!m_watcher)
            m_watcher = new FakeWatcher(&m_watcherObject);
        m_watcher->host = host;
        ASSERT_TRUE(
            m_desktop.registerObject(QStringLiteral("/StatusNotifierWatcher"), &m_watcherObject));
        ASSERT_TRUE(m_desktop.registerService(kWatcher));
    }
    void withdrawWatcher() {
        m_desktop.unregisterService(kWatcher);
        m_desktop.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
    }

    TempFolder m_folder;
    PrivateBus m_bus{m_folder.Path()};
    QDBusConnection m_desktop{QString()};
    QObject m_watcherObject;
    FakeWatcher* m_watcher = nullptr;
};
} // namespace

TEST(TrayPresence, QtsIconGoesToDBusFirstAndStaysWithTheKindItChose) {
    const TrayFacts none, xembed{true, false}, sni{false, true}, both{true, true};
    EXPECT_EQ(DecideTray(none, TrayKind::None), TrayKind::None);
    EXPECT_EQ(DecideTray(xembed, TrayKind::None), TrayKind::XEmbed);
    EXPECT_EQ(DecideTray(sni, TrayKind::None), TrayKind::StatusNotifier);
    EXPECT_EQ(DecideTray(both, TrayKind::None), TrayKind::StatusNotifier);
    // Once made, Qt's icon cannot move to the other kind of tray.
    EXPECT_EQ(DecideTray(sni, TrayKind::XEmbed), TrayKind::None);
    EXPECT_EQ(DecideTray(both, TrayKind::XEmbed), TrayKind::XEmbed);
    EXPECT_EQ(DecideTray(xembed, TrayKind::StatusNotifier), TrayKind::None);
    EXPECT_EQ(DecideTray(none, TrayKind::StatusNotifier), TrayKind::None);
}

TEST_F(TrayBusTest, AWatcherCountsOnlyWithARegisteredHost) {
    TrayPresence presence(m_bus.Connect("program"));
    Count changed(&presence, &TrayPresence::changed);
    EXPECT_FALSE(presence.Facts().statusNotifierHost) << "an empty bus";
    EXPECT_FALSE(presence.Facts().xembedManager) << "no X11 in unit tests";

    offerWatcher(false);
    spinUntil([&] { return false; }, 300);
    EXPECT_FALSE(presence.Facts().statusNotifierHost) << "a watcher without a host";
    m_watcher->SetHost(true);
    EXPECT_TRUE(spinUntil([&] { return presence.Facts().statusNotifierHost; }))
        << "the host was never seen";
    withdrawWatcher();
    EXPECT_TRUE(spinUntil([&] { return !presence.Facts().statusNotifierHost; }))
        << "the host's going was never seen";
    EXPECT_EQ(changed.n, 2);

    // Known at once when the watcher is there from the start.
    offerWatcher(true);
    EXPECT_TRUE(TrayPresence(m_bus.Connect("second")).Facts().statusNotifierHost);
}

TEST_F(TrayBusTest, TheWindowStandsInUntilATrayComesAndReturnsWhenItGoes) {
    FakeTray* icon = nullptr;
    FakeTray* window = nullptr;
    int iconsMade = 0;
    DesktopTray tray(
        std::make_unique<TrayPresence>(m_bus.Connect("program")),
        [&](TrayKind kind) {
            EXPECT_EQ(kind, TrayKind::StatusNotifier);
            ++iconsMade;
            auto made = std::make_unique<FakeTray>();
            icon = made.get();
            return made;
        },
        [&] {
            auto made = std::make_unique<FakeTray>();
            window = made.get();
            return made;
        });
    Count clicks(&tray, &TrayBackend::leftClicked);
    Count closes(&tray, &TrayBackend::closeRequested);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(icon, nullptr) << "no tray, no tray icon made";
    QMenu menu;
    tray.SetIcon(QIcon(QPixmap(16, 16)));
    tray.SetToolTip("hint");
    tray.SetMenu(&menu);
    tray.SetVisible(true);
    EXPECT_TRUE(tray.InWindow());
    EXPECT_TRUE(window->visible);
    window->Click();
    emit window->closeRequested();
    EXPECT_EQ(clicks.n, 1);
    EXPECT_EQ(closes.n, 1);

    offerWatcher(true);
    ASSERT_TRUE(spinUntil([&] { return !tray.InWindow(); }))
        << "the icon never left the window for the watcher";
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(window->visible) << "the window gives way";
    EXPECT_TRUE(icon->visible);
    EXPECT_EQ(icon->toolTip, "hint");
    EXPECT_EQ(icon->menu, &menu);
    EXPECT_EQ(icon->iconChanges, 1);
    icon->Click();
    EXPECT_EQ(clicks.n, 2);

    tray.SetToolTip("recording");
    withdrawWatcher();
    ASSERT_TRUE(spinUntil([&] { return tray.InWindow(); })) << "the window never came back";
    EXPECT_TRUE(window->visible) << "and comes back";
    EXPECT_FALSE(icon->visible);
    EXPECT_EQ(window->toolTip, "recording");
    offerWatcher(true);
    ASSERT_TRUE(spinUntil([&] { return !tray.InWindow(); }))
        << "the icon never went back to the watcher";
    EXPECT_EQ(iconsMade, 1) << "the same icon comes back";
    tray.SetVisible(false);
    EXPECT_FALSE(icon->visible);
    EXPECT_FALSE(window->visible);
}

TEST_F(TrayBusTest, TheRecorderWindowTakesTheIconsClicksAndItsNotificationsSayWhereItIs) {
    QObject notificationsObject;
    auto* server = new FakeNotifications(&notificationsObject);
    QString shown;
    uint shownId = 0, closedId = 0;
    server->notified = [&](uint id, const QString& summary, const QString& body) {
        shown = summary + '|' + body;
        shownId = id;
    };
    server->closed = [&](uint id) { closedId = id; };
    QDBusConnection desktop = m_bus.Connect("desktop");
    ASSERT_TRUE(desktop.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                       &notificationsObject));
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.freedesktop.Notifications")));

    RecorderWindow window(m_bus.Connect("program"));
    QMenu menu;
    window.SetMenu(&menu);
    window.SetVisible(true);
    QWidget* face = window.Window();
    EXPECT_TRUE(face->isVisible());
    EXPECT_EQ(face->windowTitle(), "Tapewren");
    auto* button = face->findChild<QWidget*>("BtnMenu");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    window.SetMenu(nullptr);
    EXPECT_FALSE(button->isEnabled()) << "no menu while busy";

    Count clicks(&window, &TrayBackend::leftClicked);
    Count doubles(&window, &TrayBackend::doubleClicked);
    Count closes(&window, &TrayBackend::closeRequested);
    const QPointF centre(face->width() / 2.0, face->height() / 3.0);
    // Where a real click lands: the face's button, which fills the window.
    QWidget* target = face->childAt(centre.toPoint());
    ASSERT_NE(target, nullptr);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, centre, face->mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
    EXPECT_EQ(clicks.n, 1) << "the second press is the double click's";
    EXPECT_EQ(doubles.n, 1);
    // The keyboard and a screen reader: a button that says what a click does.
    window.SetToolTip("Tapewren(TM)\r\nClick once to start recording.");
    EXPECT_EQ(target->focusPolicy(), Qt::StrongFocus);
    EXPECT_EQ(target->accessibleName(), "Record");
    EXPECT_EQ(target->accessibleDescription(), "Tapewren(TM)\nClick once to start recording.");
    for (int key : {Qt::Key_Space, Qt::Key_Return}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, " ");
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, " ");
        QCoreApplication::sendEvent(target, &press);
        QCoreApplication::sendEvent(target, &release);
    }
    EXPECT_EQ(clicks.n, 3) << "Space and Enter click";
    window.SetRecording(true);
    EXPECT_EQ(target->accessibleName(), "Stop");
    EXPECT_FALSE(face->close()) << "the program decides whether to end";
    EXPECT_EQ(closes.n, 1);

    // GNOME's banner shows the summary and little more: the point goes there,
    // and the balloon stays in the server's list when its seconds are over.
    window.ShowBalloon("Tapewren", "Single click to record/stop\r\nRight click", 10,
                       TrayBackend::BalloonIcon::Information, "Tapewren: no hotkeys");
    EXPECT_TRUE(spinUntil([&] { return !shown.isEmpty(); })) << "no notification";
    EXPECT_EQ(shown, "Tapewren: no hotkeys|Single click to record/stop\nRight click\n" +
                         RecorderWindow::WhereText());
    EXPECT_EQ(server->expireTimeout, 10000) << "milliseconds on the bus";
    window.HideBalloon();
    runEventsFor(100);
    EXPECT_EQ(closedId, 0u) << "withdrawn from the server's list";
    const uint first = shownId;
    shown.clear();
    window.ShowBalloon("Tapewren", "Saved", 5, TrayBackend::BalloonIcon::Information, {});
    EXPECT_TRUE(spinUntil([&] { return !shown.isEmpty(); })) << "no second notification";
    EXPECT_EQ(shown, "Tapewren|Saved\n" + RecorderWindow::WhereText())
        << "the title, without a summary";
    EXPECT_EQ(shownId, first) << "a second balloon beside the first";
    window.SetVisible(false);
    EXPECT_FALSE(face->isVisible());
}

TEST_F(TrayBusTest, ABalloonReplacedWhileTheServerIsStillAnsweringIsClosedWhenItsIdComes) {
    QObject notificationsObject;
    auto* server = new FakeNotifications(&notificationsObject);
    server->holdAnswers = true;
    std::vector<uint> shown, closed;
    server->notified = [&](uint id, const QString&, const QString&) { shown.push_back(id); };
    server->closed = [&](uint id) { closed.push_back(id); };
    QDBusConnection desktop = m_bus.Connect("desktop");
    ASSERT_TRUE(desktop.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                       &notificationsObject));
    ASSERT_TRUE(desktop.registerService(QStringLiteral("org.freedesktop.Notifications")));

    DesktopNotifications notifications(m_bus.Connect("program"));
    notifications.Show("Tapewren", "Single click to record/stop", 10,
                       TrayBackend::BalloonIcon::Information);
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 1; })) << "no first notification";
    // Sent before the server has said which id it gave the first: a new one.
    notifications.Show("Tapewren", "Recording", 10, TrayBackend::BalloonIcon::Information);
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 2; })) << "no second notification";
    server->Answer(desktop);
    EXPECT_TRUE(spinUntil([&] { return closed.size() == 1; })) << "the first would stay beside";
    EXPECT_EQ(closed, std::vector<uint>{shown[0]});

    // Another program's notification closing leaves ours to be replaced.
    server->holdAnswers = false;
    emit server->NotificationClosed(99, 2);
    runEventsFor(100);
    notifications.Show("Tapewren", "Saved", 10, TrayBackend::BalloonIcon::Information);
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 3; })) << "no third notification";
    EXPECT_EQ(shown[2], shown[1]) << "replaced";

    // One the user closed is not replaced: its number may be reused.
    runEventsFor(100);
    emit server->NotificationClosed(shown.back(), 2);
    runEventsFor(100);
    notifications.Show("Tapewren", "Saved", 10, TrayBackend::BalloonIcon::Information);
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 4; })) << "no fourth notification";
    EXPECT_NE(shown[3], shown[2]);
    EXPECT_EQ(closed.size(), 1u);

    // Two more before the server has answered the first of them: the last
    // stays up, whichever number the server gave the one before.
    runEventsFor(100);
    server->holdAnswers = true;
    notifications.Show("Tapewren", "One", 10, TrayBackend::BalloonIcon::Information);
    notifications.Show("Tapewren", "Two", 10, TrayBackend::BalloonIcon::Information);
    ASSERT_TRUE(spinUntil([&] { return shown.size() == 6; })) << "the last two never came";
    server->Answer(desktop);
    runEventsFor(200);
    EXPECT_EQ(std::count(closed.begin(), closed.end(), shown[5]), 0) << "the last was closed";
}

// Without a notification server the balloon is drawn in the window, for as
// many seconds as it was given.
TEST_F(TrayBusTest, TheRecorderWindowsOwnBalloonGoesAfterItsSeconds) {
    RecorderWindow window(m_bus.Connect("program"));
    window.SetVisible(true);
    QWidget* face = window.Window();
    // Its focus frame comes with the window's activation.
    spinUntil([&] { return face->findChild<QWidget*>("Face")->hasFocus(); }, 1000);
    const QImage plain = face->grab().toImage();
    window.ShowBalloon("Tapewren", "Single click to record/stop", 1,
                       TrayBackend::BalloonIcon::Information, {});
    runEventsFor(500);
    EXPECT_NE(face->grab().toImage(), plain) << "gone before its second";
    EXPECT_TRUE(spinUntil([&] { return face->grab().toImage() == plain; }, 1500))
        << "still there after its second";
}

// An XEmbed tray on a display of the test's own (ctest xembed_tray_test runs
// it under xvfb-run): two trays in turn take the selection, and each coming
// and going is noticed.
TEST(XEmbedTray, EachTrayThatTakesTheSelectionIsNoticedComingAndGoing) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display of its own";
    int screenNumber = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
    ASSERT_EQ(xcb_connection_has_error(x), 0);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    const auto atom = [x](const std::string& name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            x, xcb_intern_atom(x, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
        const xcb_atom_t result = reply->atom;
        std::free(reply);
        return result;
    };
    const xcb_atom_t selection = atom("_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber));
    const xcb_atom_t manager = atom("MANAGER");

    TrayPresence presence{QDBusConnection(QString())};
    Count changes(&presence, &TrayPresence::changed);
    ASSERT_FALSE(presence.Facts().xembedManager) << "the display has a tray already";
    for (int tray = 1; tray <= 2; ++tray) {
        const xcb_window_t window = xcb_generate_id(x);
        xcb_create_window(x, XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_set_selection_owner(x, window, selection, XCB_CURRENT_TIME);
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = root;
        message.type = manager;
        message.data.data32[0] = XCB_CURRENT_TIME;
        message.data.data32[1] = selection;
        message.data.data32[2] = window;
        xcb_send_event(x, 0, root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(x);
        EXPECT_TRUE(spinUntil([&] { return presence.Facts().xembedManager; }))
            << "tray " << tray << " came unnoticed";
        xcb_destroy_window(x, window);
        xcb_flush(x);
        EXPECT_TRUE(spinUntil([&] { return !presence.Facts().xembedManager; }))
            << "tray " << tray << " went unnoticed";
    }
    EXPECT_EQ(changes.n, 4);
    xcb_disconnect(x);
}

// Where no notification server answers, Qt draws its own balloon: a screen
// reader hears it as an alert, and its close button, a cross, is named.
TEST(XEmbedTray, QtsOwnBalloonIsAnAlertWithANamedCloseButton) {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb") << "needs an X display of its own";
    int screenNumber = 0;
    xcb_connection_t* x = xcb_connect(nullptr, &screenNumber);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
    const xcb_window_t tray = xcb_generate_id(x);
    xcb_create_window(x, XCB_COPY_FROM_PARENT, tray, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_set_selection_owner(x, tray, reply->atom, XCB_CURRENT_TIME);
    std::free(reply);
    xcb_flush(x);

    const auto icon = CreateTrayIcon(false);
    QPixmap image(16, 16);
    image.fill(Qt::red);
    icon->SetIcon(QIcon(image));
    icon->SetVisible(true);
    icon->ShowBalloon("Tapewren", "Single click to record/stop", 10,
                      TrayBackend::BalloonIcon::Information, {});
    QWidget* balloon = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->inherits("QBalloonTip") && window->isVisible())
            balloon = window;
    ASSERT_NE(balloon, nullptr) << "Qt drew no balloon";
    EXPECT_TRUE(balloon->property(kAccessibleAlert).toBool());
    EXPECT_EQ(balloon->accessibleName(), "Tapewren");
    EXPECT_EQ(balloon->accessibleDescription(), "Single click to record/stop");
    EXPECT_EQ(balloon->findChild<QPushButton*>()->accessibleName(), "Close");
    icon->HideBalloon();
    xcb_destroy_window(x, tray);
    xcb_disconnect(x);
}
