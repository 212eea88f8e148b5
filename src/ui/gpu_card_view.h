#pragma once

#include "platform/gpu_source.h"

#include <QList>
#include <QWidget>

class QLabel;

namespace pw::ui {

// One GPU on the GPU page: its name and state over its identity and figures.
class GpuCardView : public QWidget {
    Q_OBJECT

public:
    explicit GpuCardView(QWidget* parent = nullptr);

    void setDevice(const platform::GpuDevice& gpu);

    QString nameText() const;
    QString stateText() const;
    // "label: value" per figure, in order.
    QStringList figureTexts() const;

private:
    QLabel* m_name;
    QLabel* m_state;
    QLabel* m_identity;
    QList<QLabel*> m_labels;
    QList<QLabel*> m_values;
};

} // namespace pw::ui
