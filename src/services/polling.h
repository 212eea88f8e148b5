#pragma once

namespace pw {

// Whether a model object starts its own timer at construction. Tests drive the
// cycles by hand with `Manual`.
enum class Polling { Start, Manual };

} // namespace pw
