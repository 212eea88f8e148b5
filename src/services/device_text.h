#pragma once

#include "platform/system_counters.h"

#include <QString>

#include <optional>

namespace pw {

// "address:port" of the remote end; an IPv6 address in brackets.
QString remoteEndpointText(const platform::TcpConnection& connection);

// "SSD", "HDD", or empty when it is not known whether the disk spins.
QString diskKindText(std::optional<bool> rotational);

} // namespace pw
