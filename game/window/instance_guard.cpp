#include "game/window/instance_guard.h"

#include <QCoreApplication>
#include <QLocalSocket>

#include <unistd.h>

#include <cstring>

namespace pelmora::game {

namespace {

// Long enough for a busy first instance, short enough that a hung one does not hold us.
constexpr int kConnectMs = 1000;

}  // namespace

QString instanceName() {
    QString name = QStringLiteral("pelmora-mivor10-%1").arg(static_cast<qulonglong>(::getuid()));
    // A session with a runtime folder of its own (a test run, say) has a name of its own.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        name += QStringLiteral("-%1").arg(qChecksum(runtime), 4, 16, QChar(u'0'));
    return name;
}

InstanceGuard::InstanceGuard(QString name) : name_(std::move(name)) {
    server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceGuard::answer);
}

bool InstanceGuard::anotherInstanceRunning() {
    // Twice: an instance that was ending as we asked has freed the name by the second try.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (server_.listen(name_)) return false;
        // Any other failure to listen says nothing about another instance.
        if (server_.serverError() != QAbstractSocket::AddressInUseError) return false;
        if (askRunningInstanceToRaise()) return true;
    }
    return true;
}

void InstanceGuard::endProgram() {
    ended_ = true;
    QCoreApplication::exit(0);
}

bool InstanceGuard::askRunningInstanceToRaise() {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kConnectMs)) return false;
    // The request stays in the socket after we close it; no need to wait for the answer.
    socket.write(kRaiseRequest, static_cast<qint64>(std::strlen(kRaiseRequest)));
    socket.waitForBytesWritten(kConnectMs);
    socket.disconnectFromServer();
    return true;
}

void InstanceGuard::answer() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A bare connection (someone checking whether we run) asks for nothing.
        auto read = [this, socket] {
            if (!socket->canReadLine()) return;
            QByteArray line = socket->readLine(64);
            if (line != kRaiseRequest) return;
            emit raiseRequested();
            socket->write(kRaiseReply, static_cast<qint64>(std::strlen(kRaiseReply)));
            socket->flush();
        };
        connect(socket, &QLocalSocket::readyRead, socket, read);
        read();
    }
}

}  // namespace pelmora::game
