#pragma once

#include <QOpenGLWidget>

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
