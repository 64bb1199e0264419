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

TEST(ScreenReader, EveryVisibleControlHasAJapaneseNameThatSaysWhatItIsAndHolds) {
    WindowBench b;
    int checked = 0;
    for (QWidget* widget : b.window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(b.window.get())) continue;
        EXPECT_TRUE(hasJapanese(accessibleName(widget))) << widget->objectName().toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 30);
    // A reader also hears the operator box's choice as its value.
    auto* combo = QAccessible::queryAccessibleInterface(b.find<QWidget>("Combo1(0)"));
    EXPECT_EQ(combo->text(QAccessible::Value), q(u"＋"));
    for (bool played : {false, true}) {
        if (played) {  // a correct answer and a skipped problem
            b.startAt(100, "3192");
            b.tickAt(110.5);
            b.choose(u"＋×－");
            b.deal("1234");
            b.click("Command2");
            b.tickAt(111.5);
            b.deal("8241");
            b.click("Command5");
        }
        for (const QStringList& row : testing::cases("screen_reader")) {
            const QString& heard = played && !row.value(2).isEmpty() ? row[2] : row[1];
            EXPECT_EQ(accessibleName(b.find(row[0])), heard) << testing::s(row[0]) << played;
        }
    }
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
