#include "ui/file_reveal.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using pw::ui::FileReveal;

// Stands in for a file manager on the test's own bus.
class FakeFileManager : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QList<QStringList> calls;
    bool refuse = false;

public Q_SLOTS:
    void ShowItems(const QStringList& uris, const QString& startupId) {
        Q_UNUSED(startupId);
        if (refuse) {
            sendErrorReply(QDBusError::Failed, QStringLiteral("cannot show items"));
            return;
        }
        calls << uris;
    }
};

class TestFileReveal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A private bus with no activatable services, so nothing real is ever started
    // and no desktop session is touched.
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        const QString config = m_dir.filePath("bus.conf");
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus "
                           "Configuration 1.0//EN\" "
                           "\"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                           "<busconfig><type>session</type>"
                           "<listen>unix:dir=%1</listen><auth>EXTERNAL</auth>"
                           "<policy context=\"default\">"
                           "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                           "<allow eavesdrop=\"true\"/><allow own=\"*\"/>"
                           "</policy></busconfig>\n")
                .arg(m_dir.path())
                .toUtf8());
        file.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                        QStringLiteral("--print-address=1")});
        if (!m_daemon.waitForStarted())
            QSKIP("dbus-daemon is not installed");
        // The address ends with its guid; the line break may come later.
        QByteArray printed;
        while (!printed.contains("guid=") && m_daemon.waitForReadyRead(10000))
            printed += m_daemon.readAllStandardOutput();
        while (printed.size() < printed.indexOf("guid=") + 37 && m_daemon.waitForReadyRead(1000))
            printed += m_daemon.readAllStandardOutput();
        m_address = QString::fromUtf8(printed).trimmed();
        QVERIFY2(!m_address.isEmpty(), "dbus-daemon printed no address");
    }
    void cleanupTestCase() {
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            m_daemon.waitForFinished(5000);
        }
    }
    void fileManagerSelectsTheFile() {
        QDBusConnection client = QDBusConnection::connectToBus(m_address, "reveal-client");
        QDBusConnection service = QDBusConnection::connectToBus(m_address, "fake-file-manager");
        QVERIFY(client.isConnected() && service.isConnected());
        FakeFileManager fake;
        QVERIFY(service.registerObject("/org/freedesktop/FileManager1", &fake,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(QLatin1String(FileReveal::kService)));

        QList<QUrl> opened;
        FileReveal* reveal = makeReveal(client, &opened);
        QSignalSpy done(reveal, &FileReveal::revealed);
        reveal->reveal(QStringLiteral("/tmp/some dir/Pulsewick_History_1764945462.5.csv"));
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().at(1).value<FileReveal::Route>(), FileReveal::Route::FileManager);
        QCOMPARE(fake.calls.size(), 1);
        QCOMPARE(fake.calls.first(),
                 QStringList{"file:///tmp/some%20dir/Pulsewick_History_1764945462.5.csv"});
        QVERIFY(opened.isEmpty());

        // A file manager that refuses the request: the folder opens instead.
        fake.refuse = true;
        done.clear();
        reveal->reveal(QStringLiteral("/tmp/Pulsewick_History_2.csv"));
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().at(1).value<FileReveal::Route>(), FileReveal::Route::Folder);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile("/tmp")});

        service.unregisterService(QLatin1String(FileReveal::kService));
        service.unregisterObject("/org/freedesktop/FileManager1");
        QDBusConnection::disconnectFromBus("fake-file-manager");
        QDBusConnection::disconnectFromBus("reveal-client");
    }
    void folderOpensWithoutFileManager() {
        QDBusConnection client = QDBusConnection::connectToBus(m_address, "lonely-client");
        QVERIFY(client.isConnected());
        QList<QUrl> opened;
        FileReveal* reveal = makeReveal(client, &opened);
        QSignalSpy done(reveal, &FileReveal::revealed);
        reveal->reveal(QStringLiteral("/var/tmp/report.csv"));
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().at(1).value<FileReveal::Route>(), FileReveal::Route::Folder);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile("/var/tmp")});
        QDBusConnection::disconnectFromBus("lonely-client");

        // No bus at all: the folder opens at once.
        opened.clear();
        FileReveal* offline =
            makeReveal(QDBusConnection(QStringLiteral("never-connected")), &opened);
        QSignalSpy offlineDone(offline, &FileReveal::revealed);
        offline->reveal(QStringLiteral("/var/tmp/report.csv"));
        QCOMPARE(offlineDone.count(), 1);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile("/var/tmp")});
    }

private:
    FileReveal* makeReveal(QDBusConnection bus, QList<QUrl>* opened) {
        return new FileReveal(
            bus, QLatin1String(FileReveal::kService),
            [opened](const QUrl& folder) { *opened << folder; }, this);
    }

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};

QTEST_GUILESS_MAIN(TestFileReveal)
#include "tst_file_reveal.moc"
