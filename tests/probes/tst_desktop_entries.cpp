#include "generated_process_tree.h"
#include "platform/xdg/desktop_entries.h"

#include <QTemporaryDir>
#include <QTest>

using namespace pw::platform;

class TestDesktopEntries : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parsesTheDesktopEntryGroup() {
        const auto fields = parseDesktopEntry(
            u"# comment\n[Other]\nExec=wrong\n[Desktop Entry]\r\nType = Application\r\n"
            u"Name=Files\nIcon[de]=ordner\nIcon=system\\sfile-manager\nExec=nautilus "
            u"--new-window %U\nTryExec=nautilus\nNoDisplay=true\n[Desktop Action new]\n"
            u"Exec=other\nIcon=other\n");
        QVERIFY(fields);
        QCOMPARE(fields->type, QStringLiteral("Application"));
        QCOMPARE(fields->exec, QStringLiteral("nautilus --new-window %U"));
        QCOMPARE(fields->tryExec, QStringLiteral("nautilus"));
        QCOMPARE(fields->icon, QStringLiteral("system file-manager"));
        QVERIFY(fields->noDisplay);
        QVERIFY(!fields->hidden);

        QVERIFY(!parseDesktopEntry(u"Exec=foo\n[Group]\nIcon=x\n"));
        QVERIFY(!parseDesktopEntry(u""));
        QVERIFY(!parseDesktopEntry(u"\xfffd\xfffd garbage = = \n[Desktop Entry"));
        const auto hidden = parseDesktopEntry(u"[Desktop Entry]\nHidden=true\n=novalue\nIcon\n");
        QVERIFY(hidden && hidden->hidden);
    }

    void findsTheProgramOfAnExecLine() {
        const std::pair<const char*, const char*> cases[] = {
            {"firefox %u", "firefox"},
            {"/usr/bin/gimp-2.10 %U", "/usr/bin/gimp-2.10"},
            {"\"/opt/My App/run\" --flag", "/opt/My App/run"}, // quoted blank
            {"\"/opt/a\\\"b/run\"", "/opt/a\"b/run"},          // escaped quote
            {"env GDK_BACKEND=x11 LANG=C code --x", "code"},
            {"/usr/bin/env -u FOO bar", "bar"},
            {"   vim", "vim"},
            {"", ""},
            {"env A=1", ""},
        };
        for (const auto& [exec, program] : cases)
            QCOMPARE(execProgram(QString::fromUtf8(exec)), QString::fromUtf8(program));
    }

    void listsTheXdgFolders() {
        QCOMPARE(applicationDirectories({}, {}, QStringLiteral("/home/u")),
                 (QStringList{"/home/u/.local/share/applications", "/usr/local/share/applications",
                              "/usr/share/applications"}));
        QCOMPARE(applicationDirectories(QStringLiteral("/data"), QStringLiteral("/a::/b/"),
                                        QStringLiteral("/home/u")),
                 (QStringList{"/data/applications", "/a/applications", "/b/applications"}));
    }

    void indexesInstalledApplications() {
        QTemporaryDir dir;
        const QString bin = dir.filePath(QStringLiteral("bin"));
        const QString lib = dir.filePath(QStringLiteral("lib/app"));
        const QString user = dir.filePath(QStringLiteral("home/applications"));
        const QString system = dir.filePath(QStringLiteral("usr/applications"));
        for (const QString& d : {bin, lib, user, system + "/kde"}) {
            QVERIFY(QDir().mkpath(d));
        }
        // bin/browser is a symlink to the real binary the kernel reports.
        QVERIFY(writeExecutable(lib + "/browser-bin"));
        QVERIFY(QFile::link(lib + "/browser-bin", bin + "/browser"));
        QVERIFY(writeExecutable(bin + "/editor"));
        QVERIFY(writeExecutable(bin + "/mailer"));
        QVERIFY(writeExecutable(bin + "/hidden-app"));
        QVERIFY(writeFile(bin + "/not-executable", "x"));

        const auto entry = [](const QByteArray& body) {
            return "[Desktop Entry]\nType=Application\nName=X\n" + body;
        };
        QVERIFY(
            writeFile(system + "/browser.desktop", entry("Exec=browser %u\nIcon=web-browser\n")));
        QVERIFY(writeFile(system + "/browser-private.desktop",
                          entry("Exec=browser --private\nIcon=private\nNoDisplay=true\n")));
        // The user's copy hides the system one of the same id.
        QVERIFY(writeFile(system + "/editor.desktop", entry("Exec=editor\nIcon=sys\n")));
        QVERIFY(writeFile(user + "/editor.desktop", entry("Exec=editor\nIcon=mine\n")));
        QVERIFY(writeFile(user + "/hidden-app.desktop", entry("Hidden=true\n")));
        QVERIFY(writeFile(system + "/hidden-app.desktop", entry("Exec=hidden-app\n")));
        // Ids from subfolders; TryExec of a program not installed.
        QVERIFY(writeFile(system + "/kde/mailer.desktop",
                          entry("Exec=" + bin.toUtf8() + "/mailer\nIcon=mail\n")));
        QVERIFY(writeFile(system + "/missing.desktop",
                          entry("TryExec=no-such-tool\nExec=editor\nIcon=no\n")));
        QVERIFY(writeFile(system + "/link.desktop",
                          "[Desktop Entry]\nType=Link\nURL=x\nExec=mailer\n"));
        QVERIFY(writeFile(system + "/noexec.desktop", entry("Exec=not-executable\n")));
        QVERIFY(writeFile(system + "/broken.desktop", "\xff\xfe\x00garbage"));

        const DesktopEntryIndex index = DesktopEntryIndex::scan({user, system}, {bin});
        const auto browser = index.find(lib + "/browser-bin");
        QVERIFY(browser);
        QCOMPARE(browser->desktopFile, system + "/browser.desktop");
        QCOMPARE(browser->icon, QStringLiteral("web-browser"));
        QCOMPARE(index.find(bin + "/browser")->icon, QStringLiteral("web-browser"));
        QCOMPARE(index.find(bin + "/editor")->icon, QStringLiteral("mine"));
        QCOMPARE(index.find(bin + "/editor")->desktopFile, user + "/editor.desktop");
        QCOMPARE(index.find(bin + "/mailer")->desktopFile, system + "/kde/mailer.desktop");
        QVERIFY(!index.find(bin + "/hidden-app"));
        QVERIFY(!index.find(bin + "/not-executable"));
        QVERIFY(!index.find(QStringLiteral("/nonexistent/tool")));
        QVERIFY(!index.find(QString()));

        // Folders that do not exist are no error.
        QCOMPARE(DesktopEntryIndex::scan({dir.filePath("none")}, {}).size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestDesktopEntries)
#include "tst_desktop_entries.moc"
