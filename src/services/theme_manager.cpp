#include "services/theme_manager.h"

#include "services/system_colors.h"

namespace pw {
namespace theme {

QList<AppTheme> allCases() {
    return {AppTheme::standard, AppTheme::cyberpunk, AppTheme::nordic, AppTheme::ink};
}

QString rawValue(AppTheme theme) {
    switch (theme) {
    case AppTheme::standard:
        return QStringLiteral("Standard");
    case AppTheme::cyberpunk:
        return QStringLiteral("Cyberpunk");
    case AppTheme::nordic:
        return QStringLiteral("Nordic");
    case AppTheme::ink:
        return QStringLiteral("Ink");
    }
    return {};
}

std::optional<AppTheme> fromRawValue(const QString& raw) {
    for (AppTheme t : allCases())
        if (rawValue(t) == raw)
            return t;
    return std::nullopt;
}

QColor accentColor(AppTheme theme) {
    switch (theme) {
    case AppTheme::standard:
        return systemColor::blue();
    case AppTheme::cyberpunk:
        return QColor::fromRgbF(0.0f, 0.95f, 1.0f);
    case AppTheme::nordic:
        return QColor::fromRgbF(0.53f, 0.75f, 0.82f);
    case AppTheme::ink:
        return systemColor::primaryLabel();
    }
    return systemColor::blue();
}

QColor secondaryAccent(AppTheme theme) {
    switch (theme) {
    case AppTheme::standard:
        return systemColor::purple();
    case AppTheme::cyberpunk:
        return QColor::fromRgbF(0.74f, 0.0f, 1.0f);
    case AppTheme::nordic:
        return QColor::fromRgbF(0.56f, 0.64f, 0.51f);
    case AppTheme::ink:
        return systemColor::secondaryLabel();
    }
    return systemColor::purple();
}

BackdropMaterial backgroundMaterial(AppTheme theme) {
    switch (theme) {
    case AppTheme::standard:
        return BackdropMaterial::popover;
    case AppTheme::cyberpunk:
        return BackdropMaterial::underWindowBackground;
    case AppTheme::nordic:
        return BackdropMaterial::hudWindow;
    case AppTheme::ink:
        return BackdropMaterial::contentBackground;
    }
    return BackdropMaterial::popover;
}

AppTheme next(AppTheme theme) {
    const QList<AppTheme> all = allCases();
    return all[(all.indexOf(theme) + 1) % all.size()];
}

} // namespace theme

ThemeManager& ThemeManager::shared() {
    static ThemeManager* instance = new ThemeManager();
    return *instance;
}

void ThemeManager::setCurrentTheme(AppTheme theme) {
    if (theme == m_currentTheme)
        return;
    m_currentTheme = theme;
    Q_EMIT currentThemeChanged(theme);
}

} // namespace pw
