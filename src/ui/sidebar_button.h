#pragma once

#include <QAbstractButton>
#include <QColor>

namespace pw::ui {

// A 40 x 40 rounded square showing one symbol at size 20.
class SidebarButton : public QAbstractButton {
    Q_OBJECT
public:
    SidebarButton(const QString& symbolName, const QString& title, QWidget* parent = nullptr);

    QString symbolName() const { return m_symbol; }
    QString title() const { return m_title; }

    // The selected page's button: white on blue; otherwise white at 50 % on clear.
    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return m_highlighted; }

    // Overrides the highlight colours (the quit button is red on red).
    void setFixedColors(const QColor& symbol, const QColor& background);

    QSize sizeHint() const override { return {40, 40}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    QString m_title;
    bool m_highlighted = false;
    bool m_fixedColors = false;
    QColor m_symbolColor;
    QColor m_backgroundColor;
};

} // namespace pw::ui
