// What a screen reader hears, read through Qt's accessibility interface, and the tooltips; where
// the example answer shows, they list every solution of the problem, numbered, in the order
// pelmora-solve --all prints them.
#include "game/window/accessibility.h"
#include "game_bench.h"
#include "tools/process.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QPushButton>
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
        // The notice holds what was last said, nothing before the first game.
        if (!widget->isVisibleTo(b.window.get()) || widget->objectName() == "Announcement")
            continue;
        EXPECT_TRUE(hasJapanese(accessibleName(widget))) << widget->objectName().toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 30);
    // A reader also hears the operator box's choice as its value.
    auto* combo = QAccessible::queryAccessibleInterface(b.find<QWidget>("Combo1(0)"));
    EXPECT_EQ(combo->text(QAccessible::Value), q(u"＋"));
    for (bool played : {false, true}) {
        if (played) {  // a correct answer and a skipped problem
            b.step(100, 'S', "3192");
            b.step(110.5, 't');
            b.choose(u"＋×－");
            b.step(110.5, 'O', "1234");
            b.step(111.5, 't');
            b.step(111.5, 'N', "8241");
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

TEST(SolutionsList, SkippedProblemListsWhatPelmoraSolveAllFinds) {
    WindowBench b;
    for (const QStringList& row : testing::cases("solutions_list")) {  // digits skipped, target
        b.setTarget(row[1].toStdU16String().c_str());
        b.step(1000, 'S', row[0]);
        std::string held = b.heldDigits();
        b.click("Command5");
        auto* label = b.find<QLabel>("Label6");
        ASSERT_FALSE(label->text().isEmpty()) << held;
        auto solved = pelmora::testing::runProcess(
            {PELMORA_SOLVE_PATH, "--target", testing::s(row[1]), held, "--all"});
        ASSERT_EQ(solved.status, 0) << held << solved.err;
        QStringList lines = QString::fromStdString(solved.out).split('\n', Qt::SkipEmptyParts);
        QString expected = q(u"この問題の答えは全部で %1 通り（探した順）").arg(lines.size());
        for (int i = 0; i < lines.size(); ++i)
            expected += QStringLiteral("\n%1）%2").arg(i + 1).arg(lines[i]);
        EXPECT_EQ(label->toolTip(), expected) << held;
        EXPECT_EQ(label->accessibleDescription(), expected) << held;
        EXPECT_TRUE(expected.contains(q(u"\n1）") + label->text())) << held;
        b.click("Command6");
    }
}

// The window's own accessible interfaces on plain widgets: a list read by its choice, a focus
// place read by the text set for it, unspoken children.
// Every read of the text interface gives the text or the asked part of it, and nothing moves.
void expectReadOnlyText(QAccessibleInterface* face, const QString& text) {
    QAccessibleTextInterface* t = face->textInterface();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->text(0, -1), text);
    EXPECT_EQ(t->text(1, 2), text.mid(1, 1));
    EXPECT_EQ(t->text(3, 1), "");
    EXPECT_EQ(t->characterCount(), text.size());
    EXPECT_EQ(face->text(QAccessible::Value), text);
    int start = -1, end = -1;
    t->selection(0, &start, &end);
    EXPECT_EQ(start + end, 0);
    t->attributes(0, &start, &end);
    EXPECT_EQ(end, text.size());
    t->addSelection(0, 1);
    t->setSelection(0, 0, 1);
    t->removeSelection(0);
    t->setCursorPosition(1);
    t->scrollToSubstring(0, 1);
    EXPECT_EQ(t->selectionCount() + t->cursorPosition() + t->offsetAtPoint({}), -1);
    EXPECT_EQ(t->characterRect(0).size(), static_cast<QWidget*>(face->object())->size());
    EXPECT_TRUE(t->characterRect(int(text.size())).isNull());
    EXPECT_EQ(t->text(0, -1), text);
}

TEST(AccessibleText, ListReadsItsChoiceAndPlaceReadsItsSpokenText) {
    installAccessibility();
    QWidget container;
    letChildrenBeUnspoken(&container);
    auto* box = new QComboBox(&container);
    readChoiceAsText(box);  // before anything asks for its interface, as the window does
    box->addItems({"＋", "－"});
    box->setAccessibleName("1 番目の演算子");
    auto* heading = new QLineEdit(&container);
    markUnspoken(heading);
    auto* place = new QLineEdit("Text3", &container);
    setSpokenText(place, "3 ＋ 1");
    setSpokenText(place, "3 ＋ 1 × 9");

    QAccessibleInterface* boxFace = QAccessible::queryAccessibleInterface(box);
    EXPECT_EQ(boxFace->text(QAccessible::Name), "1 番目の演算子 ＋");
    expectReadOnlyText(boxFace, "＋");
    box->setCurrentIndex(1);
    expectReadOnlyText(boxFace, "－");
    EXPECT_EQ(boxFace->text(QAccessible::Name), "1 番目の演算子 －");
    EXPECT_TRUE(boxFace->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::showMenuAction()));
    boxFace->actionInterface()->doAction(QAccessibleActionInterface::showMenuAction());
    EXPECT_TRUE(box->view()->isVisible());
    box->hidePopup();

    QAccessibleInterface* placeFace = QAccessible::queryAccessibleInterface(place);
    expectReadOnlyText(placeFace, "3 ＋ 1 × 9");
    EXPECT_TRUE(placeFace->state().readOnly);

    QAccessibleInterface* group = QAccessible::queryAccessibleInterface(&container);
    ASSERT_EQ(group->childCount(), 2);
    EXPECT_EQ(group->child(0), boxFace);
    EXPECT_EQ(group->child(1), placeFace);
    EXPECT_EQ(group->child(2), nullptr);
    EXPECT_EQ(group->indexOfChild(placeFace), 1);
    EXPECT_EQ(group->indexOfChild(QAccessible::queryAccessibleInterface(heading)), -1);
    EXPECT_EQ(group->indexOfChild(nullptr), -1);
}

TEST(AccessibleText, ButtonsAndListsAreDescribedUntilTheFocusFirstLeavesThem) {
    installAccessibility();
    QWidget window;
    auto* described = new QPushButton("Go", &window);
    auto* tipped = new QPushButton("Stop", &window);
    auto* box = new QComboBox(&window);
    tipped->setToolTip("tip");
    box->setToolTip("box tip");
    readChoiceAsText(box);
    describeOnce(described, "keys");
    describeOnce(tipped);
    int clicks = 0;
    QObject::connect(described, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(described);
    EXPECT_EQ(face->text(QAccessible::Name), "Go");  // no accessible name: the caption
    EXPECT_EQ(face->role(), QAccessible::Button);
    face->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1);
    described->setDown(true);
    EXPECT_TRUE(face->state().pressed);
    for (QWidget* widget : {static_cast<QWidget*>(described), static_cast<QWidget*>(tipped),
                            static_cast<QWidget*>(box)}) {
        QAccessibleInterface* w = QAccessible::queryAccessibleInterface(widget);
        const QString first = w->text(QAccessible::Description);
        EXPECT_EQ(first, widget == described ? "keys" : widget == tipped ? "tip" : "box tip");
        widget->setFocus();
        EXPECT_EQ(w->text(QAccessible::Description), first);  // until the focus leaves
        window.setFocus();
        EXPECT_EQ(w->text(QAccessible::Description), "");
        widget->setFocus();
        EXPECT_EQ(w->text(QAccessible::Description), "");
    }
    face->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
    EXPECT_TRUE(described->hasFocus());
}

}  // namespace
}  // namespace pelmora::game
