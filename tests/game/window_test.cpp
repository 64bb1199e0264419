// The real window on a fake clock and a scripted random source.
#include <pelmora/conversions.h>
#include "game/rules/solver.h"
#include "game_bench.h"

#include <QImage>
#include <QLocalSocket>
#include <QTimer>

namespace pelmora::game {
namespace {

using testing::q;
using testing::WindowBench;

const QColor kRed(255, 0, 0);

// A timed game as rows: at a clock reading, S Start, O OK, N Next, X Stop, t a tick or T a tick
// every second since the last reading, dealing the given digits; then the screen, if given.
struct Step {
    double at;
    char action;
    std::initializer_list<int> dealt = {};
    const char* screen = nullptr;
};
void play(WindowBench& b, std::initializer_list<Step> steps) {
    const std::map<char, const char*> buttons{
        {'S', "Command4"}, {'O', "Command2"}, {'N', "Command5"}, {'X', "Command6"}};
    for (const Step& s : steps) {
        b.host.queue(s.dealt);
        for (double t = b.clock.now + 1; s.action == 'T' && t < s.at; t += 1.0) b.tickAt(t);
        b.clock.now = s.at;
        if (s.action == 't' || s.action == 'T') b.window->tick();
        if (buttons.count(s.action)) b.click(buttons.at(s.action));
        if (s.screen) {
            EXPECT_EQ(b.screen(), s.screen) << s.at << s.action;
        }
    }
}

TEST(WindowLoad, OpensIdleShowingOneTwoThreeFourAndOnlyOnce) {
    WindowBench b;
    EXPECT_EQ(b.screen(), "|||||| [] 1234 ＋＋＋ S");
    EXPECT_EQ(b.target(), "10");
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(b.combo(i)->count(), 4);
        for (int j = 0; j < 4; ++j) EXPECT_EQ(b.combo(i)->itemText(j), q(u"＋－×÷").mid(j, 1));
    }
    EXPECT_TRUE(b.window->windowTitle().startsWith(" Pelmora     Ver1.00" + QString(20, ' ')));
    EXPECT_EQ(b.window->focusWidget(), b.find<QPushButton>("Command4"));
    EXPECT_EQ(b.host.seeds.size(), 1u);
    EXPECT_EQ(b.find<QTimer>("Timer1")->interval(), 1000);
    EXPECT_TRUE(b.find<QTimer>("Timer1")->isActive());
    b.tickAt(5000);
    EXPECT_EQ(b.screen(), "|||||| [] 1234 ＋＋＋ S");

    WindowBench second(true);  // another instance runs: end before showing
    EXPECT_EQ(second.program.ended, 1);
    EXPECT_TRUE(second.window->programEnded());
    EXPECT_FALSE(second.window->isVisible());
    EXPECT_FALSE(second.find<QTimer>("Timer1")->isActive());
}

TEST(WindowLoad, SecondLaunchBringsTheRunningWindowToTheFront) {
    const QString name = QStringLiteral("pelmora-test-%1").arg(QCoreApplication::applicationPid());
    InstanceGuard first(name);
    testing::FakeClock clock;
    testing::ScriptedHost host;
    testing::FakeMessages messages;
    Mivor10Window window({&clock, &host, &messages, &first});
    ASSERT_FALSE(window.programEnded());
    window.show();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.showMinimized();

    // Someone merely checking whether we run is no launch.
    QLocalSocket probe;
    probe.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    probe.connectToServer(name);
    ASSERT_TRUE(probe.waitForConnected(1000));
    QTest::qWait(100);
    EXPECT_EQ(QApplication::activeWindow(), &other);
    EXPECT_TRUE(window.isMinimized());

    InstanceGuard second(name);
    EXPECT_TRUE(second.anotherInstanceRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }, 2000));
    EXPECT_FALSE(window.isMinimized());
}

