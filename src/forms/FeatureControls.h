#pragma once

#include "automation/AutoPause.h"
#include "automation/HotKeys.h"
#include "automation/KeyCapture.h"
#include "automation/MainTick.h"
#include "marks/ABInterval.h"
#include "marks/ABIntervalList.h"
#include "marks/BookmarkNavigator.h"
#include "marks/Timeline.h"
#include "marks/ClipboardComments.h"
#include "playback/MpcOption.h"
#include "playback/Mpris.h"
#include "playback/PlayerFacade.h"
#include "playback/Volume.h"
#include "windows/GoToPosition.h"
#include "windows/Speakers.h"

class TForm1;

// The main window hands each feature the controls it reads and drives, and nothing else.
PlayerFacade::Controls PlayerControls(TForm1 &f);
Volume::Controls VolumeControls(TForm1 &f);
Mpris::Controls MprisControls(TForm1 &f);
MpcOption::Controls MpcOptionControls(TForm1 &f);
BookmarkNavigator::Controls BookmarkControls(TForm1 &f);
ClipboardComments::Controls ClipboardCommentControls(TForm1 &f);
ABInterval::Controls ABIntervalControls(TForm1 &f);
ABIntervalList::Controls IntervalListControls(TForm1 &f);
Timeline::Controls TimelineControls(TForm1 &f);
MainTick::Controls MainTickControls(TForm1 &f);
AutoPause::Controls AutoPauseControls(TForm1 &f);
KeyCapture::Controls KeyCaptureControls(TForm1 &f);
HotKeys::Controls HotKeyControls(TForm1 &f);
Speakers::Controls SpeakerControls(TForm1 &f);
GoToPosition::Controls GoToControls(TForm1 &f);
