#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

class QLabel;

namespace pw::ui {

class ElidedLabel;
class ProcessIcon;

// A process line of the disk and network tabs: icon, the name or full path
// (cut where it keeps its meaning, the full path as tooltip), and two figures.
class ProcessTrafficRow : public QWidget {
    Q_OBJECT

public:
    // `figureWidth` > 0 puts each figure in a trailing-aligned frame that wide.
    explicit ProcessTrafficRow(int figureWidth, QWidget* parent = nullptr);

    void setProcess(const QIcon& image, const QString& name, const QString& fullPath,
                    bool showFullProcessPath);
    void setFigures(const QString& first, const QString& second);

    QString text() const;
    QString displayedText() const;
    Qt::TextElideMode elideMode() const;
    QString textToolTip() const; // always the full path
    QString firstFigure() const;
    QString secondFigure() const;

private:
    ProcessIcon* m_icon;
    ElidedLabel* m_text;
    QLabel* m_first;
    QLabel* m_second;
};

} // namespace pw::ui
