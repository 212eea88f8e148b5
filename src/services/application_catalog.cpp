#include "services/application_catalog.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <chrono>

namespace pw {

ApplicationCatalog::ApplicationCatalog()
    : ApplicationCatalog([] { return platform::DesktopEntryIndex::scanEnvironment(); }) {}

ApplicationCatalog::ApplicationCatalog(IndexBuilder build) : m_build(std::move(build)) {}

// A scan still running is awaited by the future's destructor.
ApplicationCatalog::~ApplicationCatalog() = default;

bool ApplicationCatalog::ready() {
    if (m_index) {
        return true;
    }
    if (!m_building.valid()) {
        m_building = std::async(std::launch::async, m_build);
    }
    if (m_building.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return false;
    }
    m_index = m_building.get();
    return true;
}

void ApplicationCatalog::waitUntilReady() {
    if (!ready()) {
        m_building.wait();
        ready();
    }
}

std::optional<ApplicationCatalog::Application>
ApplicationCatalog::lookup(const QString& executablePath) {
    if (!ready()) {
        return std::nullopt;
    }
    const auto cached = m_cache.constFind(executablePath);
    if (cached != m_cache.constEnd()) {
        return *cached;
    }
    Application app;
    if (const auto found = m_index->find(executablePath)) {
        app.desktopEntry = found->desktopFile;
        app.icon = iconForName(found->icon);
    }
    m_cache.insert(executablePath, app);
    return app;
}

QIcon iconForName(const QString& iconName) {
    // Icons need the GUI application's platform theme.
    if (iconName.isEmpty() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return {};
    }
    if (QDir::isAbsolutePath(iconName)) {
        return QFileInfo(iconName).isFile() ? QIcon(iconName) : QIcon();
    }
    return QIcon::fromTheme(iconName);
}

} // namespace pw
