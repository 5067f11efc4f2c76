#pragma once

#include <QString>
#include <QWidget>
#include <vector>

// One of the pictures that mark a bookmark above the position bar.
struct MarkSlot {
    int left = -50;
    int top = 3;
    bool visible = false;
    bool blue = false; // the second picture marks the selected bookmark
    int tag = 0;       // the bookmark row it stands for
    QString hint;
};

// The fixed pool of mark pictures: one per pixel column at most, 1000 in all.
class MarkSlots {
public:
    static constexpr int Count = 1000;
    MarkSlots() : m_slots(Count) {}
    MarkSlot &operator[](int i) { return m_slots.at(static_cast<size_t>(i)); }
    const MarkSlot &operator[](int i) const { return m_slots.at(static_cast<size_t>(i)); }
    int size() const { return Count; }

private:
    std::vector<MarkSlot> m_slots;
};

// The strip above the position bar that draws the visible mark pictures.
class MarkStrip : public QWidget {
    Q_OBJECT
public:
    MarkStrip(MarkSlots &marks, QWidget *parent);
    static constexpr int MarkSize = 7;
    // The visible mark under a point of the strip, -1 for none.
    int slotAt(const QPoint &p) const;

signals:
    void markPressed(int slot, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override; // the mark's hint

private:
    MarkSlots &m_slots;
};
