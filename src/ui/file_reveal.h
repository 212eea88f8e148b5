#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QUrl>

#include <functional>

namespace pw::ui {

// Shows a file in the desktop's file manager without blocking: asks the
// freedesktop FileManager1 service to select it, and where no such service is
// running or activatable (or it refuses) opens the containing folder instead.
class FileReveal : public QObject {
    Q_OBJECT
public:
    enum class Route { FileManager, Folder };
    Q_ENUM(Route)

    using FolderOpener = std::function<void(const QUrl& folder)>;

    static constexpr auto kService = "org.freedesktop.FileManager1";

    // The session bus, the freedesktop service, and the desktop's folder handler.
    explicit FileReveal(QObject* parent = nullptr);
    FileReveal(QDBusConnection bus, QString service, FolderOpener openFolder,
               QObject* parent = nullptr);

    void reveal(const QString& filePath);

Q_SIGNALS:
    // Once per reveal, when the request has been handed to one of the two routes.
    void revealed(const QString& filePath, pw::ui::FileReveal::Route route);

private:
    void askFileManager(const QString& filePath);
    void checkActivatable(const QString& filePath);
    void openFolder(const QString& filePath);

    QDBusConnection m_bus;
    QString m_service;
    FolderOpener m_openFolder;
};

} // namespace pw::ui
