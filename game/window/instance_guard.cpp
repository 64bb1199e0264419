#include "game/window/instance_guard.h"

#include <QCoreApplication>

#include <unistd.h>

namespace pelmora::game {

QString instanceName() {
    return QStringLiteral("pelmora-mivor10-%1").arg(static_cast<qulonglong>(::getuid()));
}

bool InstanceGuard::anotherInstanceRunning() {
    server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (server_.listen(instanceName())) return false;
    // Any other failure to listen says nothing about another instance.
    return server_.serverError() == QAbstractSocket::AddressInUseError;
}

void InstanceGuard::endProgram() {
    ended_ = true;
    QCoreApplication::exit(0);
}

}  // namespace pelmora::game
