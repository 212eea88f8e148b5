#include "ui/dashboard_requests.h"

namespace pw::ui {

DashboardRequests& DashboardRequests::instance() {
    static DashboardRequests requests;
    return requests;
}

void DashboardRequests::post(std::optional<QString> tab) {
    Q_EMIT openDashboardRequested(std::move(tab));
}

} // namespace pw::ui