TEST(WindowLayout, ControlsStandWhereTheFormPutsThemAndShowTheirColours) {
    const struct {
        const char* name;
        const char* kind;
        QRect place;  // twips / 15, rounded; inside Frame1 relative to it
        bool hidden;
    } rows[] = {
        {"Label4(0)", "QLabel", {56, 16, 48, 18}, false},
        {"Frame1", "QGroupBox", {56, 48, 433, 49}, false},
        {"Label4(6)", "QLabel", {64, 16, 56, 18}, false},
        {"Image2(0)", "pelmora::game::PictureBox", {40, 112, 32, 41}, false},
        {"Combo1(0)", "QComboBox", {80, 115, 52, 32}, false},
        {"Text2", "QLineEdit", {456, 115, 65, 34}, false},
        {"Label6", "QLabel", {120, 168, 273, 26}, false},
        {"Command4", "QPushButton", {24, 216, 81, 33}, false},
        {"Text3", "QLineEdit", {2480, 2000, 10, 18}, false},
        {"Label1(0)", "QLabel", {16, 336, 48, 50}, true},
        {"Image1(9)", "pelmora::game::PictureBox", {296, 296, 32, 41}, true},
        {"Text1", "QLineEdit", {304, 344, 217, 22}, true},
        {"Command1", "QPushButton", {528, 344, 97, 25}, true},
    };
    WindowBench b;
    EXPECT_EQ(b.window->size(), QSize(547, 270));
    for (const auto& row : rows) {
        auto* widget = b.find<QWidget>(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(row.kind)) << row.name;
        EXPECT_EQ(widget->geometry(), row.place) << row.name;
        EXPECT_EQ(widget->isHidden(), row.hidden) << row.name;
    }
    EXPECT_EQ(b.find("Label4(6)")->parentWidget()->objectName(), "Frame1");
    EXPECT_EQ(b.find("Label4(1)")->font().pointSizeF(), 12.0);
    EXPECT_TRUE(b.find("Label4(1)")->font().bold());
    EXPECT_EQ(b.find("Text2")->font().pointSizeF(), 20.25);
    EXPECT_EQ(b.find<QPushButton>("Command4")->text() + b.find<QPushButton>("Command5")->text(),
              q(u"ｽﾀｰﾄ先に進む"));

    QImage image = b.window->grab().toImage();
    const struct {
        const char* name;
        QPoint at;
        QColor colour;
    } pixels[] = {
        {"Label4(0)", {3, 3}, QColor(128, 128, 128)},
        {"Label4(6)", {3, 3}, QColor(0, 0, 255)},
        {"Label4(5)", {3, 3}, QColor(0, 0, 255)},
        {"Text2", {6, 6}, QColor(128, 128, 128)},
        // Image2(0) shows the digit 1, 8x9 pixels stretched to 32x41: border, box, stroke.
        {"Image2(0)", {1, 1}, Qt::white},
        {"Image2(0)", {5, 6}, QColor(51, 51, 51)},
        {"Image2(0)", {17, 11}, Qt::white},
        {"Image2(0)", {9, 11}, QColor(51, 51, 51)},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(QColor(image.pixel(b.find<QWidget>(p.name)->mapTo(b.window.get(), p.at))),
                  p.colour)
            << p.name;
}

TEST(AnswerCheck, PointsFollowTheSecondsLeftShown) {
    const struct {
        double elapsed;  // seconds into the problem at the last tick
        const char* shown;
        int score;
    } rows[] = {{0.5, "30", 3},  {9.5, "21", 3},  {10.5, "20", 2},
                {17.5, "13", 2}, {18.5, "12", 1}, {29.5, "1", 1}};
    for (const auto& row : rows) {
        WindowBench b;
        play(b, {{100, 'S', {3, 1, 9, 2}}, {100 + row.elapsed, 't'}});
        EXPECT_EQ(b.counter(4), row.shown);
        for (int solved : {1, 2}) {  // until the next tick the new problem scores the same
            b.choose(u"＋×－");
            play(b, {{b.clock.now, 'O', {3, 1, 9, 2}}});
            EXPECT_EQ(b.counter(5), QString::number(solved * row.score)) << row.shown;
        }
    }
}

TEST(AnswerCheck, TargetIsShownPlainAndTheHiddenFormulaBoxIsCheckedInsteadOfTheLists) {
    WindowBench b;
    auto* formula = b.find<QLineEdit>("Text1");
    b.click("Command1");  // no game yet: nothing copied
    EXPECT_EQ(formula->text(), "");
    b.startAt(100, {3, 1, 9, 2});
    b.setTarget(u" 10.0 ");
    b.choose(u"×＋－");
    b.click("Command1");
    EXPECT_EQ(formula->text(), q(u"3×1＋9－2"));
    b.host.queue({9, 9, 9, 9, 1, 2, 3, 4});
    b.click("Command2");
    EXPECT_EQ(b.target(), "10");
    EXPECT_EQ(b.screen(), "2|1||Start||1|100% [] 1234 ＋＋＋ ONX");
    formula->setText("  10 ");  // only the value counts
    b.click("Command2");
    EXPECT_EQ(formula->text(), "10");
    EXPECT_EQ(b.counter(1), "2");
    b.setTarget(u"abc");
    b.click("Command2");
    EXPECT_EQ(b.target(), "0");
    EXPECT_EQ(b.counter(2), "1");
}

TEST(TimedGame, ProblemLeftAloneTimesOutAndShowsItsExampleAnswer) {
    WindowBench b;
    play(b, {{100, 'S', {3, 1, 9, 2}},
             {100.4, 't', {}, "1|||Start|30|| [] 3192 ＋＋＋ ONX"},
             {101.4, 't', {}, "1|||1|29|| [] 3192 ＋＋＋ ONX"},
             {124.4, 'T', {}, "1|||24|6|| [] 3192 ＋＋＋ ONX"}});
    EXPECT_NE(b.secondsLeftColour(), kRed);
    play(b, {{125.4, 't', {}, "1|||25|5|| [] 3192 ＋＋＋ ONX"}});
    EXPECT_EQ(b.secondsLeftColour(), kRed);
    play(b, {{129.4, 'T', {}, "1|||29|1|| [] 3192 ＋＋＋ ONX"}});
    b.choose(u"××÷");
    play(b, {{130.4, 't', {1, 2, 3, 4}, "2||1|30|1||0% [3 ＋ 1 × 9 － 2] 1234 ＋＋＋ ONX"},
             {131.4, 't', {}, "2||1|31|29||0% [3 ＋ 1 × 9 － 2] 1234 ＋＋＋ ONX"}});
    EXPECT_NE(b.secondsLeftColour(), kRed);
    // The example answer shows for 15 seconds; Next shows it again; a correct answer clears it.
    play(b, {{144.4, 't', {}, "2||1|44|16||0% [3 ＋ 1 × 9 － 2] 1234 ＋＋＋ ONX"},
             {145.4, 't', {}, "2||1|45|15||0% [] 1234 ＋＋＋ ONX"},
             {145.4, 'N', {1, 2, 3, 4}, "3||2|45|15||0% [1 ＋ 2 ＋ 3 ＋ 4] 1234 ＋＋＋ ONX"},
             {145.4, 'O', {}, "4|1|2|45|15|2|33% [] 6664 ＋＋＋ ONX"}});
}

TEST(TimedGame, StopShowsTheExampleAnswerAndGoesIdle) {
    WindowBench b;
    play(b, {{100, 'S', {3, 1, 9, 2}},
             {120.5, 't'},
             {120.5, 'X', {}, "1|||20|10|| [3 ＋ 1 × 9 － 2] 3192 ＋＋＋ S"},
             {200.5, 't', {}, "1|||20|10|| [3 ＋ 1 × 9 － 2] 3192 ＋＋＋ S"}});
    EXPECT_EQ(b.window->focusWidget(), b.find("Command4"));
    // A new game starts from scratch but leaves the old example answer up.
    play(b, {{300, 'S', {1, 2, 3, 4}, "1|||Start||| [3 ＋ 1 × 9 － 2] 1234 ＋＋＋ ONX"}});
    EXPECT_EQ(b.window->focusWidget(), b.find("Text3"));
}

TEST(TimedGame, GameLimitMeetingTheProblemLimitDealsOneMoreProblem) {
    WindowBench b;  // game 3601 and problem 30 in one tick: Stop, then Next deals one more
    play(b, {{0, 'S', {3, 1, 9, 2}},
             {3571, 'N', {1, 2, 3, 4}},
             {3600.9, 't', {}, "2||1|3600|1||0% [] 1234 ＋＋＋ ONX"},  // not yet over
             {3601.2, 't', {9, 1, 1, 1}, "3||2|3601|1||0% [1 ＋ 2 ＋ 3 ＋ 4] 9111 ＋＋＋ X"},
             {3602.5, 't', {}, "3||2|3602|29||0% [9 ＋ 1 ＋ 1 － 1] 9111 ＋＋＋ S"},  // for good
             {3610, 't', {}, "3||2|3602|29||0% [9 ＋ 1 ＋ 1 － 1] 9111 ＋＋＋ S"}});
    WindowBench old;  // game 3601 at problem 21: Stop shows the answer, the tick clears it
    play(old, {{0, 'S', {3, 1, 9, 2}},
               {3580, 'N', {1, 2, 3, 4}},
               {3601.5, 't', {}, "2||1|3601|9||0% [] 1234 ＋＋＋ S"}});
}

TEST(TimedGame, CloseEndsTheProgramFromEitherState) {
    for (bool playing : {false, true}) {
        WindowBench b;
        if (playing) b.startAt(100, {3, 1, 9, 2});
        b.click("Command3");
        EXPECT_EQ(b.program.ended, 1) << playing;
        EXPECT_TRUE(b.window->programEnded()) << playing;
    }
}

TEST(Targets, OnlyDigitsThatReachTheTargetAreDealt) {
    WindowBench b;
    b.setTarget(u"２４");  // full-width digits are that number
    b.startAt(100, {1, 1, 1, 1, 3, 8, 1, 1});
    EXPECT_TRUE(b.messages.shown.empty());
    b.choose(u"×＋－");
    b.click("Command2");
    EXPECT_EQ(b.target(), "24");
    EXPECT_EQ(b.counter(1), "1");
    Evaluator check(b.host);
    for (int i = 0; i < 30; ++i) {
        b.click("Command5");
        auto digits = b.heldDigits();
        EXPECT_TRUE(findSolution(
            check, digitTexts({digits[0] - '0', digits[1] - '0', digits[2] - '0', digits[3] - '0'}),
            u"24"))
            << digits;
    }
    for (auto [typed, shown] :
         {std::pair{u"　１０．０　", "10"}, {u"－５", "-5"}, {u"２ ４abc", "24"}}) {
        b.setTarget(typed);  // full-width sign, point and spaces read the same way
        b.click("Command2");
        EXPECT_EQ(b.target(), shown);
    }
    b.click("Command6");
    b.setTarget(u"6561");  // reached by 9999 alone
    b.startAt(200, {});
    EXPECT_TRUE(b.messages.shown.empty());
    EXPECT_EQ(b.shownDigits(), "9999");
}

TEST(Targets, StartWithATargetNoDigitsReachChangesNothingOnScreen) {
    for (const char16_t* target : {u"0.123", u"1E999", u"３０４"}) {
        WindowBench b;
        b.startAt(100, {3, 1, 9, 2});  // a finished game's results stay on screen
        b.choose(u"＋×－");
        const char* before = "2|1||12|18|1|100% [8 － 2 ＋ 4 ÷ 1] 8241 ＋＋＋ S";
        play(b, {{100, 'O', {8, 2, 4, 1}}, {112.5, 't'}, {112.5, 'X', {}, before}});
        const auto state = b.window->rules().state();

        b.setTarget(target);
        b.clock.now = 200;
        long draws = b.host.draws;
        b.click("Command4");
        ASSERT_EQ(b.messages.shown.size(), 1u);
        EXPECT_NE(b.messages.shown[0].find(target), std::u16string::npos);
        EXPECT_EQ(b.screen(), before);
        EXPECT_EQ(b.window->rules().state().GameStart, state.GameStart);
        EXPECT_EQ(b.window->rules().state().ProblemNumber, state.ProblemNumber);
        EXPECT_LE(b.host.draws - draws, 4 * Mivor10::kRandomDraws + 1);  // a bounded search
        play(b, {{240, 't', {}, before}});
        b.setTarget(u"10");
        play(b, {{300, 'S', {3, 1, 9, 2}, "1|||Start||| [8 － 2 ＋ 4 ÷ 1] 3192 ＋＋＋ ONX"}});
    }
}

// Stop under a target the digits no longer reach has no example answer to show; Next under
// one counts the problem, then ends the game.
TEST(Targets, TargetBecomingUnreachableMidGame) {
    WindowBench stopped;
    stopped.startAt(100, {3, 1, 9, 2});
    stopped.setTarget(u"999");
    stopped.click("Command6");
    EXPECT_EQ(stopped.screen(), "1|||Start||| [] 3192 ＋＋＋ S");

    WindowBench b;
    b.startAt(100, {3, 1, 9, 2});
    b.setTarget(u"0.123");
    b.click("Command5");
    EXPECT_EQ(b.messages.shown.size(), 1u);
    EXPECT_EQ(b.screen(), "2||1|Start|||0% [] 3192 ＋＋＋ S");
}

}  // namespace
}  // namespace pelmora::game
