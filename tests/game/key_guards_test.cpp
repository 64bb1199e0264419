// Quick second presses and the keys between games, played as scripts of keys on the real
// window: E Enter, S Space, X Escape, + * - signs, T the focus into the target box, w a pause
// longer than a double-click, m a mouse click on the window.
#include "game_bench.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace pelmora::game {
namespace {

using testing::q;

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
    QString spoken(const char* control) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(find<QWidget>(control));
        QAccessibleTextInterface* text = face ? face->textInterface() : nullptr;
        return text ? text->text(0, text->characterCount()) : QStringLiteral("(no text)");
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

TEST(ScreenReaderText, BoxesReadTheirChoiceAndTheFocusPlaceTheFormula) {
    PlayedBench b;
    b.play("E");
    EXPECT_EQ(QApplication::focusWidget(), b.find<QWidget>("Text3"));
    const struct {
        const char* script;
        const char16_t* boxes;
        const char16_t* focus;
    } rows[] = {
        {"", u"＋＋＋", u"3 ＋ 1 ＋ 9 ＋ 2 ＝ 10"},
        {"+*", u"＋×＋", u"3 ＋ 1 × 9 ＋ 2 ＝ 10"},
        {"-E", u"＋＋＋", u"正解 1、点数 1。 3 ＋ 1 ＋ 9 ＋ 2 ＝ 10"},
        {"wE", u"＋＋＋", u"不正解 1。 3 ＋ 1 ＋ 9 ＋ 2 ＝ 10"},
        {"/", u"÷＋＋", u"3 ÷ 1 ＋ 9 ＋ 2 ＝ 10"},
    };
    for (const auto& row : rows) {
        b.play(row.script);
        EXPECT_EQ(b.spoken("Combo1(0)") + b.spoken("Combo1(1)") + b.spoken("Combo1(2)"),
                  q(row.boxes))
            << row.script;
        EXPECT_EQ(b.spoken("Text3"), q(row.focus)) << row.script;
    }
}

TEST(ScreenReaderText, EachCounterIsHeardOnceWithItsHeading) {
    testing::WindowBench b;
    QStringList names;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* face) {
        names << face->text(QAccessible::Name);
        for (int i = 0; i < face->childCount(); ++i) walk(face->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(b.window.get()));
    for (const char16_t* heading :
         {u"問題", u"正解", u"不正解", u"経過時間", u"残り時間", u"点　数", u"正解率", u"正解例"})
        EXPECT_EQ(names.count(q(heading)), 1) << QString::fromUtf16(heading).toStdString();
}

}  // namespace
}  // namespace pelmora::game
