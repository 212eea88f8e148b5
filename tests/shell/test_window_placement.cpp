#include "app/window_placement.h"

#include <QtTest>

using pw::app::clampInto;
using pw::app::popupTopLeft;
using pw::app::readoutPosition;

namespace {
const QSize kPopup(320, 620);
const QRect kScreen(0, 0, 1280, 800);
const QRect kBelowTopPanel(0, 24, 1280, 776); // available area under a 24 px panel
} // namespace

class WindowPlacementTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void popupHangsUnderTheAnchorAndStaysOnScreen() {
        // Centred under an icon in the middle of a top panel, a small gap below it.
        const QRect middle(600, 1, 22, 20);
        QCOMPARE(popupTopLeft(middle, {}, kBelowTopPanel, kPopup), QPoint(611 - 160, 25));

        // An icon at the right edge: the popup slides left to stay inside.
        const QRect rightEdge(1257, 1, 22, 20);
        QCOMPARE(popupTopLeft(rightEdge, {}, kBelowTopPanel, kPopup), QPoint(1280 - 320, 25));
        // ...and at the left edge, right.
        QCOMPARE(popupTopLeft(QRect(2, 1, 22, 20), {}, kBelowTopPanel, kPopup), QPoint(0, 25));

        // A bottom panel: the popup goes above the icon, its bottom on the gap.
        const QRect bottomAvailable(0, 0, 1280, 776);
        const QRect bottomIcon(600, 779, 22, 20);
        QCOMPARE(popupTopLeft(bottomIcon, {}, bottomAvailable, kPopup), QPoint(451, 779 - 4 - 620));

        // An empty geometry (StatusNotifierItem hosts report none) counts as no anchor.
        QCOMPARE(popupTopLeft(QRect(), QPoint(400, 10), kScreen, kPopup), QPoint(240, 15));
    }
    void popupFollowsThePointerWithoutAnAnchor() {
        // Under the pointer, but never over a top panel.
        QCOMPARE(popupTopLeft(std::nullopt, QPoint(700, 12), kBelowTopPanel, kPopup),
                 QPoint(540, 24));
        QCOMPARE(popupTopLeft(std::nullopt, QPoint(700, 100), kBelowTopPanel, kPopup),
                 QPoint(540, 105));
        // Pointer in the lower half (bottom panel): above the pointer.
        QCOMPARE(popupTopLeft(std::nullopt, QPoint(700, 790), kScreen, kPopup),
                 QPoint(540, 790 - 4 - 620));
        // Pointer in a corner of a second screen to the right: clamped into that screen.
        const QRect second(1280, 0, 1920, 1080);
        QCOMPARE(popupTopLeft(std::nullopt, QPoint(3190, 5), second, kPopup),
                 QPoint(3200 - 320, 10));
    }
    void oversizedWindowKeepsItsTopLeftOnScreen() {
        const QRect small(0, 0, 300, 500);
        QCOMPARE(clampInto(QPoint(100, 100), kPopup, small), QPoint(0, 0));
        QCOMPARE(popupTopLeft(QRect(280, 0, 20, 20), {}, small, kPopup), QPoint(0, 0));
        // No known area: left where asked.
        QCOMPARE(clampInto(QPoint(-5, 7), kPopup, QRect()), QPoint(-5, 7));
    }
    void readoutComesBackWhereItWasLeft() {
        const QSize readout(70, 22);
        const QList<QRect> one{kScreen};
        // Nothing saved: top-right corner, a small margin in.
        QCOMPARE(readoutPosition(std::nullopt, one, readout), QPoint(1280 - 70 - 8, 8));
        // Saved and still on a screen: exactly there, also on the second screen.
        QCOMPARE(readoutPosition(QPoint(100, 700), one, readout), QPoint(100, 700));
        const QList<QRect> two{kScreen, QRect(1280, 0, 1920, 1080)};
        QCOMPARE(readoutPosition(QPoint(3000, 1000), two, readout), QPoint(3000, 1000));
        // That second screen is gone: back to the default spot on the first.
        QCOMPARE(readoutPosition(QPoint(3000, 1000), one, readout), QPoint(1202, 8));
        // Hanging over the edge: pulled in.
        QCOMPARE(readoutPosition(QPoint(1250, 790), one, readout), QPoint(1210, 778));
        // No screen at all (should not happen, must not crash).
        QCOMPARE(readoutPosition(QPoint(50, 50), {}, readout), QPoint(8, 8));
    }
};

QTEST_APPLESS_MAIN(WindowPlacementTest)
#include "test_window_placement.moc"
