// What a screen reader reads from the window's own accessible interfaces, on plain widgets:
// a list read by its choice, a focus place read by the text set for it, unspoken children.
#include "game/window/accessibility.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace pelmora::game {
namespace {

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
    EXPECT_TRUE(t->characterRect(0).isNull());
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
    EXPECT_EQ(boxFace->text(QAccessible::Name), "1 番目の演算子");
    expectReadOnlyText(boxFace, "＋");
    box->setCurrentIndex(1);
    expectReadOnlyText(boxFace, "－");
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

}  // namespace
}  // namespace pelmora::game
