#pragma once

// Pure parsers for the CPU files: /proc/stat, the sysfs CPU lists, cpufreq and
// /proc/cpuinfo.

#include "platform/cpu_source.h"

#include <optional>
#include <string_view>
#include <vector>

namespace pw::platform {

// The `cpuN` rows of /proc/stat folded onto user/system/idle/nice. The aggregate
// "cpu" row and malformed rows are skipped; no cpuN row at all gives absent.
std::optional<std::vector<CpuTicks>> parseCpuTicks(std::string_view procStat);

// A kernel CPU list such as "0-15,20" (sysfs cpus, online). An empty list gives an
// empty vector; anything unparsable gives absent.
std::optional<std::vector<int>> parseCpuList(std::string_view text);

// How many CPUs a cpufreq policy's affected_cpus names. That file is space
// separated ("0 1 2 3"), unlike the range lists; empty when all are offline.
int countAffectedCpus(std::string_view text);

// A cpufreq scaling_cur_freq value (kHz) in MHz; absent unless a positive number.
std::optional<double> parseKHzAsMHz(std::string_view text);

// Mean of the "cpu MHz" lines of /proc/cpuinfo; absent when there are none.
std::optional<double> parseCpuinfoMHz(std::string_view text);

} // namespace pw::platform
