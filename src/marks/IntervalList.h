#pragma once

// The list of AB intervals under the AB group: the list mode switch and the choice of an item,
// which makes that item the AB interval.
class IntervalList {
public:
    virtual ~IntervalList() = default;
    virtual void CheckBox16Click() = 0;
    virtual void ListBoxABClick() = 0;
};

// The zoom of the position bar to the AB interval, and the marks of A and B over the bar.
class TimelineZoom {
public:
    virtual ~TimelineZoom() = default;
    virtual void CheckBoxTrackClick() = 0;
    // Places the letters A and B and the band between them over the bar as it is now.
    virtual void redrawABMarks() = 0;
};
