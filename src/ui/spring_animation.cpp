#include "ui/spring_animation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pw::ui {
namespace {

template <int ResponseMs, int DampingPercent> qreal springCurve(qreal progress) {
    constexpr double response = ResponseMs / 1000.0;
    constexpr double damping = DampingPercent / 100.0;
    if (progress >= 1.0)
        return 1.0;
    const double seconds = progress * springSettleMilliseconds(response, damping) / 1000.0;
    return springPosition(seconds, response, damping);
}

} // namespace

double springPosition(double seconds, double response, double damping) {
    if (seconds <= 0.0)
        return 0.0;
    const double omega = 2.0 * std::numbers::pi / std::max(response, 1e-3);
    const double zeta = std::clamp(damping, 0.0, 1.0);
    const double decay = std::exp(-zeta * omega * seconds);
    if (zeta >= 1.0)
        return 1.0 - decay * (1.0 + omega * seconds);
    const double damped = omega * std::sqrt(1.0 - zeta * zeta);
    return 1.0 - decay * (std::cos(damped * seconds) +
                          zeta * omega / damped * std::sin(damped * seconds));
}

int springSettleMilliseconds(double response, double damping) {
    const double omega = 2.0 * std::numbers::pi / std::max(response, 1e-3);
    const double rate = std::max(damping, 0.05) * omega;
    return static_cast<int>(std::ceil(std::log(1000.0) / rate * 1000.0));
}

QEasingCurve tabSelectionSpring() {
    QEasingCurve curve;
    curve.setCustomType(&springCurve<300, 70>);
    return curve;
}

QEasingCurve ringSpring() {
    QEasingCurve curve;
    curve.setCustomType(&springCurve<800, 70>);
    return curve;
}

int tabSelectionSpringMilliseconds() {
    return springSettleMilliseconds(0.3, 0.7);
}
int ringSpringMilliseconds() {
    return springSettleMilliseconds(0.8, 0.7);
}

} // namespace pw::ui
