#pragma once

#include <QString>

class UserMessages;

// The folder of setting.ini and AvtoSave: $STENOVA_HOME when set, else the folder of the
// executable when it can be written, else $XDG_DATA_HOME/stenova.
QString ProgramFolder();
QString WorkFolder();   // ProgramFolder()/AvtoSave
QString SettingsPath(); // ProgramFolder()/setting.ini

// Creates the working folder when it is missing. A failure is shown as
// "Cannot create <path>" and the program goes on without it.
bool EnsureWorkFolder(UserMessages &messages);
