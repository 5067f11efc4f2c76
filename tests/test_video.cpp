// The video window on the virtual X server's OpenGL (Mesa's software renderer).
#include "TestMedia.h"

#include "platform/QtClock.h"
#include "playback/LibmpvEngines.h"
#include "playback/TFormWMP.h"

#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestWait.h"

// The video window draws the picture through mpv's render API, on the X server's GL or with
// mpv's software renderer.
class X11Video : public ::testing::TestWithParam<VideoDrawing> {};

TEST_P(X11Video, PictureIsDrawnInTheVideoWindow)
{
    QTemporaryDir dir;
    const QString clip = MakeTestRecording(dir.path(), QStringLiteral("clip.mp4"), 2.0);
    ASSERT_FALSE(clip.isEmpty());
    QtClock clock;
    LibmpvWmp wmp(clock, true, {{"ao", "null"}});
    TFormWMP window(clock, &wmp.mpv(), GetParam());
    // Loaded before the window was ever shown, as the open does.
    wmp.setURL(clip);
    wmp.play();
    wmp.pause();
    ASSERT_TRUE(WaitFor([&] { return wmp.playState() == wmppsPaused; }));
    window.show();
    wmp.setCurrentPosition(1.0);
    QWidget *view = window.WindowsMediaPlayer1;
    ASSERT_EQ(qobject_cast<QOpenGLWidget *>(view) != nullptr, GetParam() == VideoDrawing::Gl);
    // The test picture is colourful: wait until the frame is not a blank one.
    const auto colourful = [&] {
        const QImage frame = view->grab().toImage();
        int coloured = 0;
        for (int y = 0; y < frame.height(); y += 16)
            for (int x = 0; x < frame.width(); x += 16)
                if (QColor(frame.pixel(x, y)).hsvSaturation() > 100) ++coloured;
        return coloured > 50;
    };
    EXPECT_TRUE(WaitFor(colourful, 5000));

    // A double click on the picture toggles full screen.
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &dbl);
    EXPECT_TRUE(WaitFor([&] { return window.isFullScreen(); }));
    QCoreApplication::sendEvent(view, &dbl);
    EXPECT_TRUE(WaitFor([&] { return !window.isFullScreen(); }));
}

INSTANTIATE_TEST_SUITE_P(EachDrawing, X11Video, ::testing::Values(VideoDrawing::Gl, VideoDrawing::Software),
                         [](const auto &info) { return info.param == VideoDrawing::Gl ? "Gl" : "Software"; });
