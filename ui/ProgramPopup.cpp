#include "ProgramPopup.h"

#include "MSNPopUp.h"

#include <QApplication>

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

void RaiseProgramWindows() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && !qobject_cast<TfrmMSNPopUp*>(window)) {
            if (window->isMinimized())
                window->showNormal();
            window->raise();
            window->activateWindow();
        }
}
