#include "Logging.h"

Q_LOGGING_CATEGORY(lcAudio, "tapewren.audio", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlatform, "tapewren.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "tapewren.ui", QtWarningMsg)
