#include "services/network/connection_reader.h"

namespace pw {

ConnectionReader::ConnectionReader(std::shared_ptr<platform::ConnectionSource> source,
                                   std::function<void(Connections)> onRead, QObject* parent)
    : QObject(parent), m_source(std::move(source)), m_onRead(std::move(onRead)),
      m_worker(new QObject) {
    m_thread.setObjectName(QStringLiteral("connections"));
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start(QThread::LowPriority);
}

ConnectionReader::~ConnectionReader() {
    // A read in flight finishes first; its queued hand-over dies with this object.
    m_thread.quit();
    m_thread.wait();
}

void ConnectionReader::request(std::size_t limit) {
    if (m_busy)
        return;
    m_busy = true;
    QMetaObject::invokeMethod(
        m_worker,
        [this, limit, source = m_source] {
            Connections connections = source->established(limit);
            QMetaObject::invokeMethod(
                this,
                [this, connections = std::move(connections)]() mutable {
                    m_busy = false;
                    if (m_onRead)
                        m_onRead(std::move(connections));
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

} // namespace pw
