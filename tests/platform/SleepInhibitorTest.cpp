#include "SleepInhibitor.h"
#include "CapturedLog.h"
#include "FakePortal.h"
#include "PrivateBus.h"
#include "SpinUntil.h"
#include "TempFolder.h"

#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <thread>

#include <poll.h>
#include <signal.h>
#include <unistd.h>

namespace {

// logind's Manager as far as Inhibit goes: each inhibition is a pipe whose
// writing end the caller gets; it is held until every copy of that is closed.
class FakeLogind : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    bool refuse = false; // as polkit may
    ~FakeLogind() override {
        for (int fd : m_readEnds)
            ::close(fd);
    }
    std::vector<std::string> calls;
    int Held() const {
        int held = 0;
        for (int fd : m_readEnds) {
            pollfd p{fd, POLLIN, 0};
            held += ::poll(&p, 1, 0) == 0 || !(p.revents & POLLHUP);
        }
        return held;
    }

public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why,
                                    const QString& mode) {
        calls.push_back((QStringList{what, who, why, mode}.join('|')).toStdString());
        if (refuse) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Permission denied"));
            return {};
        }
        int ends[2];
        if (::pipe(ends) != 0)
            return {};
        m_readEnds.push_back(ends[0]);
        QDBusUnixFileDescriptor given(ends[1]); // holds a copy of its own
        ::close(ends[1]);
        return given;
    }

private:
    std::vector<int> m_readEnds;
};

class SleepInhibitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(m_session.address.isEmpty()) << "dbus-daemon did not start";
        ASSERT_FALSE(m_system.address.isEmpty()) << "dbus-daemon did not start";
    }
    // The desktop portal, with Inhibit or without.
    FakeInhibit* offerPortal(bool withInhibit) {
        QDBusConnection bus = m_session.Connect("portal");
        auto* inhibit = new FakeInhibit(&m_portal, bus);
        EXPECT_TRUE(bus.registerService(kPortal));
        EXPECT_TRUE(bus.registerObject(kPortalPath, &m_portal,
                                       withInhibit ? QDBusConnection::ExportAdaptors
                                                   : QDBusConnection::ExportAllSlots));
        return inhibit;
    }
    void offerLogind() {
        QDBusConnection bus = m_system.Connect("logind");
        EXPECT_TRUE(bus.registerService("org.freedesktop.login1"));
        EXPECT_TRUE(bus.registerObject("/org/freedesktop/login1", &m_logind,
                                       QDBusConnection::ExportAllSlots));
    }
    std::unique_ptr<SleepInhibitor> inhibitor() {
        return std::make_unique<SleepInhibitor>(m_session.Connect("program"), m_system.address);
    }
    // Long enough for any answer on a private bus to have come.
    static void settle() {
        spinUntil([] { return false; }, 300);
    }

    TempFolder m_sessionFolder;
    TempFolder m_systemFolder;
    PrivateBus m_session{m_sessionFolder.Path()};
    PrivateBus m_system{m_systemFolder.Path()};
    FakePortal m_portal{m_session.Connect("portal")};
    FakeLogind m_logind;
};

TEST_F(SleepInhibitorTest, ThePortalHoldsSuspendAndIdleUntilTheTakeEnds) {
    FakeInhibit* portal = offerPortal(true);
    offerLogind();
    std::unique_ptr<SleepInhibitor> sleep = inhibitor();
    settle();
    EXPECT_TRUE(portal->events.empty()) << "nothing held while idle";
    sleep->TakeStarted({});
    ASSERT_TRUE(spinUntil([&] { return portal->held == 1; })) << "the portal never held";
    EXPECT_EQ(portal->events, std::vector<std::string>{"inhibit 12 Recording sound"});
    settle(); // the answer is in: the take holds it
    sleep->TakeEnded();
    ASSERT_TRUE(spinUntil([&] { return portal->held == 0; })) << "the portal never let go";
    sleep->TakeStarted({});
    ASSERT_TRUE(spinUntil([&] { return portal->held == 1; })) << "the portal never held again";
    sleep->TakeEnded();
    sleep->TakeEnded();
    settle();
    EXPECT_EQ(portal->events, (std::vector<std::string>{"inhibit 12 Recording sound", "close",
                                                        "inhibit 12 Recording sound", "close"}));
    EXPECT_TRUE(m_logind.calls.empty());
}

