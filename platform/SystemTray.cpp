#include "TrayBackend.h"

#include "Alert.h"
#include "DesktopNotifications.h"
#include "Logging.h"
#include "TextLines.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QSystemTrayIcon>

namespace {
class SystemTray : public TrayBackend {
public:
    explicit SystemTray(bool statusNotifier) {
        if (statusNotifier)
            m_notifications = std::make_unique<DesktopNotifications>();
        connect(&m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        emit leftClicked();
                    else if (reason == QSystemTrayIcon::DoubleClick)
                        emit doubleClicked();
                });
    }
    void SetIcon(const QIcon& icon) override { m_icon.setIcon(icon); }
    void SetToolTip(const QString& text) override { m_icon.setToolTip(TextLines(text)); }
    void SetVisible(bool visible) override { m_icon.setVisible(visible); }
    void SetMenu(QMenu* menu) override { m_icon.setContextMenu(menu); }
    void ShowBalloon(const QString& title, const QString& text, int seconds, BalloonIcon icon,
                     const QString& summary) override {
        // Qt draws its own balloon for an XEmbed tray, at a corner of the
        // screen far from the icon; the desktop's notifications, where a
        // server answers, show it where the user looks for them.
        if (!m_notifications && DesktopNotifications::Available())
            m_notifications = std::make_unique<DesktopNotifications>();
        if (m_notifications) {
            m_notifications->Show(summary.isEmpty() ? title : summary, TextLines(text), seconds,
                                  icon);
            return;
        }
        qCDebug(lcPlatform, "tray: no notification server; Qt draws the balloon");
        m_ownBalloon = true;
        static const QSystemTrayIcon::MessageIcon icons[] = {
            QSystemTrayIcon::NoIcon, QSystemTrayIcon::Information, QSystemTrayIcon::Warning,
            QSystemTrayIcon::Critical};
        m_icon.showMessage(title, TextLines(text), icons[static_cast<int>(icon)], seconds * 1000);
        announceBalloon(title, TextLines(text));
    }
    void HideBalloon() override {
        // Qt's own balloon (XEmbed trays) goes away on an empty message.
        if (m_ownBalloon)
            m_icon.showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
        m_ownBalloon = false;
    }

private:
    // Qt's balloon is a window of its own, shown by now; its close button
    // shows only a cross.
    static void announceBalloon(const QString& title, const QString& text) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->inherits("QBalloonTip") && window->isVisible()) {
                if (auto* close = window->findChild<QPushButton*>())
                    close->setAccessibleName(QCoreApplication::translate("SystemTray", "Close"));
                MarkAsAlert(window, title, text);
                AnnounceAlert(window);
            }
    }

    std::unique_ptr<DesktopNotifications> m_notifications;
    bool m_ownBalloon = false;
    QSystemTrayIcon m_icon;
};
} // namespace

std::unique_ptr<TrayBackend> CreateTrayIcon(bool statusNotifier) {
    return std::make_unique<SystemTray>(statusNotifier);
}
