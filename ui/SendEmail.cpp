#include "SendEmail.h"

#include <QCoreApplication>

#include "MessageBox.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace {
// Disables the windows that are enabled now and enables exactly those again,
// also when the mail client throws.
class DisabledWindows {
public:
    DisabledWindows() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isEnabled()) {
                window->setEnabled(false);
                m_windows.emplace_back(window);
            }
        }
    }
    ~DisabledWindows() {
        for (const QPointer<QWidget>& window : m_windows) {
            if (window)
                window->setEnabled(true);
        }
    }
    DisabledWindows(const DisabledWindows&) = delete;
    DisabledWindows& operator=(const DisabledWindows&) = delete;

private:
    std::vector<QPointer<QWidget>> m_windows;
};
} // namespace

void SendEmail(QWidget* owner, const TEmail& mail, MailClient& client) {
    bool reached = false;
    {
        DisabledWindows disabled;
        reached = client.Compose(mail);
    }
    if (!reached)
        MessageBox::Error(
            QCoreApplication::translate("SendEmail", "Error while trying to send email"),
            QCoreApplication::translate("SendEmail", "Error"), owner);
}

void SendEmail(QWidget* owner, const TEmail& mail, std::unique_ptr<MailClient>& client) {
    if (!client)
        client = std::make_unique<DesktopMailClient>();
    SendEmail(owner, mail, *client);
}
