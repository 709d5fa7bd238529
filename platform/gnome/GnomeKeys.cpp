// GLib's headers name struct members "signals", which Qt defines as a
// keyword: they come before any of Qt's.
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include "HotKeyBackend.h"
#include "Logging.h"
#include "PortalHotKeys.h"
#include "ShortCut.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QObject>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

namespace {
constexpr char kListSchema[] = "org.gnome.settings-daemon.plugins.media-keys";
constexpr char kListKey[] = "custom-keybindings";
constexpr char kEntrySchema[] = "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";
constexpr char kEntryFolder[] = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/";
// The keys GNOME binds itself: one of ours among them would take it away.
constexpr const char* kBindingSchemas[] = {
    "org.gnome.desktop.wm.keybindings", "org.gnome.shell.keybindings",
    "org.gnome.mutter.keybindings", "org.gnome.mutter.wayland.keybindings", kListSchema};

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using Settings = std::unique_ptr<GSettings, Unref>;
struct Strv {
    gchar** list;
    ~Strv() { g_strfreev(list); }
};
struct Text {
    gchar* text;
    ~Text() { g_free(text); }
};

QString translated(const char* text) {
    return QCoreApplication::translate("HotKeys", text);
}

bool schemaInstalled(const char* id) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema = source ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr;
    if (schema)
        g_settings_schema_unref(schema);
    return schema != nullptr;
}

// GSettings without dconf keeps what it is given in memory, for this process
// alone: keys added there would be gone with it.
bool settingsKept() {
    GSettingsBackend* backend = g_settings_backend_get_default();
    const char* type = G_OBJECT_TYPE_NAME(backend);
    const bool kept = std::strcmp(type, "GMemorySettingsBackend") != 0 &&
                      std::strcmp(type, "GNullSettingsBackend") != 0;
    g_object_unref(backend);
    return kept;
}

QString entryPath(const QString& command) {
    return QString::fromLatin1(kEntryFolder) + QStringLiteral("tapewren-") + command +
           QLatin1Char('/');
}

std::string entryText(GSettings* entry, const char* key) {
    const Text text{g_settings_get_string(entry, key)};
    return text.text;
}

// An accelerator as GTK writes it ("<Control><Alt>o"), in one spelling:
// GNOME takes <Primary>, <Ctrl> and <Control> alike, and letters in either case.
QString normalised(const QString& accelerator) {
    QStringList modifiers;
    QString rest = accelerator.toLower();
    while (rest.startsWith(QLatin1Char('<'))) {
        const qsizetype end = rest.indexOf(QLatin1Char('>'));
        if (end < 0)
            break;
        QString modifier = rest.mid(1, end - 1);
        if (modifier == QLatin1String("primary") || modifier == QLatin1String("ctrl") ||
            modifier == QLatin1String("ctl"))
            modifier = QStringLiteral("control");
        else if (modifier == QLatin1String("mod1"))
            modifier = QStringLiteral("alt");
        modifiers << modifier;
        rest = rest.mid(end + 1);
    }
    modifiers.sort();
    modifiers.removeDuplicates();
    return modifiers.join(QLatin1Char('+')) + QLatin1Char('+') + rest;
}

// Our key as GNOME writes it; empty for keys other than letters and digits.
QString acceleratorOf(uint16_t shortcut) {
    const char key = static_cast<char>(shortcut & 0xFF);
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')))
        return {};
    QString accelerator;
    if (shortcut & 0x2000)
        accelerator += QStringLiteral("<Shift>");
    if (shortcut & 0x4000)
        accelerator += QStringLiteral("<Control>");
    if (shortcut & 0x8000)
        accelerator += QStringLiteral("<Alt>");
    return accelerator + QChar::fromLatin1(key).toLower();
}

// GNOME's accelerator as the program shows keys: "<Control><Alt>o" is
// "Ctrl+Alt+O".
QString shownAs(const QString& accelerator) {
    const QStringList parts = normalised(accelerator).split(QLatin1Char('+'));
    // Shift, Ctrl, Alt: the order of the program's own key texts.
    static const std::pair<const char*, const char*> names[] = {
        {"shift", "Shift"}, {"control", "Ctrl"}, {"alt", "Alt"}, {"super", "Super"}};
    QStringList shown;
    for (const auto& [modifier, name] : names)
        if (parts.contains(QLatin1String(modifier)))
            shown << QLatin1String(name);
    const QString key = parts.last();
    return (shown << (key.size() == 1 ? key.toUpper() : key)).join(QLatin1Char('+'));
}

class GnomeKeys : public QObject, public HotKeyBackend {
public:
    bool Register(int id, uint16_t shortcut, const std::string& name) override {
        const QString path = entryPath(PortalShortcutId(name, shortcut));
        const Settings list(g_settings_new(kListSchema));
        const Strv paths{g_settings_get_strv(list.get(), kListKey)};
        const bool listed = g_strv_contains(paths.list, path.toUtf8().constData());
        const Settings entry(g_settings_new_with_path(kEntrySchema, path.toUtf8().constData()));
        const QString binding = QString::fromStdString(entryText(entry.get(), "binding"));
        if (!listed || binding.isEmpty() || entryText(entry.get(), "command").empty())
            return false;
        // Settled at once, but after Register has returned, as the portal
        // settles: the key is GNOME's, perhaps another than ours.
        QTimer::singleShot(0, this, [this, id, binding] {
            Outcome outcome;
            outcome.bound = true;
            outcome.trigger = translated(QT_TRANSLATE_NOOP("HotKeys", "%1 (a GNOME shortcut)"))
                                  .arg(shownAs(binding))
                                  .toStdString();
            Settled(id, outcome);
        });
        return true;
    }
    void Unregister(int) override {}
    bool SettlesLater() const override { return true; }
    // Where the offer to add them is.
    std::string WhyNot() const override {
        return translated(QT_TRANSLATE_NOOP("HotKeys", "GNOME can add them: see the settings"))
            .toStdString();
    }
    bool OffersCommandKeys() const override { return true; }

