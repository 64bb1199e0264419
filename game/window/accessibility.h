// What a screen reader hears beyond what Qt says by itself: operator boxes named by their
// place and read by their choice, a focus place that reads a text of our choosing, and
// headings left out where the control they head already says them.
#pragma once

#include <QString>

class QComboBox;
class QWidget;

namespace pelmora::game {

// Call once; later calls do nothing.
void installAccessibility();

// A drop-down list with an accessible name is read by that name, with its current item as
// its value and its text, and a change of item is raised as a change of that text. (Qt on
// this platform reads a list's current item as its name, whatever name it was given.)
void readChoiceAsText(QComboBox* box);

// The container keeps out of the accessible tree those of its children that are marked
// unspoken. Call on the container before anything asks for its accessible interface.
void letChildrenBeUnspoken(QWidget* container);
void markUnspoken(QWidget* widget);

// A screen reader reads this text from the widget instead of its contents, and hears each
// change of it.
void setSpokenText(QWidget* widget, const QString& text);
QString spokenText(const QWidget* widget);

}  // namespace pelmora::game
