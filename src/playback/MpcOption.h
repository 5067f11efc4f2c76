#pragma once

#include <QString>

class QAction;
class QLineEdit;
class TMPCHC;
class UserMessages;
struct FileDialogSpec;

// The option to play every file in the external player, and the check of its program path.
class MpcOption {
public:
    struct Controls {
        QAction *NMPC;
        TMPCHC *MPCHC;
        FileDialogSpec *OpenDialogMPC;
        QLineEdit *EditNMPC;
    };

    MpcOption(const Controls &controls, UserMessages &messages);
    void NMPCClick();
    void CheckPlayerPath();
    // A usable player: an existing file whose path names mpv.
    static bool IsPlayerPath(const QString &path);

private:
    const Controls m_c;
    UserMessages &m_messages;
};
