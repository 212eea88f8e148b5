#pragma once

#include "platform/clock.h"

namespace pw::platform {

// The machine's own clocks: CLOCK_MONOTONIC and CLOCK_REALTIME.
class LinuxClock : public Clock {
public:
    double monotonicSeconds() override;
    double wallSeconds() override;
};

} // namespace pw::platform
