#pragma once

#include <QAbstractButton>

namespace pw::ui {

// An on/off switch: its text (if any) followed by a sliding pill.
class SwitchButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit SwitchButton(const QString& text = {}, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};

// Shows `position()`, disabled: a switch with nothing behind it must not
// look as if it could be flipped. Should anything flip it, it returns.
void holdAtFixedPosition(SwitchButton* button, bool (*position)());
// A switch that cannot do what it says: off, disabled, `reason` as its tooltip.
void showAsUnavailable(SwitchButton* button, const QString& reason);

} // namespace pw::ui
