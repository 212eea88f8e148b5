#include "services/system_colors.h"
#include "ui/menu_bar_readout.h"
#include "ui/process_row.h"
#include "ui/process_traffic_row.h"
#include "ui/ring_chart.h"
#include "ui/sparkline_view.h"
#include "ui/steady_label.h"
#include "ui/symbols.h"
#include "ui/view_logic.h"
#include "ui/visual_effect_view.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <QVariantAnimation>

using namespace pw::ui;
namespace systemColor = pw::systemColor;

namespace {

bool near(const QColor& a, const QColor& b, int tolerance = 40) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

QImage grabWidget(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image.convertToFormat(QImage::Format_ARGB32);
}

const QColor kAccent(0, 200, 0);
const QColor kForeground(255, 255, 255);

bool isAccent(QColor c) {
    return c.alpha() > 150 && near(c, kAccent, 60);
}
bool isForeground(QColor c) {
    return c.alpha() > 100 && c.red() > 150 && c.green() > 150;
}

} // namespace

class TestWidgets : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // As on the desktop: the freedesktop theme folders, Adwaita as the fallback.
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << QStringLiteral("/usr/share/icons"));
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        if (QIcon::themeName().isEmpty())
            QIcon::setThemeName(QStringLiteral("Adwaita"));
    }

    void everySymbolOfThePopupDraws() {
        const QStringList names = {"waveform.path.ecg",
                                   "exclamationmark.triangle.fill",
                                   "terminal",
                                   "memorychip",
                                   "speedometer",
                                   "gearshape.fill",
                                   "paintbrush.fill",
                                   "slider.horizontal.3",
                                   "app.fill",
                                   "shield.fill",
                                   "list.bullet.rectangle.portrait",
                                   "list.bullet.rectangle.portrait.fill",
                                   "wifi",
                                   "cable.connector",
                                   "arrow.up",
                                   "arrow.down"};
        for (const QString& name : names) {
            const QImage image = symbolPixmap(name, Qt::red, 16, 1.0).toImage();
            const int inked = countPixels(image, image.rect(), [](QColor c) {
                return c.alpha() > 100 && near(c, Qt::red, 10);
            });
            QVERIFY2(inked > 10, qPrintable(name));
        }
        // The two list symbols must look different: one outlined, one filled.
        QVERIFY(symbolPixmap("list.bullet.rectangle.portrait", Qt::red, 16).toImage() !=
                symbolPixmap("list.bullet.rectangle.portrait.fill", Qt::red, 16).toImage());
    }

    void readoutImageLayouts() {
        const QList<double> history(60, 50.0);
        const QImage wide = renderMenuBarReadout({history, 37.0, 45.3}, QSize(70, 22), 1.0, kAccent)
                                .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(wide.size(), QSize(70, 22));
        // 50 % sits halfway down the 16-high sparkline frame that starts 3 from the top.
        const QRectF frame = wideReadoutSparklineFrame();
        QVERIFY(isAccent(wide.pixelColor(qRound(frame.center().x()), 11)));
        QVERIFY(!isAccent(wide.pixelColor(qRound(frame.center().x()), 5)));
        // The figures sit right of the sparkline and never over it.
        QVERIFY(countPixels(wide, QRect(38, 0, 32, 22), isForeground) > 10);
        QCOMPARE(countPixels(wide, QRect(0, 0, 36, 22), isForeground), 0);

        const QImage sharp =
            renderMenuBarReadout({history, 37.0, 45.3}, QSize(70, 22), 2.0, kAccent)
                .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(sharp.size(), QSize(140, 44));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        QVERIFY(isAccent(sharp.pixelColor(qRound(frame.center().x() * 2), 22)));

        // Square trays: the CPU figure above, the sparkline below.
        const QImage square =
            renderMenuBarReadout({history, 100.0, 45.3}, QSize(22, 22), 1.0, kAccent)
                .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(square.size(), QSize(22, 22));
        QVERIFY(countPixels(square, QRect(0, 0, 22, 11), isForeground) > 8);
        QVERIFY(countPixels(square, QRect(0, 12, 22, 10), isAccent) > 8);
        QCOMPARE(countPixels(square, QRect(0, 0, 22, 9), isAccent), 0);

        // No history: no line, and the figures stay put.
        const QImage empty = renderMenuBarReadout({{}, 37.0, 45.3}, QSize(70, 22), 1.0, kAccent)
                                 .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(countPixels(empty, empty.rect(), isAccent), 0);
        QCOMPARE(empty.copy(36, 0, 34, 22), wide.copy(36, 0, 34, 22));

        // The tray pushes an icon only when pixels change: a new figure changes them.
        const auto busier =
            renderMenuBarReadout({history, 100.0, 45.3}, QSize(70, 22), 1.0, kAccent)
                .convertToFormat(QImage::Format_ARGB32);
        QVERIFY(busier != wide);
        // Odd sizes and figures give an image or nothing, never a hang.
        QVERIFY(renderMenuBarReadout({history, 1, 1}, QSize(0, 22), 1.0, kAccent).isNull());
        QVERIFY(renderMenuBarReadout({history, 1, 1}, QSize(22, 22), 0.0, kAccent).isNull());
        QCOMPARE(
            renderMenuBarReadout({history, std::nan(""), -1e9}, QSize(6, 6), 1.0, kAccent).size(),
            QSize(6, 6));
        QCOMPARE(renderMenuBarReadout({history, 1e12, 1e12}, QSize(256, 256), 1.5, kAccent).size(),
                 QSize(384, 384));
    }

    void sparklineAndRingPixels() {
        SparklineView sparkline;
        sparkline.resize(100, 16);
        sparkline.setColor(Qt::red);
        sparkline.setData({42.0});
        QCOMPARE(countPixels(grabWidget(sparkline), QRect(0, 0, 100, 16),
                             [](QColor c) { return c.alpha() > 0; }),
                 0);
        sparkline.setData({50.0, 50.0});
        const QImage line = grabWidget(sparkline);
        QVERIFY(near(line.pixelColor(50, 8), Qt::red));
        QCOMPARE(line.pixelColor(50, 3).alpha(), 0);
        // A rate chart's own top: 500 of 1000 also runs halfway up.
        sparkline.setData({500.0, 500.0});
        sparkline.setScaleMaximum(1000.0);
        QVERIFY(near(grabWidget(sparkline).pixelColor(50, 8), Qt::red));

        // A quarter ring runs from 12 to 3 o'clock: the top-right of the ring is
        // drawn in full colour, the bottom-left only as the faint track.
        const QColor blue = systemColor::blue();
        const QPoint topRight(50 + 32, 50 - 32);
        const QPoint bottomLeft(50 - 32, 50 + 32);
        RingChart quarter(25.0, QStringLiteral("PRESSURE"), blue, QStringLiteral("25%"));
        const QImage q = grabWidget(quarter);
        QVERIFY(q.pixelColor(topRight).alpha() > 200);
        QVERIFY(q.pixelColor(bottomLeft).alpha() < 100);
        QCOMPARE(quarter.displayedFraction(), 0.25);

        // A new value springs the arc there; the spring is driven by hand here.
        quarter.setPercentage(50.0);
        auto* spring = quarter.findChild<QVariantAnimation*>();
        QVERIFY(spring);
        spring->setCurrentTime(spring->duration() / 10);
        QVERIFY(quarter.displayedFraction() > 0.25 && quarter.displayedFraction() < 0.5);
        spring->setCurrentTime(spring->duration());
        QCOMPARE(quarter.displayedFraction(), 0.5);
        quarter.setPercentage(-20.0);
        spring->setCurrentTime(spring->duration());
        QCOMPARE(quarter.displayedFraction(), 0.0);

        RingChart over(150.0, QStringLiteral("MEMORY"), blue, QStringLiteral("150%"));
        const QImage full = grabWidget(over);
        QVERIFY(full.pixelColor(bottomLeft).alpha() > 200);
        QCOMPARE(over.displayedFraction(), 1.0);
    }

    void processRowsCutLongText() {
        const QString longName = QString(120, QLatin1Char('x')) + QStringLiteral("tail");
        ProcessRow row(QStringLiteral("app.fill"), QIcon(), longName, QStringLiteral("1.5%"),
                       systemColor::white());
        row.resize(280, 24);
        row.show();
        QVERIFY(QTest::qWaitForWindowExposed(&row));
        QVERIFY(row.displayedName().endsWith(QChar(0x2026)));
        QVERIFY(row.displayedName().startsWith(QStringLiteral("xxx")));
        QVERIFY(row.height() < 40); // one line, never wrapped
        QVERIFY(!row.showsImage());
        QPixmap red(16, 16);
        red.fill(Qt::red);
        row.setImage(QIcon(red));
        QVERIFY(row.showsImage());
        // A name from the machine with line breaks and terminal controls: one
        // row high, each control shown as an escape, no markup in the tooltip.
        const QString hostile = QString::fromUtf8("line one\nCPU 99.9%\r\x1b[2J\xc2\x9c<b>x</b>");
        row.setName(hostile);
        QVERIFY(row.height() < 40);
        const QString shown = row.displayedName();
        QVERIFY(std::none_of(shown.begin(), shown.end(), [](QChar c) {
            return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
        }));
        QVERIFY(shown.startsWith(QStringLiteral("line one\\x0aCPU")));
        QVERIFY(launcherToolTip(hostile).contains(QStringLiteral("&lt;b&gt;x&lt;/b&gt;")));

        // Disk and network rows keep a path's end and a name's start visible.
        const QString path = QStringLiteral("/opt/") + QString(150, QLatin1Char('d')) +
                             QStringLiteral("/helper-bin");
        ProcessTrafficRow traffic(30);
        traffic.resize(280, 24);
        traffic.show();
        traffic.setProcess(QIcon(), QStringLiteral("helper-bin"), path, true);
        traffic.setFigures(QStringLiteral("50M"), QStringLiteral("200K"));
        QVERIFY(traffic.displayedText().startsWith(QChar(0x2026)));
        QVERIFY(traffic.displayedText().endsWith(QStringLiteral("/helper-bin")));
        traffic.setProcess(QIcon(), longName, path, false);
        QVERIFY(traffic.displayedText().endsWith(QChar(0x2026)));
        QCOMPARE(traffic.elideMode(), Qt::ElideRight);
    }

    void steadyLabelsLeaveTheLayoutAlone() {
        // A figure changing every second must not lay the window out again
        // each time; a plain label's new text would.
        struct LayoutRequests : QObject {
            int count = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                count += event->type() == QEvent::LayoutRequest ? 1 : 0;
                return false;
            }
        } requests;
        QWidget window;
        auto* row = new QHBoxLayout(&window);
        auto* value = new SteadyLabel(QFont(), Qt::AlignRight | Qt::AlignVCenter, &window);
        value->setText(QStringLiteral("1%"));
        row->addStretch(1);
        row->addWidget(value);
        window.resize(200, 40);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        value->setSteadyText(QStringLiteral("100%"));
        QCoreApplication::processEvents();
        const int wide = value->width();
        QVERIFY(wide >= value->fontMetrics().horizontalAdvance(QStringLiteral("100%")));

        window.installEventFilter(&requests);
        for (const QString& text : {QStringLiteral("7%"), QStringLiteral("42%"),
                                    QString(QChar(0x2014)), QStringLiteral("99%")}) {
            value->setSteadyText(text);
            QCoreApplication::processEvents();
            QCOMPARE(value->text(), text);
            QCOMPARE(value->width(), wide);
        }
        QCOMPARE(requests.count, 0);
        // The right edge stays where it was: the text is aligned to it.
        QCOMPARE(value->geometry().right(),
                 window.contentsRect().right() - row->contentsMargins().right());

        // A wider text still gets the room it needs.
        value->setSteadyText(QStringLiteral("1000.5%"));
        QCoreApplication::processEvents();
        QVERIFY(value->width() >=
                value->fontMetrics().horizontalAdvance(QStringLiteral("1000.5%")));
        QVERIFY(requests.count > 0);

        // A larger font measures afresh rather than cutting the figure.
        QFont large;
        large.setPointSize(value->font().pointSize() * 3);
        value->setFont(large);
        value->setSteadyText(QStringLiteral("42%"));
        QCoreApplication::processEvents();
        QVERIFY(value->height() >= QFontMetrics(large).height());
    }

    void backdropsDifferPerMaterial() {
        const QList<pw::BackdropMaterial> materials = {
            pw::BackdropMaterial::popover, pw::BackdropMaterial::underWindowBackground,
            pw::BackdropMaterial::hudWindow, pw::BackdropMaterial::contentBackground};
        QSet<QRgb> seen;
        for (auto material : materials) {
            QVERIFY(backdropColor(material, true).alpha() < 255);
            QCOMPARE(backdropColor(material, false).alpha(), 255);
            QCOMPARE(backdropColor(material, false).rgb(), backdropColor(material, true).rgb());
            seen.insert(backdropColor(material, false).rgb());
        }
        QCOMPARE(seen.size(), 4);

        // Offscreen there is no compositor: the backdrop is opaque.
        QVERIFY(!compositorAvailable());
        VisualEffectView view(pw::BackdropMaterial::hudWindow);
        view.setAttribute(Qt::WA_TranslucentBackground);
        QCOMPARE(view.currentFill().alpha(), 255);
        view.setMaterial(pw::BackdropMaterial::contentBackground);
        QCOMPARE(view.currentFill(), backdropColor(pw::BackdropMaterial::contentBackground, false));
        view.resize(10, 10);
        QCOMPARE(grabWidget(view).pixelColor(5, 5).rgb(), view.currentFill().rgb());
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
