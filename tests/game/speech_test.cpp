// What a screen reader is told as a game goes, read from the window's notice, and what the
// focus place reads between games and during one.
#include "game/window/accessibility.h"
#include "game_bench.h"

#include <QAccessible>

namespace pelmora::game {
namespace {

using testing::q;

struct SpeechBench : testing::WindowBench {
    QWidget* notice = find("Announcement");

    SpeechBench() {
        clock.now = 100;
        window->show();  // active, so that it has a focus widget for the keys
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // What was said since the last call; empty when nothing was.
    QString said() {
        QString text = notice->accessibleName();
        notice->setAccessibleName({});
        return text;
    }
    QString focusPlace() { return spokenText(find("Text3")); }
};

TEST(Announcements, EachChangeOfAGameIsToldWhenItHappens) {
    SpeechBench b;
    // At a clock reading: digits dealt, then keys (WindowBench::play) or a tick (t), and what
    // the notice says afterwards.
    struct Step {
        double at;
        const char* dealt;
        const char16_t* keys;
        const char16_t* heard;
    };
    const Step steps[] = {
        {100, "3192", u"E", u"3 1 9 2"},
        {100.5, "", u"t", u""},  // the first tick: 30 seconds left
        {101, "", u"+", u"1 番目 ＋"},
        {101, "", u"/", u"2 番目 ÷"},
        {101, "", u"<", u"次は 2 番目"},
        {101, "", u"*", u"2 番目 ×"},
        {101, "", u"-", u"3 番目 －"},
        {101, "1234", u"E", u"正解 3 点、計 3 点。1 2 3 4"},
        {102, "", u"t", u""},
        {103, "", u"-E", u"不正解、計 3 点"},
        {120, "", u"t", u""},  // 11 seconds left
        {121, "", u"t", u"残り 10 秒"},
        {122, "", u"t", u""},
        {126, "", u"t", u"残り 5 秒"},
        {127, "", u"t", u""},
        {131, "8241", u"t", u"時間切れ。8 2 4 1"},
        {132, "", u"t", u""},
        {140, "", u"t", u""},           // 21 seconds left
        {158, "", u"t", u"残り 3 秒"},  // a late tick passes both warnings: the time now
        {159, "9111", u"_", u"先に進みます。9 1 1 1"},
        {160, "", u"Q", u"終了。問題 4、正解 1、不正解 3、点数 3、正解率 25%"},
        {161, "", u"+<", u""},  // signs between games say nothing
    };
    for (const Step& step : steps) {
        b.clock.now = step.at;
        b.deal(step.dealt);
        if (step.keys == std::u16string_view(u"t")) {
            b.window->tick();
        } else {
            b.play(step.keys);
        }
        EXPECT_EQ(b.said(), q(step.heard)) << step.at << " " << testing::s(q(step.keys));
    }
}

TEST(Announcements, TheGameLimitTellsTheResultAndTheFocusPlaceReadsOnlyAGameInPlay) {
    SpeechBench b;
    EXPECT_EQ(b.focusPlace(), "");
    b.step(100, 'S', "3192");
    EXPECT_EQ(b.focusPlace(), q(u"3 ＋ 1 ＋ 9 ＋ 2 ＝ 10"));
    b.play(u"x");
    EXPECT_EQ(b.focusPlace(), q(u"3 × 1 ＋ 9 ＋ 2 ＝ 10"));
    for (double at = 130.5; at < 3700; at += 30.5) b.step(at, 't');  // a time-out each tick
    b.said();
    b.step(3701, 't');
    EXPECT_EQ(b.said(), q(u"終了。問題 119、正解 0、不正解 118、点数 0、正解率 0%"));
    EXPECT_EQ(b.focusPlace(), "");
}

}  // namespace
}  // namespace pelmora::game
