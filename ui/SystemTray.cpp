#include "TrayBackend.h"

#include <QSystemTrayIcon>

namespace {
class SystemTray : public TrayBackend {
public:
    SystemTray() {
        connect(&m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        emit leftClicked();
                    else if (reason == QSystemTrayIcon::DoubleClick)
                        emit doubleClicked();
                });
    }
    void SetIcon(const QIcon& icon) override { m_icon.setIcon(icon); }
    void SetToolTip(const QString& text) override { m_icon.setToolTip(lines(text)); }
    void SetVisible(bool visible) override { m_icon.setVisible(visible); }
    void SetMenu(QMenu* menu) override { m_icon.setContextMenu(menu); }
    void ShowBalloon(const QString& title, const QString& text, int seconds,
                     BalloonIcon icon) override {
        static const QSystemTrayIcon::MessageIcon icons[] = {
            QSystemTrayIcon::NoIcon, QSystemTrayIcon::Information, QSystemTrayIcon::Warning,
            QSystemTrayIcon::Critical};
        m_icon.showMessage(title, lines(text), icons[static_cast<int>(icon)], seconds * 1000);
    }

private:
    // The program's texts break lines with a carriage return.
    static QString lines(QString text) {
        return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(QChar('\r'), QChar('\n'));
    }

    QSystemTrayIcon m_icon;
};
} // namespace

std::unique_ptr<TrayBackend> CreateSystemTray() {
    return std::make_unique<SystemTray>();
}
