#include "platform/linux/linux_clock.h"

#include <time.h>

namespace pw::platform {

namespace {

double secondsOf(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

} // namespace

double LinuxClock::monotonicSeconds() {
    return secondsOf(CLOCK_MONOTONIC);
}

double LinuxClock::wallSeconds() {
    return secondsOf(CLOCK_REALTIME);
}

} // namespace pw::platform
