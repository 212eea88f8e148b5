#include "app/single_instance.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

using pw::app::InstanceRequest;
using pw::app::SingleInstance;

// Each case talks over a private bus daemon of its own, never the session's.
class SingleInstanceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address=1")});
        QVERIFY(m_daemon.waitForStarted());
        while (!m_daemon.canReadLine())
            QVERIFY(m_daemon.waitForReadyRead(5000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
    }
    void cleanupTestCase() {
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.kill();
            m_daemon.waitForFinished();
        }
    }
    void laterStartsHandTheirRequestToTheFirst() {
        SingleInstance first(connect(QStringLiteral("first")));
        QSignalSpy received(&first, &SingleInstance::requestReceived);
        QCOMPARE(first.claim({}), SingleInstance::Role::Primary);

        // `pulsewick --dashboard Power` while the first runs.
        {
            SingleInstance second(connect(QStringLiteral("second")));
            QCOMPARE(second.claim({true, QStringLiteral("Power")}),
                     SingleInstance::Role::HandedOff);
        }
        QCOMPARE(received.count(), 1);
        QCOMPARE(received.at(0).at(0).value<InstanceRequest>(),
                 (InstanceRequest{true, QStringLiteral("Power")}));

        // `--dashboard` without a page, and a plain start.
        {
            SingleInstance third(connect(QStringLiteral("third")));
            QCOMPARE(third.claim({true, std::nullopt}), SingleInstance::Role::HandedOff);
            SingleInstance fourth(connect(QStringLiteral("fourth")));
            QCOMPARE(fourth.claim({}), SingleInstance::Role::HandedOff);
        }
        QCOMPARE(received.count(), 3);
        QCOMPARE(received.at(1).at(0).value<InstanceRequest>(),
                 (InstanceRequest{true, std::nullopt}));
        QCOMPARE(received.at(2).at(0).value<InstanceRequest>(), InstanceRequest{});
    }
    void runsAloneWithoutAUsableBus() {
        // No daemon at that address.
        SingleInstance nowhere(QDBusConnection::connectToBus(
            QStringLiteral("unix:path=/nonexistent/pulsewick-test-bus"),
            QStringLiteral("nowhere")));
        QCOMPARE(nowhere.claim({}), SingleInstance::Role::Alone);

        // The name is held by something that does not answer our calls: start
        // anyway rather than hand the request into the void.
        QDBusConnection squatter = connect(QStringLiteral("squatter"));
        const QString name = QStringLiteral("org.pulsewick.PulsewickTest");
        QVERIFY(squatter.registerService(name));
        SingleInstance late(connect(QStringLiteral("late")), name);
        QCOMPARE(late.claim({true, QStringLiteral("Settings")}), SingleInstance::Role::Alone);

        // Once the first owner is gone the name is free again.
        {
            SingleInstance owner(connect(QStringLiteral("owner")));
            QCOMPARE(owner.claim({}), SingleInstance::Role::Primary);
        }
        SingleInstance next(connect(QStringLiteral("next")));
        QCOMPARE(next.claim({}), SingleInstance::Role::Primary);
    }

private:
    QDBusConnection connect(const QString& name) {
        return QDBusConnection::connectToBus(m_address, name + QString::number(++m_connections));
    }

    QProcess m_daemon;
    QString m_address;
    int m_connections = 0;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"
