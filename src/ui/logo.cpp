#include "ui/logo.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

namespace pw::ui {
namespace {

std::optional<QPixmap> loadImage(const QString& path, int logicalSize, qreal dpr) {
    if (!QFileInfo::exists(path))
        return std::nullopt;
    const int px = qMax(1, qRound(logicalSize * dpr));
    QPixmap pixmap(px, px);
    pixmap.fill(Qt::transparent);
    if (path.endsWith(QStringLiteral(".svg"))) {
        QSvgRenderer renderer(path);
        if (!renderer.isValid())
            return std::nullopt;
        QPainter painter(&pixmap);
        renderer.render(&painter, QRectF(0, 0, px, px));
    } else {
        QImageReader reader(path);
        const QImage image = reader.read();
        if (image.isNull())
            return std::nullopt;
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QImage scaled = image.scaled(px, px, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(QPointF((px - scaled.width()) / 2.0, (px - scaled.height()) / 2.0),
                          scaled);
    }
    pixmap.setDevicePixelRatio(dpr);
    return pixmap;
}

} // namespace

std::optional<QPixmap> findLogo(int logicalSize, qreal dpr) {
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QString dir = QCoreApplication::applicationDirPath();
        candidates << dir + QStringLiteral("/logo.png") << dir + QStringLiteral("/logo.svg");
    }
    candidates << QStringLiteral(":/logo.svg") << QStringLiteral(":/logo.png");
    for (const QString& path : candidates) {
        if (auto logo = loadImage(path, logicalSize, dpr))
            return logo;
    }
    return std::nullopt;
}

} // namespace pw::ui
