// The real window on a fake clock and a scripted random source: load, answers, the timed
// game, Stop, targets and Close.
#include <pelmora/conversions.h>
#include "game/rules/solver.h"
#include "game_bench.h"

#include <QApplication>
#include <QImage>
#include <QLocalSocket>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace pelmora::game {
namespace {

using testing::q;
using testing::WindowBench;

const QColor kRed(255, 0, 0);

// Start is on only between games, OK, Next and Stop only during one; Close always.
void expectButtons(WindowBench& b, bool playing) {
    EXPECT_EQ(b.enabled("Command4"), !playing);
    for (const char* button : {"Command2", "Command5", "Command6"})
        EXPECT_EQ(b.enabled(button), playing) << button;
    EXPECT_TRUE(b.enabled("Command3"));
}

TEST(WindowLoad, OpensIdleShowingOneTwoThreeFour) {
    WindowBench b;
    for (int i = 0; i < 7; ++i) EXPECT_EQ(b.counter(i), "") << i;
    EXPECT_EQ(b.text("Label6"), "");
    expectButtons(b, false);
    EXPECT_EQ(b.shownDigits(), "1234");
    EXPECT_EQ(b.heldDigits(), "1234");
    EXPECT_EQ(b.target(), "10");
    for (int i = 0; i < 3; ++i) {
        auto* combo = b.find<QComboBox>(QStringLiteral("Combo1(%1)").arg(i));
        ASSERT_EQ(combo->count(), 4);
        EXPECT_EQ(combo->itemText(0) + combo->itemText(1) + combo->itemText(2) + combo->itemText(3),
                  q(u"＋－×÷"));
        EXPECT_EQ(combo->currentText(), q(u"＋"));
    }
    EXPECT_TRUE(b.window->windowTitle().startsWith(" Pelmora     Ver1.00" + QString(20, ' ')));
    EXPECT_EQ(b.window->focusWidget(), b.find<QPushButton>("Command4"));
    EXPECT_EQ(b.host.seeds.size(), 1u);
    auto* timer = b.find<QTimer>("Timer1");
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());

    b.tickAt(5000);
    for (int i = 0; i < 7; ++i) EXPECT_EQ(b.counter(i), "") << i;
}

TEST(WindowLoad, SecondInstanceEndsBeforeShowing) {
    WindowBench b(true);
    EXPECT_EQ(b.program.ended, 1);
    EXPECT_TRUE(b.window->programEnded());
    EXPECT_FALSE(b.window->isVisible());
    EXPECT_FALSE(b.find<QTimer>("Timer1")->isActive());
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
    EXPECT_TRUE(window.isVisible());
}

struct ControlRow {
    const char* name;
    const char* kind;
    QRect place;
    bool hidden;
};

