#pragma once

#include <QLoggingCategory>

// Diagnostics for whoever runs the program from a terminal or reads the
// journal; what the user must know is shown in a window instead. Each can be
// silenced or widened with QT_LOGGING_RULES ("tapewren.audio.debug=true").
Q_DECLARE_LOGGING_CATEGORY(lcAudio)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
