#pragma once

#include <QListWidget>
#include <QObject>
#include <QSlider>
#include <QWidget>

class QLineEdit;
class QToolButton;

// A track bar that carries a tag, as the position bar does for the kind of seek.
class TrackBar : public QSlider {
public:
    using QSlider::QSlider;
    int tag = 0;
};

// A list box that reports the user's choice of an item, by a click or by the keys; an item
// made current from code is not reported.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget *parent = nullptr);

signals:
    void itemChosen();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// An up-down pair of arrows bound to an edit, like the spin buttons beside a count edit:
// the edit shows the position, and the position is whatever number the edit holds.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit *associate, int min, int max, int position, QWidget *parent);

    int minimum() const { return m_min; }
    int maximum() const { return m_max; }
    // The number in the edit clamped to the range; the last position when it holds none.
    int position() const;
    // Clamps to the range and writes the number into the edit.
    void setPosition(int value);

signals:
    void positionChanged(int position);

private:
    QLineEdit *m_associate;
    int m_min, m_max;
    mutable int m_position;
};

// Key filter of the numeric edits: digits and Backspace pass, every other character
// (Enter included) is dropped; keys without a character (arrows, Delete) and Tab pass.
class DigitKeyFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Takes the keyboard focus from every control of a window when an empty area of one of the
// watched widgets is clicked.
class FocusDropper : public QObject {
public:
    explicit FocusDropper(QWidget *window) : QObject(window), m_window(window) {}
    void watch(QWidget *w) { w->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};

// Gives the focus back at once whenever a watched control receives it.
class FocusRefuser : public QObject {
public:
    explicit FocusRefuser(QWidget *window) : QObject(window), m_window(window) {}
    void watch(QWidget *w) { w->installEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};

// Takes the focus from whichever control of the window has it; the window keeps it.
void TakeFocusAway(QWidget *window);
