#include "services/history/history_service.h"

#include "services/history/history_export.h"
#include "services/log_line.h"

#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>

namespace pw {

QString historyExportFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

HistoryService::HistoryService(QString storePath, std::function<double()> wallSeconds,
                               QObject* parent)
    : QObject(parent), m_storePath(std::move(storePath)), m_wallSeconds(std::move(wallSeconds)) {
    // One reader at a time: a new chart waits for the last one instead of
    // both fighting for the disk.
    m_pool.setMaxThreadCount(1);
}

HistoryService::~HistoryService() {
    m_pool.clear();
    m_pool.waitForDone();
}

template <typename Result>
void HistoryService::runThenDeliver(std::function<Result()> work, QObject* context,
                                    std::function<void(const Result&)> done) {
    QPointer<QObject> target(context);
    m_pool.start([this, work = std::move(work), target, done = std::move(done)] {
        Result result = work();
        // Posted to this service, which waits for the pool before it goes;
        // the context is looked at on the main thread only.
        QMetaObject::invokeMethod(
            this,
            [target, done, result = std::move(result)] {
                if (target)
                    done(result);
            },
            Qt::QueuedConnection);
    });
}

void HistoryService::loadChart(const QStringList& ids, HistoryRange range, int buckets,
                               QObject* context,
                               std::function<void(const HistoryChartData&)> done) {
    const double now = m_wallSeconds();
    const double from = now - historyRangeSeconds(range);
    runThenDeliver<HistoryChartData>(
        [path = m_storePath, ids, from, now, buckets] {
            return HistoryQuery(path).chart(ids, from, now, buckets);
        },
        context, std::move(done));
}

void HistoryService::exportRange(HistoryRange range, QObject* context,
                                 std::function<void(const std::optional<QString>&)> done) {
    const double now = m_wallSeconds();
    runThenDeliver<HistoryExportResult>(
        [path = m_storePath, range, now] {
            return exportHistoryRange(path, range, now, historyExportFolder());
        },
        context,
        [done = std::move(done)](const HistoryExportResult& result) {
            if (!result.path)
                logLine(QStringLiteral("Failed to write CSV: ") + result.error);
            done(result.path);
        });
}

} // namespace pw
