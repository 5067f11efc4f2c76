#pragma once

#include <QToolButton>
#include <functional>

class QMenuBar;

// The button that pins its window above all others. The window manager draws the title bar,
// so the button sits in the window: in the menu bar's right corner where there is one, else
// at the window's top right. Pressing it never brings the window forward.
class PinButton : public QToolButton {
    Q_OBJECT
public:
    // bar: the window's menu bar, or none.
    PinButton(QWidget *window, QMenuBar *bar = nullptr);

    // Runs before this window is unpinned (the main window releases the others' pins first).
    std::function<void()> beforeRelease;

    // The click handler; the button has already changed its state.
    void JvCaptionButton1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeAtTopRight();

    QWidget *m_window;
    bool m_overlay;
};
