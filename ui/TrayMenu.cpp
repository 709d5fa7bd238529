#include "TrayMenu.h"

#include "Bass.h"
#include "TCoolTrayIcon.h"

#include <QCoreApplication>
#include <QMenu>

namespace {
QString text(const char* source) {
    return QCoreApplication::translate("TFormMain", source);
}
} // namespace

void TrayMenu::BuildTrayMenu(TCoolTrayIcon& icon, const Handlers& handlers) {
    // Owned by the icon's parent window: a menu needs a widget for its parent.
    PopupMenu = new QMenu(qobject_cast<QWidget*>(icon.parent()));
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    const auto item = [this](const char* name, const QString& caption,
                             const std::function<void()>& handler) {
        QAction* action = PopupMenu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        QObject::connect(action, &QAction::triggered, PopupMenu, [handler] { handler(); });
        return action;
    };
    MenuClick = item("MenuClick", text(QT_TRANSLATE_NOOP("TFormMain", "&Record")), handlers.click);
    MenuClickSeparator = PopupMenu->addSeparator();
    MenuPause = item("MenuPause", text(QT_TRANSLATE_NOOP("TFormMain", "&Pause")), handlers.pause);
    MenuStop = item("MenuStop", text(QT_TRANSLATE_NOOP("TFormMain", "&Stop")), handlers.stop);
    PopupMenu->addSeparator();
    MenuRecord =
        item("MenuRecord", text(QT_TRANSLATE_NOOP("TFormMain", "&Record Now  [Tray Click]")),
             handlers.record);
    MenuRecordEmail =
        item("MenuRecordEmail", text(QT_TRANSLATE_NOOP("TFormMain", "Record and &Email")),
             handlers.recordEmail);
    PopupMenu->addSeparator();
    MenuConfig =
        item("MenuConfig", text(QT_TRANSLATE_NOOP("TFormMain", "&Config...  [Tray Doulble-Click]")),
             handlers.config);
    MenuAutostart =
        item("MenuAutostart", text(QT_TRANSLATE_NOOP("TFormMain", "Start with the &desktop")),
             handlers.autostart);
    MenuAutostart->setCheckable(true);
    PopupMenu->addSeparator();
    MenuHelp = item("MenuHelp", text(QT_TRANSLATE_NOOP("TFormMain", "&Help...")), handlers.help);
    PopupMenu->addSeparator();
    MenuExit = item("MenuExit", text(QT_TRANSLATE_NOOP("TFormMain", "E&xit")), handlers.exit);
    icon.SetPopupMenu(PopupMenu);
}

void TrayMenu::UpdateTrayMenu(uint32_t state, bool autostartOn, bool menuOnClick) {
    const bool idle = state == BASS_ACTIVE_STOPPED;
    MenuClick->setVisible(menuOnClick);
    MenuClickSeparator->setVisible(menuOnClick);
    MenuClick->setText(idle ? text(QT_TRANSLATE_NOOP("TFormMain", "&Record"))
                            : text(QT_TRANSLATE_NOOP("TFormMain", "&Stop")));
    PopupMenu->setDefaultAction(menuOnClick ? MenuClick : nullptr);
    MenuStop->setEnabled(!idle);
    MenuPause->setEnabled(!idle);
    MenuAutostart->setChecked(autostartOn);
    MenuRecord->setEnabled(idle);
    MenuRecordEmail->setEnabled(idle);
    MenuConfig->setEnabled(idle);
    if (state == BASS_ACTIVE_PLAYING || state == BASS_ACTIVE_STALLED)
        MenuPause->setText(text(QT_TRANSLATE_NOOP("TFormMain", "&Pause")));
    else if (state == BASS_ACTIVE_PAUSED)
        MenuPause->setText(text(QT_TRANSLATE_NOOP("TFormMain", "&Resume")));
}
