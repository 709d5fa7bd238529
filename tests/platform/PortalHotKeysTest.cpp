#include "PortalHotKeys.h"
#include "FakeGlobalShortcuts.h"
#include "PrivateBus.h"
#include "SpinUntil.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
class PortalHotKeysTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(m_bus.address.isEmpty()) << "dbus-daemon did not start"; }
    // The portal on the bus; without GlobalShortcuts, only the Email part.
    void offerPortal(bool withShortcuts) {
        QDBusConnection desktop = m_bus.Connect("portal");
        ASSERT_TRUE(desktop.registerService(kPortal));
        QObject* exported = withShortcuts ? static_cast<QObject*>(&m_shortcuts) : &m_email;
        ASSERT_TRUE(desktop.registerObject(kPortalPath, exported,
                                           QDBusConnection::ExportAllSlots |
                                               QDBusConnection::ExportAllProperties));
    }
    std::unique_ptr<HotKeyBackend> keys() {
        auto made = CreatePortalHotKeys(m_bus.Connect("program"), 2000);
        if (made)
            made->SetPressedHandler([this](int id) { m_pressed.push_back(id); });
        return made;
    }

    TempFolder m_folder;
    PrivateBus m_bus{m_folder.Path()};
    FakeGlobalShortcuts m_shortcuts{m_bus.Connect("portal")};
    FakePortal m_email{m_bus.Connect("portal")};
    std::vector<int> m_pressed;
};
} // namespace

TEST(PortalHotKeys, TriggersAndStableIds) {
    EXPECT_EQ(PortalTrigger(0xC04F), "CTRL+ALT+O");
    EXPECT_EQ(PortalTrigger(0xC050), "CTRL+ALT+P");
    EXPECT_EQ(PortalTrigger(0xE031), "CTRL+ALT+SHIFT+1");
    EXPECT_EQ(PortalShortcutId("Record/Stop", 0xC04F), "record-stop");
    EXPECT_EQ(PortalShortcutId("Pause/Resume", 0xC050), "pause-resume");
    EXPECT_EQ(PortalShortcutId("", 0xC050), "key-c050");
}

TEST_F(PortalHotKeysTest, NoPortalOrOneWithoutShortcutsGivesNoKeys) {
    EXPECT_EQ(keys(), nullptr) << "an empty bus";
    offerPortal(false);
    EXPECT_EQ(keys(), nullptr) << "Debian 12's portal has no GlobalShortcuts";
}

TEST_F(PortalHotKeysTest, BothKeysAreBoundInOneRequestAndTheirActivationsArePresses) {
    offerPortal(true);
    auto backend = keys();
    ASSERT_NE(backend, nullptr);
    EXPECT_TRUE(backend->Register(0, 0xC04F, "Record/Stop"));
    EXPECT_TRUE(backend->Register(1, 0xC050, "Pause/Resume"));
    ASSERT_TRUE(spinUntil([&] { return m_shortcuts.bindCalls > 0; }));
    spinUntil([] { return false; }, 100);
    EXPECT_EQ(m_shortcuts.sessions, 1);
    EXPECT_EQ(m_shortcuts.bindCalls, 1) << "a session binds once";
    ASSERT_EQ(m_shortcuts.asked.size(), 2);
    EXPECT_EQ(m_shortcuts.asked[0].first, "record-stop");
    EXPECT_EQ(m_shortcuts.asked[0].second.value("description").toString(), "Record/Stop");
    EXPECT_EQ(m_shortcuts.asked[0].second.value("preferred_trigger").toString(), "CTRL+ALT+O");
    EXPECT_EQ(m_shortcuts.asked[1].first, "pause-resume");
    EXPECT_EQ(m_shortcuts.asked[1].second.value("preferred_trigger").toString(), "CTRL+ALT+P");

    m_shortcuts.EmitActivated("pause-resume");
    m_shortcuts.EmitActivated("record-stop");
    ASSERT_TRUE(spinUntil([&] { return m_pressed.size() == 2; }));
    EXPECT_EQ(m_pressed, (std::vector<int>{1, 0}));

    // Another program's session, and a key let go of, are not ours.
    m_shortcuts.emitActivated(QDBusObjectPath(kPortalPath + "/session/1_99/other"), "record-stop");
    backend->Unregister(1);
    m_shortcuts.EmitActivated("pause-resume");
    m_shortcuts.EmitActivated("record-stop");
    ASSERT_TRUE(spinUntil([&] { return m_pressed.size() == 3; }));
    spinUntil([] { return false; }, 100);
    EXPECT_EQ(m_pressed, (std::vector<int>{1, 0, 0}));

    // A key registered again needs a new session: the old one has bound.
    EXPECT_TRUE(backend->Register(2, 0xC050, "Pause/Resume"));
    ASSERT_TRUE(spinUntil([&] { return m_shortcuts.bindCalls == 2; }));
    EXPECT_EQ(m_shortcuts.sessions, 2);
    EXPECT_EQ(m_shortcuts.asked.size(), 2);
    m_shortcuts.EmitActivated("pause-resume");
    ASSERT_TRUE(spinUntil([&] { return m_pressed.size() == 4; }));
    EXPECT_EQ(m_pressed.back(), 2);
}
