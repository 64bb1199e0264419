// The game as a process: one instance per user, and a later launch brings it forward.
#include "game/window/instance_guard.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

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
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    GameRun() {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
        environment.insert("XDG_CACHE_HOME", home.path() + "/cache");
        environment.insert("XDG_DATA_HOME", home.path() + "/data");
        // No session bus: the local socket is what these tests check.
        environment.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
    // Starts the first instance and waits until it holds the instance name.
    bool startFirst(QProcess& process) {
        start(process);
        if (!process.waitForStarted(10000)) return false;
        for (int i = 0; i < 100; ++i) {
            if (instanceListening()) return true;
            QThread::msleep(100);
        }
        return false;
    }
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
    ASSERT_TRUE(run.startFirst(first));

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
