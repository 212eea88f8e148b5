#include "ui/switch_button.h"

#include "services/system_colors.h"
#include "ui/text_styles.h"

#include <QPainter>

namespace pw::ui {
namespace {
constexpr int kPillWidth = 34;
constexpr int kPillHeight = 20;
constexpr int kGap = 10;
} // namespace

SwitchButton::SwitchButton(const QString& text, QWidget* parent) : QAbstractButton(parent) {
    setText(text);
    setCheckable(true);
    setFont(systemFont(13));
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SwitchButton::sizeHint() const {
    const QFontMetrics fm(font());
    const int textWidth = text().isEmpty() ? 0 : fm.horizontalAdvance(text()) + kGap;
    return {textWidth + kPillWidth, qMax(kPillHeight, fm.height()) + 2};
}

bool SwitchButton::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void SwitchButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(0.45); // dimmed like any control that cannot be used
    int x = 0;
    if (!text().isEmpty()) {
        const QFontMetrics fm(font());
        p.setPen(systemColor::white());
        p.drawText(QRect(0, 0, fm.horizontalAdvance(text()), height()),
                   Qt::AlignVCenter | Qt::AlignLeft, text());
        x = fm.horizontalAdvance(text()) + kGap;
    }
    const QRectF pill(x, (height() - kPillHeight) / 2.0, kPillWidth, kPillHeight);
    QColor track = isChecked() ? systemColor::blue() : QColor(255, 255, 255, 50);
    p.setPen(Qt::NoPen);
    p.setBrush(track);
    p.drawRoundedRect(pill, kPillHeight / 2.0, kPillHeight / 2.0);
    const qreal knob = kPillHeight - 4;
    const qreal knobX = isChecked() ? pill.right() - 2 - knob : pill.left() + 2;
    p.setBrush(systemColor::white());
    p.drawEllipse(QRectF(knobX, pill.top() + 2, knob, knob));
}

void holdAtFixedPosition(SwitchButton* button, bool (*position)()) {
    button->setChecked(position());
    button->setEnabled(false);
    QObject::connect(button, &QAbstractButton::toggled, button, [button, position](bool on) {
        if (on != position())
            button->setChecked(position());
    });
}

void showAsUnavailable(SwitchButton* button, const QString& reason) {
    button->setChecked(false);
    button->setEnabled(false);
    button->setToolTip(reason);
}

} // namespace pw::ui
