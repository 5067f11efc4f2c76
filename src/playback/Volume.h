#pragma once

#include <QObject>

class TForm1;
class UserMessages;
class VolumeControl;
struct MainOperations;
struct Platform;

// The volume slider of the main window with its percentage label and tick scale. With the
// in-process players it drives this program's own sound (the mixer); when every file plays
// in the external player (MpcMode) it drives the system's output volume instead. The slider
// also follows volume changes made elsewhere, on every display refresh.
class Volume : public QObject {
public:
    Volume(TForm1 &form, const Platform &platform, MainOperations &ops);
    ~Volume() override;

    // Through the path that MpcMode selects at the moment of the call.
    bool SetVolumeLevel(int level);
    int GetVolumeLevel(); // −1 when it cannot be read

    void TrackBarVolumeChange(); // also the tick scale's change handler
    void TrackBarVolumeMouseDown(int x);
    void VolumeFollow();
    void Image1Click();

    // Both volume paths work in 0 … 100.
    static constexpr int VolumeMinimum = 0, VolumeMaximum = 100;
    // Slider position (0 … sliderMax) to level and back, over the volume range.
    static int LevelFromPosition(int position, int sliderMax);
    static int PositionFromLevel(int level, int sliderMax);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    VolumeControl &path() const;

    TForm1 &m_form;
    VolumeControl &m_mixer, &m_master;
    UserMessages &m_messages;
    MainOperations &m_ops;
};
