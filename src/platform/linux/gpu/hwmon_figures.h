#pragma once

// The figures a GPU driver puts in its hwmon folder: temperature, power, shader
// clock and fan.

#include "platform/gpu_source.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pw::platform::gpu {

struct HwmonFiles {
    std::string temperature;
    std::string power;
    std::string clock;
    std::string fan;
};

// Of the tempN_input sensors a card labels ("edge", "junction", "mem"), the one
// that stands for the chip: "edge" first, then "junction", else the first
// unlabelled one; an empty name when none fits. Pairs of input file name
// and label, the label empty when there is none.
std::string chipTemperatureInput(const std::vector<std::pair<std::string, std::string>>& inputs);

// Looks the card's hwmon folders over (one in practice; of several, the first
// offering a file gives it). Only for a card that is awake.
HwmonFiles findHwmonFiles(const std::string& deviceDir, std::string& buffer);

// Fills temperature, power, clock and fan from the files found.
void readHwmonFigures(const HwmonFiles& files, std::string& buffer, GpuDevice& gpu);

} // namespace pw::platform::gpu
