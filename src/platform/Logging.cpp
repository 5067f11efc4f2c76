#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcApp, "stenova.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPlayback, "stenova.playback", QtWarningMsg)
Q_LOGGING_CATEGORY(lcExternal, "stenova.external", QtWarningMsg)
Q_LOGGING_CATEGORY(lcAutomation, "stenova.automation", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFiles, "stenova.files", QtWarningMsg)
