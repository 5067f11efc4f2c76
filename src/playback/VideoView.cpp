#include "playback/VideoView.h"

#include "playback/Mpv.h"

#include <QOpenGLContext>
#include <QPainter>
#include <mpv/client.h>
#include <mpv/render_gl.h>

namespace {
void *GetProcAddress(void *, const char *name)
{
    QOpenGLContext *context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void *>(context->getProcAddress(QByteArray(name))) : nullptr;
}
} // namespace

VideoView::VideoView(MpvInstance &mpv, QWidget *parent) : QOpenGLWidget(parent), m_mpv(mpv)
{
    setObjectName(QStringLiteral("WindowsMediaPlayer1"));
    setAccessibleName(QStringLiteral("Видео"));
}

VideoView::~VideoView()
{
    if (!m_render) return;
    makeCurrent();
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    mpv_render_context_free(m_render);
    doneCurrent();
}

void VideoView::initializeGL()
{
    if (!m_mpv.ok() || m_render) return;
    mpv_opengl_init_params gl{&GetProcAddress, nullptr};
    // No advanced control: the UI thread both renders and makes synchronous calls (exact
    // seeks), which advanced control forbids on the render thread.
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_OPENGL)},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &gl},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, m_mpv.handle(), params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &VideoView::onUpdate, this);
    // Now there is something to draw on: take the video track.
    m_mpv.command({"set", "vid", "auto"});
}

void VideoView::onUpdate(void *self)
{
    // Called on one of mpv's threads: only queue the redraw.
    QMetaObject::invokeMethod(static_cast<VideoView *>(self), &VideoView::frameReady, Qt::QueuedConnection);
}

void VideoView::frameReady()
{
    if (m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME)) update();
}

void VideoView::paintGL()
{
    if (!m_render) return;
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(width() * ratio),
                       static_cast<int>(height() * ratio), 0};
    int flip = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo}, {MPV_RENDER_PARAM_FLIP_Y, &flip}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context_render(m_render, params);
}

void VideoView::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit doubleClicked();
    QOpenGLWidget::mouseDoubleClickEvent(event);
}

SoftwareVideoView::SoftwareVideoView(MpvInstance &mpv, QWidget *parent) : QWidget(parent), m_mpv(mpv)
{
    setObjectName(QStringLiteral("WindowsMediaPlayer1"));
    setAccessibleName(QStringLiteral("Видео"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!m_mpv.ok()) return;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_create(&m_render, m_mpv.handle(), params) < 0) {
        m_render = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(m_render, &SoftwareVideoView::onUpdate, this);
    m_mpv.command({"set", "vid", "auto"});
}

SoftwareVideoView::~SoftwareVideoView()
{
    if (!m_render) return;
    mpv_render_context_set_update_callback(m_render, nullptr, nullptr);
    mpv_render_context_free(m_render);
}

void SoftwareVideoView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QSize size = (QSizeF(this->size()) * devicePixelRatioF()).toSize();
    if (!m_render || size.isEmpty()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    if (m_frame.size() != size) {
        const qsizetype stride = (size.width() * 4 + 63) / 64 * 64;
        m_pixels.reset(static_cast<uchar *>(std::aligned_alloc(64, stride * size.height())));
        m_frame = QImage(m_pixels.get(), size.width(), size.height(), stride, QImage::Format_RGB32);
        m_frame.setDevicePixelRatio(devicePixelRatioF());
    }
    int surface[2] = {size.width(), size.height()};
    size_t stride = static_cast<size_t>(m_frame.bytesPerLine());
    // Format_RGB32 keeps blue, green, red, unused in that order of addresses.
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, surface},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("bgr0")},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, m_frame.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(m_render, params) < 0) m_frame.fill(Qt::black);
    painter.drawImage(QPoint(0, 0), m_frame);
}

void SoftwareVideoView::onUpdate(void *self)
{
    QMetaObject::invokeMethod(static_cast<SoftwareVideoView *>(self), &SoftwareVideoView::frameReady,
                              Qt::QueuedConnection);
}

void SoftwareVideoView::frameReady()
{
    if (m_render && (mpv_render_context_update(m_render) & MPV_RENDER_UPDATE_FRAME)) update();
}

void SoftwareVideoView::mouseDoubleClickEvent(QMouseEvent *event)
{
    emit doubleClicked();
    QWidget::mouseDoubleClickEvent(event);
}
