#pragma once

#include <QFont>
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

    // The figures' font, for measuring their columns.
    static QFont figureFont();

    void setProcess(const QIcon& image, const QString& name, const QString& fullPath,
                    bool showFullProcessPath);
    void setFigures(const QString& first, const QString& second);

    QString text() const;
    QString displayedText() const;
    Qt::TextElideMode elideMode() const;
    QString textToolTip() const; // always the full path
    QString firstFigure() const;
    QString secondFigure() const;
    // The figure labels themselves, for checking what they render.
    const QLabel* firstFigureLabel() const { return m_first; }
    const QLabel* secondFigureLabel() const { return m_second; }

private:
    ProcessIcon* m_icon;
    ElidedLabel* m_text;
    QLabel* m_first;
    QLabel* m_second;
};

} // namespace pw::ui
