#pragma once

#include "platform/xdg/desktop_entries.h"

#include <QHash>
#include <QIcon>
#include <QString>

#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace pw {

// The installed application of an executable, with its theme icon. The desktop
// file index is built once, off the main thread, on the first lookup; until it
// is ready lookups answer "not known yet" and nothing is cached.
class ApplicationCatalog {
public:
    struct Application {
        QIcon icon; // null when the entry names no icon the theme has
        QString desktopEntry;
    };
    using IndexBuilder = std::function<platform::DesktopEntryIndex()>;

    // The XDG application folders and PATH of this process.
    ApplicationCatalog();
    explicit ApplicationCatalog(IndexBuilder build);
    ~ApplicationCatalog();

    ApplicationCatalog(const ApplicationCatalog&) = delete;
    ApplicationCatalog& operator=(const ApplicationCatalog&) = delete;

    // Absent while the index is being built. Otherwise the application, or an
    // empty one when no installed application runs `executablePath`.
    std::optional<Application> lookup(const QString& executablePath);

    // Blocks until the index is built. For tests and benchmarks only.
    void waitUntilReady();

private:
    bool ready();

    IndexBuilder m_build;
    std::future<platform::DesktopEntryIndex> m_building;
    std::optional<platform::DesktopEntryIndex> m_index;
    QHash<QString, Application> m_cache;
};

// The icon an Icon value names: an absolute file, else a theme icon. Null when
// neither exists or no GUI application is running.
QIcon iconForName(const QString& iconName);

} // namespace pw
