// One game per user: a later launch brings the running one forward and ends, over a local
// socket, and over a session bus of the test's own passing on the launcher's activation token.
#include "game/window/instance_guard.h"
#include "game/window/session_guard.h"
#include "game_bench.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>

namespace pelmora::game {
namespace {

// A private dbus-daemon for the life of the test.
struct PrivateBus {
    QProcess daemon;
    QString address;
    std::optional<QDBusConnection> connection;

    PrivateBus() {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {"--session", "--nofork", "--print-address=1", "--nopidfile"});
        if (!daemon.waitForStarted(5000)) return;
        while (!daemon.canReadLine() && daemon.waitForReadyRead(5000)) {
        }
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        connection = QDBusConnection::connectToBus(address, QStringLiteral("test-bus"));
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(QStringLiteral("test-bus"));
        daemon.kill();
        daemon.waitForFinished(5000);
    }
    void launch(QProcess& game, const QString& token) {
        testing::startGame(game, {{"DBUS_SESSION_BUS_ADDRESS", address},
                                  {"XDG_ACTIVATION_TOKEN", token},
                                  {"DESKTOP_STARTUP_ID", "startup-" + token}});
    }
    bool owned() {
        return connection->interface()->isServiceRegistered(SessionGuard::kService).value();
    }
};

// Stands for a running game: records what each Activate brings.
struct RecordingApplication : QDBusVirtualObject {
    std::vector<QVariantMap> activations;
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != "Activate") return false;
        activations.push_back(qdbus_cast<QVariantMap>(message.arguments().value(0)));
        connection.send(message.createReply());
        return true;
    }
};

bool endsWithStatus0(QProcess& game) {
    return QTest::qWaitFor([&] { return game.state() == QProcess::NotRunning; }, 10000) &&
           game.exitStatus() == QProcess::NormalExit && game.exitCode() == 0;
}

TEST(SessionBus, SecondLaunchActivatesTheOwnerWithItsTokenAndEnds) {
    PrivateBus bus;
    ASSERT_TRUE(bus.connection && bus.connection->isConnected()) << "dbus-daemon did not start";

    // The test owns the name, as a running game would.
    RecordingApplication running;
    ASSERT_TRUE(bus.connection->registerVirtualObject(SessionGuard::kPath, &running));
    ASSERT_TRUE(bus.connection->registerService(SessionGuard::kService));
    QProcess second;
    bus.launch(second, "token-1");
    EXPECT_TRUE(endsWithStatus0(second));
    ASSERT_EQ(running.activations.size(), 1u);
    EXPECT_EQ(running.activations[0].value("activation-token"), "token-1");
    EXPECT_EQ(running.activations[0].value("desktop-startup-id"), "startup-token-1");
    bus.connection->unregisterService(SessionGuard::kService);
    bus.connection->unregisterObject(SessionGuard::kPath);

    // A game in this process owns it and comes forward for every way of asking, taking on
    // the launcher's token; a later launch ends while it runs on; the name goes with it.
    {
        SessionGuard first(*bus.connection);
        ASSERT_FALSE(first.anotherInstanceRunning());
        ASSERT_TRUE(bus.owned());
        int raised = 0;
        QObject::connect(&first, &SessionGuard::raiseRequested, [&] { ++raised; });
        const QVariantMap token{{"activation-token", "token-3"}};
        for (const auto& [member, arguments] :
             {std::pair{"Activate", QVariantList{token}},
              {"Open", {QStringList{}, token}},
              {"ActivateAction", {QString(), QVariantList{}, token}}}) {
            QDBusMessage call = QDBusMessage::createMethodCall(
                SessionGuard::kService, SessionGuard::kPath, SessionGuard::kInterface, member);
            call.setArguments(arguments);
            bus.connection->asyncCall(call);
        }
        QProcess again;
        bus.launch(again, "token-4");
        EXPECT_TRUE(endsWithStatus0(again));
        EXPECT_TRUE(QTest::qWaitFor([&] { return raised == 4; }, 5000)) << raised;
        EXPECT_EQ(qgetenv("XDG_ACTIVATION_TOKEN"), "token-4");
        EXPECT_EQ(qgetenv("DESKTOP_STARTUP_ID"), "startup-token-4");
    }
    EXPECT_FALSE(bus.owned());
    qunsetenv("XDG_ACTIVATION_TOKEN");
    qunsetenv("DESKTOP_STARTUP_ID");
}

bool instanceListening() {
    QLocalSocket socket;
    return testing::reach(socket, instanceName(), 200);
}

TEST(GameProgram, RunningInstanceComesForwardWhenAskedAndASecondEndsAtOnceWritingNothing) {
    if (instanceListening()) GTEST_SKIP() << "a pelmora of this user is already running";
    QTemporaryDir home;  // the game's own, to see that it writes nothing
    ASSERT_TRUE(home.isValid());
    const QString h = home.path();
    const auto start = [&](QProcess& game) {  // no session bus: the local socket is checked
        testing::startGame(game,
                           {{"HOME", h},
                            {"XDG_CONFIG_HOME", h + "/config"},
                            {"XDG_CACHE_HOME", h + "/cache"},
                            {"XDG_DATA_HOME", h + "/data"}},
                           h);
    };
    QProcess first;
    start(first);
    ASSERT_TRUE(QTest::qWaitFor(instanceListening, 10000));

    // What a later launch sends; the running instance answers once it has come forward.
    QLocalSocket socket;
    ASSERT_TRUE(testing::reach(socket, instanceName(), 2000));
    socket.write(InstanceGuard::kRaiseRequest);
    ASSERT_TRUE(socket.waitForBytesWritten(2000));
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(5000)) reply += socket.readAll();
    EXPECT_EQ(reply, InstanceGuard::kRaiseReply);
    socket.disconnectFromServer();

    QProcess second;
    start(second);
    EXPECT_TRUE(endsWithStatus0(second));
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished(10000);
    const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
    EXPECT_TRUE(QDir(h).isEmpty(all)) << QDir(h).entryList(all).join(' ').toStdString();
}

}  // namespace
}  // namespace pelmora::game
