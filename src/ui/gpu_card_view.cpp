#include "ui/gpu_card_view.h"

#include "ui/dashboard_style.h"
#include "ui/gpu_page_text.h"
#include "ui/label_factory.h"
#include "ui/rounded_card.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace pw::ui {
using namespace dashboardStyle;

GpuCardView::GpuCardView(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* card = new RoundedCard(whiteAt(0.05), 12);
    outer->addWidget(card);
    auto* stack = new QVBoxLayout(card);
    stack->setContentsMargins(kCardPadding, kCardPadding, kCardPadding, kCardPadding);
    stack->setSpacing(8);

    auto* head = new QHBoxLayout;
    m_name = makeLabel(QString(), textStyle::headline());
    m_name->setObjectName(QStringLiteral("gpuName"));
    m_state = makeLabel(QString(), systemFont(12, QFont::Bold));
    m_state->setObjectName(QStringLiteral("gpuState"));
    head->addWidget(m_name, 1);
    head->addWidget(m_state);
    stack->addLayout(head);
    m_identity = makeLabel(QString(), textStyle::caption(), systemColor::secondaryLabel());
    stack->addWidget(m_identity);

    // Two columns of label and value.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(4);
    const int lines = static_cast<int>(gpuFigureLines(platform::GpuDevice{}).size());
    for (int i = 0; i < lines; ++i) {
        auto* label = makeLabel(QString(), systemFont(12), systemColor::secondaryLabel());
        auto* value = makeLabel(QString(), systemFont(12, QFont::Bold));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, i / 2, (i % 2) * 2);
        grid->addWidget(value, i / 2, (i % 2) * 2 + 1);
        m_labels << label;
        m_values << value;
    }
    stack->addLayout(grid);
}

void GpuCardView::setDevice(const platform::GpuDevice& gpu) {
    m_name->setText(QString::fromStdString(gpu.name));
    m_state->setText(gpuStateText(gpu));
    setTextColor(m_state, gpu.suspended ? systemColor::secondaryLabel() : systemColor::green());
    m_identity->setText(gpuIdentityText(gpu));
    const QList<GpuFigureLine> lines = gpuFigureLines(gpu);
    for (qsizetype i = 0; i < lines.size() && i < m_values.size(); ++i) {
        m_labels[i]->setText(lines[i].label);
        m_values[i]->setText(lines[i].value);
    }
}

QString GpuCardView::nameText() const {
    return m_name->text();
}

QString GpuCardView::stateText() const {
    return m_state->text();
}

QStringList GpuCardView::figureTexts() const {
    QStringList texts;
    for (qsizetype i = 0; i < m_values.size(); ++i)
        texts << m_labels[i]->text() + QStringLiteral(": ") + m_values[i]->text();
    return texts;
}

} // namespace pw::ui
