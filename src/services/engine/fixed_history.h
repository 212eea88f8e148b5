#pragma once

#include <QList>

#include <algorithm>
#include <optional>

namespace pw {

// The last N values, oldest first, starting as N of `initial`. A new value
// pushes the oldest out in one step, so a reader never sees N - 1 or N + 1.
template <int N> class FixedHistory {
public:
    explicit FixedHistory(double initial = 0.0) : m_values(N, initial) {}

    void push(double value) {
        m_values.removeFirst();
        m_values.append(value);
    }
    const QList<double>& values() const { return m_values; }
    double latest() const { return m_values.back(); }
    double largest() const { return *std::max_element(m_values.begin(), m_values.end()); }

private:
    QList<double> m_values;
};

// The largest of the values pushed during the last N pushes; empty before the first.
template <int N> class RollingPeak {
public:
    void push(double value) {
        m_history.push(value);
        if (m_count < N)
            ++m_count;
    }
    std::optional<double> peak() const {
        if (m_count == 0)
            return std::nullopt;
        const QList<double>& v = m_history.values();
        return *std::max_element(v.end() - m_count, v.end());
    }

private:
    FixedHistory<N> m_history;
    int m_count = 0;
};

} // namespace pw
