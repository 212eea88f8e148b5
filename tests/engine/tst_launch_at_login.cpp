#include "services/launch_at_login.h"
#include "services/log_line.h"

#include <QSignalSpy>
#include <QtTest>

using pw::LaunchAtLogin;

namespace {
QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestLaunchAtLogin : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        pw::setLogSink([this](const QString& line) { m_log << line; });
        m_log.clear();
    }
    void cleanup() { pw::setLogSink({}); }

    void entryOnDiskIsTheState() {
        QTemporaryDir dir;
        // The folder does not exist yet: the first write creates it.
        const QString folder = dir.filePath(QStringLiteral("config/autostart"));
        LaunchAtLogin login(folder, QStringLiteral("/opt/my apps/pulse$wick"));
        QVERIFY(!login.enabled());
        QSignalSpy changed(&login, &LaunchAtLogin::enabledChanged);
        QVERIFY(login.setEnabled(true));
        QVERIFY(login.enabled());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(login.entryPath(), folder + QStringLiteral("/pulsewick.desktop"));
        const QByteArray text = readAll(login.entryPath());
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        // Quoted for the blank, `$` escaped, and the escape itself escaped once more.
        QVERIFY2(text.contains("\nExec=\"/opt/my apps/pulse\\\\$wick\"\n"), text.constData());
        QVERIFY(login.setEnabled(true)); // already on: nothing to do
        QCOMPARE(changed.count(), 1);

        QVERIFY(login.setEnabled(false));
        QVERIFY(!login.enabled());
        QVERIFY(!QFile::exists(login.entryPath()));
        QCOMPARE(changed.count(), 2);
        QVERIFY(m_log.isEmpty());
    }

    void entrySwitchedOffInsideReadsOff() {
        QTemporaryDir dir;
        LaunchAtLogin login(dir.path(), QStringLiteral("/usr/bin/pulsewick"));
        for (const QByteArray& line :
             {QByteArray("Hidden=true"), QByteArray("X-GNOME-Autostart-enabled=false")}) {
            QFile file(login.entryPath());
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("[Desktop Entry]\nType=Application\nExec=pulsewick\n" + line + "\n");
            file.close();
            QVERIFY2(!login.enabled(), line.constData());
        }
    }

    void uncreatableFolderFailsAndKeepsTheState() {
        QTemporaryDir dir;
        // A regular file where a parent folder should be: not even root can
        // create the folder beneath it.
        const QString blocker = dir.filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        LaunchAtLogin login(blocker + QStringLiteral("/autostart"),
                            QStringLiteral("/usr/bin/pulsewick"));
        QSignalSpy changed(&login, &LaunchAtLogin::enabledChanged);
        QVERIFY(!login.setEnabled(true));
        QVERIFY(!login.enabled());
        QVERIFY(!login.lastError().isEmpty());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(m_log.size(), 1);
        QVERIFY(m_log[0].startsWith(QStringLiteral("Failed to change Launch at Login: ")));
    }

private:
    QStringList m_log;
};

QTEST_GUILESS_MAIN(TestLaunchAtLogin)
#include "tst_launch_at_login.moc"
