#pragma once

#include "platform/sources.h"

#include <string>

namespace pw::platform {

// Every source reading the machine under `root` ("/" on a live machine, a copied
// tree with --root), sharing one clock for their rescan timing.
Sources makeLinuxSources(const std::string& root);

} // namespace pw::platform