TEST_F(SleepInhibitorTest, ATakeEndedBeforeThePortalAnswersIsLetGoWhenItDoes) {
    FakeInhibit* portal = offerPortal(true);
    std::unique_ptr<SleepInhibitor> sleep = inhibitor();
    sleep->TakeStarted({});
    sleep->TakeEnded();
    sleep->TakeStarted({});
    settle();
    EXPECT_EQ(portal->held, 1) << "the second take's, not both";
    sleep.reset();
    EXPECT_EQ(portal->held, 0) << "the exit lets go before the program ends";
    EXPECT_EQ(portal->events.size(), 4u);
    // An exit right after the take's start, before the portal has replied.
    sleep = inhibitor();
    sleep->TakeStarted({});
    sleep.reset();
    EXPECT_EQ(portal->events.size(), 6u);
    EXPECT_EQ(portal->held, 0);
}

TEST_F(SleepInhibitorTest, WithoutThePortalsInhibitLogindBlocksSleep) {
    FakeInhibit* portal = offerPortal(false);
    offerLogind();
    std::unique_ptr<SleepInhibitor> sleep = inhibitor();
    CapturedLog log("tapewren.platform.debug=true");
    sleep->TakeStarted({});
    ASSERT_TRUE(spinUntil([&] { return m_logind.Held() == 1; })) << "logind never held";
    settle();
    // A portal without Inhibit refused nothing: logind is the way here.
    EXPECT_TRUE(log.Texts(QtWarningMsg, "tapewren.platform").empty());
    const std::vector<QString> debug = log.Texts(QtDebugMsg, "tapewren.platform");
    ASSERT_EQ(debug.size(), 2u);
    EXPECT_TRUE(debug[0].startsWith("sleep inhibitor: no portal inhibits ("))
        << debug[0].toStdString();
    EXPECT_EQ(debug[1], "sleep inhibitor: logind inhibits");
    EXPECT_EQ(m_logind.calls,
              std::vector<std::string>{"sleep:idle|Tapewren|Recording sound|block"});
    EXPECT_TRUE(portal->events.empty());
    sleep->TakeEnded();
    EXPECT_TRUE(spinUntil([&] { return m_logind.Held() == 0; })) << "logind never let go";

    sleep->TakeStarted({});
    ASSERT_TRUE(spinUntil([&] { return m_logind.calls.size() == 2; }))
        << "logind was never asked again";
    sleep->TakeEnded(); // whether its answer has come or not
    settle();
    EXPECT_EQ(m_logind.Held(), 0);
}

TEST_F(SleepInhibitorTest, APortalThatCannotInhibitLeavesItToLogind) {
    offerLogind();
    FakeInhibit* portal = offerPortal(true);
    // It holds; the user said no; it says it failed; it never answers.
    for (int response : {0, 1, 2, -1}) {
        portal->response = response;
        std::unique_ptr<SleepInhibitor> sleep = inhibitor();
        CapturedLog log;
        sleep->TakeStarted({});
        // A refusal is heard at once; silence takes the portal's 2 s.
        EXPECT_EQ(spinUntil([&] { return m_logind.Held() == 1; }, response > 0 ? 1000 : 3000),
                  response != 0)
            << response;
        const std::vector<QString> warnings = log.Texts(QtWarningMsg, "tapewren.platform");
        if (response == 0)
            EXPECT_TRUE(warnings.empty());
        else
            EXPECT_EQ(warnings,
                      std::vector<QString>{
                          response > 0 ? QStringLiteral("sleep inhibitor: the portal did not "
                                                        "inhibit (response %1); asking logind "
                                                        "instead")
                                             .arg(response)
                                       : "sleep inhibitor: the portal did not answer "
                                         "within 2000 ms; asking logind instead"});
        EXPECT_EQ(portal->held, 1) << "kept too, should it hold after all";
        sleep->TakeEnded();
        EXPECT_TRUE(spinUntil([&] { return m_logind.Held() == 0 && portal->held == 0; }))
            << "logind and the portal never both let go";
    }
    EXPECT_EQ(m_logind.calls.size(), 3u);
}

TEST_F(SleepInhibitorTest, APortalThatRefusesTheCallIsWarnedOfAndLogindAsked) {
    offerLogind();
    FakeInhibit* portal = offerPortal(true);
    portal->refuseCall = true;
    std::unique_ptr<SleepInhibitor> sleep = inhibitor();
    CapturedLog log;
    sleep->TakeStarted({});
    ASSERT_TRUE(spinUntil([&] { return m_logind.Held() == 1; })) << "logind never held";
    EXPECT_EQ(log.Texts(QtWarningMsg, "tapewren.platform"),
              std::vector<QString>{"sleep inhibitor: the portal refused to inhibit (Inhibiting is "
                                   "not allowed); asking logind instead"});
    sleep->TakeEnded();
    EXPECT_TRUE(spinUntil([&] { return m_logind.Held() == 0; })) << "logind never let go";
}

