#pragma once

// The GPU page's texts, from plain values: a card's state, who it is, its
// figures, and the GPU processes.

#include "platform/gpu_source.h"

#include <QList>
#include <QString>

namespace pw::ui {

struct GpuFigureLine {
    QString label;
    QString value;
    bool operator==(const GpuFigureLine&) const = default;
};

// "Sleeping" for a card in runtime suspend, else "Active".
QString gpuStateText(const platform::GpuDevice& gpu);
// "amdgpu · discrete · 0000:03:00.0": the driver, its kind, its address.
QString gpuIdentityText(const platform::GpuDevice& gpu);
// Busy, Memory busy, VRAM, Temperature, Power, Clock, Fan; the dash where
// unknown.
QList<GpuFigureLine> gpuFigureLines(const platform::GpuDevice& gpu);
// "blender (2400) · card1" and "60%".
GpuFigureLine gpuProcessLine(const platform::GpuProcess& process);
// Why the list may be short: empty when every process was readable.
QString gpuUnreadableText(int unreadableProcesses);

} // namespace pw::ui
