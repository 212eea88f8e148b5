#pragma once

namespace pw::platform {

// A directory scan kept for a while: facts that change rarely on a running
// machine (which sensors, GPUs, fans exist) are looked up again only when the
// interval has passed, so the per-second reading is a few file reads.
template <typename T> class RescanCache {
public:
    explicit RescanCache(double intervalSeconds = 10.0) : m_interval(intervalSeconds) {}

    // The cached value, rescanned with `scan()` (returning T) when stale.
    template <typename Scan> T& get(double nowSeconds, Scan&& scan) {
        if (!m_done || nowSeconds - m_at >= m_interval || nowSeconds < m_at) {
            m_value = scan();
            m_done = true;
            m_at = nowSeconds;
        }
        return m_value;
    }
    void invalidate() { m_done = false; }
    void setInterval(double seconds) { m_interval = seconds; }

private:
    T m_value{};
    double m_interval;
    double m_at = 0.0;
    bool m_done = false;
};

} // namespace pw::platform
