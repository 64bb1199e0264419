// The real window on a fake clock and a scripted random source, by its buttons and by the keyboard.
#include <pelmora/conversions.h>
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
    EXPECT_EQ(b.window->windowTitle(), QString::fromStdU16String(windowCaption(builtVersion())));
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
    QObject::connect(&first, &InstanceGuard::raiseRequested, &window, &Mivor10Window::bringToFront);
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

TEST(WindowLayout, EveryShownControlLiesInsideTheWindowAndTheirColoursShow) {
    WindowBench b;
    EXPECT_EQ(b.window->size(), QSize(547, 270));
    // Text3 holds the focus from far outside; the hidden controls may lie anywhere.
    for (QWidget* widget : b.window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (widget->isHidden() || widget->objectName() == "Text3") continue;
        EXPECT_TRUE(b.window->rect().contains(widget->geometry())) << s(widget->objectName());
    }
    EXPECT_TRUE(b.find("Text3")->isVisibleTo(b.window.get()));
    EXPECT_FALSE(b.window->rect().intersects(b.find("Text3")->geometry()));
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

// The handlers' rows run on the rules alone (tests/rules); these show what the window adds.
TEST(TimedGame, TheWindowShowsTheRedSecondsMovesTheFocusAndEnds) {
    std::unique_ptr<WindowBench> b;
    QString game;
    for (const QStringList& r : testing::cases("window_games")) {
        if (r[0] != game) b = std::make_unique<WindowBench>(), game = r[0];
        const char action = r[2][0].toLatin1();
        const std::string where = s(game + " " + r[1]);
        const auto colour = b->find<QLabel>("Label4(4)")->palette().color(QPalette::WindowText);
        if (action == 'c') { EXPECT_EQ(colour == Qt::red, r[4] == "red") << where; }
        if (action == 'e') {
            EXPECT_TRUE(b->program.ended == 1 && b->window->programEnded()) << where;
        }
        if (action == 'f') { EXPECT_EQ(b->window->focusWidget(), b->find(r[4])) << where; }
        if (action == 'p') b->find(r[4])->setFocus();
        if (action == 'o') b->choose(r[4].toStdU16String().c_str());
        if (QStringLiteral("SONXCFtT").contains(QChar(action)))
            b->step(r[1].toDouble(), action, r.value(3), r.value(4));
    }
}

// Keys and clicks as a player gives them (the letters of tests/common/table.h):
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
