#pragma once

// Build stand-in for the sampling engine while it is rewritten.
namespace pw {
class SamplingEngine {};
} // namespace pw
