#pragma once

#include <QColor>
#include <QWidget>

namespace pw::ui {

// A tinted symbol picture, `pictureSize` square, centred in its own frame.
class SymbolIcon : public QWidget {
    Q_OBJECT

public:
    SymbolIcon(const QString& symbol, const QColor& color, int pictureSize,
               QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    QString symbol() const { return m_symbol; }
    void setColor(const QColor& color);
    QColor color() const { return m_color; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_color;
    int m_pictureSize;
};

} // namespace pw::ui
