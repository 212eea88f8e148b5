#include "app/metrics/metrics_endpoint.h"

namespace pw::app {
namespace {
const QByteArray kIndex = QByteArrayLiteral(
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Pulsewick</title></head>\n"
    "<body><h1>Pulsewick</h1><p>This machine's figures for Prometheus: "
    "<a href=\"/metrics\">/metrics</a></p></body></html>\n");
} // namespace

HttpResponse MetricsEndpoint::answer(const HttpRequest& request) {
    const bool index = request.path == "/";
    if (!index && request.path != "/metrics")
        return errorResponse(404);
    if (request.method != "GET" && request.method != "HEAD") {
        HttpResponse refused = errorResponse(405);
        refused.allow = "GET, HEAD";
        return refused;
    }
    if (index)
        return {200, "text/html; charset=utf-8", kIndex, {}};
    const metrics::MetricsFormat format = metrics::negotiateFormat(request.accept);
    std::optional<QByteArray>& page = m_pages[static_cast<std::size_t>(format)];
    if (!page)
        page = m_render(format);
    return {200, metrics::contentType(format), *page, {}};
}

} // namespace pw::app
