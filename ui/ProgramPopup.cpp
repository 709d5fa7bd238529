#include "ProgramPopup.h"

#include "DesktopNotifications.h"
#include "Logging.h"
#include "MSNPopUp.h"
#include "Shell.h"
#include "TextLines.h"

#include <QApplication>
#include <QCoreApplication>

namespace {
// The notification server the popup's texts go to wherever one answers,
// created with the first of them: the desktop shows them as it shows every
// other program's, where its screen reader and its list find them. Where
// none answers the popup is our own; on Wayland the desktop places it, not
// we, so there that is a fall-back worth a warning.
DesktopNotifications* NotificationServer(TMSNPopUp& popup) {
    if (auto* server = popup.findChild<DesktopNotifications*>())
        return server;
    if (!DesktopNotifications::Available()) {
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
            qCWarning(lcUi, "popup: no notification server; the desktop places our own popup");
        else
            qCDebug(lcUi, "popup: no notification server; our own popup shows");
        return nullptr;
    }
    auto* server = new DesktopNotifications();
    server->setParent(&popup);
    return server;
}
} // namespace

TMSNPopUp* CreateProgramPopup(QWidget* owner) {
    auto* popup = new TMSNPopUp(owner);
    popup->Text = QStringLiteral("N/A");
    popup->Title = QStringLiteral("Tapewren");
    popup->TimeOut = 5;
    popup->GradientColor1 = QColor(157, 157, 255);
    QFont sans(QStringLiteral("Sans Serif"));
    sans.setStyleHint(QFont::SansSerif);
    sans.setPixelSize(11);
    popup->Font = sans;
    popup->FontColor = QColor(64, 64, 64);
    popup->HoverFont = sans;
    popup->HoverFont.setUnderline(true);
    popup->HoverFontColor = QColor(0, 0, 255);
    QFont title = sans;
    title.setPixelSize(13);
    title.setBold(true);
    popup->TitleFont = title;
    popup->TitleFontColor = QColor(0, 0, 0);
    popup->Options = msnAutoOpenURL | msnSystemFont | msnCascadePopups | msnAllowScroll;
    return popup;
}

void PresentProgramPopup(TMSNPopUp& popup, const QString& text, const QString& link) {
    if (DesktopNotifications* server = NotificationServer(popup)) {
        NotifyProgramPopup(*server, text, link, popup.TimeOut);
        return;
    }
    popup.Text = text;
    popup.URL = link;
    if (!link.isEmpty()) {
        popup.Options |= msnAllowHyperlink;
        popup.TextCursor = QCursor(Qt::PointingHandCursor);
    } else {
        popup.Options &= ~msnAllowHyperlink;
        popup.TextCursor = QCursor(Qt::ArrowCursor);
    }
    popup.PresentPopup();
}

void NotifyProgramPopup(DesktopNotifications& server, const QString& text, const QString& link,
                        int seconds) {
    const QString lines = TextLines(text);
    const qsizetype end = lines.indexOf(QChar('\n'));
    QStringList actions;
    if (!link.isEmpty()) {
        const QString play = QCoreApplication::translate("ProgramPopup", "Play");
        // "default" is a click on the notification, which the text asks for;
        // GNOME shows no button for it, hence the second.
        actions << QStringLiteral("default") << play << QStringLiteral("play") << play;
    }
    // Only the link of the notification now shown is played.
    QObject::disconnect(&server, &DesktopNotifications::actionInvoked, nullptr, nullptr);
    if (!link.isEmpty())
        QObject::connect(&server, &DesktopNotifications::actionInvoked, &server,
                         [link](const QString&) { OpenWithShell(link.toStdString()); });
    server.Show(lines.left(end), end < 0 ? QString() : lines.mid(end + 1), seconds,
                TrayBackend::BalloonIcon::Information, actions);
}

void RaiseProgramWindows() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && !qobject_cast<TfrmMSNPopUp*>(window)) {
            if (window->isMinimized())
                window->showNormal();
            window->raise();
            window->activateWindow();
        }
}
