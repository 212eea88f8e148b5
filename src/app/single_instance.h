#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <optional>

namespace pw::app {

// What a start of the tray program asks for.
struct InstanceRequest {
    bool dashboard = false;      // --dashboard
    std::optional<QString> page; // its PAGE, if given
    bool operator==(const InstanceRequest&) const = default;
};

// Keeps one tray program per session. The first start owns a name on the
// session bus; later starts hand their request to it over that name and end.
class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.pulsewick.Pulsewick")

public:
    static constexpr auto kServiceName = "org.pulsewick.Pulsewick";
    static constexpr auto kObjectPath = "/org/pulsewick/Pulsewick";

    enum class Role {
        Primary,   // we own the name: run, and serve later starts
        HandedOff, // another instance took our request: exit
        Alone,     // no usable session bus: run without the check
    };

    explicit SingleInstance(QDBusConnection bus,
                            QString serviceName = QString::fromLatin1(kServiceName),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // Claims the name, or forwards `request` to its owner. Call once.
    Role claim(const InstanceRequest& request);

public Q_SLOTS:
    // The bus methods later starts call.
    Q_SCRIPTABLE void Activate();
    Q_SCRIPTABLE void OpenDashboard(const QString& page);

Q_SIGNALS:
    void requestReceived(const pw::app::InstanceRequest& request);

private:
    bool forward(const InstanceRequest& request);

    QDBusConnection m_bus;
    QString m_serviceName;
    bool m_registered = false;
};

} // namespace pw::app
