#pragma once

#include "services/process_info_data.h"

#include <QAbstractButton>

#include <functional>

namespace pw::ui {

// Starts a program detached with an argument list; false when it could not start.
using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;
Launcher detachedLauncher();

// A 24 × 24 tray button that starts a busy process's installed application.
// A process without an installed desktop entry gets the button disabled.
class AppLaunchButton : public QAbstractButton {
    Q_OBJECT

public:
    AppLaunchButton(const ProcessInfoData& process, Launcher launcher, QWidget* parent = nullptr);

    // Shows and starts another program, as the busiest ones change places.
    void setProcess(const ProcessInfoData& process, Launcher launcher);
    const ProcessInfoData& process() const { return m_process; }
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void launch();

    ProcessInfoData m_process;
    Launcher m_launcher;
};

} // namespace pw::ui
