#pragma once

#include <QDoubleSpinBox>

// The playback speed, 1 = normal: typed from 0.3 to 3.0, stepped by a tenth from 0.5 to 2.0
// (the arrows, the arrow keys, the wheel and the speed hot keys).
class SpeedBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit SpeedBox(QWidget *parent = nullptr);
    // Where steps tenths from current go: within 0.5 … 2.0, or towards it from outside.
    static double stepped(double current, int steps);
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
};
