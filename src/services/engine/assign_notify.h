#pragma once

#include <QObject>

namespace pw {

// Stores `value` and notifies only when it differs from what was held.
template <typename Owner, typename T, typename Signal>
void assignNotify(Owner* self, T& field, T value, Signal signal) {
    if (field == value)
        return;
    field = std::move(value);
    Q_EMIT(self->*signal)();
}

} // namespace pw
