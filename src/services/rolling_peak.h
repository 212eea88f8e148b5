#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace pw {

// The largest of the last N values pushed.
template <std::size_t N> class RollingPeak {
public:
    void push(double value) {
        m_values[m_next] = value;
        m_next = (m_next + 1) % N;
        if (m_count < N)
            ++m_count;
    }
    // Absent before the first value.
    std::optional<double> peak() const {
        if (m_count == 0)
            return std::nullopt;
        // N is small (60): a scan costs less than keeping a sorted window.
        double best = m_values[0];
        for (std::size_t i = 1; i < m_count; ++i)
            if (m_values[i] > best)
                best = m_values[i];
        return best;
    }

private:
    std::array<double, N> m_values{};
    std::size_t m_next = 0;
    std::size_t m_count = 0;
};

} // namespace pw
