// The real window on a fake clock and a scripted random source, by its buttons and by the keyboard.
#include <pelmora/conversions.h>
#include "game/rules/solver.h"
#include "game_bench.h"

#include <QImage>
#include <QTimer>

namespace pelmora::game {
namespace {

using testing::q;
using testing::s;
using testing::WindowBench;

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
    b.step(5000, 't');
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
    WindowBench b(false, &first);
    Mivor10Window& window = *b.window;
    ASSERT_FALSE(window.programEnded());
    window.show();
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window.showMinimized();

    // Someone merely checking whether we run is no launch.
    QLocalSocket probe;
    ASSERT_TRUE(testing::reach(probe, name, 1000));
    QTest::qWait(100);
    EXPECT_EQ(QApplication::activeWindow(), &other);
    EXPECT_TRUE(window.isMinimized());

    InstanceGuard second(name);
    EXPECT_TRUE(second.anotherInstanceRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }, 2000));
    EXPECT_FALSE(window.isMinimized());
}

TEST(WindowLayout, ControlsStandWhereTheFormPutsThemAndShowTheirColours) {
    WindowBench b;
    EXPECT_EQ(b.window->size(), QSize(547, 270));
    for (const QStringList& row : testing::cases("controls")) {
        QWidget* widget = b.find(row[0]);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->inherits(qPrintable(row[1]))) << s(row[0]);
        EXPECT_EQ(widget->geometry(),
                  QRect(row[2].toInt(), row[3].toInt(), row[4].toInt(), row[5].toInt()))
            << s(row[0]);
        EXPECT_EQ(widget->isHidden(), row[6] == "1") << s(row[0]);
    }
    EXPECT_EQ(b.find("Label4(6)")->parentWidget()->objectName(), "Frame1");
    EXPECT_EQ(b.find("Label4(1)")->font().pointSizeF(), 12.0);
    EXPECT_TRUE(b.find("Label4(1)")->font().bold());
    EXPECT_EQ(b.find("Text2")->font().pointSizeF(), 20.25);
    EXPECT_EQ(b.text("Command4") + b.text("Command5"), q(u"ｽﾀｰﾄ先に進む"));

    QImage image = b.window->grab().toImage();
    for (const QStringList& p : testing::cases("pixels")) {
        QPoint at = b.find(p[0])->mapTo(b.window.get(), QPoint(p[1].toInt(), p[2].toInt()));
        EXPECT_EQ(QColor(image.pixel(at)), QColor(p[3].toInt(), p[4].toInt(), p[5].toInt()))
            << s(p[0]);
    }
}

TEST(AnswerCheck, PointsFollowTheSecondsLeftShown) {
    for (const QStringList& row : testing::cases("points")) {
        WindowBench b;
        b.step(100, 'S', "3192");
        b.step(100 + row[0].toDouble(), 't');
        EXPECT_EQ(b.counter(4), row[1]);
        for (int solved : {1, 2}) {  // until the next tick the new problem scores the same
            b.choose(u"＋×－");
            b.step(b.clock.now, 'O', "3192");
            EXPECT_EQ(b.counter(5), QString::number(solved * row[2].toInt())) << s(row[1]);
        }
    }
}

TEST(TimedGame, TimeoutsStopCloseTheGameLimitTargetsAndTheFormulaBoxAsRowsOfSteps) {
    std::unique_ptr<WindowBench> b;
    QString game;
    for (const QStringList& r : testing::cases("games")) {
        if (r[0] != game) b = std::make_unique<WindowBench>(), game = r[0];
        const char action = r[2][0].toLatin1();
        const std::string where = s(game + " " + r[1]);
        const auto colour = b->find<QLabel>("Label4(4)")->palette().color(QPalette::WindowText);
        if (action == 'c') { EXPECT_EQ(colour == Qt::red, r[4] == "red") << where; }
        if (action == 'W') b->find<QLineEdit>(r[3])->setText(r[4]);
        if (action == 'w') { EXPECT_EQ(s(b->text(r[3])), s(r[4])) << where; }
        if (action == 'e') {
            EXPECT_TRUE(b->program.ended == 1 && b->window->programEnded()) << where;
        }
        if (action == 'm') { EXPECT_EQ(b->messages.shown.size(), r[4].toUInt()) << where; }
        if (action == 'f') { EXPECT_EQ(b->window->focusWidget(), b->find(r[4])) << where; }
        if (action == 'p') b->find(r[4])->setFocus();
        if (action == 'o') b->choose(r[4].toStdU16String().c_str());
        if (QStringLiteral("SONXCFtT").contains(QChar(action)))
            b->step(r[1].toDouble(), action, r.value(3), r.value(4));
    }
}

