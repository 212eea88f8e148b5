#pragma once

#include "platform/system_counters.h"

#include <QString>

#include <memory>

namespace pw::app {

// The counters of the machine (or of the tree given with --root) that every
// model object of this process reads.
void useCountersRoot(const QString& root);
std::shared_ptr<platform::SystemCounters> sharedCounters();

} // namespace pw::app
