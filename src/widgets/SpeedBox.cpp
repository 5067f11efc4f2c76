#include "widgets/SpeedBox.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {
constexpr double SlowestStep = 0.5, FastestStep = 2.0;
}

SpeedBox::SpeedBox(QWidget *parent) : QDoubleSpinBox(parent)
{
    setLocale(QLocale::c()); // "1.5", with a point like every time the program shows
    setRange(0.3, 3.0);
    setDecimals(1);
    setSingleStep(0.1);
    setValue(1.0);
    setSuffix(QStringLiteral("×"));
    setKeyboardTracking(false); // a typed speed takes effect with Enter or on leaving the box
}

double SpeedBox::stepped(double current, int steps)
{
    const double target = std::round((current + steps * 0.1) * 10) / 10;
    return std::clamp(target, std::min(current, SlowestStep), std::max(current, FastestStep));
}

void SpeedBox::stepBy(int steps) { setValue(stepped(value(), steps)); }

QAbstractSpinBox::StepEnabled SpeedBox::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (stepped(value(), -1) < value()) enabled |= StepDownEnabled;
    if (stepped(value(), 1) > value()) enabled |= StepUpEnabled;
    return enabled;
}
