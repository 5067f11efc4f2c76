#include "forms/FeatureControls.h"

#include "forms/TForm1.h"

PlayerFacade::Controls PlayerControls(TForm1 &f)
{
    return {.MPCHC = f.MPCHC.get(),
            .TrackBar1 = f.TrackBar1,
            .Label1 = f.Label1,
            .Label1t = f.Label1t,
            .Label11 = f.Label11,
            .Label5 = f.Label5,
            .MediaPlayer1 = f.MediaPlayer1,
            .MediaPlayer2 = f.MediaPlayer2,
            .CheckBox1 = f.CheckBox1,
            .CheckBox8 = f.CheckBox8,
            .UpDown1 = f.UpDown1,
            .UpDown6 = f.UpDown6,
            .SpinSpeed = f.SpinSpeed,
            .NMPC = f.NMPC,
            .Timer2 = f.Timer2.get(),
            .TimerPeriod = f.TimerPeriod.get(),
            .TimerPause = f.TimerPause.get(),
            .TimerPlayNoRefrN = f.TimerPlayNoRefrN.get()};
}

Volume::Controls VolumeControls(TForm1 &f)
{
    return {.TrackBarVolume = f.TrackBarVolume,
            .TrackBar3 = f.TrackBar3,
            .LabelVolProz = f.LabelVolProz,
            .Image1 = f.Image1,
            .NMPC = f.NMPC,
            .Timer2 = f.Timer2.get()};
}

Mpris::Controls MprisControls(TForm1 &f) { return {.window = &f, .TrackBar1 = f.TrackBar1, .Button1 = f.Button1}; }

MpcOption::Controls MpcOptionControls(TForm1 &f)
{
    return {.NMPC = f.NMPC, .MPCHC = f.MPCHC.get(), .OpenDialogMPC = &f.OpenDialogMPC, .EditNMPC = f.EditNMPC};
}

BookmarkNavigator::Controls BookmarkControls(TForm1 &f)
{
    return {.BitBtn1 = f.BitBtn1,
            .BitBtn3 = f.BitBtn3,
            .BitBtn4 = f.BitBtn4,
            .SpeedButton1 = f.SpeedButton1,
            .SpeedButton3 = f.SpeedButton3,
            .SpeedButton4 = f.SpeedButton4,
            .N20 = f.N20,
            .Label1 = f.Label1,
            .Label11 = f.Label11,
            .Label5 = f.Label5,
            .MaskEdit1 = f.MaskEdit1,
            .MaskEdit2 = f.MaskEdit2,
            .MaskEdit3 = f.MaskEdit3,
            .MaskEdit4 = f.MaskEdit4,
            .CheckBox7 = f.CheckBox7,
            .CheckBox8 = f.CheckBox8,
            .CheckBox9 = f.CheckBox9,
            .CheckBox10 = f.CheckBox10,
            .UpDown6 = f.UpDown6,
            .TrackBar1 = f.TrackBar1,
            .Panel3 = f.Panel3,
            .MarkImages = &f.MarkImages};
}

ClipboardComments::Controls ClipboardCommentControls(TForm1 &f) { return {.window = &f, .Label14 = f.Label14}; }

ABInterval::Controls ABIntervalControls(TForm1 &f)
{
    return {.LabelA = f.LabelA,
            .LabelB = f.LabelB,
            .Label9 = f.Label9,
            .Label13 = f.Label13,
            .Label1 = f.Label1,
            .Label11 = f.Label11,
            .Label5 = f.Label5,
            .MaskEdit1 = f.MaskEdit1,
            .MaskEdit2 = f.MaskEdit2,
            .Edit8 = f.Edit8,
            .CheckBox6 = f.CheckBox6,
            .CheckBox7 = f.CheckBox7,
            .CheckBox8 = f.CheckBox8,
            .CheckBox14 = f.CheckBox14,
            .CheckBox15 = f.CheckBox15,
            .CheckBox16 = f.CheckBox16,
            .CheckBoxTrack = f.CheckBoxTrack,
            .SpeedButton5 = f.SpeedButton5,
            .SpeedButton6 = f.SpeedButton6,
            .SpeedButton10 = f.SpeedButton10,
            .SpeedButton11 = f.SpeedButton11,
            .UpDown7 = f.UpDown7,
            .UpDown8 = f.UpDown8,
            .ListBoxAB = f.ListBoxAB,
            .TrackBar1 = f.TrackBar1,
            .GroupBox4 = f.GroupBox4,
            .TimerZk = f.TimerZk.get(),
            .TimerInt = f.TimerInt.get()};
}

