#pragma once

#include <QDBusConnection>
#include <QObject>

#include <memory>

// The two kinds of notification area Qt's tray icon can live in.
enum class TrayKind { None, XEmbed, StatusNotifier };

struct TrayFacts {
    bool xembedManager = false;      // _NET_SYSTEM_TRAY_S<screen> has an owner
    bool statusNotifierHost = false; // a watcher reports a registered host
    // The host opens the menu on a left click and sends Activate only on a
    // double click (GNOME Shell's AppIndicator extension).
    bool menuOnClick = false;
};

// Where Qt's tray icon would show now. Qt takes D-Bus over XEmbed, and
// chooses once, when the first tray icon is made: after that only the kind
// it chose counts (chosen is None until then).
TrayKind DecideTray(const TrayFacts& facts, TrayKind chosen);

// Follows both kinds of tray as they come and go, from X11 and bus events
// (no polling, so an idle program stays asleep).
class TrayPresence : public QObject {
    Q_OBJECT
public:
    explicit TrayPresence(QDBusConnection bus = QDBusConnection::sessionBus());
    ~TrayPresence() override;

    TrayFacts Facts() const { return m_facts; }

signals:
    void changed();

private slots:
    void readHost();

private:
    void setHost(bool registered);

    class X11Watch;
    QDBusConnection m_bus;
    TrayFacts m_facts;
    std::unique_ptr<X11Watch> m_x11;
    quint64 m_hostQuery = 0;
};
