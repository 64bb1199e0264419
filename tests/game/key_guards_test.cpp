// Quick second presses, the keys between games and the keyboard's frame, played as scripts of
// keys on the real window: E Enter, S Space, X Escape, + * - signs, T the focus into the target
// box, w a pause longer than a double-click, m a mouse click on the window.
#include "game_bench.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace pelmora::game {
namespace {

struct PlayedBench : testing::WindowBench {
    PlayedBench() {
        for (int i = 0; i < 8; ++i) host.queue({3, 1, 9, 2});
        clock.now = 100;
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void play(const char* script) {
        for (const char* k = script; *k; ++k) {
            QWidget* focus = QApplication::focusWidget();
            switch (*k) {
                case 'E':
                    QTest::keyClick(focus, Qt::Key_Return);
                    break;
                case 'S':
                    QTest::keyClick(focus, Qt::Key_Space);
                    break;
                case 'X':
                    QTest::keyClick(focus, Qt::Key_Escape);
                    break;
                case 'T':
                    find<QWidget>("Text2")->setFocus();
                    break;
                case 'w':
                    clock.now += 1.0 + QApplication::doubleClickInterval() / 1000.0;
                    break;
                case 'm':
                    QTest::mouseClick(window.get(), Qt::LeftButton, {}, {2, 2});
                    break;
                default:
                    QTest::keyClick(focus, *k);
            }
        }
    }
    bool cueShown() { return find<QWidget>("KeyCue")->isVisible(); }
};

TEST(KeyGuards, QuickSecondPressesAndKeysBetweenGames) {
    const struct {
        const char* script;
        int running;
        const char* problem;
        const char* correct;
        const char* incorrect;
    } rows[] = {
        {"EE", 1, "1", "", ""},          // the second Enter after Start is ignored
        {"EwE", 1, "1", "", "1"},        // one after a pause answers
        {"E+*-EE", 1, "2", "1", ""},     // and after a correct answer
        {"Ew+*-E+E", 1, "2", "1", "1"},  // a sign in between makes it meant
        {"TE", 1, "1", "", ""},          // Enter in the target box starts a game
        {"EwXS", 0, "1", "", ""},        // a Space as the game ends is swallowed
        {"EwXwS", 1, "1", "", ""},       // later Space presses the focused Start
    };
    for (const auto& row : rows) {
        PlayedBench b;
        b.play(row.script);
        EXPECT_EQ(b.window->rules().state().Running, row.running) << row.script;
        EXPECT_EQ(b.counter(0) + "/" + b.counter(1) + "/" + b.counter(2),
                  QString("%1/%2/%3").arg(row.problem, row.correct, row.incorrect))
            << row.script;
    }
}

TEST(KeyCue, FramesTheBoxTheNextSignSetsOnlyForKeyboardPlayers) {
    PlayedBench b;
    b.click("Command4");
    EXPECT_FALSE(b.cueShown());  // a mouse player sees the window as before
    const QRect boxes[] = {b.find<QWidget>("Combo1(0)")->geometry(),
                           b.find<QWidget>("Combo1(1)")->geometry(),
                           b.find<QWidget>("Combo1(2)")->geometry()};
    const struct {
        const char* script;
        bool shown;
        int box;
    } rows[] = {{"+", true, 1},  {"--", true, 0}, {"\b", true, 2},
                {"m", false, 0}, {"/", true, 0},  {"wX", false, 0}};
    for (const auto& row : rows) {
        b.play(row.script);
        EXPECT_EQ(b.cueShown(), row.shown) << row.script;
        if (row.shown) {
            EXPECT_TRUE(b.find<QWidget>("KeyCue")->geometry().contains(boxes[row.box]))
                << row.script;
        }
    }
}

}  // namespace
}  // namespace pelmora::game
