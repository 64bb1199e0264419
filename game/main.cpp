#include "evaluator/standard_host.h"
#include "game/window/game_host.h"
#include "game/window/mivor10_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pelmora::game::installFontSubstitution();
    pelmora::game::GameHost host;
    host.setCommandLine(pelmora::joinArguments(argc, argv));
    pelmora::game::Mivor10Window window({.host = &host});
    if (window.programEnded()) return 0;
    window.showCentred();
    return app.exec();
}
