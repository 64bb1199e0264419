// Quick second presses, the keys between games and the keyboard's frame, played as scripts on
// the real window: E Enter, S Space, X Escape, \b Backspace, + * - / signs, T the focus into
// the target box, w a pause longer than a double-click, C a mouse click on Start.
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
        const std::map<char, Qt::Key> keys{
            {'E', Qt::Key_Return}, {'S', Qt::Key_Space}, {'X', Qt::Key_Escape}};
        for (const char* k = script; *k; ++k) {
            QWidget* focus = QApplication::focusWidget();
            if (*k == 'T') {
                find<QWidget>("Text2")->setFocus();
            } else if (*k == 'w') {
                clock.now += 1.0 + QApplication::doubleClickInterval() / 1000.0;
            } else if (*k == 'C') {
                QTest::mouseClick(find<QWidget>("Command4"), Qt::LeftButton);
            } else if (keys.count(*k)) {
                QTest::keyClick(focus, keys.at(*k));
            } else {
                QTest::keyClick(focus, *k);
            }
        }
    }
    // The operator box the frame stands around, or -1 when no frame shows.
    int framedBox() {
        QWidget* cue = find<QWidget>("KeyCue");
        for (int i = 0; i < 3; ++i)
            if (cue->isVisible() &&
                cue->geometry().contains(
                    find<QWidget>(QStringLiteral("Combo1(%1)").arg(i))->geometry()))
                return i;
        return -1;
    }
};

TEST(KeyGuards, QuickSecondPressesKeysBetweenGamesAndTheFrameForTypedSigns) {
    const struct {
        const char* script;
        int running;
        const char* counters;  // problem/correct/incorrect
        int framed;
    } rows[] = {
        {"EE", 1, "1//", 0},          // the second Enter after Start is ignored
        {"EwE", 1, "1//1", 0},        // one after a pause answers
        {"E+*-EE", 1, "2/1/", 0},     // and after a correct answer
        {"Ew+*-E+E", 1, "2/1/1", 0},  // a sign in between makes it meant
        {"TE", 1, "1//", 0},          // Enter in the target box starts a game
        {"EwXS", 0, "1//", -1},       // a Space as the game ends is swallowed
        {"EwXwS", 1, "1//", 0},       // later Space presses the focused Start
        {"C", 1, "1//", -1},          // a mouse player sees no frame
        {"C+", 1, "1//", 1},          // until a sign is typed
        {"C--\b", 1, "1//", 1},       // Backspace steps back
        {"C+C", 1, "1//", -1},        // and the mouse hides it again
    };
    for (const auto& row : rows) {
        PlayedBench b;
        b.play(row.script);
        EXPECT_EQ(b.window->rules().state().Running, row.running) << row.script;
        EXPECT_EQ(b.counter(0) + "/" + b.counter(1) + "/" + b.counter(2), row.counters)
            << row.script;
        EXPECT_EQ(b.framedBox(), row.framed) << row.script;
    }
}

}  // namespace
}  // namespace pelmora::game
