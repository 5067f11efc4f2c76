#pragma once

class PlayerFacade;
class TForm1;
class TFormWMP;
struct MainOperations;

// Playback in portions: after every period of playing, step back a little and pause, for a
// set time ("пауза") or until the user resumes ("ожидание").
class AutoPause {
public:
    AutoPause(TForm1 &form, PlayerFacade &player, MainOperations &ops);
    void setVideoWindow(TFormWMP *video) { m_video = video; }

    void CheckBox1Click();
    void Edit2Change();
    void Edit3Change();
    void TimerPeriodTimer();
    void TimerPauseTimer();

private:
    TForm1 &m_form;
    PlayerFacade &m_player;
    MainOperations &m_ops;
    TFormWMP *m_video = nullptr;
};
