#include "ui/gpu_page_text.h"

#include "ui/format/figure_format.h"

namespace pw::ui {

namespace {

std::optional<double> gibibytes(std::optional<std::uint64_t> bytes) {
    return bytes ? std::optional<double>(static_cast<double>(*bytes) / kGiB) : std::nullopt;
}

QString vramText(const platform::GpuDevice& gpu) {
    if (!gpu.vramTotalBytes)
        return dash();
    return fixedText(gibibytes(gpu.vramUsedBytes), 1) + QStringLiteral(" / ") +
           fixedText(gibibytes(gpu.vramTotalBytes), 1, u" GB");
}

QString fanText(const platform::GpuDevice& gpu) {
    if (gpu.fanRpm)
        return groupedThousands(wholeNumber(*gpu.fanRpm)) + QStringLiteral(" RPM");
    return percentText(gpu.fanPercent);
}

} // namespace

QString gpuStateText(const platform::GpuDevice& gpu) {
    return gpu.suspended ? QStringLiteral("Sleeping") : QStringLiteral("Active");
}

QString gpuIdentityText(const platform::GpuDevice& gpu) {
    QStringList parts;
    if (!gpu.driver.empty())
        parts << QString::fromStdString(gpu.driver);
    parts << (gpu.integrated ? QStringLiteral("integrated") : QStringLiteral("discrete"));
    if (!gpu.pciAddress.empty())
        parts << QString::fromStdString(gpu.pciAddress);
    return parts.join(QStringLiteral(" \u00B7 "));
}

QList<GpuFigureLine> gpuFigureLines(const platform::GpuDevice& gpu) {
    return {
        {QStringLiteral("Busy"), percentText(gpu.busyPercent)},
        {QStringLiteral("Memory busy"), percentText(gpu.memoryBusyPercent)},
        {QStringLiteral("VRAM"), vramText(gpu)},
        {QStringLiteral("Temperature"), wholeText(gpu.temperatureCelsius, u"\u00B0C")},
        {QStringLiteral("Power"), fixedText(gpu.powerWatts, 1, u" W")},
        {QStringLiteral("Clock"), wholeText(gpu.clockMHz, u" MHz")},
        {QStringLiteral("Fan"), fanText(gpu)},
    };
}

GpuFigureLine gpuProcessLine(const platform::GpuProcess& process) {
    return {QStringLiteral("%1 (%2) \u00B7 %3")
                .arg(QString::fromStdString(process.name))
                .arg(process.pid)
                .arg(QString::fromStdString(process.card)),
            percentText(process.busyPercent)};
}

QString gpuUnreadableText(int unreadableProcesses) {
    if (unreadableProcesses <= 0)
        return {};
    return QStringLiteral("%1 %2 not be read: %3 GPU use is not counted.")
        .arg(unreadableProcesses)
        .arg(unreadableProcesses == 1 ? QStringLiteral("process could")
                                      : QStringLiteral("processes could"))
        .arg(unreadableProcesses == 1 ? QStringLiteral("its") : QStringLiteral("their"));
}

} // namespace pw::ui
