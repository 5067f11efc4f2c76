#pragma once

#include "persist/Settings.h"

#include <QStringList>

// Stands in for the settings files until the program has made them (and for tests that want
// none). Every call is logged (stenova.app, info) and recorded, and changes nothing. The
// program lists the interfaces this class still serves, and the start-up test checks that
// none is left to it.
class PendingParts : public ProgramSettings, public MediaSettings {
public:
    void LoadFromSettingsINI() override { pending("LoadFromSettingsINI"); }
    void SaveToSettingsINI() override { pending("SaveToSettingsINI"); }
    bool SaveToINIVideo(const QString &) override
    {
        pending("SaveToINIVideo");
        return true;
    }
    std::optional<bool> LoadFromINIVideo(const QString &) override;
    void LoadFromINIMedia(const QString &) override { pending("LoadFromINIMedia"); }
    void markSaved(const QString &) override {}

    QStringList calls; // the operations called so far, in order

private:
    void pending(const char *operation);
};
