#pragma once

#include "app/metrics/http_message.h"
#include "services/metrics/exposition.h"

#include <array>
#include <functional>
#include <optional>

namespace pw::app {

// The server's pages: "/" a short page linking the figures, "/metrics" the
// figures of the last cycle in the format the scraper asks for. A page is
// rendered once per format after each change of the figures, so scrapers
// between two cycles share it and a flood of scrapes costs no rendering.
class MetricsEndpoint {
public:
    using Render = std::function<QByteArray(metrics::MetricsFormat)>;
    explicit MetricsEndpoint(Render render) : m_render(std::move(render)) {}

    HttpResponse answer(const HttpRequest& request);
    // The figures changed: the next scrape renders them anew.
    void invalidate() { m_pages = {}; }

private:
    Render m_render;
    std::array<std::optional<QByteArray>, 2> m_pages;
};

} // namespace pw::app
