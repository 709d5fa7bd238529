// GLib's headers before Qt's, whose "signals" they would trip over.
#include <gio/gio.h>

#include "HighContrast.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>

namespace {
bool highContrastName(const QString& name) {
    return name.contains(QLatin1String("HighContrast"), Qt::CaseInsensitive) ||
           name.contains(QLatin1String("High Contrast"), Qt::CaseInsensitive);
}

// The key, where its schema is installed; GSettings aborts on a missing one.
GSettings* gnomeSettings(const char* id, const char* key) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema = source ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr;
    if (!schema)
        return nullptr;
    const bool has = g_settings_schema_has_key(schema, key);
    g_settings_schema_unref(schema);
    return has ? g_settings_new(id) : nullptr;
}

bool gnomeAsks() {
    // Elsewhere GSettings may have no store of its own, and says so.
    if (!qEnvironmentVariable("XDG_CURRENT_DESKTOP").contains(QLatin1String("GNOME")))
        return false;
    bool asks = false;
    if (GSettings* a11y = gnomeSettings("org.gnome.desktop.a11y.interface", "high-contrast")) {
        asks = g_settings_get_boolean(a11y, "high-contrast");
        g_object_unref(a11y);
    }
    if (GSettings* face = gnomeSettings("org.gnome.desktop.interface", "gtk-theme")) {
        gchar* theme = g_settings_get_string(face, "gtk-theme");
        asks = asks || highContrastName(QString::fromUtf8(theme));
        g_free(theme);
        g_object_unref(face);
    }
    return asks;
}
} // namespace

bool DesktopWantsHighContrast() {
    if (highContrastName(qEnvironmentVariable("GTK_THEME")))
        return true;
    const QString kde =
        QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
    if (!kde.isEmpty() &&
        highContrastName(
            QSettings(kde, QSettings::IniFormat).value("General/ColorScheme").toString()))
        return true;
    return gnomeAsks();
}
