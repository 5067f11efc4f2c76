#include "automation/AutoPause.h"

#include "widgets/Controls.h"
#include "automation/KeyCapture.h"
#include "platform/Clock.h"
#include "platform/TextTarget.h"
#include "playback/PlayerFacade.h"
#include "playback/TFormWMP.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

AutoPause::AutoPause(const Controls &controls, PlayerFacade &player, KeyCapture &keys, TextTarget &text,
                     TFormWMP &video)
    : m_c(controls), m_player(player), m_keys(keys), m_text(text), m_video(video)
{
    const Controls &f = m_c;
    QObject::connect(f.CheckBox1, &QCheckBox::toggled, f.CheckBox1, [this] { CheckBox1Click(); });
    QObject::connect(f.Edit2, &QLineEdit::textChanged, f.Edit2, [this] { Edit2Change(); });
    QObject::connect(f.Edit3, &QLineEdit::textChanged, f.Edit3, [this] { Edit3Change(); });
    f.TimerPeriod->onTimeout = [this] { TimerPeriodTimer(); };
    f.TimerPause->onTimeout = [this] { TimerPauseTimer(); };
    CheckBox1Click(); // the controls follow the switch from the start
}

void AutoPause::CheckBox1Click()
{
    const Controls &f = m_c;
    const bool on = f.CheckBox1->isChecked();
    for (QWidget *w :
         std::initializer_list<QWidget *>{f.Edit2, f.Edit3, f.Edit4, f.CheckBox2, f.UpDown2, f.UpDown3, f.UpDown4,
                                          f.Label2, f.Label7, f.Label8, f.RadioButton1, f.RadioButton2})
        w->setEnabled(on);
    if (on) {
        f.TimerPeriod->setInterval(f.UpDown2->position() * 1000);
        f.TimerPeriod->start(); // the first period counts from now, playing or not
        f.TimerPause->setInterval(f.UpDown3->position() * 1000);
    } else {
        f.TimerPeriod->stop();
        f.TimerPause->stop();
    }
}

void AutoPause::Edit2Change()
{
    const Controls &f = m_c;
    f.TimerPeriod->stop();
    f.TimerPeriod->setInterval(f.UpDown2->position() * 1000);
    if (f.CheckBox1->isChecked()) f.TimerPeriod->start();
    f.TimerPause->stop();
}

void AutoPause::Edit3Change()
{
    // A running pause starts over with the new length.
    m_c.TimerPause->setInterval(m_c.UpDown3->position() * 1000);
}

void AutoPause::TimerPeriodTimer()
{
    const Controls &f = m_c;
    f.TimerPeriod->stop();
    f.TimerPeriod->setInterval(f.UpDown2->position() * 1000);
    f.TimerPause->setInterval(f.UpDown3->position() * 1000);
    const Engine engine = m_player.ActiveEngine();
    if (m_player.IsPlaying()) {
        bool ok = true;
        if (f.CheckBox2->isChecked()) {
            const int s = f.Edit4->text().trimmed().toInt(&ok);
            if (!ok) return; // an unreadable step abandons this period's pause
            const int p = m_player.PositionMs();
            int target = std::max(0, p - s * 1000);
            // The external player and the video window step to a whole second.
            if (engine != Engine::Mci) target = target / 1000 * 1000;
            m_player.SetPositionMs(target);
            m_player.Play();
        }
        if (m_player.IsPlaying()) m_player.Pause();
    }
    if (engine != Engine::Mci && f.CheckBox11->isChecked()) m_text.BringTextWindowForward();
    if (f.RadioButton1->isChecked()) f.TimerPause->stop();
    else f.TimerPause->start();
}

void AutoPause::TimerPauseTimer()
{
    const Controls &f = m_c;
    f.TimerPause->stop();
    if (m_player.PlayState() == 2) m_player.Play();
    if (f.CheckBox11->isChecked()) {
        const Engine engine = m_player.ActiveEngine();
        if (engine == Engine::Mpc) {
            m_keys.TakeTextWindow();
            m_keys.ShowExternalPlayerWindow();
        } else if (engine == Engine::Wmp) {
            m_keys.TakeTextWindow();
            if (m_video.isVisible()) m_video.activateWindow();
        }
    }
    if (f.CheckBox1->isChecked()) f.TimerPeriod->start();
}
