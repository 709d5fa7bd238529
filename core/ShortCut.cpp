#include "ShortCut.h"

#include <QCoreApplication>

QString ShortCutToText(TShortCut shortcut) {
    QString text;
    if (shortcut & 0x2000)
        text += QCoreApplication::translate("ShortCut", "Shift+");
    if (shortcut & 0x4000)
        text += QCoreApplication::translate("ShortCut", "Ctrl+");
    if (shortcut & 0x8000)
        text += QCoreApplication::translate("ShortCut", "Alt+");
    const int key = shortcut & 0xFF;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        text += QChar(key);
    else if (key >= 0x70 && key <= 0x87)
        text += QStringLiteral("F%1").arg(key - 0x6F);
    else if (key != 0)
        text += QStringLiteral("#%1").arg(key);
    return text;
}
