#pragma once

#include <QString>

class QWidget;
class TMSNPopUp;

// The program's popup in its own colours and fonts, owned by owner.
TMSNPopUp* CreateProgramPopup(QWidget* owner);
// Shows text; with a link, clicking the text opens it.
void PresentProgramPopup(TMSNPopUp& popup, const QString& text, const QString& link);
// Every window of the program on screen comes forward, but its popups, which
// must never take the focus.
void RaiseProgramWindows();
