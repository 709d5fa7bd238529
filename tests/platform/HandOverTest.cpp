// The running program's side of a second start, on a bus of the test's own.
#include "HandOver.h"
#include "PrivateBus.h"
#include "SpinUntil.h"
#include "TempFolder.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <gtest/gtest.h>

#include <QTimer>
#include <future>

namespace {
const QString kPath = QStringLiteral("/io/github/tapewren/Tapewren");
const QString kInterface = QStringLiteral("org.freedesktop.Application");

QDBusMessage call(const QString& method, const QVariantList& arguments) {
    QDBusMessage m = QDBusMessage::createMethodCall(kProgramBusName, kPath, kInterface, method);
    m.setArguments(arguments);
    return m;
}
} // namespace

TEST(HandOver, BurstsAreAnsweredOnceAndUnknownOrOversizedCallsGetAnError) {
    TempFolder folder;
    PrivateBus bus(folder.Path());
    HandOverService service(bus.Connect(QStringLiteral("running")));
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
    ASSERT_TRUE(spinUntil([&] { return burst.back().isFinished(); }));
    spinUntil([] { return false; }, 100);
    EXPECT_FALSE(burst.front().isError());
    EXPECT_LT(requests.size(), 60u) << "one waiting request of each kind, not one a call";
    EXPECT_GE(requests.size(), 2u);

    requests.clear();
    QVariantMap large;
    for (int i = 0; i < 1000; ++i)
        large.insert(QString::number(i), i);
    for (const QDBusMessage& m :
         {call(QStringLiteral("ActivateAction"),
               {QStringLiteral("NoSuchAction"), QVariantList(), QVariantMap()}),
          call(QStringLiteral("Activate"), {large}),
          call(QStringLiteral("ActivateAction"),
               {QStringLiteral("SoundOptimizer"), QVariantList(), large})}) {
        const QDBusMessage reply = second.call(m, QDBus::BlockWithGui, 2000);
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << m.member().toStdString();
    }
    spinUntil([] { return false; }, 100);
    EXPECT_TRUE(requests.empty()) << "nothing opens";
}

// A first start still starting holds the lock before it takes the name.
TEST(HandOver, ASecondStartWaitsForTheFirstToTakeItsName) {
    TempFolder folder;
    PrivateBus bus(folder.Path());
    HandOverService service(bus.Connect(QStringLiteral("running")));
    std::vector<HandOverRequest> requests;
    QObject::connect(&service, &HandOverService::requested,
                     [&](HandOverRequest r) { requests.push_back(r); });
    QTimer::singleShot(300, [&] { ASSERT_TRUE(service.Listen()); });
    QDBusConnection second = bus.Connect(QStringLiteral("second"));
    // The second start on a thread of its own: the first answers on this one.
    auto handedOver = std::async(
        std::launch::async, [&] { return HandOver(HandOverRequest::Optimizer, second, 5000); });
    ASSERT_TRUE(spinUntil([&] { return !requests.empty(); }));
    EXPECT_TRUE(handedOver.get());
    EXPECT_EQ(requests, std::vector<HandOverRequest>{HandOverRequest::Optimizer});
}
