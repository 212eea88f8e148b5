#include "platform/linux/gpu/hwmon_figures.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/sysfs_files.h"
#include "platform/linux/sysfs_parsers.h"

#include <algorithm>
#include <optional>

namespace pw::platform::gpu {

namespace {

std::optional<double> readValue(const std::string& path, std::string& buffer,
                                std::optional<double> (*parse)(std::string_view)) {
    if (path.empty()) {
        return std::nullopt;
    }
    const auto text = readFile(path, buffer);
    return text ? parse(*text) : std::nullopt;
}

void offer(std::string& path, const std::string& candidate) {
    if (path.empty() && pathExists(candidate)) {
        path = candidate;
    }
}

std::string temperatureIn(const std::string& dir, std::string& buffer) {
    std::vector<std::pair<std::string, std::string>> inputs;
    for (const auto& [number, input] : numberedEntries(dir, "temp", "_input")) {
        const std::string label = dir + "temp" + std::to_string(number) + "_label";
        inputs.emplace_back(input, readTrimmed(label, buffer).value_or(std::string()));
    }
    const std::string chosen = chipTemperatureInput(inputs);
    return chosen.empty() ? std::string() : dir + chosen;
}

} // namespace

std::string chipTemperatureInput(const std::vector<std::pair<std::string, std::string>>& inputs) {
    for (const std::string_view wanted : {"edge", "junction"}) {
        const auto found = std::find_if(inputs.begin(), inputs.end(),
                                        [&](const auto& input) { return input.second == wanted; });
        if (found != inputs.end()) {
            return found->first;
        }
    }
    const auto unlabelled = std::find_if(inputs.begin(), inputs.end(),
                                         [](const auto& input) { return input.second.empty(); });
    return unlabelled == inputs.end() ? std::string() : unlabelled->first;
}

HwmonFiles findHwmonFiles(const std::string& deviceDir, std::string& buffer) {
    HwmonFiles files;
    const std::string hwmonDir = deviceDir + "hwmon/";
    for (const auto& [number, hwmon] : numberedEntries(hwmonDir, "hwmon")) {
        const std::string dir = hwmonDir + hwmon + "/";
        if (files.temperature.empty()) {
            files.temperature = temperatureIn(dir, buffer);
        }
        // amdgpu reports power1_average, newer parts power1_input instead.
        offer(files.power, dir + "power1_average");
        offer(files.power, dir + "power1_input");
        offer(files.clock, dir + "freq1_input");
        offer(files.fan, dir + "fan1_input");
    }
    return files;
}

void readHwmonFigures(const HwmonFiles& files, std::string& buffer, GpuDevice& gpu) {
    gpu.temperatureCelsius = readValue(files.temperature, buffer, parseMilliCelsius);
    gpu.powerWatts = readValue(files.power, buffer, parseMicrowattsAsWatts);
    gpu.clockMHz = readValue(files.clock, buffer, parseHertzAsMHz);
    if (!files.fan.empty()) {
        if (const auto rpm = readCount(files.fan, buffer)) {
            gpu.fanRpm = static_cast<double>(*rpm);
        }
    }
}

} // namespace pw::platform::gpu
