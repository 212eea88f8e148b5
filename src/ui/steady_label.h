#pragma once

#include <QHash>
#include <QLabel>

namespace pw::ui {

// A one-line label for a figure that changes every second. A label of a fixed
// size is repainted without the window being laid out again, so this one
// keeps the largest size its texts have needed and grows only for a wider
// one; align its text to the side that should stay put. The size each text
// needs is remembered as well: figures repeat, and measuring one shapes it.
class SteadyLabel : public QLabel {
    Q_OBJECT

public:
    SteadyLabel(const QFont& font, Qt::Alignment alignment, QWidget* parent = nullptr);

    void setSteadyText(const QString& text);

protected:
    void changeEvent(QEvent* event) override;

private:
    QHash<QString, QSize> m_needed;
};

} // namespace pw::ui
