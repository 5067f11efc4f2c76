#pragma once

// The go-to dialog: a time from the start, or a shift back or forward from the position, with
// the history of the open file.
class GoToDialog {
public:
    virtual ~GoToDialog() = default;
    virtual void ShowGoToDialog() = 0; // modal
};
