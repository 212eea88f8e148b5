#include "ui/symbols.h"

#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QPixmapCache>

namespace pw::ui {
namespace {

const QHash<QString, QString>& symbolTable() {
    static const QHash<QString, QString> table = {
        {QStringLiteral("waveform.path.ecg"), QStringLiteral(":/symbols/waveform.path.ecg.svg")},
        {QStringLiteral("exclamationmark.triangle.fill"),
         QStringLiteral("dialog-warning-symbolic")},
        {QStringLiteral("terminal"), QStringLiteral("utilities-terminal-symbolic")},
        {QStringLiteral("memorychip"), QStringLiteral("media-flash-symbolic")},
        {QStringLiteral("speedometer"), QStringLiteral("power-profile-performance-symbolic")},
        {QStringLiteral("gearshape.fill"), QStringLiteral("emblem-system-symbolic")},
        {QStringLiteral("paintbrush.fill"), QStringLiteral("applications-graphics-symbolic")},
        {QStringLiteral("slider.horizontal.3"), QStringLiteral("preferences-system-symbolic")},
        {QStringLiteral("app.fill"), QStringLiteral("application-x-executable-symbolic")},
        {QStringLiteral("shield.fill"), QStringLiteral("security-high-symbolic")},
        {QStringLiteral("list.bullet.rectangle.portrait"),
         QStringLiteral(":/symbols/list.bullet.rectangle.portrait.svg")},
        {QStringLiteral("list.bullet.rectangle.portrait.fill"),
         QStringLiteral(":/symbols/list.bullet.rectangle.portrait.fill.svg")},
        {QStringLiteral("wifi"), QStringLiteral("network-wireless-signal-excellent-symbolic")},
        {QStringLiteral("cable.connector"), QStringLiteral("network-wired-symbolic")},
        {QStringLiteral("arrow.up"), QStringLiteral("go-up-symbolic")},
        {QStringLiteral("arrow.down"), QStringLiteral("go-down-symbolic")},
        {QStringLiteral("bell.fill"), QStringLiteral("preferences-system-notifications-symbolic")},
        {QStringLiteral("cloud.fill"), QStringLiteral("weather-overcast-symbolic")},
        {QStringLiteral("cpu"), QStringLiteral(":/symbols/cpu.svg")},
        {QStringLiteral("externaldrive.fill"), QStringLiteral("drive-harddisk-symbolic")},
        {QStringLiteral("fanblades.fill"), QStringLiteral(":/symbols/fanblades.fill.svg")},
        {QStringLiteral("bolt.fill"), QStringLiteral(":/symbols/bolt.fill.svg")},
        {QStringLiteral("clock.fill"), QStringLiteral("preferences-system-time-symbolic")},
        {QStringLiteral("link"), QStringLiteral(":/symbols/link.svg")},
        {QStringLiteral("power"), QStringLiteral("system-shutdown-symbolic")},
        {QStringLiteral("square.and.arrow.up"), QStringLiteral("send-to-symbolic")},
        {QStringLiteral("thermometer.medium"), QStringLiteral(":/symbols/thermometer.medium.svg")},
        {QStringLiteral("internaldrive"), QStringLiteral("drive-harddisk-solidstate-symbolic")},
        {QStringLiteral("arrow.down.circle.fill"),
         QStringLiteral(":/symbols/arrow.down.circle.fill.svg")},
        {QStringLiteral("arrow.up.circle.fill"),
         QStringLiteral(":/symbols/arrow.up.circle.fill.svg")},
        {QStringLiteral("globe"), QStringLiteral(":/symbols/globe.svg")},
        {QStringLiteral("display"), QStringLiteral("video-display-symbolic")},
    };
    return table;
}

// Platforms without a desktop theme (offscreen, bare X servers) search only the
// resources; the pictures live in the system's icon folders either way.
void ensureIconThemeReachable() {
    static const bool ready = [] {
        const QString systemIcons = QStringLiteral("/usr/share/icons");
        if (!QIcon::themeSearchPaths().contains(systemIcons))
            QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << systemIcons);
        if (QIcon::fallbackThemeName().isEmpty())
            QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    Q_UNUSED(ready);
}

} // namespace

QString symbolSource(const QString& symbolName) {
    return symbolTable().value(symbolName);
}

namespace {
// The symbol in `color`, `px` pixels square.
QPixmap drawSymbol(const QString& symbolName, const QColor& color, int px, qreal devicePixelRatio) {
    QPixmap out(px, px);
    out.fill(Qt::transparent);
    const QString source = symbolSource(symbolName);
    if (source.isEmpty())
        return out;
    ensureIconThemeReachable();
    const QIcon icon =
        source.startsWith(QLatin1Char(':')) ? QIcon(source) : QIcon::fromTheme(source);
    if (icon.isNull())
        return out;
    QPainter p(&out);
    p.drawPixmap(0, 0, icon.pixmap(QSize(px, px)));
    // Keep only the picture's shape and paint it in the caller's colour.
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(out.rect(), color);
    p.end();
    out.setDevicePixelRatio(devicePixelRatio);
    return out;
}
} // namespace

QPixmap symbolPixmap(const QString& symbolName, const QColor& color, int logicalSize,
                     qreal devicePixelRatio) {
    const int px = qMax(1, qRound(logicalSize * devicePixelRatio));
    // Views paint their symbols every time they repaint; drawing one from its
    // SVG each time was a large share of the popup's cost.
    const QString key = QStringLiteral("pw-symbol:%1:%2:%3:%4:%5")
                            .arg(symbolName, QIcon::themeName())
                            .arg(color.rgba())
                            .arg(px)
                            .arg(devicePixelRatio);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached))
        return cached;
    QPixmap out = drawSymbol(symbolName, color, px, devicePixelRatio);
    QPixmapCache::insert(key, out);
    return out;
}

} // namespace pw::ui
