#include "services/terminal_text.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace pw;

namespace {
// What a process can call itself: every trick that reaches a terminal.
const QByteArray kHostileName = "a\x1b[2Jb\x1b]0;title\x07"
                                "c\xc2\x9b"
                                "31md\re\nCPU 99.9% forged\x7f\xff\xfe"
                                "f";

bool hasRawControl(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
    });
}
} // namespace

class TestTerminalText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlsAreEscapedAndBadBytesReplaced() {
        const QString safe = terminalSafeUtf8(kHostileName);
        QVERIFY(!hasRawControl(safe));
        QCOMPARE(safe, QStringLiteral("a\\x1b[2Jb\\x1b]0;title\\x07c\\x9b31md\\x0de\\x0aCPU 99.9% "
                                      "forged\\x7f\uFFFD\uFFFDf"));
        // What is printable stays as it is, astral characters included.
        const QString fine = QStringLiteral("52.0\u00B0C \u2014 caf\u00E9 \U0001F600");
        QCOMPARE(terminalSafe(fine), fine);
        // A lone surrogate is not text.
        const QChar lone[] = {QChar(0xD800), QChar(u'x'), QChar(0xDC00)};
        QCOMPARE(terminalSafe(QStringView(lone, 3)), QStringLiteral("\uFFFDx\uFFFD"));
    }

    void jsonKeepsItsValueAndLosesTheRawControls() {
        const QString name = QString::fromUtf8(kHostileName);
        const QByteArray json = QJsonDocument(QJsonObject{{QStringLiteral("name"), name}})
                                    .toJson(QJsonDocument::Compact);
        const QByteArray safe = terminalSafeJson(json);
        for (char c : safe)
            QVERIFY(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        QVERIFY(!safe.contains("\xc2\x9b"));
        QCOMPARE(QJsonDocument::fromJson(safe).object().value(QStringLiteral("name")).toString(),
                 name);
    }
};

QTEST_GUILESS_MAIN(TestTerminalText)
#include "tst_terminal_text.moc"
