#pragma once

#include <QString>

class TForm1;
class UserMessages;

// The option to play every file in the external player, and the check of its program path.
class MpcOption {
public:
    MpcOption(TForm1 &form, UserMessages &messages);
    void NMPCClick();
    void CheckPlayerPath();
    // A usable player: an existing file whose path names mpv.
    static bool IsPlayerPath(const QString &path);

private:
    TForm1 &m_form;
    UserMessages &m_messages;
};
