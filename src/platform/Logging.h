#pragma once

#include <QLoggingCategory>

// One logging category per part of the program. Debug messages are off unless
// QT_LOGGING_RULES turns them on, e.g. QT_LOGGING_RULES="stenova.*.debug=true" for all or
// "stenova.external.debug=true" for the external player's traffic; warnings are on.
Q_DECLARE_LOGGING_CATEGORY(lcApp)        // stenova.app: start-up, opening files
Q_DECLARE_LOGGING_CATEGORY(lcPlayback)   // stenova.playback: the in-process players
Q_DECLARE_LOGGING_CATEGORY(lcExternal)   // stenova.external: the external player's IPC traffic
Q_DECLARE_LOGGING_CATEGORY(lcAutomation) // stenova.automation: main tick, key capture, hot keys
Q_DECLARE_LOGGING_CATEGORY(lcFiles)      // stenova.files: folders and files written