ABIntervalList::Controls IntervalListControls(TForm1 &f)
{
    return {.MaskEdit1 = f.MaskEdit1,
            .MaskEdit2 = f.MaskEdit2,
            .CheckBox14 = f.CheckBox14,
            .CheckBox16 = f.CheckBox16,
            .CheckBoxTrack = f.CheckBoxTrack,
            .SpeedButton12 = f.SpeedButton12,
            .SpeedButton13 = f.SpeedButton13,
            .ListBoxAB = f.ListBoxAB,
            .AB1 = f.AB1,
            .AB2 = f.AB2,
            .N34 = f.N34,
            .N36 = f.N36,
            .N29 = f.N29,
            .N30 = f.N30,
            .N32 = f.N32,
            .N33 = f.N33,
            .TrackBar1 = f.TrackBar1,
            .TimerInt = f.TimerInt.get(),
            .TimerZk = f.TimerZk.get()};
}

Timeline::Controls TimelineControls(TForm1 &f)
{
    return {.TrackBar1 = f.TrackBar1,
            .Panel3 = f.Panel3,
            .MarkImages = &f.MarkImages,
            .ShapeAB = f.ShapeAB,
            .LabelA = f.LabelA,
            .LabelB = f.LabelB,
            .LabelTrack = f.LabelTrack,
            .Label5 = f.Label5,
            .CheckBox7 = f.CheckBox7,
            .CheckBoxTrack = f.CheckBoxTrack,
            .MaskEdit1 = f.MaskEdit1,
            .MaskEdit2 = f.MaskEdit2};
}

MainTick::Controls MainTickControls(TForm1 &f)
{
    return {.Timer1 = f.Timer1.get(),
            .Timer2 = f.Timer2.get(),
            .TimerZk = f.TimerZk.get(),
            .TimerInt = f.TimerInt.get(),
            .TimerPlayNoRefrN = f.TimerPlayNoRefrN.get(),
            .TimerGoto = f.TimerGoto.get(),
            .CheckBox6 = f.CheckBox6,
            .CheckBox7 = f.CheckBox7,
            .CheckBox8 = f.CheckBox8,
            .CheckBox10 = f.CheckBox10,
            .CheckBox13 = f.CheckBox13,
            .CheckBox15 = f.CheckBox15,
            .Edit6 = f.Edit6,
            .Edit7 = f.Edit7,
            .MaskEdit1 = f.MaskEdit1,
            .MaskEdit2 = f.MaskEdit2,
            .MaskEdit3 = f.MaskEdit3,
            .MaskEdit4 = f.MaskEdit4,
            .UpDown6 = f.UpDown6,
            .UpDown7 = f.UpDown7,
            .Label1 = f.Label1,
            .Label11 = f.Label11,
            .Label5 = f.Label5,
            .TrackBar1 = f.TrackBar1};
}

AutoPause::Controls AutoPauseControls(TForm1 &f)
{
    return {.CheckBox1 = f.CheckBox1,
            .CheckBox2 = f.CheckBox2,
            .CheckBox11 = f.CheckBox11,
            .Edit2 = f.Edit2,
            .Edit3 = f.Edit3,
            .Edit4 = f.Edit4,
            .UpDown2 = f.UpDown2,
            .UpDown3 = f.UpDown3,
            .UpDown4 = f.UpDown4,
            .Label2 = f.Label2,
            .Label7 = f.Label7,
            .Label8 = f.Label8,
            .RadioButton1 = f.RadioButton1,
            .RadioButton2 = f.RadioButton2,
            .TimerPeriod = f.TimerPeriod.get(),
            .TimerPause = f.TimerPause.get()};
}

KeyCapture::Controls KeyCaptureControls(TForm1 &f)
{
    return {.window = &f,
            .MPCHC = f.MPCHC.get(),
            .TimerHotKey = f.TimerHotKey.get(),
            .TimerRunHotKey = f.TimerRunHotKey.get(),
            .TimerESC = f.TimerESC.get(),
            .TimerPlayNoRefrN = f.TimerPlayNoRefrN.get(),
            .CheckBox3 = f.CheckBox3,
            .CheckBox4 = f.CheckBox4,
            .CheckBox5 = f.CheckBox5,
            .CheckBox7 = f.CheckBox7,
            .CheckBox8 = f.CheckBox8,
            .CheckBox11 = f.CheckBox11,
            .CheckBox12 = f.CheckBox12,
            .Edit5 = f.Edit5,
            .UpDown5 = f.UpDown5,
            .Label10 = f.Label10,
            .TrackBar1 = f.TrackBar1};
}

HotKeys::Controls HotKeyControls(TForm1 &f)
{
    return {.hotKeys = &f.hotKeys,
            .TimerESC = f.TimerESC.get(),
            .UpDown1 = f.UpDown1,
            .TrackBarVolume = f.TrackBarVolume,
            .N23 = f.N23};
}

Speakers::Controls SpeakerControls(TForm1 &f) { return {.N23x = f.N23x, .N23 = f.N23}; }

GoToPosition::Controls GoToControls(TForm1 &f)
{
    return {.TrackBar1 = f.TrackBar1,
            .Label1 = f.Label1,
            .Label1t = f.Label1t,
            .Label11 = f.Label11,
            .Label5 = f.Label5,
            .SpeedButton9 = f.SpeedButton9,
            .N16 = f.N16};
}
