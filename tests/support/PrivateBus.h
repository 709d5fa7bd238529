#pragma once

#include "TempFolder.h"

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

// A session bus of the test's own, so that no desktop portal of the machine
// answers and nothing of the real session is touched.
class PrivateBus {
public:
    explicit PrivateBus(const std::string& folder) {
        const QString config = QString::fromStdString(folder + "bus.conf");
        WriteFile(config.toStdString(),
                  "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                  "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                  "<busconfig><type>session</type><listen>unix:dir=" +
                      folder +
                      "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                      "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                      "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead())
            address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString& name : m_names)
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    QDBusConnection Connect(const QString& name) {
        m_names << name;
        return QDBusConnection::connectToBus(address, name);
    }
    QString address;
    pid_t Pid() const { return static_cast<pid_t>(m_daemon.processId()); }

private:
    QProcess m_daemon;
    QStringList m_names;
};
