#pragma once

class KeyCapture;
class PlayerFacade;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TFormWMP;
class TextTarget;
class Timer;
class UpDown;

// Playback in portions: after every period of playing, step back a little and pause, for a
// set time ("пауза") or until the user resumes ("ожидание").
class AutoPause {
public:
    struct Controls {
        QCheckBox *CheckBox1, *CheckBox2, *CheckBox11;
        QLineEdit *Edit2, *Edit3, *Edit4;
        UpDown *UpDown2, *UpDown3, *UpDown4;
        QLabel *Label2, *Label7, *Label8;
        QRadioButton *RadioButton1, *RadioButton2;
        Timer *TimerPeriod, *TimerPause;
    };

    AutoPause(const Controls &controls, PlayerFacade &player, KeyCapture &keys, TextTarget &text, TFormWMP &video);

    void CheckBox1Click();
    void Edit2Change();
    void Edit3Change();
    void TimerPeriodTimer();
    void TimerPauseTimer();

private:
    const Controls m_c;
    PlayerFacade &m_player;
    KeyCapture &m_keys;
    TextTarget &m_text;
    TFormWMP &m_video;
};
