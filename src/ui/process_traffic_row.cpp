#include "ui/process_traffic_row.h"

#include "services/system_colors.h"
#include "ui/elided_label.h"
#include "ui/label_factory.h"
#include "ui/process_icon.h"
#include "ui/text_styles.h"
#include "ui/view_logic.h"

#include <QHBoxLayout>

namespace pw::ui {

ProcessTrafficRow::ProcessTrafficRow(int figureWidth, QWidget* parent)
    : QWidget(parent),
      m_icon(new ProcessIcon(QStringLiteral("app.fill"), systemColor::white(), this)),
      m_text(new ElidedLabel(this)), m_first(makeLabel(QString(), figureFont(), QColor(), this)),
      m_second(makeLabel(QString(), figureFont(), QColor(), this)) {
    m_text->setFont(systemFont(12, QFont::Medium));
    for (QLabel* figure : {m_first, m_second}) {
        figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (figureWidth > 0)
            figure->setFixedWidth(figureWidth);
    }
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 2, 0, 2);
    row->addWidget(m_icon, 0, Qt::AlignVCenter);
    row->addWidget(m_text, 1, Qt::AlignVCenter);
    row->addSpacing(4);
    row->addWidget(m_first, 0, Qt::AlignVCenter);
    row->addWidget(m_second, 0, Qt::AlignVCenter);
}

QFont ProcessTrafficRow::figureFont() {
    return systemFont(12, QFont::DemiBold, true);
}

void ProcessTrafficRow::setProcess(const QIcon& image, const QString& name, const QString& fullPath,
                                   bool showFullProcessPath) {
    m_icon->setImage(image);
    m_text->setText(processDisplayText(name, fullPath, showFullProcessPath));
    m_text->setElideMode(processElideMode(showFullProcessPath));
    m_text->setToolTip(plainToolTip(fullPath));
}

void ProcessTrafficRow::setFigures(const QString& first, const QString& second) {
    m_first->setText(first);
    m_second->setText(second);
}

QString ProcessTrafficRow::text() const {
    return m_text->text();
}
QString ProcessTrafficRow::displayedText() const {
    return m_text->displayedText();
}
Qt::TextElideMode ProcessTrafficRow::elideMode() const {
    return m_text->elideMode();
}
QString ProcessTrafficRow::textToolTip() const {
    return m_text->toolTip();
}
QString ProcessTrafficRow::firstFigure() const {
    return m_first->text();
}
QString ProcessTrafficRow::secondFigure() const {
    return m_second->text();
}

} // namespace pw::ui
