// The GPU page: every card with its figures and state, and the processes
// keeping the GPUs busy.
#include "services/gpu/gpu_monitor.h"
#include "services/stats_models.h"
#include "ui/cycle_refresh.h"
#include "ui/elided_label.h"
#include "ui/gpu_card_view.h"
#include "ui/gpu_page_text.h"
#include "ui/label_factory.h"
#include "ui/settings_page_parts.h"
#include "ui/settings_pages.h"

#include <QHBoxLayout>
#include <QScrollArea>

namespace pw::ui {
using namespace dashboardStyle;

namespace {

// How many of the busiest GPU processes are listed.
constexpr int kProcessRows = 5;

struct ProcessRows {
    QList<ElidedLabel*> names;
    QList<QLabel*> values;
    QLabel* empty = nullptr;
    QLabel* unreadable = nullptr;
};

QWidget* processSection(ProcessRows& rows) {
    auto* section = new QWidget;
    auto* stack = new QVBoxLayout(section);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(6);
    stack->addWidget(makeLabel(QStringLiteral("GPU Processes"), textStyle::headline()));
    for (int i = 0; i < kProcessRows; ++i) {
        auto* line = new QHBoxLayout;
        auto* name = new ElidedLabel;
        name->setFont(systemFont(12));
        auto* value = makeLabel(QString(), systemFont(12, QFont::Bold));
        line->addWidget(name, 1);
        line->addWidget(value);
        stack->addLayout(line);
        rows.names << name;
        rows.values << value;
    }
    rows.empty = makeLabel(QStringLiteral("No process is using a GPU"), systemFont(12),
                           systemColor::secondaryLabel());
    rows.empty->setObjectName(QStringLiteral("gpuProcessesEmpty"));
    rows.unreadable = makeLabel(QString(), textStyle::caption(), systemColor::secondaryLabel());
    rows.unreadable->setObjectName(QStringLiteral("gpuProcessesUnreadable"));
    rows.unreadable->setWordWrap(true);
    stack->addWidget(rows.empty);
    stack->addWidget(rows.unreadable);
    return section;
}

void showProcesses(const platform::GpuProcesses& processes, const ProcessRows& rows) {
    for (int i = 0; i < kProcessRows; ++i) {
        const bool shown = i < static_cast<int>(processes.busiest.size());
        const GpuFigureLine line =
            shown ? gpuProcessLine(processes.busiest[static_cast<std::size_t>(i)])
                  : GpuFigureLine{};
        rows.names[i]->setText(line.label);
        rows.values[i]->setText(line.value);
        rows.names[i]->setVisible(shown);
        rows.values[i]->setVisible(shown);
    }
    rows.empty->setVisible(processes.busiest.empty());
    rows.unreadable->setText(gpuUnreadableText(processes.unreadableProcesses));
    rows.unreadable->setVisible(processes.unreadableProcesses > 0);
}

} // namespace

QWidget* buildGpuPage(const StatsModels& models) {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("GPUPage"));
    auto* layout = pageParts::pageStack(page, 12);
    layout->addWidget(pageParts::pageTitle(QStringLiteral("Graphics")));

    // Cards and processes scroll: a machine may have several GPUs.
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    scroll->viewport()->setAutoFillBackground(false);
    auto* stack = new QVBoxLayout(content);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(12);
    auto* cardStack = new QVBoxLayout;
    cardStack->setSpacing(12);
    stack->addLayout(cardStack);
    auto* none =
        makeLabel(QStringLiteral("No GPU found"), systemFont(13), systemColor::secondaryLabel());
    none->setObjectName(QStringLiteral("gpuNoneText"));
    stack->addWidget(none);
    auto rows = std::make_shared<ProcessRows>();
    stack->addWidget(processSection(*rows));
    stack->addStretch();
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);

    new CycleRefresh(
        models.stats,
        [models, cardStack, none, rows, cards = QList<GpuCardView*>()]() mutable {
            const std::vector<platform::GpuDevice>& gpus = models.gpu.gpus();
            if (cards.size() != static_cast<qsizetype>(gpus.size())) {
                qDeleteAll(cards);
                cards.clear();
                for (std::size_t i = 0; i < gpus.size(); ++i) {
                    cards << new GpuCardView;
                    cardStack->addWidget(cards.last());
                }
            }
            for (std::size_t i = 0; i < gpus.size(); ++i)
                cards[static_cast<qsizetype>(i)]->setDevice(gpus[i]);
            none->setVisible(gpus.empty());
            showProcesses(models.gpu.gpuProcesses(), *rows);
        },
        page);
    return page;
}

} // namespace pw::ui
