#pragma once

// The repeat counters of the bookmark loop and the AB loop. The main tick counts them down;
// a seek by the user, the loop check boxes and the repeat edits re-arm them.
struct LoopState {
    double PrevPositionMs = 0;
    int TickDeltaMs = 0;
    int BookmarkRepeatsLeft = 0;
    int ABRepeatsLeft = 0;
    bool SkipHashSegment = false; // the segment after a "#" bookmark is not looped
    bool LoopPaused = false;      // a loop's pause between repeats is running
};
