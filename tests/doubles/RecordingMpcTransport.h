#pragma once

#include "playback/TMPCHC.h"

#include <QStringList>
#include <functional>

// Test double: records the player starts and the commands; tests deliver reports by
// calling onReport.
class RecordingMpcTransport : public MpcTransport {
public:
    bool startPlayer(const QString &program, const QString &mediaPath, const QString &hostWindow) override
    {
        starts << program + u'|' + mediaPath + u'|' + hostWindow;
        if (startSucceeds && onStart) onStart();
        return startSucceeds;
    }
    void send(std::uint32_t code, const QString &text) override
    {
        commands << QString::number(code, 16) + u'|' + text;
        if (onSend) onSend(code, text);
    }
    bool startSucceeds = true;
    QStringList starts;
    QStringList commands;
    std::function<void(std::uint32_t, const QString &)> onSend; // a scripted player
    std::function<void()> onStart;
};