    std::string AddCommandKeys(const std::vector<CommandKey>& keys) override {
        const Settings list(g_settings_new(kListSchema));
        const Strv before{g_settings_get_strv(list.get(), kListKey)};
        std::vector<QByteArray> paths;
        for (gchar** path = before.list; *path; ++path)
            paths.emplace_back(*path);
        QStringList problems;
        for (const CommandKey& key : keys) {
            const QString command = PortalShortcutId(key.name, key.shortcut);
            const QByteArray path = entryPath(command).toUtf8();
            const QString accelerator = acceleratorOf(key.shortcut);
            if (accelerator.isEmpty()) {
                problems << translated(QT_TRANSLATE_NOOP("HotKeys", "%1 cannot be given to GNOME."))
                                .arg(ShortCutToText(key.shortcut));
                continue;
            }
            // Reported, never taken from what the user or GNOME has bound.
            const QString owner = takenBy(accelerator, path);
            if (!owner.isEmpty()) {
                problems << translated(QT_TRANSLATE_NOOP("HotKeys",
                                                         "%1 is already a GNOME shortcut (%2)."))
                                .arg(ShortCutToText(key.shortcut), owner);
                continue;
            }
            const Settings entry(g_settings_new_with_path(kEntrySchema, path.constData()));
            // Shown in GNOME's list of shortcuts, in the user's language.
            const QByteArray name = translated(QT_TRANSLATE_NOOP("HotKeys", "Tapewren %1"))
                                        .arg(translated(key.name.c_str()))
                                        .toUtf8();
            g_settings_set_string(entry.get(), "name", name.constData());
            g_settings_set_string(entry.get(), "command",
                                  commandLine(command).toUtf8().constData());
            g_settings_set_string(entry.get(), "binding", accelerator.toUtf8().constData());
            if (std::find(paths.begin(), paths.end(), path) == paths.end())
                paths.push_back(path);
        }
        // The user's own entries stay as they are, in their order.
        std::vector<const gchar*> after;
        for (const QByteArray& path : paths)
            after.push_back(path.constData());
        after.push_back(nullptr);
        if (!g_settings_set_strv(list.get(), kListKey, after.data()))
            problems << translated(
                QT_TRANSLATE_NOOP("HotKeys", "GNOME's settings cannot be changed."));
        if (!problems.isEmpty())
            qCWarning(lcPlatform, "hot keys: %s", qPrintable(problems.join(QLatin1Char(' '))));
        return problems.join(QLatin1Char('\n')).toStdString();
    }

private:
    // The GNOME shortcut that already has this key, by its name; empty when
    // none has. Our own entry (from an earlier offer) does not count.
    static QString takenBy(const QString& accelerator, const QByteArray& ours) {
        const QString wanted = normalised(accelerator);
        for (const char* id : kBindingSchemas) {
            if (!schemaInstalled(id))
                continue;
            const Settings settings(g_settings_new(id));
            GSettingsSchema* schema = nullptr;
            g_object_get(settings.get(), "settings-schema", &schema, nullptr);
            const Strv names{g_settings_schema_list_keys(schema)};
            g_settings_schema_unref(schema);
            for (gchar** name = names.list; *name; ++name) {
                GVariant* value = g_settings_get_value(settings.get(), *name);
                bool taken = false;
                if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING))
                    taken = normalised(QString::fromUtf8(g_variant_get_string(value, nullptr))) ==
                            wanted;
                else if (g_variant_is_of_type(value, G_VARIANT_TYPE_STRING_ARRAY)) {
                    const gchar** each = g_variant_get_strv(value, nullptr);
                    for (const gchar** one = each; *one && !taken; ++one)
                        taken = normalised(QString::fromUtf8(*one)) == wanted;
                    g_free(each);
                }
                g_variant_unref(value);
                if (taken)
                    return QString::fromUtf8(*name);
            }
        }
        const Settings list(g_settings_new(kListSchema));
        const Strv paths{g_settings_get_strv(list.get(), kListKey)};
        for (gchar** path = paths.list; *path; ++path) {
            if (ours == *path)
                continue;
            const Settings entry(g_settings_new_with_path(kEntrySchema, *path));
            if (normalised(QString::fromStdString(entryText(entry.get(), "binding"))) == wanted)
                return QString::fromStdString(entryText(entry.get(), "name"));
        }
        return {};
    }

    // This program by the name GNOME finds on its PATH, where that is this
    // program; else by its whole path (a portable copy, a build).
    static QString commandLine(const QString& command) {
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("tapewren"));
        if (!onPath.isEmpty() && QFileInfo(onPath).canonicalFilePath() == self)
            return QStringLiteral("tapewren ") + command;
        const Text quoted{g_shell_quote(self.toUtf8().constData())};
        return QString::fromUtf8(quoted.text) + QLatin1Char(' ') + command;
    }
};
} // namespace

std::unique_ptr<HotKeyBackend> CreateGnomeKeys() {
    if (!schemaInstalled(kListSchema) || !schemaInstalled(kEntrySchema)) {
        qCWarning(lcPlatform, "hot keys: GNOME's keyboard shortcut settings are not installed");
        return nullptr;
    }
    if (!settingsKept()) {
        qCWarning(lcPlatform,
                  "hot keys: settings would not be kept (no dconf); no GNOME shortcuts");
        return nullptr;
    }
    return std::make_unique<GnomeKeys>();
}