TEST(WindowLayout, ControlsStandWhereTheFormPutsThem) {
    // Twips / 15, rounded; places inside Frame1 are relative to it.
    const ControlRow rows[] = {
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
    EXPECT_EQ(b.find<QLabel>("Label4(6)")->parentWidget()->objectName(), "Frame1");
    auto* counterFont = b.find<QLabel>("Label4(1)");
    EXPECT_EQ(counterFont->font().pointSizeF(), 12.0);
    EXPECT_TRUE(counterFont->font().bold());
    EXPECT_EQ(b.find<QLineEdit>("Text2")->font().pointSizeF(), 20.25);
    EXPECT_EQ(b.find<QPushButton>("Command4")->text(), q(u"ｽﾀｰﾄ"));
    EXPECT_EQ(b.find<QPushButton>("Command5")->text(), q(u"先に進む"));
}

TEST(WindowLayout, GrabShowsCountersTargetAndDigitPictures) {
    WindowBench b;
    QImage image = b.window->grab().toImage();
    auto at = [&](const char* name, int x, int y) {
        QWidget* w = b.find<QWidget>(name);
        return QColor(image.pixel(w->mapTo(b.window.get(), QPoint(x, y))));
    };
    EXPECT_EQ(at("Label4(0)", 3, 3), QColor(128, 128, 128));
    EXPECT_EQ(at("Label4(6)", 3, 3), QColor(0, 0, 255));
    EXPECT_EQ(at("Label4(5)", 3, 3), QColor(0, 0, 255));
    EXPECT_EQ(at("Text2", 6, 6), QColor(128, 128, 128));
    // Image2(0) shows the digit 1: 8x9 pixels stretched to 32x41.
    EXPECT_EQ(at("Image2(0)", 1, 1), QColor(255, 255, 255));    // transparent border
    EXPECT_EQ(at("Image2(0)", 5, 6), QColor(51, 51, 51));       // the box
    EXPECT_EQ(at("Image2(0)", 17, 11), QColor(255, 255, 255));  // the stroke of the 1
    EXPECT_EQ(at("Image2(0)", 9, 11), QColor(51, 51, 51));
}

TEST(AnswerCheck, CorrectWrongCorrectGivesSixtySixPercent) {
    WindowBench b;
    b.startAt(100, {3, 1, 9, 2});
    expectButtons(b, true);
    EXPECT_EQ(b.counter(0), "1");
    EXPECT_EQ(b.counter(3), "Start");
    EXPECT_EQ(b.shownDigits(), "3192");

    // Before the first tick the seconds left read as 0: one point.
    b.choose(u"＋", u"×", u"－");
    b.host.queue({3, 1, 9, 2});
    b.click("Command2");
    EXPECT_EQ(b.counter(1), "1");
    EXPECT_EQ(b.counter(0), "2");
    EXPECT_EQ(b.counter(5), "1");
    EXPECT_EQ(b.counter(6), "100%");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(b.combo(i), q(u"＋"));

    b.choose(u"－", u"÷", u"×");
    b.click("Command2");  // 3-1/9*2 is no 10
    EXPECT_EQ(b.combo(1), q(u"÷"));
    EXPECT_EQ(b.counter(2), "1");
    EXPECT_EQ(b.counter(1), "1");
    EXPECT_EQ(b.counter(0), "2");
    EXPECT_EQ(b.heldDigits(), "3192");
    EXPECT_EQ(b.counter(6), "50%");

    b.choose(u"×", u"＋", u"－");
    b.click("Command2");
    EXPECT_EQ(b.counter(1), "2");
    EXPECT_EQ(b.counter(2), "1");
    EXPECT_EQ(b.counter(0), "3");
    EXPECT_EQ(b.counter(6), "66%");
    EXPECT_EQ(b.counter(5), "2");
}

struct BandRow {
    double elapsed;  // seconds into the problem at the last tick
    const char* shown;
    const char* score;
};

TEST(AnswerCheck, PointsFollowTheSecondsLeftShown) {
    const BandRow rows[] = {
        {0.5, "30", "3"},  {9.5, "21", "3"},  {10.5, "20", "2"},
        {17.5, "13", "2"}, {18.5, "12", "1"}, {29.5, "1", "1"},
    };
    for (const auto& row : rows) {
        WindowBench b;
        b.startAt(100, {3, 1, 9, 2});
        b.tickAt(100 + row.elapsed);
        EXPECT_EQ(b.counter(4), row.shown);
        b.choose(u"＋", u"×", u"－");
        b.host.queue({3, 1, 9, 2});
        b.click("Command2");
        EXPECT_EQ(b.counter(5), row.score) << row.shown;
        // Until the next tick the old seconds left still score the new problem.
        b.choose(u"＋", u"×", u"－");
        b.click("Command2");
        EXPECT_EQ(b.counter(5), QString::number(2 * std::stoi(row.score))) << row.shown;
    }
}

TEST(AnswerCheck, TargetIsShownInItsPlainFormAfterOk) {
    WindowBench b;
    b.startAt(100, {3, 1, 9, 2});
    b.setTarget(u" 10.0 ");
    b.choose(u"＋", u"×", u"－");
    b.click("Command2");
    EXPECT_EQ(b.target(), "10");
    EXPECT_EQ(b.counter(1), "1");

    b.setTarget(u"abc");
    b.click("Command2");
    EXPECT_EQ(b.target(), "0");
    EXPECT_EQ(b.counter(2), "1");
}

TEST(AnswerCheck, HiddenFormulaBoxIsCheckedInsteadOfTheLists) {
    WindowBench b;
    b.click("Command1");  // no game yet: nothing copied
    EXPECT_EQ(b.find<QLineEdit>("Text1")->text(), "");

    b.startAt(100, {3, 1, 9, 2});
    b.choose(u"×", u"＋", u"－");
    b.click("Command1");
    EXPECT_EQ(b.find<QLineEdit>("Text1")->text(), q(u"3×1＋9－2"));
    b.host.queue({9, 9, 9, 9, 1, 2, 3, 4});
    b.click("Command2");
    EXPECT_EQ(b.counter(1), "1");
    EXPECT_EQ(b.shownDigits(), "1234");

    // Only the value counts: "10" is right whatever the digits.
    b.find<QLineEdit>("Text1")->setText("  10 ");
    b.click("Command2");
    EXPECT_EQ(b.find<QLineEdit>("Text1")->text(), "10");
    EXPECT_EQ(b.counter(1), "2");
}

TEST(TimedGame, ProblemLeftAloneTimesOutAndShowsItsExampleAnswer) {
    WindowBench b;
    b.startAt(100, {3, 1, 9, 2});
    b.tickAt(100.4);
    EXPECT_EQ(b.counter(4), "30");
    EXPECT_EQ(b.counter(3), "Start");
    b.tickAt(101.4);
    EXPECT_EQ(b.counter(4), "29");
    EXPECT_EQ(b.counter(3), "1");

    b.tickEverySecond(102.4, 124.4);
    EXPECT_EQ(b.counter(4), "6");
    EXPECT_NE(b.secondsLeftColour(), kRed);
    b.tickAt(125.4);
    EXPECT_EQ(b.counter(4), "5");
    EXPECT_EQ(b.secondsLeftColour(), kRed);
    b.tickEverySecond(126.4, 129.4);
    EXPECT_EQ(b.counter(4), "1");

    b.choose(u"×", u"×", u"÷");
    b.host.queue({1, 2, 3, 4});
    b.tickAt(130.4);
    EXPECT_EQ(b.counter(2), "1");
    EXPECT_EQ(b.counter(0), "2");
    EXPECT_EQ(b.counter(6), "0%");
    EXPECT_EQ(b.text("Label6"), q(u"3 ＋ 1 × 9 － 2"));
    EXPECT_EQ(b.shownDigits(), "1234");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(b.combo(i), q(u"＋"));
    expectButtons(b, true);

    b.tickAt(131.4);
    EXPECT_EQ(b.counter(4), "29");
    EXPECT_NE(b.secondsLeftColour(), kRed);
    b.tickAt(144.4);
    EXPECT_EQ(b.text("Label6"), q(u"3 ＋ 1 × 9 － 2"));
    b.tickAt(145.4);
    EXPECT_EQ(b.text("Label6"), "");
}

TEST(TimedGame, CorrectAnswerClearsTheExampleAnswerAtOnce) {
    WindowBench b;
    b.startAt(100, {3, 1, 9, 2});
    b.host.queue({1, 2, 3, 4});
    b.click("Command5");
    EXPECT_EQ(b.text("Label6"), q(u"3 ＋ 1 × 9 － 2"));
    EXPECT_EQ(b.counter(2), "1");
    b.click("Command2");  // 1+2+3+4
    EXPECT_EQ(b.text("Label6"), "");
    EXPECT_EQ(b.counter(6), "50%");
}

TEST(TimedGame, StopShowsTheExampleAnswerAndGoesIdle) {
    WindowBench b;
    b.startAt(100, {3, 1, 9, 2});
    b.tickAt(120.5);
    b.click("Command6");
    EXPECT_EQ(b.text("Label6"), q(u"3 ＋ 1 × 9 － 2"));
    expectButtons(b, false);
    EXPECT_EQ(b.window->focusWidget(), b.find<QPushButton>("Command4"));
    EXPECT_EQ(b.window->rules().state().Running, 0);

    b.tickAt(140.5);
    b.tickAt(200.5);
    EXPECT_EQ(b.text("Label6"), q(u"3 ＋ 1 × 9 － 2"));
    EXPECT_EQ(b.counter(4), "10");
    EXPECT_EQ(b.counter(3), "20");
    EXPECT_EQ(b.heldDigits(), "3192");

    // A new game starts from scratch but leaves the old example answer up.
    b.startAt(300, {1, 2, 3, 4});
    EXPECT_EQ(b.counter(0), "1");
    for (int i : {1, 2, 4, 5, 6}) EXPECT_EQ(b.counter(i), "") << i;
    EXPECT_EQ(b.counter(3), "Start");
    EXPECT_EQ(b.text("Label6"), q(u"3 ＋ 1 × 9 － 2"));
    EXPECT_EQ(b.window->focusWidget(), b.find<QLineEdit>("Text3"));
}

TEST(TimedGame, GameLimitMeetingTheProblemLimitDealsOneMoreProblem) {
    WindowBench b;
    b.startAt(0, {3, 1, 9, 2});
    b.clock.now = 3571;
    b.host.queue({1, 2, 3, 4});
    b.click("Command5");
    b.tickAt(3600.9);  // 3600 whole seconds: not yet over
    EXPECT_EQ(b.counter(3), "3600");
    expectButtons(b, true);

    // Game 3601 and problem 30 in one tick: Stop, then Next deals and counts one more.
    b.host.queue({9, 1, 1, 1});
    b.tickAt(3601.2);
    EXPECT_EQ(b.counter(3), "3601");
    EXPECT_EQ(b.counter(0), "3");
    EXPECT_EQ(b.counter(2), "2");
    EXPECT_EQ(b.shownDigits(), "9111");
    EXPECT_EQ(b.text("Label6"), q(u"1 ＋ 2 ＋ 3 ＋ 4"));
    EXPECT_EQ(b.window->rules().state().Running, 1);
    EXPECT_TRUE(b.find<QPushButton>("Command6")->isEnabled());
    EXPECT_FALSE(b.find<QPushButton>("Command4")->isEnabled());
    EXPECT_FALSE(b.find<QPushButton>("Command2")->isEnabled());

    // The next tick finds the game limit still passed and stops for good.
    b.tickAt(3602.5);
    expectButtons(b, false);
    EXPECT_EQ(b.counter(0), "3");
    EXPECT_EQ(b.text("Label6"), q(u"9 ＋ 1 ＋ 1 － 1"));
    b.tickAt(3610);
    EXPECT_EQ(b.counter(3), "3602");
}

TEST(TimedGame, GameLimitClearsTheExampleAnswerStopShowedWhenTheProblemIsOld) {
    WindowBench b;
    b.startAt(0, {3, 1, 9, 2});
    b.clock.now = 3580;
    b.host.queue({1, 2, 3, 4});
    b.click("Command5");
    b.tickAt(3601.5);  // game 3601, problem 21: Stop shows the answer, the tick clears it
    expectButtons(b, false);
    EXPECT_EQ(b.text("Label6"), "");
    EXPECT_EQ(b.counter(4), "9");
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

// The target typed in full-width digits is that number.
TEST(Targets, OnlyDigitsThatReachTheTargetAreDealt) {
    WindowBench b;
    b.setTarget(u"２４");
    b.startAt(100, {1, 1, 1, 1, 3, 8, 1, 1});
    EXPECT_TRUE(b.messages.shown.empty());
    EXPECT_EQ(b.shownDigits(), "3811");
    EXPECT_EQ(b.heldDigits(), "3811");
    b.choose(u"×", u"＋", u"－");
    b.click("Command2");
    EXPECT_EQ(b.counter(1), "1");
    EXPECT_EQ(b.target(), "24");

    Evaluator check(b.host);
    for (int i = 0; i < 30; ++i) {
        b.click("Command5");
        auto digits = b.heldDigits();
        DigitTexts texts;
        for (std::size_t k = 0; k < 4; ++k) texts[k] = std::u16string(1, char16_t(digits[k]));
        EXPECT_TRUE(findSolution(check, texts, u"24").has_value()) << digits;
        EXPECT_EQ(b.shownDigits(), digits);
    }
}

TEST(Targets, StartWithATargetNoDigitsReachChangesNothingOnScreen) {
    for (const char16_t* target : {u"0.123", u"99999", u"1E999", u"３０４"}) {
        WindowBench b;
        // A finished game: its results, clocks, digits and example answer are on screen.
        b.startAt(100, {3, 1, 9, 2});
        b.choose(u"＋", u"×", u"－");
        b.host.queue({8, 2, 4, 1});
        b.click("Command2");
        b.tickAt(112.5);
        b.click("Command6");
        auto screen = [&] {
            QStringList all{b.text("Label6")};
            for (int i = 0; i < 7; ++i) all << b.counter(i);
            return all;
        };
        const QStringList before = screen();
        const auto state = b.window->rules().state();

        b.setTarget(target);
        b.clock.now = 200;
        long draws = b.host.draws;
        b.click("Command4");
        ASSERT_EQ(b.messages.shown.size(), 1u);
        EXPECT_NE(b.messages.shown[0].find(target), std::u16string::npos);
        EXPECT_EQ(screen(), before);
        EXPECT_EQ(b.text("Label6"), q(u"8 － 2 ＋ 4 ÷ 1"));
        EXPECT_EQ(b.shownDigits(), "8241");
        EXPECT_EQ(b.heldDigits(), "8241");
        EXPECT_EQ(b.window->rules().state().GameStart, state.GameStart);
        EXPECT_EQ(b.window->rules().state().ProblemNumber, state.ProblemNumber);
        EXPECT_EQ(b.window->rules().state().Running, 0);
        expectButtons(b, false);
        // A bounded number of random deals, not an endless one.
        EXPECT_LE(b.host.draws - draws, 4 * Mivor10::kRandomDraws + 1);

        b.tickAt(240);
        EXPECT_EQ(b.counter(4), before[5]);

        b.setTarget(u"10");
        b.startAt(300, {3, 1, 9, 2});
        expectButtons(b, true);
        EXPECT_EQ(b.shownDigits(), "3192");
        EXPECT_EQ(b.counter(1), "");
    }
}

TEST(Targets, FullWidthSignPointAndSpacesReadTheSameWay) {
    WindowBench b;
    for (auto [typed, shown] : {std::pair{u"　１０．０　", "10"}, std::pair{u"－５", "-5"},
                                std::pair{u"２ ４abc", "24"}}) {
        b.setTarget(typed);
        b.startAt(200, {});
        b.click("Command2");
        EXPECT_EQ(b.target(), shown);
        b.click("Command6");
    }
}

TEST(Targets, RareTargetIsDealtFromTheSequencesThatReachIt) {
    // 6561 = 9*9*9*9 is reached by 9999 alone.
    WindowBench b;
    b.setTarget(u"6561");
    b.startAt(100, {});
    EXPECT_TRUE(b.messages.shown.empty());
    EXPECT_EQ(b.shownDigits(), "9999");
    expectButtons(b, true);
    b.click("Command6");
    EXPECT_EQ(b.text("Label6"), q(u"9 × 9 × 9 × 9"));
}

// Stop under a target the digits no longer reach has no example answer to show; Next under
// one counts the problem, then ends the game.
TEST(Targets, TargetBecomingUnreachableMidGame) {
    WindowBench stopped;
    stopped.startAt(100, {3, 1, 9, 2});
    stopped.setTarget(u"999");
    stopped.click("Command6");
    EXPECT_EQ(stopped.text("Label6"), "");
    expectButtons(stopped, false);

    WindowBench b;
    b.startAt(100, {3, 1, 9, 2});
    b.setTarget(u"0.123");
    b.click("Command5");
    EXPECT_EQ(b.messages.shown.size(), 1u);
    EXPECT_EQ(b.counter(2), "1");
    EXPECT_EQ(b.counter(6), "0%");
    expectButtons(b, false);
}

}  // namespace
}  // namespace pelmora::game
