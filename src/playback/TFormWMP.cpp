#include "playback/TFormWMP.h"

#include "platform/UserMessages.h"
#include "playback/Mpv.h"
#include "playback/VideoView.h"
#include "widgets/PinButton.h"

#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <utility>

namespace {
// A black area where no picture can be drawn; double click still toggles full screen.
class NoVideo : public QWidget {
public:
    NoVideo(TFormWMP *window) : QWidget(window), m_window(window)
    {
        setObjectName(QStringLiteral("WindowsMediaPlayer1"));
        setAccessibleName(QStringLiteral("Видео"));
        setAutoFillBackground(true);
        setPalette(QPalette(Qt::black));
    }
    void mouseDoubleClickEvent(QMouseEvent *) override { m_window->toggleFullScreen(); }

private:
    TFormWMP *m_window;
};
} // namespace

TFormWMP::TFormWMP(Clock &clock, MpvInstance *videoSource, VideoDrawing drawing)
    : m_videoSource(videoSource), m_drawing(drawing)
{
    if (videoSource)
        connect(
            videoSource, &MpvInstance::playerStarted, this,
            [this] {
                if (isVisible()) makeView();
            },
            Qt::QueuedConnection);
    setObjectName(QStringLiteral("FormWMP"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    WindowsMediaPlayer1 = new NoVideo(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(WindowsMediaPlayer1);
    Timer1 = clock.timer(QStringLiteral("Timer1"), 250, true, false);
    Timer1->onTimeout = [this] { Timer1Timer(); };
    resize(705, 457);
    JvCaptionButton1 = new PinButton(this);
}

TFormWMP::~TFormWMP() = default;

void TFormWMP::showEvent(QShowEvent *event)
{
    if (m_videoSource && m_videoSource->started()) makeView();
    QWidget::showEvent(event);
    Timer1->start();
}

// The picture's view, and with it Qt's GL support, is made when the window is shown and its
// player has a file, or the user asks for the picture: a program that plays only sound never
// loads it, even with the video window shown.
void TFormWMP::makeView()
{
    MpvInstance *source = std::exchange(m_videoSource, nullptr);
    if (!source) return;
    QWidget *view = nullptr;
    if (m_drawing == VideoDrawing::Gl) {
        auto *gl = new VideoView(*source, this);
        connect(gl, &VideoView::doubleClicked, this, &TFormWMP::toggleFullScreen);
        view = gl;
    } else {
        auto *software = new SoftwareVideoView(*source, this);
        connect(software, &SoftwareVideoView::doubleClicked, this, &TFormWMP::toggleFullScreen);
        view = software;
    }
    delete layout()->replaceWidget(WindowsMediaPlayer1, view);
    delete std::exchange(WindowsMediaPlayer1, view);
    if (isVisible()) view->show();
}

void TFormWMP::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Timer1->start(); // many resizes in a row make one redraw, after the last
}

void TFormWMP::Timer1Timer()
{
    if (!isVisible()) return;
    if (m_main && !m_main->isVisible()) {
        Timer1->start(); // try again once the main window is shown
        return;
    }
    WindowsMediaPlayer1->update();
    activateWindow();
}

void TFormWMP::toggleFullScreen()
{
    if (isFullScreen()) showNormal();
    else showFullScreen();
}

void TFormWMP::ShowVideoWindow(bool videoFlag, UserMessages &messages)
{
    if (!videoFlag) {
        messages.error(QStringLiteral("Внимание!"),
                       QStringLiteral("Данный файл *.wav открыт не в видеопроигрывателе."));
        return;
    }
    makeView();
    if (!m_placed) {
        // Centred at its first showing; later the saved placement applies.
        m_placed = true;
        move(this->screen()->geometry().center() - rect().center());
    }
    show();
    const QRect screen = this->screen()->geometry();
    const QRect g = geometry();
    if (g.left() > screen.width() - 50 || g.top() > screen.height() - 50 || g.left() + g.width() < 50 || g.top() < 5 ||
        g.width() < 20 || g.height() < 15)
        setGeometry(0, 400, 450, 400);
    raise();
    activateWindow();
}

void TFormWMP::VideoOnTop(bool onTop)
{
    if (!isVisible()) return;
    const QRect g = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    setGeometry(g);
    show();
    if (!onTop && m_main) m_main->activateWindow();
}
