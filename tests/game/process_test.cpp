// The game as a process: one instance per user, and a later launch brings it forward.
#include "game/window/instance_guard.h"
#include "game_bench.h"

#include <QDir>
#include <QLocalSocket>

namespace pelmora::game {
namespace {

bool instanceListening() {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(instanceName());
    return socket.waitForConnected(200);
}

// The game under the offscreen platform, with a home of its own.
struct GameRun {
    QTemporaryDir home;
    // No session bus: the local socket is what these tests check.
    QProcessEnvironment environment =
        testing::gameEnvironment({{"HOME", home.path()},
                                  {"XDG_CONFIG_HOME", home.path() + "/config"},
                                  {"XDG_CACHE_HOME", home.path() + "/cache"},
                                  {"XDG_DATA_HOME", home.path() + "/data"}});
    void start(QProcess& process) {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home.path());
        process.start(QStringLiteral(PELMORA_GAME_PATH));
    }
};

TEST(GameProgram, RunningInstanceComesForwardWhenAskedAndASecondEndsAtOnceWritingNothing) {
    if (instanceListening()) GTEST_SKIP() << "a pelmora of this user is already running";
    GameRun run;
    ASSERT_TRUE(run.home.isValid());
    QProcess first;
    run.start(first);
    ASSERT_TRUE(QTest::qWaitFor(instanceListening, 10000));

    // What a later launch sends; the running instance answers once it has come forward.
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(instanceName());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(InstanceGuard::kRaiseRequest);
    ASSERT_TRUE(socket.waitForBytesWritten(2000));
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(5000)) reply += socket.readAll();
    EXPECT_EQ(reply, InstanceGuard::kRaiseReply);
    socket.disconnectFromServer();

    QProcess second;
    run.start(second);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    first.waitForFinished(10000);
    const QDir home(run.home.path());
    const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
    EXPECT_TRUE(home.isEmpty(all)) << home.entryList(all).join(' ').toStdString();
}

}  // namespace
}  // namespace pelmora::game
