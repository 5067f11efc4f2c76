#pragma once

// The list of AB intervals under the AB group: the list mode switch and the choice of an item,
// which makes that item the AB interval.
class IntervalList {
public:
    virtual ~IntervalList() = default;
    virtual void CheckBox16Click() = 0;
    virtual void ListBoxABClick() = 0;
};

// The zoom of the position bar to the AB interval.
class TimelineZoom {
public:
    virtual ~TimelineZoom() = default;
    virtual void CheckBoxTrackClick() = 0;
};
