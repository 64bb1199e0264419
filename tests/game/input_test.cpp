// Keys and clicks as a player gives them: every key goes to whatever widget holds the focus,
// so the tests never say where a key should land.
#include "game_bench.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace pelmora::game {
namespace {

using testing::q;

// The real window, shown and active, so that it has a focus widget.
struct KeyboardBench : testing::WindowBench {
    KeyboardBench() {
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QWidget* focus() {
        QWidget* widget = QApplication::focusWidget();
        EXPECT_NE(widget, nullptr);
        return widget;
    }
    void key(Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1) {
        for (int i = 0; i < times; ++i) QTest::keyClick(focus(), code, modifiers);
    }
    // ASCII keys, as QTest maps them to key codes: '+' is Key_Plus with the text "+".
    void type(const char* keys) {
        for (const char* k = keys; *k; ++k) QTest::keyClick(focus(), *k);
    }
    // Keys whose text is a full-width character, as a keyboard in full-width mode sends them.
    void typeWide(const char16_t* text) {
        for (QChar c : q(text))
            QTest::sendKeyEvent(QTest::Click, focus(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // What an input method commits when the player confirms the composed text.
    void commit(const char16_t* text) {
        QInputMethodEvent event;
        event.setCommitString(q(text));
        QApplication::sendEvent(focus(), &event);
    }
    int running() { return window->rules().state().Running; }
};

TEST(KeyboardPlay, WholeGameWithTheKeyboardAlone) {
    KeyboardBench b;
    b.clock.now = 100;

    // Start holds the focus at load: Enter presses it.
    b.host.queue({3, 1, 9, 2});
    b.key(Qt::Key_Return);
    ASSERT_EQ(b.running(), 1);
    EXPECT_EQ(b.counter(0).toStdString() + b.shownDigits(), "13192");

    // ASCII signs fill the boxes left to right; x is times. Enter answers.
    b.type("+x-");
    EXPECT_EQ(b.operators(), q(u"＋×－"));
    b.host.queue({3, 1, 9, 2});
    b.key(Qt::Key_Return);
    EXPECT_EQ(b.counter(1) + b.operators(), q(u"1＋＋＋"));

    // Full-width keys; * as times; the keypad's Enter.
    b.typeWide(u"＊＋－");
    EXPECT_EQ(b.operators(), q(u"×＋－"));
    b.host.queue({8, 2, 4, 1});
    b.key(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(b.counter(1), "2");

    // After the third box the next sign starts again at the first; Backspace steps back.
    b.type("//*-");
    EXPECT_EQ(b.operators(), q(u"－÷×"));
    b.key(Qt::Key_Backspace, Qt::NoModifier, 2);
    b.type("+");
    EXPECT_EQ(b.operators(), q(u"－÷＋"));
    b.key(Qt::Key_Backspace, Qt::NoModifier, 3);
    b.type("-+/");
    EXPECT_EQ(b.operators(), q(u"－＋÷"));

    // A wrong answer counts and keeps the problem; the next signs begin at the first box.
    b.typeWide(u"×");
    EXPECT_EQ(b.operators(), q(u"×＋÷"));
    b.key(Qt::Key_Return);  // 8*2+4/1
    EXPECT_EQ((b.counter(1) + b.counter(2)).toStdString() + b.shownDigits(), "218241");
    b.type("-");
    EXPECT_EQ(b.operators(), q(u"－＋÷"));
    b.host.queue({3, 1, 9, 2});
    b.key(Qt::Key_Return);
    EXPECT_EQ(b.counter(1), "3");

    // Space presses Next: the problem counts as incorrect and its example answer shows.
    b.host.queue({1, 2, 3, 4});
    b.key(Qt::Key_Space);
    EXPECT_EQ(b.screen(), "5|3|2|Start||3|60% [3 ＋ 1 × 9 － 2] 1234 ＋＋＋ ONX");

    // An input method commits full-width signs, several at once.
    b.commit(u"＋－");
    b.commit(u"÷");
    EXPECT_EQ(b.operators(), q(u"＋－÷"));
    b.key(Qt::Key_Backspace, Qt::NoModifier, 2);
    b.commit(u"＋");
    b.commit(u"＋");
    EXPECT_EQ(b.operators(), q(u"＋＋＋"));
    b.host.queue({3, 1, 9, 2});
    b.key(Qt::Key_Return);  // 1+2+3+4
    b.key(Qt::Key_Escape);  // Escape presses Stop; Start holds the focus again
    const std::string stopped = b.screen();
    EXPECT_EQ(stopped, "6|4|2|Start||4|66% [3 ＋ 1 × 9 － 2] 3192 ＋＋＋ S");
    b.type("+-*/x");  // between games the game's keys do nothing
    b.key(Qt::Key_Space);
    b.key(Qt::Key_Backspace);
    b.key(Qt::Key_Escape);
    EXPECT_EQ(b.screen(), stopped);
    b.host.queue({3, 1, 9, 2});
    b.key(Qt::Key_Return);
    EXPECT_EQ(b.screen(), "1|||Start||| [3 ＋ 1 × 9 － 2] 3192 ＋＋＋ ONX");
}

TEST(KeyboardPlay, TheTargetBoxTakesTypingAsBefore) {
    KeyboardBench b;
    b.startAt(100, {3, 1, 9, 2});
    ASSERT_EQ(b.running(), 1);

    auto* target = b.find<QLineEdit>("Text2");
    target->setFocus();
    target->selectAll();
    b.type("-5 ");
    b.key(Qt::Key_Backspace);
    EXPECT_EQ(target->text(), "-5");
    EXPECT_EQ(b.operators(), q(u"＋＋＋"));
    EXPECT_EQ(b.counter(2), "");

    // Enter still answers from here: the target is read and shown plain.
    b.key(Qt::Key_Return);
    EXPECT_EQ(b.counter(2), "1");
    EXPECT_EQ(target->text(), "-5");
}

TEST(KeyboardPlay, HeldKeysPressTheirButtonOnce) {
    KeyboardBench b;
    b.startAt(100, {3, 1, 9, 2});
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QApplication::sendEvent(b.focus(), &repeat);
    EXPECT_EQ(b.counter(2), "");
    b.key(Qt::Key_Space);
    EXPECT_EQ(b.counter(2), "1");
}

TEST(KeyboardPlay, FocusFrameOnStartIsDrawnWhenTheWindowOpens) {
    KeyboardBench b;
    auto* start = b.find<QPushButton>("Command4");
    ASSERT_EQ(QApplication::focusWidget(), start);
    EXPECT_TRUE(b.window->testAttribute(Qt::WA_KeyboardFocusChange));
    // The frame is visible: the button looks different without it.
    QImage framed = start->grab().toImage();
    b.window->setAttribute(Qt::WA_KeyboardFocusChange, false);
    QImage plain = start->grab().toImage();
    EXPECT_NE(framed, plain);
}

TEST(OkButton, SecondClickOfADoubleClickAfterACorrectAnswerIsIgnored) {
    KeyboardBench b;
    b.startAt(100, {3, 1, 9, 2});
    auto* ok = b.find<QPushButton>("Command2");
    const double interval = QApplication::doubleClickInterval() / 1000.0;

    // A double-click: press, release, double-click, release. The first click is correct.
    b.choose(u"＋×－");
    b.host.queue({3, 1, 9, 2});
    QTest::mouseClick(ok, Qt::LeftButton);
    b.clock.now += interval / 2;
    QTest::mouseDClick(ok, Qt::LeftButton);
    QTest::mouseRelease(ok, Qt::LeftButton);
    EXPECT_EQ(b.counter(0) + b.counter(1) + b.counter(2), "21");

    // A plain second click inside the interval is ignored as well...
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(b.counter(2), "");
    // ...and one after it counts.
    b.clock.now += interval;
    QTest::mouseClick(ok, Qt::LeftButton);  // ＋ ＋ ＋ on 3 1 9 2
    EXPECT_EQ(b.counter(2), "1");

    // After a wrong answer a quick second click counts: it was meant.
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(b.counter(2), "2");

    // A second Enter right after a correct answer is ignored too.
    b.choose(u"＋×－");
    b.host.queue({3, 1, 9, 2});
    b.key(Qt::Key_Return);
    EXPECT_EQ(b.counter(1), "2");
    b.key(Qt::Key_Return);
    EXPECT_EQ(b.counter(2), "2");
}

}  // namespace
}  // namespace pelmora::game
