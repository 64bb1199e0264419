// The game tests drive the real window, so they need a QApplication (offscreen in ctest).
#include "game/window/mivor10_window.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // No display needed, also when ctest lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // A runtime folder of its own gives the run its own instance name: runs side by side
    // cannot meet.
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication app(argc, argv);
    pelmora::game::installFontSubstitution();
    return RUN_ALL_TESTS();
}
