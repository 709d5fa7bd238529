#include "PortalHotKeys.h"
#include "AudioCheck.h"
#include "FakeGlobalShortcuts.h"
#include "PrivateBus.h"
#include "SpinUntil.h"
#include "TempFolder.h"

#include <QDBusMetaType>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <map>
#include <vector>

namespace {
// An answer of the wrong shape: a(isd) where a(sa{sv}) belongs.
struct WrongEntry {
    int number = 1;
    QString text = QStringLiteral("record-stop");
    double real = 0.5;
};
QDBusArgument& operator<<(QDBusArgument& out, const WrongEntry& e) {
    out.beginStructure();
    out << e.number << e.text << e.real;
    out.endStructure();
    return out;
}
const QDBusArgument& operator>>(const QDBusArgument& in, WrongEntry& e) {
    in.beginStructure();
    in >> e.number >> e.text >> e.real;
    in.endStructure();
    return in;
}

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
        if (made) {
            made->SetPressedHandler([this](int id) { m_pressed.push_back(id); });
            made->SetSettledHandler([this](int id, const HotKeyBackend::Outcome& outcome) {
                m_settled[id] = outcome.bound ? "bound " + outcome.trigger : "not " + outcome.why;
            });
        }
        return made;
    }
    std::map<int, std::string> m_settled;

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
    EXPECT_EQ(keys(), nullptr) << "a portal without GlobalShortcuts";
}

TEST_F(PortalHotKeysTest, AHungBusIsGivenUpWithinTwoSeconds) {
    offerPortal(true);
    QDBusConnection program = m_bus.Connect("program");
    ASSERT_EQ(::kill(m_bus.Pid(), SIGSTOP), 0);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(CreatePortalHotKeys(program, 2000), nullptr);
    EXPECT_LT(clock.elapsed(), 2000 + 500 * testTimeScale());
    ::kill(m_bus.Pid(), SIGCONT);
}

TEST_F(PortalHotKeysTest, BothKeysAreBoundInOneRequestAndTheirActivationsArePresses) {
    offerPortal(true);
    auto backend = keys();
    ASSERT_NE(backend, nullptr);
    EXPECT_TRUE(backend->Register(0, 0xC04F, "Record/Stop"));
    EXPECT_TRUE(backend->Register(1, 0xC050, "Pause/Resume"));
    ASSERT_TRUE(spinUntil([&] { return m_shortcuts.bindCalls > 0; }))
        << "the keys were never bound";
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
    ASSERT_TRUE(spinUntil([&] { return m_pressed.size() == 2; })) << "two presses never arrived";
    EXPECT_EQ(m_pressed, (std::vector<int>{1, 0}));

    // Another program's session, and a key let go of, are not ours.
    m_shortcuts.emitActivated(QDBusObjectPath(kPortalPath + "/session/1_99/other"), "record-stop");
    backend->Unregister(1);
    m_shortcuts.EmitActivated("pause-resume");
    m_shortcuts.EmitActivated("record-stop");
    ASSERT_TRUE(spinUntil([&] { return m_pressed.size() == 3; }))
        << "the third press never arrived";
    spinUntil([] { return false; }, 100);
    EXPECT_EQ(m_pressed, (std::vector<int>{1, 0, 0}));

    // A key registered again needs a new session, the old one closed first,
    // under the same token; the desktop holds the key already: no new bind.
    EXPECT_TRUE(backend->Register(2, 0xC050, "Pause/Resume"));
    ASSERT_TRUE(spinUntil([&] { return m_settled.count(2); }))
        << "the key on the new session never settled";
    EXPECT_EQ(m_shortcuts.sessions, 2);
    EXPECT_EQ(m_shortcuts.closed, 1);
    EXPECT_EQ(m_shortcuts.bindCalls, 1);
    EXPECT_EQ(m_settled[2], "bound Ctrl+Alt+P");
    m_shortcuts.EmitActivated("pause-resume");
    ASSERT_TRUE(spinUntil([&] { return m_pressed.size() == 4; }))
        << "the fourth press never arrived";
    EXPECT_EQ(m_pressed.back(), 2);
}

