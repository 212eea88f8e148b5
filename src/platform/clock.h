#pragma once

namespace pw::platform {

// Time as the engine sees it; a fake drives tests through hours in a moment.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a clock that never steps (rates divide by it).
    virtual double monotonicSeconds() = 0;
    // Seconds since the Unix epoch (timestamps for files and history).
    virtual double wallSeconds() = 0;
};

} // namespace pw::platform
