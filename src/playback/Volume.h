#pragma once

#include <QObject>

class QAction;
class QLabel;
class Timer;
class TrackBar;
class UserMessages;
class VolumeControl;
struct Platform;

// The volume slider of the main window with its percentage label and tick scale. With the
// in-process players it drives this program's own sound (the mixer); when every file plays
// in the external player (MpcMode) it drives the system's output volume instead. The slider
// also follows volume changes made elsewhere, on every display refresh.
class Volume : public QObject {
public:
    struct Controls {
        TrackBar *TrackBarVolume, *TrackBar3;
        QLabel *LabelVolProz, *Image1;
        QAction *NMPC;
        Timer *Timer2;
    };

    Volume(const Controls &controls, const Platform &platform);

    // Through the path that MpcMode selects at the moment of the call.
    bool SetVolumeLevel(int level);
    int GetVolumeLevel(); // −1 when it cannot be read

    void TrackBarVolumeChange(); // also the tick scale's change handler
    void TrackBarVolumeMouseDown(int x);
    void VolumeFollow();
    void Image1Click();
    int lastShownLevel() const { return m_lastShown; }

    // Both volume paths work in 0 … 100.
    static constexpr int VolumeMinimum = 0, VolumeMaximum = 100;
    // Slider position (0 … sliderMax) to level and back, over the volume range.
    static int LevelFromPosition(int position, int sliderMax);
    static int PositionFromLevel(int level, int sliderMax);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    VolumeControl &path() const;

    const Controls m_c;
    VolumeControl &m_mixer, &m_master;
    UserMessages &m_messages;
    int m_lastShown = -1; // the level last applied or shown; −1 shows the first reading
};
