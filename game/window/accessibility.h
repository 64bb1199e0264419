// What a screen reader hears beyond what Qt says by itself: operator boxes named by their
// place and read by their choice, a focus place that reads a text of our choosing, headings
// and hidden controls left out, buttons described once, and short texts said as things happen.
#pragma once

#include <QString>

class QAbstractButton;
class QComboBox;
class QWidget;

namespace pelmora::game {

// Call once; later calls do nothing.
void installAccessibility();

// A drop-down list with an accessible name is read by that name followed by its current item,
// with the item as its value and its text, and a change of item is raised as a change of that
// text and name. (Qt on this platform reads a list's current item as its name, whatever name it
// was given.) Its tooltip is read as its description until the focus first leaves it.
void readChoiceAsText(QComboBox* box);

// The container keeps out of the accessible tree those of its children that are marked
// unspoken. Call on the container before anything asks for its accessible interface.
void letChildrenBeUnspoken(QWidget* container);
void markUnspoken(QWidget* widget);

// A screen reader reads this text from the widget instead of its contents, when it asks: a
// change raises no event, since a reader would take it for the echo of the last key.
void setSpokenText(QWidget* widget, const QString& text);
QString spokenText(const QWidget* widget);

// The button's description (its tooltip unless one is given) is read until the focus first
// leaves it; after that the button says only its name.
void describeOnce(QAbstractButton* button, const QString& description = {});

// Says short texts to a screen reader as things happen, without moving the focus: a notice in
// a status line of the window, which a reader speaks, without naming its role, each time it is
// shown. It draws nothing; the notice's name is the last text said, for a reader that reads
// the status line again.
class Announcer {
  public:
    explicit Announcer(QWidget* window);
    void say(const QString& text);

  private:
    QWidget* notice_;
};

}  // namespace pelmora::game
