#pragma once

#include "platform/Clock.h"
#include "platform/Platform.h"

#include <QWidget>
#include <memory>

class MpvInstance;
class PinButton;
class UserMessages;

// The video window. Closing it only hides it.
class TFormWMP : public QWidget {
    Q_OBJECT
public:
    // videoSource: the player whose picture to draw, drawn as drawing says; none where no
    // picture can be drawn.
    TFormWMP(Clock &clock, MpvInstance *videoSource, VideoDrawing drawing = VideoDrawing::Gl);
    ~TFormWMP() override;

    bool visibleAtClose = true;
    // A stored placement: the first showing keeps it instead of centring the window.
    void keepPlacement() { m_placed = true; }
    QWidget *WindowsMediaPlayer1;
    PinButton *JvCaptionButton1;
    std::unique_ptr<Timer> Timer1; // redraw after showing and resizing

    void setMainWindow(QWidget *main) { m_main = main; }
    void Timer1Timer();
    // Shows the window where it can be used; the audio player has no video to show.
    void ShowVideoWindow(bool videoFlag, UserMessages &messages);
    void VideoOnTop(bool onTop);
    void toggleFullScreen();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void makeView();

    QWidget *m_main = nullptr;
    MpvInstance *m_videoSource; // until the picture's view is made
    VideoDrawing m_drawing;
    bool m_placed = false;
};
