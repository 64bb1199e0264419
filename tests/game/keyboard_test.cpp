// Keys and clicks as a player gives them (the script letters are those of WindowBench::play):
// every key goes to whatever widget holds the focus, so no test says where a key should land.
#include "game_bench.h"

namespace pelmora::game {
namespace {

using testing::q;

struct KeyboardBench : testing::WindowBench {
    KeyboardBench() {
        clock.now = 100;
        showActive();
    }
};

TEST(KeyboardPlay, WholeGameWithTheKeyboardAlone) {
    const struct {
        std::initializer_list<int> dealt;  // the digits of the problem the step deals
        const char16_t* keys;
        const char16_t* screen;
    } steps[] = {
        // Start holds the focus at load: Enter presses it.
        {{3, 1, 9, 2}, u"E", u"1|||Start||| [] 3192 ＋＋＋ ONX"},
        // ASCII signs fill the boxes left to right; x is times. Enter answers.
        {{}, u"+x-", u"1|||Start||| [] 3192 ＋×－ ONX"},
        {{3, 1, 9, 2}, u"E", u"2|1||Start||1|100% [] 3192 ＋＋＋ ONX"},
        // Full-width keys; * as times; the keypad's Enter.
        {{}, u"＊＋－", u"2|1||Start||1|100% [] 3192 ×＋－ ONX"},
        {{8, 2, 4, 1}, u"K", u"3|2||Start||2|100% [] 8241 ＋＋＋ ONX"},
        // After the third box the next sign starts again at the first; Backspace steps back.
        {{}, u"//*-", u"3|2||Start||2|100% [] 8241 －÷× ONX"},
        {{}, u"\b\b+", u"3|2||Start||2|100% [] 8241 －÷＋ ONX"},
        {{}, u"\b\b\b-+/", u"3|2||Start||2|100% [] 8241 －＋÷ ONX"},
        // A wrong answer counts and keeps the problem; the next signs begin at the first box.
        {{}, u"×E", u"3|2|1|Start||2|66% [] 8241 ×＋÷ ONX"},
        {{}, u"-", u"3|2|1|Start||2|66% [] 8241 －＋÷ ONX"},
        {{3, 1, 9, 2}, u"E", u"4|3|1|Start||3|75% [] 3192 ＋＋＋ ONX"},
        // Space presses Next: the problem counts as incorrect and its example answer shows.
        {{1, 2, 3, 4}, u"S", u"5|3|2|Start||3|60% [3 ＋ 1 × 9 － 2] 1234 ＋＋＋ ONX"},
        // An input method commits full-width signs, several at once.
        {{}, u"{＋－}{÷}", u"5|3|2|Start||3|60% [3 ＋ 1 × 9 － 2] 1234 ＋－÷ ONX"},
        {{}, u"\b\b{＋}{＋}", u"5|3|2|Start||3|60% [3 ＋ 1 × 9 － 2] 1234 ＋＋＋ ONX"},
        // Escape presses Stop; between games the game's keys do nothing; Enter starts again.
        {{3, 1, 9, 2}, u"EX", u"6|4|2|Start||4|66% [3 ＋ 1 × 9 － 2] 3192 ＋＋＋ S"},
        {{}, u"+-*/xS\bX", u"6|4|2|Start||4|66% [3 ＋ 1 × 9 － 2] 3192 ＋＋＋ S"},
        {{3, 1, 9, 2}, u"E", u"1|||Start||| [3 ＋ 1 × 9 － 2] 3192 ＋＋＋ ONX"},
    };
    KeyboardBench b;
    for (const auto& step : steps) {
        b.host.queue(step.dealt);
        b.play(step.keys);
        EXPECT_EQ(b.screen(), q(step.screen).toStdString()) << q(step.keys).toStdString();
    }
}

TEST(KeyboardPlay, TheTargetBoxTakesTypingAndEnterStillAnswers) {
    KeyboardBench b;
    b.startAt(100, {3, 1, 9, 2});
    b.setTarget(u"");
    b.play(u"T-5 \b");
    EXPECT_EQ(b.target(), "-5");
    EXPECT_EQ(b.screen(), "1|||Start||| [] 3192 ＋＋＋ ONX");
    b.play(u"E");  // the target is read and shown plain
    EXPECT_EQ(b.screen(), "1||1|Start|||0% [] 3192 ＋＋＋ ONX");
    EXPECT_EQ(b.target(), "-5");
}

TEST(KeyboardPlay, FocusFrameOnStartIsDrawnWhenTheWindowOpens) {
    KeyboardBench b;
    auto* start = b.find<QPushButton>("Command4");
    ASSERT_EQ(QApplication::focusWidget(), start);
    EXPECT_TRUE(b.window->testAttribute(Qt::WA_KeyboardFocusChange));
    // The frame is visible: the button looks different without it.
    QImage framed = start->grab().toImage();
    b.window->setAttribute(Qt::WA_KeyboardFocusChange, false);
    EXPECT_NE(framed, start->grab().toImage());
}

// The operator box the typed-sign frame stands around, or -1 when no frame shows.
int framedBox(testing::WindowBench& b) {
    QWidget* cue = b.find("KeyCue");
    for (int i = 0; i < 3; ++i)
        if (cue->isVisible() && cue->geometry().contains(b.combo(i)->geometry())) return i;
    return -1;
}

TEST(KeyGuards, QuickSecondPressesAndClicksHeldKeysKeysBetweenGamesAndTheFrameForTypedSigns) {
    const struct {
        const char16_t* script;
        int running;
        const char* counters;  // problem/correct/incorrect
        int framed;
    } rows[] = {
        {u"EE", 1, "1//", 0},          // the second Enter after Start is ignored
        {u"EwE", 1, "1//1", 0},        // one after a pause answers
        {u"E+*-EE", 1, "2/1/", 0},     // and after a correct answer
        {u"Ew+*-E+E", 1, "2/1/1", 0},  // a sign in between makes it meant
        {u"TE", 1, "1//", 0},          // Enter in the target box starts a game
        {u"EwXS", 0, "1//", -1},       // a Space as the game ends is swallowed
        {u"EwXwS", 1, "1//", 0},       // later Space presses the focused Start
        {u"EwRwS", 1, "2//1", 0},      // a held Space presses Next once
        {u"C", 1, "1//", -1},          // a mouse player sees no frame
        {u"C+", 1, "1//", 1},          // until a sign is typed
        {u"C--\b", 1, "1//", 1},       // Backspace steps back
        {u"C+C", 1, "1//", -1},        // and the mouse hides it again
        // Clicks on OK: a double-click's second click after a correct answer is ignored,
        {u"Cw+*-OhD", 1, "2/1/", -1},
        {u"Cw+*-OhDO", 1, "2/1/", -1},      // so is a plain one inside the interval;
        {u"Cw+*-OhDOwO", 1, "2/1/1", -1},   // one after it counts,
        {u"Cw+*-OhDOwOO", 1, "2/1/2", -1},  // and a quick one after a wrong answer
    };
    for (const auto& row : rows) {
        KeyboardBench b;
        for (int i = 0; i < 8; ++i) b.host.queue({3, 1, 9, 2});
        b.play(row.script);
        const std::string script = q(row.script).toStdString();
        EXPECT_EQ(b.window->rules().state().Running, row.running) << script;
        EXPECT_EQ(b.counter(0) + "/" + b.counter(1) + "/" + b.counter(2), row.counters) << script;
        EXPECT_EQ(framedBox(b), row.framed) << script;
    }
}

}  // namespace
}  // namespace pelmora::game
