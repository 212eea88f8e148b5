#include "services/preferences.h"

#include <QSignalSpy>
#include <QtTest>

using pw::Preferences;

class TestPreferences : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaultsAreReadNotWritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Pulsewick.conf"));
        Preferences prefs(path);
        QCOMPARE(prefs.showFullProcessPath(), false);
        QCOMPARE(prefs.cpuAlertThreshold(), 90.0);
        QCOMPARE(prefs.highCpuAlertsEnabled(), true);
        QCOMPARE(prefs.diskSpaceLowAlertsEnabled(), true);
        QVERIFY(!QFile::exists(path));
    }

    void valuesSurviveARestartAndNotifyOnce() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Pulsewick.conf"));
        {
            Preferences prefs(path);
            QSignalSpy spy(&prefs, &Preferences::cpuAlertThresholdChanged);
            prefs.setCpuAlertThreshold(99.7);
            prefs.setCpuAlertThreshold(99.7);
            QCOMPARE(spy.count(), 1);
            prefs.setShowFullProcessPath(true);
            QSignalSpy disk(&prefs, &Preferences::diskSpaceLowAlertsEnabledChanged);
            prefs.setHighCpuAlertsEnabled(false);
            prefs.setDiskSpaceLowAlertsEnabled(false);
            prefs.setDiskSpaceLowAlertsEnabled(false);
            QCOMPARE(disk.count(), 1);
        }
        Preferences again(path);
        QCOMPARE(again.cpuAlertThreshold(), 99.7);
        QCOMPARE(again.showFullProcessPath(), true);
        QCOMPARE(again.highCpuAlertsEnabled(), false);
        QCOMPARE(again.diskSpaceLowAlertsEnabled(), false);
    }

    void wrongTypesAndCorruptFilesReadAsDefaults() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Pulsewick.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nshowFullProcessPath=perhaps\ncpuAlertThreshold=hot\n"
                   "highCpuAlertsEnabled=0.5\ndiskSpaceLowAlertsEnabled=\n\x01\xff[[[\n");
        file.close();
        Preferences prefs(path);
        QCOMPARE(prefs.showFullProcessPath(), false);
        QCOMPARE(prefs.cpuAlertThreshold(), 90.0);
        QCOMPARE(prefs.highCpuAlertsEnabled(), true);
        QCOMPARE(prefs.diskSpaceLowAlertsEnabled(), true);
    }

    void unwritableStoreKeepsTheValueForThisRun() {
        QTemporaryDir dir;
        // A folder where the file should be: the write fails, the program goes on.
        const QString path = dir.filePath(QStringLiteral("Pulsewick.conf"));
        QVERIFY(QDir().mkpath(path));
        Preferences prefs(path);
        prefs.setCpuAlertThreshold(75.0);
        QCOMPARE(prefs.cpuAlertThreshold(), 75.0);
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
