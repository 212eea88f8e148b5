#pragma once

#include <QAbstractButton>
#include <QColor>

class QVariantAnimation;

namespace pw::ui {

// One 32 × 32 tab button of the tray: its symbol in `color` on a faint
// `color` background when its index is the selected tab, dimmed otherwise.
class TabBarButton : public QAbstractButton {
    Q_OBJECT

public:
    TabBarButton(const QString& icon, int index, const QColor& color, QWidget* parent = nullptr);

    int index() const { return m_index; }
    QString icon() const { return m_icon; }
    QColor color() const { return m_color; }

    // Follows the popup's selected tab; the highlight springs in and out.
    void setSelectedTab(int selectedTab);
    bool isSelected() const { return m_selected; }

    // The colours drawn once the highlight has settled.
    static QColor symbolColor(bool selected, const QColor& color);
    static QColor backgroundColor(bool selected, const QColor& color);

    QSize sizeHint() const override { return {32, 32}; }

Q_SIGNALS:
    // Pressed: the popup should select `index`.
    void tabChosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_icon;
    int m_index;
    QColor m_color;
    bool m_selected = false;
    double m_highlight = 0.0; // 0 = plain, 1 = selected
    QVariantAnimation* m_animation;
};

} // namespace pw::ui
