#include "ui/gpu_strip.h"

#include "services/gpu/gpu_monitor.h"
#include "services/system_colors.h"
#include "ui/elided_label.h"
#include "ui/format/figure_format.h"
#include "ui/gauge_ring.h"
#include "ui/label_factory.h"
#include "ui/text_styles.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace pw::ui {
namespace {

GaugeFigure percentGauge(std::optional<double> percent) {
    return {percentText(percent), percent ? ringFraction(*percent) : 0.0};
}

using GaugeOf = GaugeFigure (*)(const GpuMonitor&);

// One entry per gauge; the strip is as long as this list.
constexpr auto kGauges = std::to_array<GaugeOf>({
    [](const GpuMonitor& gpu) { return percentGauge(gpu.gpuBusy()); },
    [](const GpuMonitor& gpu) { return percentGauge(gpu.gpuMemoryBusy()); },
    [](const GpuMonitor& gpu) {
        const auto celsius = gpu.gpuTemperature();
        return GaugeFigure{wholeText(celsius, kDegreeSign), ringFraction(celsius.value_or(0.0))};
    },
    [](const GpuMonitor& gpu) {
        const auto share = gpu.gpuVramFraction();
        return GaugeFigure{fixedText(share, 2), std::clamp(share.value_or(0.0), 0.0, 1.0)};
    },
});

std::optional<double> screenRefreshRate() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !(screen->refreshRate() > 0.0))
        return std::nullopt;
    return screen->refreshRate();
}

} // namespace

QString gpuBusyToolTip(const GpuMonitor& gpu) {
    if (!gpu.gpuBusyIsPartial())
        return {};
    const int unreadable = gpu.gpuProcesses().unreadableProcesses;
    return QStringLiteral("Counts only the processes you may read; %1 other %2 not counted")
        .arg(unreadable)
        .arg(unreadable == 1 ? QStringLiteral("process is") : QStringLiteral("processes are"));
}

QList<GaugeFigure> gpuGaugeFigures(const GpuMonitor& gpu) {
    QList<GaugeFigure> figures;
    for (GaugeOf gauge : kGauges)
        figures.append(gauge(gpu));
    return figures;
}

GpuStrip::GpuStrip(const GpuMonitor& gpu, QWidget* parent)
    : QWidget(parent), m_gpu(gpu),
      m_header(makeLabel(QString(), systemFont(10, QFont::Bold), QColor(), this)),
      m_name(new ElidedLabel(this)), m_gaugeRow(new QWidget(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(10, 0, 10, 0);
    auto* header = new QHBoxLayout;
    header->addWidget(makeSectionHeading(QStringLiteral("GPU"), this));
    m_name->setObjectName(QStringLiteral("gpuCardName"));
    m_name->setFont(systemFont(10));
    m_name->setTextColor(systemColor::secondaryLabel());
    header->addWidget(m_name, 1);
    header->addWidget(m_header);
    column->addLayout(header);
    auto* row = new QHBoxLayout(m_gaugeRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    for (std::size_t i = 0; i < kGauges.size(); ++i) {
        auto* gauge = new GaugeRing(50, RingStyle{4.0, 0.3, Qt::FlatCap, Qt::FlatCap}, m_gaugeRow);
        gauge->setColor(systemColor::blue());
        m_gauges.append(gauge);
        row->addWidget(gauge);
    }
    row->addStretch(1);
    column->addWidget(m_gaugeRow);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, &GpuStrip::refresh);
}

void GpuStrip::refresh() {
    // The refresh rate is the display's, not a frame rate the GPU reached.
    const bool hasGpu = m_gpu.gpuCount() > 0;
    m_header->setText(hasGpu
                          ? QStringLiteral("Display ") + fixedText(screenRefreshRate(), 0, u" Hz")
                          : QStringLiteral("No GPU"));
    m_gaugeRow->setVisible(hasGpu);
    m_name->setText(m_gpu.gpuName());
    m_gauges[0]->setToolTip(gpuBusyToolTip(m_gpu));
    const QList<GaugeFigure> figures = gpuGaugeFigures(m_gpu);
    for (qsizetype i = 0; i < figures.size(); ++i) {
        m_gauges[i]->setFraction(figures[i].fraction);
        m_gauges[i]->setText(figures[i].text, systemFont(12, QFont::Bold));
    }
}

QString GpuStrip::headerText() const {
    return m_header->text();
}

bool GpuStrip::gaugesShown() const {
    return !m_gaugeRow->isHidden();
}

QString GpuStrip::cardNameText() const {
    return m_name->text();
}

} // namespace pw::ui
