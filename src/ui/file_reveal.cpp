#include "ui/file_reveal.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QFileInfo>

namespace pw::ui {
namespace {
constexpr auto kBusService = "org.freedesktop.DBus";
constexpr auto kBusPath = "/org/freedesktop/DBus";
constexpr auto kBusInterface = "org.freedesktop.DBus";
constexpr auto kFileManagerPath = "/org/freedesktop/FileManager1";
constexpr auto kFileManagerInterface = "org.freedesktop.FileManager1";
// A file manager started by bus activation may take a while to answer.
constexpr int kShowItemsTimeoutMs = 15000;

QDBusMessage busCall(const char* method) {
    return QDBusMessage::createMethodCall(QLatin1String(kBusService), QLatin1String(kBusPath),
                                          QLatin1String(kBusInterface), QLatin1String(method));
}
} // namespace

FileReveal::FileReveal(QObject* parent)
    : FileReveal(
          QDBusConnection::sessionBus(), QLatin1String(kService),
          [](const QUrl& folder) { QDesktopServices::openUrl(folder); }, parent) {}

FileReveal::FileReveal(QDBusConnection bus, QString service, FolderOpener openFolder,
                       QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_service(std::move(service)),
      m_openFolder(std::move(openFolder)) {}

void FileReveal::reveal(const QString& filePath) {
    if (!m_bus.isConnected()) {
        openFolder(filePath);
        return;
    }
    QDBusMessage ask = busCall("NameHasOwner");
    ask << m_service;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(ask), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, filePath](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<bool> reply = *w;
                if (!reply.isError() && reply.value())
                    askFileManager(filePath);
                else
                    checkActivatable(filePath);
            });
}

void FileReveal::checkActivatable(const QString& filePath) {
    auto* watcher =
        new QDBusPendingCallWatcher(m_bus.asyncCall(busCall("ListActivatableNames")), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, filePath](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<QStringList> reply = *w;
                if (!reply.isError() && reply.value().contains(m_service))
                    askFileManager(filePath);
                else
                    openFolder(filePath);
            });
}

void FileReveal::askFileManager(const QString& filePath) {
    QDBusMessage call = QDBusMessage::createMethodCall(m_service, QLatin1String(kFileManagerPath),
                                                       QLatin1String(kFileManagerInterface),
                                                       QStringLiteral("ShowItems"));
    const QString uri =
        QUrl::fromLocalFile(QFileInfo(filePath).absoluteFilePath()).toString(QUrl::FullyEncoded);
    call << QStringList{uri} << QString();
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kShowItemsTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, filePath](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (w->isError())
                    openFolder(filePath);
                else
                    Q_EMIT revealed(filePath, Route::FileManager);
            });
}

void FileReveal::openFolder(const QString& filePath) {
    if (m_openFolder)
        m_openFolder(QUrl::fromLocalFile(QFileInfo(filePath).absolutePath()));
    Q_EMIT revealed(filePath, Route::Folder);
}

} // namespace pw::ui
