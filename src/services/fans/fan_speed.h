#pragma once

#include <QMetaType>
#include <QString>

#include <optional>

namespace pw {

// One fan as the dashboard shows it.
struct FanSpeed {
    QString label;
    std::optional<qint64> rpm; // unknown when the reading is implausible
    bool operator==(const FanSpeed&) const = default;
};

} // namespace pw

Q_DECLARE_METATYPE(pw::FanSpeed)
