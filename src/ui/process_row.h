#pragma once

#include <QColor>
#include <QIcon>
#include <QWidget>

class QLabel;

namespace pw::ui {

class ElidedLabel;
class ProcessIcon;
class SteadyLabel;

// One line of a process list: icon, name (one line, cut at the end), value.
class ProcessRow : public QWidget {
    Q_OBJECT

public:
    ProcessRow(const QString& icon, const QIcon& image, const QString& name, const QString& value,
               const QColor& color, QWidget* parent = nullptr);

    void setImage(const QIcon& image);
    void setName(const QString& name);
    void setValue(const QString& value);

    QString name() const;
    QString displayedName() const;
    QString value() const;
    bool showsImage() const;

private:
    ProcessIcon* m_icon;
    ElidedLabel* m_name;
    SteadyLabel* m_value;
};

} // namespace pw::ui
