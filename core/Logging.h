#pragma once

#include <QLoggingCategory>

// Diagnostics for whoever runs the program from a terminal or reads the
// journal, in plain English (never translated); what the user must know is
// shown in a window instead. A warning where the program falls back because
// something it asked for was refused or failed; a debug message for the
// choices it makes from what the desktop offers, and for what went well.
// Warnings show by default; each category can be silenced or widened with
// QT_LOGGING_RULES ("tapewren.platform.debug=true", "tapewren.*=false").
Q_DECLARE_LOGGING_CATEGORY(lcAudio)
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
