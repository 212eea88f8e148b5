#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace pw::ui {

// The in-process "OpenDashboard" request: any view may post it, with the
// title of the dashboard page to show first or none for the default page.
class DashboardRequests : public QObject {
    Q_OBJECT

public:
    static DashboardRequests& instance();

    void post(std::optional<QString> tab);

Q_SIGNALS:
    void openDashboardRequested(std::optional<QString> tab);

private:
    DashboardRequests() = default;
};

} // namespace pw::ui
