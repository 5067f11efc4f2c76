#pragma once

// The go-to dialog: a time, a shift or a percentage typed, with the history of the open file.
class GoToDialog {
public:
    virtual ~GoToDialog() = default;
    virtual void ShowGoToDialog() = 0; // modal
};
