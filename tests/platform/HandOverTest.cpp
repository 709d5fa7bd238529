// The running program's side of a second start, on a bus of the test's own.
#include "HandOver.h"
#include "PrivateBus.h"
#include "SpinUntil.h"
#include "TempFolder.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <QTimer>

#include <csignal>
#include <future>

namespace {
const QString kPath = QStringLiteral("/io/github/tapewren/Tapewren");
const QString kInterface = QStringLiteral("org.freedesktop.Application");

QDBusMessage call(const QString& method, const QVariantList& arguments) {
    QDBusMessage m = QDBusMessage::createMethodCall(kProgramBusName, kPath, kInterface, method);
    m.setArguments(arguments);
    return m;
}

// The second start is another process: its blocking call must not stop this
// thread from answering.
bool showFromAnotherThread(const QString& name, QDBusConnection bus) {
    auto done = std::async(std::launch::async,
                           [&] { return HandOver(HandOverRequest::Show, name, bus, 1000); });
    spinUntil([&] { return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return done.get();
}
} // namespace

TEST(HandOver, BurstsAreAnsweredOnceAndUnknownOrOversizedCallsGetAnError) {
    TempFolder folder;
    PrivateBus bus(folder.Path());
    HandOverService service(kProgramBusName, bus.Connect(QStringLiteral("running")));
    ASSERT_TRUE(service.Listen());
    std::vector<HandOverRequest> requests;
    QObject::connect(&service, &HandOverService::requested,
                     [&](HandOverRequest r) { requests.push_back(r); });
    QDBusConnection second = bus.Connect(QStringLiteral("second"));

    std::vector<QDBusPendingCall> burst;
    for (int i = 0; i < 300; ++i) {
        burst.push_back(second.asyncCall(call(QStringLiteral("Activate"), {QVariantMap()})));
        burst.push_back(second.asyncCall(
            call(QStringLiteral("ActivateAction"),
                 {QStringLiteral("SoundOptimizer"), QVariantList(), QVariantMap()})));
    }
    ASSERT_TRUE(spinUntil([&] { return burst.back().isFinished(); }))
        << "the burst of requests never finished";
    spinUntil([] { return false; }, 700);
    EXPECT_FALSE(burst.front().isError());
    // The burst lasts well under the half second between two of a kind.
    EXPECT_LE(requests.size(), 4u) << "one waiting request of each kind, not one a call";
    EXPECT_GE(requests.size(), 2u);

    requests.clear();
    QVariantMap large, most;
    for (int i = 0; i < 1000; ++i)
        large.insert(QString::number(i), i);
    for (int i = 0; i < 64; ++i)
        most.insert(QString::number(i), i);
    for (const QDBusMessage& m :
         {call(QStringLiteral("ActivateAction"),
               {QStringLiteral("NoSuchAction"), QVariantList(), QVariantMap()}),
          call(QStringLiteral("Activate"), {large}),
          call(QStringLiteral("ActivateAction"),
               {QStringLiteral("SoundOptimizer"), QVariantList(), large}),
          call(QStringLiteral("ActivateAction"),
               {QStringLiteral("SoundOptimizer"), QVariantList{1}, most})}) {
        const QDBusMessage reply = second.call(m, QDBus::BlockWithGui, 2000);
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << m.member().toStdString();
    }
    spinUntil([] { return false; }, 100);
    EXPECT_TRUE(requests.empty()) << "nothing opens";
    EXPECT_EQ(
        second.call(call(QStringLiteral("Activate"), {most}), QDBus::BlockWithGui, 2000).type(),
        QDBusMessage::ReplyMessage)
        << "64 entries are within the limit";
    EXPECT_TRUE(spinUntil([&] { return requests.size() == 1; })) << "and show the window again";
}

// A first start still starting holds the lock before it takes the name.
TEST(HandOver, ASecondStartWaitsForTheFirstToTakeItsName) {
    TempFolder folder;
    PrivateBus bus(folder.Path());
    HandOverService service(kProgramBusName, bus.Connect(QStringLiteral("running")));
    std::vector<HandOverRequest> requests;
    QObject::connect(&service, &HandOverService::requested,
                     [&](HandOverRequest r) { requests.push_back(r); });
    QTimer::singleShot(300, [&] { ASSERT_TRUE(service.Listen()); });
    QDBusConnection second = bus.Connect(QStringLiteral("second"));
    // The second start on a thread of its own: the first answers on this one.
    auto handedOver = std::async(std::launch::async, [&] {
        return HandOver(HandOverRequest::Optimizer, kProgramBusName, second, 5000);
    });
    ASSERT_TRUE(spinUntil([&] { return !requests.empty(); })) << "the request never came";
    EXPECT_TRUE(handedOver.get());
    EXPECT_EQ(requests, std::vector<HandOverRequest>{HandOverRequest::Optimizer});

    // What the hot keys do, asked by the commands a desktop binds to keys.
    for (const HandOverRequest request :
         {HandOverRequest::RecordStop, HandOverRequest::PauseResume}) {
        auto asked = std::async(std::launch::async,
                                [&] { return HandOver(request, kProgramBusName, second, 1000); });
        ASSERT_TRUE(spinUntil([&] { return requests.back() == request; })) << "not taken";
        EXPECT_TRUE(asked.get());
    }
    EXPECT_EQ(requests.size(), 3u);
}

TEST(HandOver, EachCopyAnswersUnderItsOwnNameAndANameHeldByAnotherIsTakenWhenItFrees) {
    const QString portable = ProgramBusName(true, "/home/u/Tapewren/");
    EXPECT_EQ(ProgramBusName(false, "/home/u/Tapewren/"), kProgramBusName);
    EXPECT_EQ(portable, ProgramBusName(true, "/home/u/Tapewren/"))
        << "the same from start to start";
    EXPECT_NE(portable, ProgramBusName(true, "/media/stick/Tapewren/"));
    EXPECT_TRUE(portable.startsWith(kProgramBusName + QLatin1Char('.')));

    TempFolder folder;
    PrivateBus bus(folder.Path());
    QDBusConnection squatter = bus.Connect(QStringLiteral("squatter"));
    ASSERT_TRUE(squatter.registerService(kProgramBusName));
    HandOverService installed(kProgramBusName, bus.Connect(QStringLiteral("installed")));
    HandOverService copy(portable, bus.Connect(QStringLiteral("portable")));
    ASSERT_TRUE(installed.Listen()) << "waits in the queue for the name";
    ASSERT_TRUE(copy.Listen());
    std::vector<std::string> heard;
    QObject::connect(&installed, &HandOverService::requested,
                     [&] { heard.push_back("installed"); });
    QObject::connect(&copy, &HandOverService::requested, [&] { heard.push_back("portable"); });
    QDBusConnection second = bus.Connect(QStringLiteral("second"));

    EXPECT_TRUE(showFromAnotherThread(portable, second));
    EXPECT_FALSE(showFromAnotherThread(kProgramBusName, second)) << "the squatter is no Tapewren";
    squatter.unregisterService(kProgramBusName);
    EXPECT_TRUE(showFromAnotherThread(kProgramBusName, second));
    spinUntil([&] { return heard.size() >= 2; }, 1000);
    EXPECT_EQ(heard, (std::vector<std::string>{"portable", "installed"}))
        << "not both programs were heard";
}

TEST(HandOver, AHungBusHoldsTheStartTwoSecondsAtMost) {
    TempFolder folder;
    PrivateBus bus(folder.Path());
    HandOverService service(kProgramBusName, bus.Connect(QStringLiteral("running")));
    ::kill(bus.Pid(), SIGSTOP);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(service.Listen());
    EXPECT_LT(clock.elapsed(), 2000 + 500 * testTimeScale());
    ::kill(bus.Pid(), SIGCONT);
}
