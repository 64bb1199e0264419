// What a screen reader hears, read through Qt's accessibility interface, and the tooltips.
#include "game_bench.h"

#include <QAccessible>
#include <QAccessibleInterface>

#include <gtest/gtest.h>

namespace pelmora::game {
namespace {

using testing::q;
using testing::WindowBench;

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(face, nullptr) << widget->objectName().toStdString();
    return face ? face->text(QAccessible::Name) : QString();
}

bool hasJapanese(const QString& text) {
    for (QChar c : text) {
        char16_t u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
            (u >= 0xFF61 && u <= 0xFF9F))
            return true;
    }
    return false;
}

struct NameRow {
    const char* control;
    const char16_t* name;
};

void expectNames(WindowBench& b, std::initializer_list<NameRow> rows) {
    for (const auto& row : rows)
        EXPECT_EQ(accessibleName(b.find<QWidget>(row.control)), q(row.name)) << row.control;
}

TEST(ScreenReader, EveryVisibleControlHasAJapaneseName) {
    WindowBench b;
    int checked = 0;
    for (QWidget* widget : b.window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(b.window.get())) continue;
        QString name = accessibleName(widget);
        EXPECT_TRUE(hasJapanese(name))
            << widget->objectName().toStdString() << ": " << name.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 30);
}

TEST(ScreenReader, CountersAreNamedByTheirHeadings) {
    WindowBench b;
    const char16_t* headings[] = {u"問題",     u"正解",   u"不正解", u"経過時間",
                                  u"残り時間", u"点　数", u"正解率", u"正解例"};
    auto expectNamed = [&](std::initializer_list<const char*> values) {
        for (int i = 0; i < 8; ++i) {
            const QString value = QString::fromUtf8(values.begin()[i]);
            QWidget* label =
                b.find<QWidget>(i < 7 ? QStringLiteral("Label4(%1)").arg(i) : "Label6");
            EXPECT_EQ(accessibleName(label),
                      value.isEmpty() ? q(headings[i]) : q(headings[i]) + " " + value);
        }
    };
    // Blank counters say only what they count.
    expectNamed({"", "", "", "", "", "", "", ""});
    b.startAt(100, {3, 1, 9, 2});
    b.tickAt(110.5);
    b.choose(u"＋", u"×", u"－");
    b.host.queue({1, 2, 3, 4});
    b.click("Command2");
    b.tickAt(111.5);
    b.host.queue({3, 1, 9, 2});
    b.click("Command5");
    expectNamed({"3", "1", "1", "11", "29", "2", "50%", "1 ＋ 2 ＋ 3 ＋ 4"});
}

TEST(ScreenReader, DigitPicturesAreNamedByTheDigitOnEveryDeal) {
    WindowBench b;
    auto expectDigits = [&](const char* digits) {
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(accessibleName(b.find<QWidget>(QStringLiteral("Image2(%1)").arg(i))),
                      q(u"数字 ") + QChar(digits[i]))
                << digits;
    };
    expectDigits("1234");
    b.startAt(100, {3, 1, 9, 2});
    expectDigits("3192");
    b.host.queue({8, 2, 4, 1});
    b.click("Command5");
    expectDigits("8241");
}

TEST(ScreenReader, BoxesAndButtonsSayWhatTheyAre) {
    WindowBench b;
    expectNames(b, {{"Combo1(0)", u"1 番目の演算子"},
                    {"Combo1(1)", u"2 番目の演算子"},
                    {"Combo1(2)", u"3 番目の演算子"},
                    {"Text2", u"目標の値"},
                    {"Text3", u"キー入力"},
                    {"Command4", u"スタート"},
                    {"Command2", u"OK（答え合わせ）"},
                    {"Command5", u"先に進む"},
                    {"Command6", u"中止"},
                    {"Command3", u"閉じる"}});
    // A reader also hears the operator box's choice and the target as values.
    auto* combo = QAccessible::queryAccessibleInterface(b.find<QWidget>("Combo1(0)"));
    EXPECT_EQ(combo->text(QAccessible::Value), q(u"＋"));
}

struct TipRow {
    const char* control;
    std::vector<const char16_t*> mentions;
};

TEST(Tooltips, ButtonsAndOperatorBoxesNameTheirKeys) {
    const TipRow rows[] = {
        {"Command4", {u"Enter"}},
        {"Command2", {u"Enter"}},
        {"Command5", {u"スペース"}},
        {"Command6", {u"Esc"}},
        {"Command3", {u"終了"}},
        {"Combo1(0)", {u"1 番目", u"+ - * /", u"Backspace"}},
        {"Combo1(2)", {u"3 番目", u"+ - * /", u"Backspace"}},
    };
    WindowBench b;
    for (const auto& row : rows) {
        QString tip = b.find<QWidget>(row.control)->toolTip();
        EXPECT_TRUE(hasJapanese(tip)) << row.control;
        for (const char16_t* mention : row.mentions)
            EXPECT_TRUE(tip.contains(q(mention))) << row.control << ": " << tip.toStdString();
    }
}

}  // namespace
}  // namespace pelmora::game
