#pragma once

#include <QEasingCurve>

namespace pw::ui {

// A damped spring released from 0 towards 1: `response` is the period of the
// undamped oscillation in seconds, `damping` the damping fraction (1 = no
// overshoot). Returns the position after `seconds`.
double springPosition(double seconds, double response, double damping);

// How long the spring takes to settle within 0.1 % of its target.
int springSettleMilliseconds(double response, double damping);

// Easing curves over the settle time, ending exactly at 1.
QEasingCurve tabSelectionSpring(); // response 0.3 s, damping 0.7
QEasingCurve ringSpring();         // response 0.8 s, damping 0.7
int tabSelectionSpringMilliseconds();
int ringSpringMilliseconds();

} // namespace pw::ui
