#pragma once

#include <QStringList>
#include <QWidget>

namespace pw::ui {

// A row of exclusive segments, one of them selected.
class SegmentedButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)
public:
    explicit SegmentedButton(const QStringList& segments, QWidget* parent = nullptr);

    QStringList segments() const { return m_segments; }
    int currentIndex() const { return m_current; }
    void setCurrentIndex(int index);
    // Where segment `index` is drawn, in widget coordinates.
    QRect segmentRect(int index) const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void currentIndexChanged(int index);
    // Only for a click by the user, before any correction by the caller.
    void segmentChosen(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int segmentWidth() const;

    QStringList m_segments;
    int m_current = 0;
};

// Keeps the picker on `position()` whatever the user clicks.
void holdAtFixedPosition(SegmentedButton* picker, int (*position)());

} // namespace pw::ui
