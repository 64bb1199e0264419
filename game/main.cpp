#include <pelmora/standard_host.h>
#include <pelmora/version.h>
#include "game/window/game_host.h"
#include "game/window/mivor10_window.h"
#include "tools/exit_status.h"

#include <QApplication>

#include <cstdio>
#include <string_view>

namespace {

constexpr std::string_view kHelp = R"(Usage: pelmora [ARGUMENTS...]
  or:  pelmora --help | --version

The Pelmora arithmetic puzzle: four digits are dealt; join them, in order, with three
operators so that the formula reaches the target (10 unless you change it) within 30
seconds. Only one window runs per desktop session: starting the game again brings
the running window to the front.

Options:
  -h, --help   Print this help and exit
  --version    Print the version and exit

Any other arguments are not options: the game keeps them as its command line.

Examples:
  pelmora             start the game
  pelmora --version   print the version

)";

// --help and --version, alone on the command line, answer before Qt starts, so they need no
// display.
bool answeredOption(int argc, char** argv) {
    if (argc != 2) return false;
    std::string_view argument = argv[1];
    if (argument == "--help" || argument == "-h") {
        std::fwrite(kHelp.data(), 1, kHelp.size(), stdout);
        std::fwrite(pelmora::tools::kExitStatuses.data(), 1, pelmora::tools::kExitStatuses.size(),
                    stdout);
        return true;
    }
    if (argument == "--version") {
        std::fputs("pelmora " PELMORA_VERSION_TEXT "\n", stdout);
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (answeredOption(argc, argv)) return 0;
    QApplication app(argc, argv);
    // The desktop entry's name: the Wayland app id, so the desktop finds our icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pelmora.pelmora"));
    if (!pelmora::game::installFontSubstitution())
        std::fputs(
            "pelmora: no Japanese font is installed, so the window's text cannot be drawn;\n"
            "  install one, for example fonts-ipafont-gothic or fonts-noto-cjk\n",
            stderr);
    pelmora::game::GameHost host;
    host.setCommandLine(pelmora::joinArguments(argc, argv));
    pelmora::game::Mivor10Window window({.host = &host});
    if (window.programEnded()) return 0;
    window.showCentred();
    return app.exec();
}
