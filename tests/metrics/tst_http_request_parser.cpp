#include "app/metrics/http_message.h"

#include <QTest>

using namespace pw::app;
using Status = HttpRequestParser::Status;

Q_DECLARE_METATYPE(Status)

namespace {
constexpr qsizetype kLimit = 8 * 1024;

Status parse(const QByteArray& bytes, HttpRequest* out = nullptr, qsizetype* used = nullptr) {
    HttpRequest request;
    qsizetype consumed = 0;
    const Status status = HttpRequestParser(kLimit).parse(bytes, request, consumed);
    if (out)
        *out = request;
    if (used)
        *used = consumed;
    return status;
}
} // namespace

class TestHttpRequestParser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readsTheRequestLineAndHeaders() {
        HttpRequest r;
        const QByteArray bytes = "GET /metrics?x=1 HTTP/1.1\r\nHost: a\r\nAccept: text/plain\r\n"
                                 "accept: application/openmetrics-text\r\n\r\n";
        qsizetype used = 0;
        QCOMPARE(parse(bytes, &r, &used), Status::Complete);
        QCOMPARE(used, bytes.size());
        QCOMPARE(r.method, QByteArray("GET"));
        QCOMPARE(r.path, QByteArray("/metrics"));
        QCOMPARE(r.accept, QByteArray("text/plain,application/openmetrics-text"));
        QVERIFY(r.keepAlive);

        QCOMPARE(parse("GET / HTTP/1.1\r\nConnection: Close\r\n\r\n", &r), Status::Complete);
        QVERIFY(!r.keepAlive);
        QCOMPARE(parse("GET / HTTP/1.0\r\n\r\n", &r), Status::Complete);
        QVERIFY(!r.keepAlive);
        QCOMPARE(parse("GET / HTTP/1.0\r\nConnection: keep-alive\n\n", &r), Status::Complete);
        QVERIFY(r.keepAlive);
        // An HTTP/1.0 client learns its connection stays; an HTTP/1.1 one assumes it.
        QCOMPARE(connectionHeader(r), ConnectionHeader::KeepAlive);
        QVERIFY(serializeResponse({}, false, ConnectionHeader::KeepAlive)
                    .contains("\r\nConnection: keep-alive\r\n"));
    }

    // Bytes arrive in any split; only the whole request counts, and the bytes
    // after it (a pipelined request, a body) are left or taken exactly.
    void waitsForTheWholeRequest() {
        const QByteArray first = "POST /metrics HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello";
        const QByteArray second = "GET / HTTP/1.1\r\n\r\n";
        for (qsizetype n = 0; n < first.size(); ++n)
            QVERIFY2(parse(first.left(n)) == Status::Incomplete, qPrintable(QString::number(n)));
        qsizetype used = 0;
        HttpRequest r;
        QCOMPARE(parse(first + second, &r, &used), Status::Complete);
        QCOMPARE(used, first.size());
        QCOMPARE(r.method, QByteArray("POST"));
        QCOMPARE(parse(second, &r, &used), Status::Complete);
        QCOMPARE(used, second.size());
    }

    void refusesWhatIsTooLarge() {
        const QByteArray head = "GET / HTTP/1.1\r\nX: ";
        const QByteArray endOfHead = "\r\n\r\n";
        const QByteArray fits = head + QByteArray(kLimit - head.size() - 4, 'a') + endOfHead;
        QCOMPARE(parse(fits), Status::Complete);
        QCOMPARE(parse(head + QByteArray(kLimit, 'a')), Status::TooLarge);
        QCOMPARE(parse(head + QByteArray(1 << 20, 'a') + endOfHead), Status::TooLarge);
        // A body that would take the request past the limit is refused before it arrives.
        QCOMPARE(parse("POST / HTTP/1.1\r\nContent-Length: 100000000\r\n\r\n"),
                 Status::BodyTooLarge);
    }

    void refusesWhatIsNotARequest_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Status>("status");
        QTest::newRow("binary") << QByteArray("\x00\x01\x02\xff\r\n\r\n", 8) << Status::Malformed;
        QTest::newRow("no target") << QByteArray("GET\r\n\r\n") << Status::Malformed;
        QTest::newRow("extra word") << QByteArray("GET / HTTP/1.1 x\r\n\r\n") << Status::Malformed;
        QTest::newRow("absolute") << QByteArray("GET x HTTP/1.1\r\n\r\n") << Status::Malformed;
        QTest::newRow("no colon") << QByteArray("GET / HTTP/1.1\r\nHost\r\n\r\n")
                                  << Status::Malformed;
        QTest::newRow("folded") << QByteArray("GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n")
                                << Status::Malformed;
        QTest::newRow("bad length")
            << QByteArray("GET / HTTP/1.1\r\nContent-Length: x\r\n\r\n") << Status::Malformed;
        QTest::newRow("two lengths")
            << QByteArray("GET / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n")
            << Status::Malformed;
        QTest::newRow("chunked") << QByteArray(
                                        "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n")
                                 << Status::Malformed;
        QTest::newRow("not http") << QByteArray("GET / FTP/1.0\r\n\r\n") << Status::Malformed;
        QTest::newRow("http/2") << QByteArray("GET / HTTP/2.0\r\n\r\n") << Status::BadVersion;
        // Refused before the head is complete: a TLS hello, a bad request line.
        QTest::newRow("tls hello") << QByteArray("\x16\x03\x01\x00\xa5", 5) << Status::Malformed;
        QTest::newRow("bad line") << QByteArray("GET /\r\nHost: x") << Status::Malformed;
    }
    void refusesWhatIsNotARequest() {
        QFETCH(QByteArray, bytes);
        QFETCH(Status, status);
        QCOMPARE(parse(bytes), status);
    }
};

QTEST_GUILESS_MAIN(TestHttpRequestParser)
#include "tst_http_request_parser.moc"
