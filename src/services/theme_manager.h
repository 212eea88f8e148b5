#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace pw {

enum class AppTheme { standard, cyberpunk, nordic, ink };

// The translucent backdrop a theme draws behind the popup.
enum class BackdropMaterial { popover, underWindowBackground, hudWindow, contentBackground };

namespace theme {
QList<AppTheme> allCases();
QString rawValue(AppTheme theme);                         // also the theme's id, shown to the user
std::optional<AppTheme> fromRawValue(const QString& raw); // exact, case-sensitive
QColor accentColor(AppTheme theme);
QColor secondaryAccent(AppTheme theme);
BackdropMaterial backgroundMaterial(AppTheme theme);
AppTheme next(AppTheme theme);
} // namespace theme

// Holds the theme in force. In memory only: every launch starts with standard.
class ThemeManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(pw::AppTheme currentTheme READ currentTheme WRITE setCurrentTheme NOTIFY
                   currentThemeChanged)

public:
    static ThemeManager& shared();
    explicit ThemeManager(QObject* parent = nullptr) : QObject(parent) {}

    AppTheme currentTheme() const { return m_currentTheme; }
    void setCurrentTheme(AppTheme theme);
    void stepToNextTheme() { setCurrentTheme(theme::next(m_currentTheme)); }

Q_SIGNALS:
    void currentThemeChanged(pw::AppTheme theme);

private:
    AppTheme m_currentTheme = AppTheme::standard;
};

} // namespace pw
