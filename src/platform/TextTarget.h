#pragma once

#include <QString>

// The text window: the window of another program the user types the transcript in, taken
// when playback starts from the keyboard.
class TextTarget {
public:
    virtual ~TextTarget() = default;
    // Whether a text window with a control to type into has been taken.
    virtual bool hasTextWindow() const = 0;
    // Types the text at the caret of that control, through the clipboard, which is given back.
    virtual void InsertText(const QString &text) = 0;
    // The text window comes to the front.
    virtual void BringTextWindowForward() = 0;
    // The text window comes to the front, restored if minimised; false when none was taken.
    virtual bool ShowTextWindow() = 0;
};
