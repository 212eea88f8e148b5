#pragma once

// Build stand-in for the CPU alert while the engine is rewritten.
namespace pw {
class CpuAlert {};
} // namespace pw
