#include "playback/Volume.h"

#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/UserMessages.h"
#include "playback/PlayerFacade.h"
#include "widgets/Controls.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>

namespace {

// A slider tag that marks a move made only to show a level: nothing is applied.
constexpr int DisplayOnly = 33;

} // namespace

Volume::Volume(const Controls &controls, const Platform &platform)
    : m_c(controls), m_mixer(platform.mixer), m_master(platform.masterVolume), m_messages(platform.messages)
{
    TrackBar *bar = m_c.TrackBarVolume;
    connect(bar, &QSlider::valueChanged, this, &Volume::TrackBarVolumeChange);
    connect(m_c.TrackBar3, &QSlider::valueChanged, this, &Volume::TrackBarVolumeChange);
    bar->setPageStep(0); // a click sets the level where it lands, never a page further
    bar->installEventFilter(this);
    m_c.Image1->installEventFilter(this);
}

VolumeControl &Volume::path() const { return m_c.NMPC->isChecked() ? m_master : m_mixer; }

bool Volume::SetVolumeLevel(int level) { return path().setLevel(level); }

int Volume::GetVolumeLevel() { return path().level(); }

// Whole-number arithmetic: a division in floating point truncates 29 ÷ 100 × 100 to 28.
int Volume::LevelFromPosition(int position, int sliderMax)
{
    if (sliderMax <= 0) return VolumeMinimum;
    return VolumeMinimum + position * (VolumeMaximum - VolumeMinimum) / sliderMax;
}

int Volume::PositionFromLevel(int level, int sliderMax)
{
    return (level - VolumeMinimum) * sliderMax / (VolumeMaximum - VolumeMinimum);
}

void Volume::TrackBarVolumeChange()
{
    TrackBar *bar = m_c.TrackBarVolume;
    const int percent = bar->maximum() > 0 ? bar->value() * 100 / bar->maximum() : 0;
    m_c.LabelVolProz->setText(QString::number(percent) + u'%');
    if (bar->tag == DisplayOnly) {
        bar->tag = 0;
        return;
    }
    // The follow must not move the slider back while the level is being applied.
    m_c.Timer2->stop();
    const int level = LevelFromPosition(bar->value(), bar->maximum());
    if (SetVolumeLevel(level)) m_lastShown = level;
    m_c.Timer2->start();
}

void Volume::TrackBarVolumeMouseDown(int x)
{
    TrackBar *bar = m_c.TrackBarVolume;
    if (bar->width() <= 16) return; // no room between the margins
    bar->tag = 0;
    bar->setValue(PlayerFacade::ClickPosition(x, bar->width(), 0, bar->maximum()));
}

void Volume::VolumeFollow()
{
    const int level = GetVolumeLevel();
    if (level < 0 || level == m_lastShown) return;
    TrackBar *bar = m_c.TrackBarVolume;
    // Clamped: a position the slider cannot take would leave the display-only tag set and
    // swallow the user's next move.
    const int position = std::clamp(PositionFromLevel(level, bar->maximum()), bar->minimum(), bar->maximum());
    // Remembered as shown, so that a later change back to the level applied last moves the
    // slider too.
    m_lastShown = level;
    if (position == bar->value()) return;
    bar->tag = DisplayOnly;
    bar->setValue(position);
}

void Volume::Image1Click()
{
    m_messages.error(QStringLiteral("ВНИМАНИЕ !!!"),
                     QStringLiteral("При проблемах со звуком посмотрите в системе регулировку Wave, так как Winamp "
                                    "может убрать ее на НОЛЬ. Или зайдите в Winamp и выставьте на 100%"));
}

bool Volume::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_c.TrackBarVolume && event->type() == QEvent::MouseButtonPress) {
        TrackBarVolumeMouseDown(static_cast<int>(static_cast<QMouseEvent *>(event)->position().x()));
    } else if (watched == m_c.Image1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_c.Image1->rect().contains(mouse->position().toPoint()))
            Image1Click();
    }
    return QObject::eventFilter(watched, event);
}
