#pragma once

#include <QString>

class DesktopNotifications;
class QWidget;
class TMSNPopUp;

// The program's popup in its own colours and fonts, owned by owner.
TMSNPopUp* CreateProgramPopup(QWidget* owner);
// Shows text; with a link, clicking the text opens it. On Wayland, where no
// window of ours can be placed, it goes to the desktop's notification server
// when one answers.
void PresentProgramPopup(TMSNPopUp& popup, const QString& text, const QString& link);
// The popup as a notification: its first line the summary, with a "Play"
// action that opens the link.
void NotifyProgramPopup(DesktopNotifications& server, const QString& text, const QString& link,
                        int seconds);
// Every window of the program on screen comes forward, but its popups, which
// must never take the focus.
void RaiseProgramWindows();
