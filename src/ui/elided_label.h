#pragma once

#include <QWidget>

namespace pw::ui {

// One line of text that shrinks with its layout and ends (or starts) with an
// ellipsis instead of wrapping; control characters show as \xNN escapes.
class ElidedLabel : public QWidget {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }
    void setElideMode(Qt::TextElideMode mode);
    Qt::TextElideMode elideMode() const { return m_mode; }
    void setTextColor(const QColor& color);

    // What is drawn at the current width.
    QString displayedText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QString m_singleLine;
    Qt::TextElideMode m_mode = Qt::ElideRight;
};

} // namespace pw::ui
