#include "app/single_instance.h"

#include "services/log_line.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace pw::app {
namespace {
constexpr int kForwardTimeoutMs = 3000;
const QString kInterface = QStringLiteral("org.pulsewick.Pulsewick");
} // namespace

SingleInstance::SingleInstance(QDBusConnection bus, QString serviceName, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_serviceName(std::move(serviceName)) {}

SingleInstance::~SingleInstance() {
    if (m_registered) {
        m_bus.unregisterObject(QString::fromLatin1(kObjectPath));
        m_bus.unregisterService(m_serviceName);
    }
}

SingleInstance::Role SingleInstance::claim(const InstanceRequest& request) {
    if (!m_bus.isConnected() || !m_bus.interface())
        return Role::Alone;

    // The object goes up before the name, so a start racing us never finds
    // the name without someone answering behind it.
    m_bus.registerObject(QString::fromLatin1(kObjectPath), this,
                         QDBusConnection::ExportScriptableSlots);
    const auto reply = m_bus.interface()->registerService(
        m_serviceName, QDBusConnectionInterface::DontQueueService,
        QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_registered = true;
        return Role::Primary;
    }
    m_bus.unregisterObject(QString::fromLatin1(kObjectPath));

    if (forward(request))
        return Role::HandedOff;
    // The owner is there but does not answer (hung, or quitting right now):
    // running a second tray entry beats doing nothing.
    logLine(
        QStringLiteral("Single instance: the running Pulsewick did not answer; starting anyway."));
    return Role::Alone;
}

bool SingleInstance::forward(const InstanceRequest& request) {
    auto message =
        request.dashboard
            ? QDBusMessage::createMethodCall(m_serviceName, QString::fromLatin1(kObjectPath),
                                             kInterface, QStringLiteral("OpenDashboard"))
            : QDBusMessage::createMethodCall(m_serviceName, QString::fromLatin1(kObjectPath),
                                             kInterface, QStringLiteral("Activate"));
    if (request.dashboard)
        message << request.page.value_or(QString());
    // BlockWithGui keeps this thread's own bus objects answering, should the
    // owner be in this very process (tests).
    const QDBusMessage answer = m_bus.call(message, QDBus::BlockWithGui, kForwardTimeoutMs);
    return answer.type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::Activate() {
    Q_EMIT requestReceived(InstanceRequest{});
}

void SingleInstance::OpenDashboard(const QString& page) {
    // An empty page stands for "no page given".
    Q_EMIT requestReceived(
        InstanceRequest{true, page.isEmpty() ? std::nullopt : std::optional<QString>(page)});
}

} // namespace pw::app
