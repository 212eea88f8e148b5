#pragma once

#include <QMetaType>
#include <QString>

namespace pw {

// One fan as the dashboard shows it.
struct FanSpeed {
    QString label;
    qint64 rpm = 0;
    bool operator==(const FanSpeed&) const = default;
};

} // namespace pw

Q_DECLARE_METATYPE(pw::FanSpeed)