TEST(Targets, OnlyDigitsThatReachTheTargetAreDealt) {
    WindowBench b;
    b.setTarget(u"２４");  // full-width digits are that number
    b.step(100, 'S', "11113811");
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
    b.click("Command6");
    b.setTarget(u"6561");  // reached by 9999 alone
    b.step(200, 'S');
    EXPECT_TRUE(b.messages.shown.empty());
    EXPECT_EQ(b.shownDigits(), "9999");
    // Reached by 8999, 9899, 9989 and 9998 only: when every draw misses, a last one picks among
    // them, and a new target is searched anew.
    b.click("Command6");
    b.setTarget(u"5832");
    b.step(300, 'S', QString(4 * Mivor10::kRandomDraws, u'1') + u'9');
    EXPECT_EQ(b.shownDigits(), "9998");
}

TEST(Targets, StartWithATargetNoDigitsReachChangesNothingOnScreen) {
    for (const char16_t* target : {u"0.123", u"1E999", u"３０４"}) {
        WindowBench b;
        b.step(100, 'S', "3192");  // a finished game's results stay on screen
        b.choose(u"＋×－");
        const char* before = "2|1||12|18|1|100% [8 － 2 ＋ 4 ÷ 1] 8241 ＋＋＋ S";
        b.step(100, 'O', "8241");
        b.step(112.5, 't');
        b.step(112.5, 'X', {}, before);
        const auto state = b.window->rules().state();

        b.setTarget(target);
        const long draws = b.host.draws;
        b.step(200, 'S');
        ASSERT_EQ(b.messages.shown.size(), 1u);
        EXPECT_NE(b.messages.shown[0].find(target), std::u16string::npos);
        EXPECT_EQ(b.screen(), before);
        EXPECT_EQ(b.window->rules().state().GameStart, state.GameStart);
        EXPECT_EQ(b.window->rules().state().ProblemNumber, state.ProblemNumber);
        EXPECT_LE(b.host.draws - draws, 4 * Mivor10::kRandomDraws + 1);  // a bounded search
        b.step(240, 't', {}, before);
        b.setTarget(u"10");
        b.step(300, 'S', "3192", "1|||Start||| [8 － 2 ＋ 4 ÷ 1] 3192 ＋＋＋ ONX");
    }
}

// Keys and clicks as a player gives them (the script letters are those of WindowBench::play):
// every key goes to whatever widget holds the focus, so no test says where a key should land.
struct KeyboardBench : testing::WindowBench {
    KeyboardBench() {
        clock.now = 100;
        window->show();  // active, so that it has a focus widget
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
};

TEST(KeyboardPlay, WholeGameWithTheKeyboardAlone) {
    KeyboardBench b;
    for (const QStringList& step : testing::cases("keyboard")) {
        b.deal(step[0]);
        b.play(step[1].toStdU16String().c_str());
        EXPECT_EQ(b.screen(), s(step[2])) << s(step[1]);
    }
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
    for (const QStringList& row : testing::cases("key_guards")) {
        KeyboardBench b;
        b.deal(QString("3192").repeated(8));
        b.play(row[0].toStdU16String().c_str());
        EXPECT_EQ(b.window->rules().state().Running, row[1].toInt()) << s(row[0]);
        EXPECT_EQ(b.counter(0) + "/" + b.counter(1) + "/" + b.counter(2), row[2]) << s(row[0]);
        EXPECT_EQ(framedBox(b), row[3].toInt()) << s(row[0]);
        if (row.size() > 4) { EXPECT_EQ(b.target(), row[4]) << s(row[0]); }
    }
}

}  // namespace
}  // namespace pelmora::game
