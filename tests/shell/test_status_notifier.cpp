#include "app/dbus_tray_types.h"
#include "app/floating_readout.h"
#include "app/status_notifier_item.h"
#include "app/tray_entry.h"
#include "platform/fake/fake_sources.h"
#include "services/system_stats_provider.h"

#include <QAction>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QtTest>

using namespace pw;
using pw::app::DBusMenuLayout;
using pw::app::SniPixmapList;
using pw::app::SniToolTip;
using pw::app::TrayEntry;

// A StatusNotifierItem watcher such as a panel runs, on a connection of its
// own; it also plays the host that reads the item and clicks its menu.
class FakeWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)

public:
    explicit FakeWatcher(QString connectionName)
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName)) {}
    ~FakeWatcher() override { stop(); }

    bool start() {
        return m_bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                    QDBusConnection::ExportAllContents) &&
               m_bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }
    void stop() {
        m_bus.unregisterService(QStringLiteral("org.kde.StatusNotifierWatcher"));
        m_bus.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
    }
    bool hostRegistered() const { return true; }
    QStringList items;

    // A call on the host's side, waited for without blocking the item's side,
    // which lives on this thread too.
    QDBusMessage call(const QString& service, const QString& path, const QString& interface,
                      const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = m_bus.asyncCall(message);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 5000))
            return {};
        return pending.reply();
    }
    QVariant property(const QString& service, const QString& path, const QString& interface,
                      const QString& name) {
        const QDBusMessage reply =
            call(service, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                 QStringLiteral("Get"), {interface, name});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return reply.arguments().first().value<QDBusVariant>().variant();
    }

public Q_SLOTS:
    void RegisterStatusNotifierItem(const QString& service) { items << service; }

private:
    QDBusConnection m_bus;
};

class StatusNotifierTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus");
        app::registerDBusTrayTypes();
        m_separator.setSeparator(true);
    }
    void init() {
        m_stats = std::make_unique<SystemStatsProvider>(
            m_fake.sources(), std::make_shared<platform::FakeDesktopNotifier>(),
            [] { return 90.0; });
        static int n = 0;
        m_watcher = std::make_unique<FakeWatcher>(QStringLiteral("watcher%1").arg(++n));
    }
    void cleanup() {
        m_entry.reset();
        m_watcher.reset();
        m_stats.reset();
    }
    void entryFollowsTheWatcherAsItComesAndGoes() {
        // No panel yet (as at login): the floating readout.
        m_entry = std::make_unique<TrayEntry>(*m_stats, QList<QAction*>{&m_quit});
        QCOMPARE(m_entry->kind(), TrayEntry::Kind::FloatingReadout);
        QVERIFY(m_entry->readout());
        QSignalSpy kinds(m_entry.get(), &TrayEntry::kindChanged);

        // The panel starts: the readout gives way to an item, which registers.
        QVERIFY(m_watcher->start());
        QTRY_COMPARE_WITH_TIMEOUT(m_entry->kind(), TrayEntry::Kind::StatusNotifier, 10000);
        QVERIFY(!m_entry->readout());
        QTRY_COMPARE(m_watcher->items, QStringList{itemService()});
        const QString firstName = itemService();
        QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(firstName));

        // The panel goes: the readout is back and the item's name is gone.
        m_watcher->stop();
        QTRY_COMPARE_WITH_TIMEOUT(m_entry->kind(), TrayEntry::Kind::FloatingReadout, 10000);
        QVERIFY(m_entry->readout());
        QVERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(firstName));
        QCOMPARE(kinds.count(), 2);
    }
    void hostSeesTheFiguresAndClicksComeBack() {
        waitForItem();
        QCOMPARE(itemProperty(QStringLiteral("Menu")).value<QDBusObjectPath>().path(),
                 QStringLiteral("/MenuBar"));
        QCOMPARE(itemProperty(QStringLiteral("ItemIsMenu")).toBool(), false);
        QCOMPARE(itemProperty(QStringLiteral("Title")).toString(), QStringLiteral("Pulsewick"));

        // One image per size, ARGB of the size it says.
        const auto pixmaps = qdbus_cast<SniPixmapList>(
            itemProperty(QStringLiteral("IconPixmap")).value<QDBusArgument>());
        QStringList sizes;
        for (const auto& pixmap : pixmaps) {
            QCOMPARE(pixmap.bytes.size(), pixmap.width * pixmap.height * 4);
            sizes << QStringLiteral("%1x%2").arg(pixmap.width).arg(pixmap.height);
        }
        QCOMPARE(sizes, QStringList({"16x16", "22x22", "24x24", "32x32", "44x44"}));
        const auto toolTip =
            qdbus_cast<SniToolTip>(itemProperty(QStringLiteral("ToolTip")).value<QDBusArgument>());
        QVERIFY2(toolTip.text.contains(QLatin1String("CPU")), qPrintable(toolTip.text));

        // Left and right clicks as hosts report them; neither triggers the other.
        QSignalSpy left(m_entry.get(), &TrayEntry::leftClicked);
        QSignalSpy right(m_entry.get(), &TrayEntry::contextMenuRequested);
        const auto click = [&](const char* method) {
            return m_watcher->call(itemService(), QStringLiteral("/StatusNotifierItem"),
                                   QStringLiteral("org.kde.StatusNotifierItem"),
                                   QLatin1String(method), {40, 12});
        };
        QCOMPARE(click("Activate").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(left.count(), 1);
        QCOMPARE(right.count(), 0);
        QCOMPARE(click("ContextMenu").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(left.count(), 1);
        QCOMPARE(right.count(), 1);
        QCOMPARE(click("SecondaryActivate").type(), QDBusMessage::ReplyMessage);
        QCOMPARE(left.count() + right.count(), 2);
    }
    void publishedMenuTriggersTheActions() {
        waitForItem();
        const auto menuCall = [&](const char* method, const QVariantList& arguments) {
            return m_watcher->call(itemService(), QStringLiteral("/MenuBar"),
                                   QStringLiteral("com.canonical.dbusmenu"), QLatin1String(method),
                                   arguments);
        };
        const QDBusMessage reply = menuCall("GetLayout", {0, -1, QStringList()});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(reply.signature(), QStringLiteral("u(ia{sv}av)"));
        const auto layout = qdbus_cast<DBusMenuLayout>(reply.arguments().at(1));
        QCOMPARE(layout.children.size(), 3);
        QCOMPARE(layout.children[0].properties.value("label").toString(),
                 QStringLiteral("Settings..."));
        QCOMPARE(layout.children[1].properties.value("type").toString(),
                 QStringLiteral("separator"));
        QCOMPARE(layout.children[2].properties.value("label").toString(),
                 QStringLiteral("Quit Pulsewick"));
        // Hosts ask for just the properties they draw.
        const auto labelsOnly = qdbus_cast<DBusMenuLayout>(
            menuCall("GetLayout", {0, -1, QStringList{"label"}}).arguments().at(1));
        QCOMPARE(labelsOnly.children[2].properties.keys(), QStringList{"label"});

        // Choosing an entry triggers its action, once the host has its reply.
        QSignalSpy quit(&m_quit, &QAction::triggered);
        QSignalSpy settings(&m_settings, &QAction::triggered);
        const int quitId = layout.children[2].id;
        QCOMPARE(menuCall("Event", {quitId, QStringLiteral("clicked"),
                                    QVariant::fromValue(QDBusVariant(QString())), 0u})
                     .type(),
                 QDBusMessage::ReplyMessage);
        QTRY_COMPARE(quit.count(), 1);
        QCOMPARE(settings.count(), 0);
        // Hovering is no choice, and entries that do not exist are refused.
        menuCall("Event", {layout.children[0].id, QStringLiteral("hovered"),
                           QVariant::fromValue(QDBusVariant(QString())), 0u});
        const QDBusMessage missing = menuCall("GetProperty", {99, QStringLiteral("label")});
        QVERIFY(!missing.arguments().value(0).value<QDBusVariant>().variant().isValid());
        QTest::qWait(50);
        QCOMPARE(settings.count(), 0);
    }

private:
    void waitForItem() {
        QVERIFY(m_watcher->start());
        m_entry = std::make_unique<TrayEntry>(*m_stats,
                                              QList<QAction*>{&m_settings, &m_separator, &m_quit});
        QCOMPARE(m_entry->kind(), TrayEntry::Kind::StatusNotifier);
        QTRY_COMPARE(m_watcher->items, QStringList{itemService()});
    }
    QString itemService() const { return m_entry->statusNotifierItem()->serviceName(); }
    QVariant itemProperty(const QString& name) {
        return m_watcher->property(itemService(), QStringLiteral("/StatusNotifierItem"),
                                   QStringLiteral("org.kde.StatusNotifierItem"), name);
    }

    platform::FakeSources m_fake;
    std::unique_ptr<SystemStatsProvider> m_stats;
    QAction m_settings{QStringLiteral("Settings...")};
    QAction m_separator;
    QAction m_quit{QStringLiteral("Quit Pulsewick")};
    std::unique_ptr<FakeWatcher> m_watcher;
    std::unique_ptr<TrayEntry> m_entry;
};

QTEST_MAIN(StatusNotifierTest)
#include "test_status_notifier.moc"
