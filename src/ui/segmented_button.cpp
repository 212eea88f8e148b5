#include "ui/segmented_button.h"

#include "services/system_colors.h"
#include "ui/text_styles.h"

#include <QMouseEvent>
#include <QPainter>

namespace pw::ui {
namespace {
constexpr int kHeight = 24;
constexpr int kTextPadding = 14;
} // namespace

SegmentedButton::SegmentedButton(const QStringList& segments, QWidget* parent)
    : QWidget(parent), m_segments(segments) {
    setFont(systemFont(12));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void SegmentedButton::setCurrentIndex(int index) {
    if (index < 0 || index >= m_segments.size() || index == m_current)
        return;
    m_current = index;
    update();
    Q_EMIT currentIndexChanged(index);
}

int SegmentedButton::segmentWidth() const {
    const QFontMetrics fm(font());
    int widest = 0;
    for (const QString& s : m_segments)
        widest = qMax(widest, fm.horizontalAdvance(s));
    return widest + 2 * kTextPadding;
}

QSize SegmentedButton::sizeHint() const {
    return {segmentWidth() * static_cast<int>(m_segments.size()), kHeight};
}

QRect SegmentedButton::segmentRect(int index) const {
    const int w = segmentWidth();
    return {index * w, 0, w, height()};
}

void SegmentedButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.45); // dimmed like any control that cannot be used
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 26));
    p.drawRoundedRect(QRectF(rect()), 6, 6);
    for (int i = 0; i < m_segments.size(); ++i) {
        const QRect r = segmentRect(i);
        if (i == m_current) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, 64));
            p.drawRoundedRect(QRectF(r).adjusted(2, 2, -2, -2), 5, 5);
        }
        p.setPen(systemColor::white());
        p.drawText(r, Qt::AlignCenter, m_segments[i]);
    }
}

void SegmentedButton::mousePressEvent(QMouseEvent* event) {
    for (int i = 0; i < m_segments.size(); ++i) {
        if (segmentRect(i).contains(event->position().toPoint())) {
            setCurrentIndex(i);
            Q_EMIT segmentChosen(i);
            return;
        }
    }
}

void holdAtFixedPosition(SegmentedButton* picker, int (*position)()) {
    picker->setCurrentIndex(position());
    QObject::connect(picker, &SegmentedButton::segmentChosen, picker,
                     [picker, position](int) { picker->setCurrentIndex(position()); });
}

} // namespace pw::ui
