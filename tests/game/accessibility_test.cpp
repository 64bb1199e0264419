// What a screen reader hears, read through Qt's accessibility interface, and the tooltips.
#include "game_bench.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QRegularExpression>

namespace pelmora::game {
namespace {

using testing::q;
using testing::WindowBench;

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(face, nullptr) << widget->objectName().toStdString();
    return face ? face->text(QAccessible::Name) : QString();
}

bool hasJapanese(const QString& text) {  // kana, kanji or half-width katakana
    return text.contains(
        QRegularExpression("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}\\x{FF61}-\\x{FF9F}]"));
}

TEST(ScreenReader, EveryVisibleControlHasAJapaneseNameAndTheBoxesSayWhatTheyAre) {
    WindowBench b;
    int checked = 0;
    for (QWidget* widget : b.window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(b.window.get())) continue;
        EXPECT_TRUE(hasJapanese(accessibleName(widget))) << widget->objectName().toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 30);
    for (const QStringList& row : testing::cases("screen_reader"))
        EXPECT_EQ(accessibleName(b.find(row[0])), row[1]) << testing::s(row[0]);
    // A reader also hears the operator box's choice as its value.
    auto* combo = QAccessible::queryAccessibleInterface(b.find<QWidget>("Combo1(0)"));
    EXPECT_EQ(combo->text(QAccessible::Value), q(u"＋"));
}

TEST(ScreenReader, CountersAreNamedByTheirHeadingsAndDigitsByTheDigitOnEveryDeal) {
    WindowBench b;
    const char16_t* headings[] = {u"問題",     u"正解",   u"不正解", u"経過時間",
                                  u"残り時間", u"点　数", u"正解率", u"正解例"};
    auto expectNamed = [&](std::initializer_list<const char*> values, const char* digits) {
        for (int i = 0; i < 8; ++i) {
            const QString value = QString::fromUtf8(values.begin()[i]);
            QWidget* label =
                b.find<QWidget>(i < 7 ? QStringLiteral("Label4(%1)").arg(i) : "Label6");
            EXPECT_EQ(accessibleName(label),
                      value.isEmpty() ? q(headings[i]) : q(headings[i]) + " " + value);
        }
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(accessibleName(b.find<QWidget>(QStringLiteral("Image2(%1)").arg(i))),
                      q(u"数字 ") + QChar(digits[i]));
    };
    expectNamed({"", "", "", "", "", "", "", ""}, "1234");  // blank counters say what they count
    b.startAt(100, "3192");
    b.tickAt(110.5);
    b.choose(u"＋×－");
    b.deal("1234");
    b.click("Command2");
    b.tickAt(111.5);
    b.deal("8241");
    b.click("Command5");
    expectNamed({"3", "1", "1", "11", "29", "2", "50%", "1 ＋ 2 ＋ 3 ＋ 4"}, "8241");
}

TEST(Tooltips, ButtonsAndOperatorBoxesNameTheirKeys) {
    WindowBench b;
    for (const QStringList& row : testing::cases("tooltips")) {
        QString tip = b.find(row[0])->toolTip();
        EXPECT_TRUE(hasJapanese(tip)) << testing::s(row[0]);
        for (const QString& mention : row.mid(1))
            EXPECT_TRUE(tip.contains(mention)) << testing::s(row[0]) << ": " << testing::s(tip);
    }
}

}  // namespace
}  // namespace pelmora::game
