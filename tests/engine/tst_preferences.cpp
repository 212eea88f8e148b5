#include "services/log_line.h"
#include "services/preferences.h"
#include "services/settings_file.h"

#include <QPoint>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>

using namespace pw;

namespace {
// The four settings in one line: full path, threshold, CPU alerts, disk alerts.
QString values(const Preferences& p) {
    const auto word = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    return QStringList{word(p.showFullProcessPath()), QString::number(p.cpuAlertThreshold()),
                       word(p.highCpuAlertsEnabled()), word(p.diskSpaceLowAlertsEnabled())}
        .join(' ');
}
const QString kDefaults = QStringLiteral("false 90 true true");
} // namespace

class TestPreferences : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defaultsAreReadNotWritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Pulsewick.conf"));
        QCOMPARE(values(Preferences(path)), kDefaults);
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
        QCOMPARE(values(Preferences(path)), QStringLiteral("true 99.7 false false"));
    }

    void wrongTypesAndCorruptFilesReadAsDefaults() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Pulsewick.conf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nshowFullProcessPath=perhaps\ncpuAlertThreshold=hot\n"
                   "highCpuAlertsEnabled=0.5\ndiskSpaceLowAlertsEnabled=\n\x01\xff[[[\n");
        file.close();
        QCOMPARE(values(Preferences(path)), kDefaults);
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

    void aFileNotToTouchIsLeftAsItIs() {
        QTemporaryDir dir;
        QStringList log;
        setLogSink([&](const QString& line) { log << line; });
        // A FIFO would block a reader for good; a huge file is not ours.
        const QString fifo = dir.filePath(QStringLiteral("fifo.ini"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        const QString huge = dir.filePath(QStringLiteral("huge.ini"));
        {
            QFile file(huge);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(kMaxSettingsFileBytes + 1));
        }
        const QDateTime hugeModified = QFileInfo(huge).lastModified();
        for (const QString& path : {fifo, huge}) {
            Preferences prefs(path);
            QCOMPARE(prefs.cpuAlertThreshold(), 90.0);
            prefs.setCpuAlertThreshold(60.0);
            QCOMPARE(prefs.cpuAlertThreshold(), 60.0);
            Preferences again(path);
            QCOMPARE(again.cpuAlertThreshold(), 90.0);
        }
        setLogSink({});
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(fifo).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
        QCOMPARE(QFileInfo(huge).size(), kMaxSettingsFileBytes + 1);
        QCOMPARE(QFileInfo(huge).lastModified(), hugeModified);
        // One line for each file, however often it is looked at.
        QCOMPARE(log.size(), 2);
        QVERIFY(log[0].contains(fifo) && log[0].contains(QStringLiteral("not a regular file")));
        QVERIFY(log[1].contains(huge) && log[1].contains(QStringLiteral("larger than 1 MiB")));
    }

    void filesWrittenByQSettingsStillRead() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Pulsewick.ini"));
        {
            QSettings qt(path, QSettings::IniFormat);
            qt.setValue(QStringLiteral("showFullProcessPath"), true);
            qt.setValue(QStringLiteral("cpuAlertThreshold"), 99.7);
            qt.setValue(QStringLiteral("readoutPosition"), QPoint(-12, 640));
            qt.setValue(QStringLiteral("Other/list"), QStringList{"a, b", "c"});
        }
        Preferences prefs(path);
        QCOMPARE(prefs.showFullProcessPath(), true);
        QCOMPARE(prefs.cpuAlertThreshold(), 99.7);
        prefs.setHighCpuAlertsEnabled(false);
        // Ours written, QSettings reads everything back, keys of others included.
        QSettings qt(path, QSettings::IniFormat);
        QCOMPARE(qt.value(QStringLiteral("highCpuAlertsEnabled")).toString(),
                 QStringLiteral("false"));
        QCOMPARE(qt.value(QStringLiteral("cpuAlertThreshold")).toDouble(), 99.7);
        QCOMPARE(qt.value(QStringLiteral("readoutPosition")).toPoint(), QPoint(-12, 640));
        QCOMPARE(qt.value(QStringLiteral("Other/list")).toStringList(), (QStringList{"a, b", "c"}));
        QCOMPARE(SettingsFile(path).value(QStringLiteral("readoutPosition")),
                 std::optional<QString>(QStringLiteral("@Point(-12 640)")));
    }

    void textRoundTrips() {
        const QByteArray text = "; comment\n[General]\nshowFullProcessPath = true\r\n"
                                "a/b=1\n[Group]\nkey=\"quoted, value\"\n=orphan\nnoequals\n"
                                "[General]\nGeneral/x=2\n";
        const QMap<QString, QString> entries = parseSettingsText(text);
        QCOMPARE(entries.value(QStringLiteral("showFullProcessPath")), QStringLiteral("true"));
        QCOMPARE(entries.value(QStringLiteral("Group/key")), QStringLiteral("\"quoted, value\""));
        QCOMPARE(unquotedSettingsValue(entries.value(QStringLiteral("Group/key"))),
                 QStringLiteral("quoted, value"));
        QCOMPARE(entries.size(), 4);
        QCOMPARE(parseSettingsText(settingsText(entries)), entries);
        // Keys that would read as a group, a comment or a split when written
        // plainly (the first found by the fuzzer) are escaped as QSettings does.
        for (const QByteArray& odd :
             {QByteArray("[[g]\nx=y]\n"), QByteArray("[#g]\nk=v\n"),
              QByteArray("a%3Db\\c\xc3\xa9=1\n"), QByteArray("[;]\n%=%\n")}) {
            const QMap<QString, QString> parsed = parseSettingsText(odd);
            QCOMPARE(parsed.size(), 1);
            QCOMPARE(parseSettingsText(settingsText(parsed)), parsed);
        }
        QCOMPARE(parseSettingsText("a%3Db\\c=1").firstKey(), QStringLiteral("a=b/c"));
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