TEST_F(SleepInhibitorTest, ALogindThatRefusesIsWarnedOfAndTheTakeGoesOn) {
    offerPortal(false);
    offerLogind();
    m_logind.refuse = true;
    std::unique_ptr<SleepInhibitor> sleep = inhibitor();
    CapturedLog log;
    sleep->TakeStarted({});
    ASSERT_TRUE(spinUntil([&] { return !log.Texts(QtWarningMsg, "tapewren.platform").empty(); }))
        << "no warning was logged";
    EXPECT_EQ(log.Texts(QtWarningMsg, "tapewren.platform"),
              std::vector<QString>{"sleep inhibitor: logind did not inhibit (Permission denied): "
                                   "the computer may sleep during the take"});
    sleep->TakeEnded();
}

// No logind, or no system bus (a container): nothing was refused, and
// nothing is worth a warning on every take.
TEST_F(SleepInhibitorTest, WithoutLogindNothingInhibitsAndOnlyTheDebugLogSaysSo) {
    offerPortal(false);
    for (const QString& address : {m_system.address, QStringLiteral("unix:path=/nonexistent")}) {
        CapturedLog log("tapewren.platform.debug=true");
        auto sleep = std::make_unique<SleepInhibitor>(m_session.Connect("program"), address);
        sleep->TakeStarted({});
        ASSERT_TRUE(spinUntil([&] {
            return log.Texts(QtDebugMsg, "tapewren.platform").size() >= 2;
        })) << "the two debug lines never came";
        const QString last = log.Texts(QtDebugMsg, "tapewren.platform").back();
        EXPECT_TRUE(
            last.startsWith(address == m_system.address
                                ? "sleep inhibitor: no logind ("
                                : "sleep inhibitor: no system bus at unix:path=/nonexistent"))
            << last.toStdString();
        EXPECT_TRUE(last.endsWith("; nothing inhibits sleep")) << last.toStdString();
        sleep->TakeEnded();
        settle();
        EXPECT_TRUE(log.Texts(QtWarningMsg, "tapewren.platform").empty());
    }
}

TEST_F(SleepInhibitorTest, AHungSystemBusNeverHoldsUpTheProgram) {
    offerPortal(false);
    ASSERT_EQ(::kill(m_system.Pid(), SIGSTOP), 0);
    // Should the program wait on the hung bus after all, the bus wakes after
    // a while and the clocks below say so, before the test's time limit.
    std::promise<void> finished;
    std::thread waker([this, ended = finished.get_future()] {
        if (ended.wait_for(std::chrono::seconds(3 * testTimeScale())) ==
            std::future_status::timeout)
            ::kill(m_system.Pid(), SIGCONT);
    });
    QElapsedTimer clock;
    clock.start();
    {
        std::unique_ptr<SleepInhibitor> sleep = inhibitor();
        sleep->TakeStarted({});
        settle();
        sleep->TakeEnded();
    }
    EXPECT_LT(clock.elapsed(), 1500 * testTimeScale()) << "the take waited on the hung system bus";
    // Every bus of the program is served by one thread of Qt's, which a
    // connect to the hung bus would have held.
    clock.restart();
    QDBusConnection bus = m_session.Connect("after");
    EXPECT_TRUE(bus.interface()->isServiceRegistered(kPortal).value());
    EXPECT_LT(clock.elapsed(), 1000 * testTimeScale())
        << "the session bus waited on the hung system bus";
    finished.set_value();
    waker.join();
    ::kill(m_system.Pid(), SIGCONT);
}

} // namespace

#include "SleepInhibitorTest.moc"

// GNOME without gnome-session: its portal cannot inhibit sleep, and with no
// logind behind it the take goes on, which the log says.
TEST_F(SleepInhibitorTest, APortalThatCannotInhibitWithNoLogindBehindItIsWarnedOf) {
    offerPortal(true)->response = 2;
    CapturedLog log;
    auto sleep = std::make_unique<SleepInhibitor>(m_session.Connect("program"),
                                                  QStringLiteral("unix:path=/nonexistent"));
    sleep->TakeStarted({});
    ASSERT_TRUE(spinUntil([&] { return log.Texts(QtWarningMsg, "tapewren.platform").size() >= 2; }))
        << "the outcome was never logged";
    EXPECT_EQ(log.Texts(QtWarningMsg, "tapewren.platform").back(),
              "sleep inhibitor: no system bus at unix:path=/nonexistent; nothing inhibits sleep: "
              "the computer may sleep during the take");
    sleep->TakeEnded();
    settle();
}