TEST_F(PortalHotKeysTest, AKeyIsSetOnlyWhenTheDesktopListsItBound) {
    offerPortal(true);
    m_shortcuts.sessionAsPath = true; // as newer portals send it
    m_shortcuts.refuse = {"pause-resume"};
    {
        auto backend = keys();
        ASSERT_NE(backend, nullptr);
        EXPECT_TRUE(backend->SettlesLater());
        backend->Register(0, 0xC04F, "Record/Stop");
        backend->Register(1, 0xC050, "Pause/Resume");
        ASSERT_TRUE(spinUntil([&] { return m_settled.size() == 2; }))
            << "the two keys never settled";
        EXPECT_EQ(m_settled[0], "bound Ctrl+Alt+O");
        EXPECT_EQ(m_settled[1], "not the desktop did not bind it");
        // The user's own key, chosen in the desktop's settings.
        m_shortcuts.Rebind("record-stop", "Meta+R");
        ASSERT_TRUE(spinUntil([&] { return m_settled[0] == "bound Meta+R"; }))
            << "the user's own key was never taken";
        m_shortcuts.EmitActivated("record-stop");
        ASSERT_TRUE(spinUntil([&] { return m_pressed.size() == 1; })) << "the press never arrived";
        // A change of another shape is no change: read as ours, it crashed.
        qDBusRegisterMetaType<WrongEntry>();
        qDBusRegisterMetaType<QList<WrongEntry>>();
        m_shortcuts.shortcutsAs = QVariant::fromValue(QList<WrongEntry>{WrongEntry{}});
        m_shortcuts.Rebind("record-stop", "Meta+Q");
        m_shortcuts.EmitActivated("record-stop");
        ASSERT_TRUE(spinUntil([&] { return m_pressed.size() == 2; }))
            << "the second press never arrived";
        EXPECT_EQ(m_settled[0], "bound Meta+R");
        m_shortcuts.shortcutsAs = QVariant();
        m_shortcuts.Rebind("record-stop", "Meta+R");
    }
    // The next start keeps the token and asks only for what is missing.
    EXPECT_EQ(m_shortcuts.token, "tapewren");
    m_settled.clear();
    auto again = keys();
    again->Register(0, 0xC04F, "Record/Stop");
    again->Register(1, 0xC050, "Pause/Resume");
    ASSERT_TRUE(spinUntil([&] { return m_settled.size() == 2; }))
        << "the two keys never settled on the new start";
    EXPECT_EQ(m_settled[0], "bound Meta+R") << "the user's key survives a start";
    ASSERT_EQ(m_shortcuts.asked.size(), 1);
    EXPECT_EQ(m_shortcuts.asked[0].first, "pause-resume");
}

// A portal that answers in another shape is no answer: nothing is bound,
// nothing crashes, and a trigger that is no text is not shown as the key.
TEST_F(PortalHotKeysTest, AnswersOfAnotherShapeBindNothing) {
    qDBusRegisterMetaType<WrongEntry>();
    qDBusRegisterMetaType<QList<WrongEntry>>();
    offerPortal(true);
    const QVariant shapes[] = {
        QVariant::fromValue(QList<WrongEntry>{WrongEntry{}}), QVariant(QStringLiteral("x")),
        QVariant(5), QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1))))};
    for (const QVariant& shape : shapes) {
        m_shortcuts.shortcutsAs = shape;
        m_settled.clear();
        auto backend = keys();
        backend->Register(0, 0xC04F, "Record/Stop");
        backend->Register(1, 0xC050, "Pause/Resume");
        ASSERT_TRUE(spinUntil([&] { return m_settled.size() == 2; })) << shape.typeName();
        EXPECT_EQ(m_settled[0].rfind("not ", 0), 0u) << m_settled[0];
    }
    m_shortcuts.shortcutsAs = QVariant();
    // A Response of another shape altogether is no answer: nothing is read
    // out of it as results, and nothing settles.
    m_shortcuts.resultsAs = QVariant::fromValue(QList<WrongEntry>{WrongEntry{}});
    m_settled.clear();
    {
        const int sessions = m_shortcuts.sessions;
        auto backend = keys();
        backend->Register(0, 0xC04F, "Record/Stop");
        ASSERT_TRUE(spinUntil([&] { return m_shortcuts.sessions > sessions; }))
            << "no new session was opened";
        runEventsFor(200);
        EXPECT_TRUE(m_settled.empty());
    }
    m_shortcuts.resultsAs = QVariant();
    m_shortcuts.triggerAsNumber = true;
    m_settled.clear();
    auto backend = keys();
    backend->Register(0, 0xC04F, "Record/Stop");
    ASSERT_TRUE(spinUntil([&] { return m_settled.size() == 1; })) << "the key never settled";
    EXPECT_EQ(m_settled[0], "bound ") << "our own key, not \"5\"";
}

