#include "game/window/game_host.h"

#include <QMessageBox>
#include <QString>

#include <cstdlib>

namespace pelmora::game {

void GameHost::endProgram(std::u16string_view message) {
    QMessageBox::critical(
        nullptr, QStringLiteral("Pelmora"),
        QString::fromUtf16(message.data(), static_cast<qsizetype>(message.size())));
    std::exit(0);
}

}  // namespace pelmora::game
