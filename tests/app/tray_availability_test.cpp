#include "app/status_notifier_watch.h"
#include "app/tray_availability.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QSignalSpy>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>

namespace tarvenor {
namespace {

constexpr int kWaitMs = 5000;

// A session bus of the test's own.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (daemon_.waitForReadyRead(kWaitMs)) {
            address_ = QString::fromLatin1(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateBus() {
        daemon_.terminate();
        daemon_.waitForFinished(kWaitMs);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool running() const { return !address_.isEmpty(); }
    QDBusConnection connect(const QString& name) const {
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    QProcess daemon_;
    QString address_;
};

// The watcher part of a tray host: answers whether a host is registered, and says when that
// changes. It answers from a thread of its own, as another process would.
class FakeWatcher final : public QDBusVirtualObject {
public:
    std::atomic<bool> host{false};

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Get") ||
            message.arguments().value(1).toString() !=
                QLatin1String("IsStatusNotifierHostRegistered")) {
            return false;
        }
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(host.load()))));
        return true;
    }
};

class StatusNotifierWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bus.running()) << "dbus-daemon did not start";
        fake.moveToThread(&thread);
        thread.start();
    }
    void TearDown() override {
        remove_watcher();
        QDBusConnection::disconnectFromBus(QStringLiteral("program"));
        thread.quit();
        thread.wait();
    }

    // The host process starts: its watcher takes the well-known name.
    void add_watcher(bool host) {
        fake.host = host;
        QDBusConnection connection = bus.connect(QStringLiteral("host"));
        ASSERT_TRUE(connection.registerVirtualObject(
            QString::fromLatin1(StatusNotifierWatch::kPath), &fake));
        ASSERT_TRUE(connection.registerService(QString::fromLatin1(StatusNotifierWatch::kService)));
    }
    // The host process ends.
    void remove_watcher() { QDBusConnection::disconnectFromBus(QStringLiteral("host")); }

    void host_changes(bool host, const char* signal) {
        fake.host = host;
        bus.connect(QStringLiteral("host"))
            .send(QDBusMessage::createSignal(QString::fromLatin1(StatusNotifierWatch::kPath),
                                             QString::fromLatin1(StatusNotifierWatch::kService),
                                             QString::fromLatin1(signal)));
    }

    QDBusConnection program_bus() const { return bus.connect(QStringLiteral("program")); }

    // Waits for the next `changed` and returns what it said.
    static std::optional<bool> next_change(QSignalSpy& spy) {
        if (spy.isEmpty() && !spy.wait(kWaitMs)) {
            return std::nullopt;
        }
        return spy.takeFirst().at(0).toBool();
    }

    PrivateBus bus;
    FakeWatcher fake;
    QThread thread;
};

TEST_F(StatusNotifierWatchTest, NoWatcherMeansNoHost) {
    const StatusNotifierWatch watch(program_bus());
    EXPECT_FALSE(watch.host());
}

TEST_F(StatusNotifierWatchTest, AHostThereAtStartIsKnownAtOnce) {
    add_watcher(true);
    const StatusNotifierWatch watch(program_bus());
    EXPECT_TRUE(watch.host());
}

TEST_F(StatusNotifierWatchTest, AWatcherWithoutAHostIsNoHost) {
    add_watcher(false);
    const StatusNotifierWatch watch(program_bus());
    EXPECT_FALSE(watch.host());
}

TEST_F(StatusNotifierWatchTest, FollowsATrayHostThatComesGoesAndComesBack) {
    StatusNotifierWatch watch(program_bus());
    QSignalSpy changes(&watch, &StatusNotifierWatch::changed);
    add_watcher(true);
    EXPECT_EQ(next_change(changes), true);
    remove_watcher();
    EXPECT_EQ(next_change(changes), false);
    EXPECT_FALSE(watch.host());
    add_watcher(true);
    EXPECT_EQ(next_change(changes), true);
    EXPECT_TRUE(watch.host());
}

TEST_F(StatusNotifierWatchTest, FollowsHostsRegisteringWithTheWatcher) {
    add_watcher(false);
    StatusNotifierWatch watch(program_bus());
    QSignalSpy changes(&watch, &StatusNotifierWatch::changed);
    host_changes(true, "StatusNotifierHostRegistered");
    EXPECT_EQ(next_change(changes), true);
    host_changes(false, "StatusNotifierHostUnregistered");
    EXPECT_EQ(next_change(changes), false);
    // A second host registering while one is there changes nothing that shows.
    host_changes(true, "StatusNotifierHostRegistered");
    EXPECT_EQ(next_change(changes), true);
    host_changes(true, "StatusNotifierHostRegistered");
    EXPECT_FALSE(changes.wait(300));
}

TEST_F(StatusNotifierWatchTest, WithoutAnX11DisplayTheTrayIsTheHost) {
    TrayAvailability tray(program_bus(), QByteArray());
    QSignalSpy changes(&tray, &TrayAvailability::changed);
    EXPECT_FALSE(tray.available());
    add_watcher(true);
    EXPECT_EQ(next_change(changes), true);
    EXPECT_TRUE(tray.available());
    remove_watcher();
    EXPECT_EQ(next_change(changes), false);
}

TEST(StatusNotifierWatchWithoutBus, IsNoHostAndNeverChanges) {
    const StatusNotifierWatch watch(QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere")));
    EXPECT_FALSE(watch.host());
    QDBusConnection::disconnectFromBus(QStringLiteral("nowhere"));
}

} // namespace
} // namespace tarvenor