TEST_F(PortalHotKeysTest, Plasma527BindsWhatTheSessionListsAndADesktopMayBindNothing) {
    offerPortal(true);
    m_shortcuts.bindAtCreate = true;
    {
        auto backend = keys();
        backend->Register(0, 0xC04F, "Record/Stop");
        backend->Register(1, 0xC050, "Pause/Resume");
        ASSERT_TRUE(spinUntil([&] { return m_settled.size() == 2; }))
            << "the two keys never settled";
        EXPECT_EQ(m_settled[0], "bound Ctrl+Alt+O");
        EXPECT_EQ(m_settled[1], "bound Ctrl+Alt+P");
        EXPECT_EQ(m_shortcuts.bindCalls, 0);
        // The user takes a key away in the desktop's settings.
        m_shortcuts.Unbind("pause-resume");
        ASSERT_TRUE(spinUntil([&] { return m_settled[1] == "not the desktop did not bind it"; }))
            << "the key taken away was never told";
        EXPECT_EQ(m_settled[0], "bound Ctrl+Alt+O");
    }
    m_shortcuts.bindAtCreate = false;
    m_shortcuts.bindNothing = true;
    m_shortcuts.kept.clear();
    m_settled.clear();
    auto backend = keys();
    backend->Register(0, 0xC04F, "Record/Stop");
    ASSERT_TRUE(spinUntil([&] { return m_settled.size() == 1; })) << "the key never settled";
    EXPECT_EQ(m_settled[0], "not the desktop did not bind it");

    m_shortcuts.bindAnswer = 1; // the user closed the desktop's dialog
    m_settled.clear();
    auto cancelled = keys();
    cancelled->Register(0, 0xC04F, "Record/Stop");
    ASSERT_TRUE(spinUntil([&] { return m_settled.size() == 1; }))
        << "the cancelled bind never settled";
    EXPECT_EQ(m_settled[0], "not the binding was cancelled");
}

// GNOME before 48 binds keys only to commands set in its keyboard settings:
// ours are added there beside the user's own, never over them. GSettings
// keeps them in a key file here, which GNOME's own gsettings tool reads back.
TEST(GnomeKeys, AddedBesideTheUsersOwnAndAKeyGnomeHasIsReportedNotTaken) {
    TempFolder folder;
    const std::string settings = folder / "glib-2.0/settings";
    std::filesystem::create_directories(settings);
    const std::string list = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/";
    WriteFile(settings + "/keyfile",
              "[org/gnome/settings-daemon/plugins/media-keys]\ncustom-keybindings=['" + list +
                  "custom0/']\n\n[org/gnome/settings-daemon/plugins/media-keys/"
                  "custom-keybindings/custom0]\nname='Terminal'\ncommand='x-terminal-emulator'\n"
                  "binding='<Alt><Primary>p'\n\n"
                  // Ours once, taken off the list in GNOME's settings since.
                  "[org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/"
                  "tapewren-pause-resume]\ncommand='tapewren pause-resume'\nbinding='<Super>p'\n");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("GSETTINGS_BACKEND", "keyfile");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(folder.Path()));
    const std::string env =
        "GSETTINGS_BACKEND=keyfile XDG_CONFIG_HOME='" + folder.Path() + "' gsettings get ";
    const auto entry = [&](const std::string& path, const std::string& key) {
        return RunCommand(env + "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding:" +
                          list + path + " " + key);
    };

    std::unique_ptr<HotKeyBackend> keys = CreateGnomeKeys();
    ASSERT_NE(keys, nullptr) << "GNOME's schemas are not installed";
    std::map<int, std::string> settled;
    keys->SetSettledHandler([&](int id, const HotKeyBackend::Outcome& outcome) {
        settled[id] = outcome.bound ? outcome.trigger : "not bound";
    });
    EXPECT_TRUE(keys->OffersCommandKeys());
    EXPECT_FALSE(keys->Register(0, 0xC04F, "Record/Stop")) << "nothing added yet";
    EXPECT_EQ(keys->WhyNot(), "GNOME can add them: see the settings");

    for (int time = 0; time < 2; ++time)
        EXPECT_EQ(keys->AddCommandKeys({{0xC04F, "Record/Stop"}, {0xC050, "Pause/Resume"}}),
                  "Ctrl+Alt+P is already a GNOME shortcut (Terminal).");
    EXPECT_EQ(RunCommand(env + "org.gnome.settings-daemon.plugins.media-keys custom-keybindings"),
              "['" + list + "custom0/', '" + list + "tapewren-record-stop/']\n")
        << "the user's entry first, ours once";
    EXPECT_EQ(entry("custom0/", "binding"), "'<Alt><Primary>p'\n");
    EXPECT_EQ(entry("custom0/", "command"), "'x-terminal-emulator'\n");
    EXPECT_EQ(entry("tapewren-record-stop/", "name"), "'Tapewren Record/Stop'\n");
    EXPECT_EQ(entry("tapewren-record-stop/", "binding"), "'<Control><Alt>o'\n");
    const std::string command = entry("tapewren-record-stop/", "command");
    EXPECT_NE(command.find("platform_test' record-stop"), std::string::npos)
        << "this program by its whole path, as it is on no PATH: " << command;

    EXPECT_TRUE(keys->Register(1, 0xC04F, "Record/Stop"));
    EXPECT_FALSE(keys->Register(2, 0xC050, "Pause/Resume")) << "an entry no longer listed";
    EXPECT_TRUE(spinUntil([&] { return settled.count(1); })) << "never settled";
    EXPECT_EQ(settled[1], "Ctrl+Alt+O (a GNOME shortcut)");
    EXPECT_EQ(settled.count(2), 0u);
    qunsetenv("GSETTINGS_BACKEND");
    qputenv("XDG_CONFIG_HOME", configHome);
}
