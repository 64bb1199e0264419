// Keys and clicks as a player gives them (the script letters are those of WindowBench::play):
// every key goes to whatever widget holds the focus, so no test says where a key should land.
#include "game_bench.h"

namespace pelmora::game {
namespace {

using testing::q;

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
        EXPECT_EQ(b.screen(), testing::s(step[2])) << testing::s(step[1]);
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
        EXPECT_EQ(b.window->rules().state().Running, row[1].toInt()) << testing::s(row[0]);
        EXPECT_EQ(b.counter(0) + "/" + b.counter(1) + "/" + b.counter(2), row[2])
            << testing::s(row[0]);
        EXPECT_EQ(framedBox(b), row[3].toInt()) << testing::s(row[0]);
        if (row.size() > 4) { EXPECT_EQ(b.target(), row[4]) << testing::s(row[0]); }
    }
}

}  // namespace
}  // namespace pelmora::game
