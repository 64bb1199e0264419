#include "game/window/game_host.h"

#include "tools/exit_status.h"

#include <QMessageBox>
#include <QString>

#include <cstdlib>

namespace pelmora::game {

// GCOVR_EXCL_START: a modal message box, then the end of the process; the game's formulas
// never reach it, and a test could not go on after it.
void GameHost::endProgram(std::u16string_view message) {
    QMessageBox::critical(
        nullptr, QStringLiteral("Pelmora"),
        QString::fromUtf16(message.data(), static_cast<qsizetype>(message.size())));
    std::exit(tools::kProgramEnded);
}
// GCOVR_EXCL_STOP

}  // namespace pelmora::game
