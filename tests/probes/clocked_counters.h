#pragma once

// The real Linux sources over a fixture tree, with a clock the test sets, so
// CPU figures over two samples are exact.

#include "platform/fake/fake_sources.h"
#include "platform/linux/linux_sources.h"

#include <memory>

namespace pw::test {

struct ClockedSources {
    std::shared_ptr<platform::FakeClock> clock = std::make_shared<platform::FakeClock>();
    platform::Sources linux;

    explicit ClockedSources(const std::string& root) : linux(platform::makeLinuxSources(root)) {
        linux.clock = clock;
    }
    platform::Sources sources() const { return linux; }
};

} // namespace pw::test
