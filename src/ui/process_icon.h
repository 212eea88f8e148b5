#pragma once

#include <QColor>
#include <QIcon>
#include <QWidget>

namespace pw::ui {

// The icon cell of a process line: the application's image at 16 × 16 with 2
// of padding when there is one, else the fallback symbol tinted in `color` in
// a frame 20 wide.
class ProcessIcon : public QWidget {
    Q_OBJECT

public:
    ProcessIcon(const QString& symbol, const QColor& color, QWidget* parent = nullptr);

    void setImage(const QIcon& image);
    bool showsImage() const { return !m_image.isNull(); }
    void setSymbol(const QString& symbol);
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QColor m_color;
    QIcon m_image;
};

} // namespace pw::ui
