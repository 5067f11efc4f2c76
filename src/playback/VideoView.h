#pragma once

#include <QImage>
#include <QOpenGLWidget>
#include <cstdlib>
#include <memory>

class MpvInstance;
struct mpv_render_context;

// Draws the video of an mpv instance (vo=libmpv) through mpv's render API.
class VideoView : public QOpenGLWidget {
    Q_OBJECT
public:
    VideoView(MpvInstance &mpv, QWidget *parent);
    ~VideoView() override;

signals:
    void doubleClicked();

protected:
    void initializeGL() override;
    void paintGL() override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    static void onUpdate(void *self);
    void frameReady();

    MpvInstance &m_mpv;
    mpv_render_context *m_render = nullptr;
};

// Draws the video with mpv's software renderer into an image that the widget paints. Where the
// machine has no GPU, GL is Mesa's software rasterizer, which takes some 60 MB more memory
// than this and more time for the same picture.
class SoftwareVideoView : public QWidget {
    Q_OBJECT
public:
    SoftwareVideoView(MpvInstance &mpv, QWidget *parent);
    ~SoftwareVideoView() override;

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    static void onUpdate(void *self);
    void frameReady();

    MpvInstance &m_mpv;
    mpv_render_context *m_render = nullptr;
    // The picture's pixels, aligned for mpv's scalers, and the image over them.
    std::unique_ptr<uchar, decltype(&std::free)> m_pixels{nullptr, &std::free};
    QImage m_frame;
};
