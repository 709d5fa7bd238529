#pragma once

#include "MSNPopUp.h"

#include <QApplication>

#include <vector>

// The popup windows now on screen.
inline std::vector<TfrmMSNPopUp*> VisiblePopups() {
    std::vector<TfrmMSNPopUp*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* popup = qobject_cast<TfrmMSNPopUp*>(w); popup && popup->isVisible())
            found.push_back(popup);
    return found;
}
