#pragma once

#include "platform/memory_source.h"
#include "services/engine/snapshot.h"

#include <memory>
#include <optional>

namespace pw {

// Memory figures in GB from one read of the kernel's counters.
class MemorySampler {
public:
    explicit MemorySampler(std::shared_ptr<platform::MemorySource> source)
        : m_source(std::move(source)) {}

    // Fills `figures` from this cycle's reading; a failed read leaves it as it was.
    void sample(MemoryFigures& figures);

private:
    std::shared_ptr<platform::MemorySource> m_source;
};

} // namespace pw
