#include "game/window/accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QEvent>
#include <QVariant>
#include <QWidget>

namespace pelmora::game {

namespace {

const char* const kUnspoken = "pelmoraUnspoken";
const char* const kHidesChildren = "pelmoraHidesChildren";
const char* const kSpoken = "pelmoraSpoken";
const char* const kChoiceAsText = "pelmoraChoiceAsText";
const char* const kRole = "pelmoraRole";
const char* const kDescribeOnce = "pelmoraDescribeOnce";
const char* const kDescriptionRead = "pelmoraDescriptionRead";

// A widget's description, its tooltip unless one was given, until the focus first leaves it.
QString descriptionOnce(const QWidget* widget) {
    if (widget->property(kDescriptionRead).toBool()) return {};
    const QString given = widget->property(kDescribeOnce).toString();
    return given.isEmpty() ? widget->toolTip() : given;
}

// Marks a widget's description read once the focus leaves it.
class DescriptionReader : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            watched->setProperty(kDescriptionRead, true);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

// A text a reader can read, but not edit or select.
class ReadOnlyText : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    using QAccessibleWidget::QAccessibleWidget;
    using QAccessibleWidget::text;

    virtual QString content() const = 0;

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(int startOffset, int endOffset) const override {
        const QString all = content();
        if (endOffset < 0 || endOffset > all.size()) endOffset = static_cast<int>(all.size());
        if (startOffset < 0 || startOffset > endOffset) return {};
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(content().size()); }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    // Every character fills the whole box: a reader's review of the screen finds the text
    // where the box is, and reads it rather than the box's name.
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= characterCount()) return {};
        return QRect(widget()->mapToGlobal(QPoint(0, 0)), widget()->size());
    }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
};

class ChoiceBox : public ReadOnlyText {
  public:
    explicit ChoiceBox(QComboBox* box) : ReadOnlyText(box, QAccessible::ComboBox) {}

    QString content() const override { return box()->currentText(); }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return content();
        // A reader's review of the screen reads a box by its name, and a lone sign as nothing.
        if (t == QAccessible::Name) return QAccessibleWidget::text(t) + u' ' + content();
        if (t == QAccessible::Description) return descriptionOnce(widget());
        return QAccessibleWidget::text(t);
    }
    using ReadOnlyText::text;

    QStringList actionNames() const override {
        return QStringList(showMenuAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction()) {
            box()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

// Read-only text, since typing there sets operators, not characters.
class SpokenBox : public ReadOnlyText {
  public:
    explicit SpokenBox(QWidget* widget) : ReadOnlyText(widget, QAccessible::EditableText) {}

    QString content() const override { return spokenText(widget()); }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return content();
        return QAccessibleWidget::text(t);
    }
    using ReadOnlyText::text;
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }
};

// A push button whose description is read until the focus first leaves it.
class OnceDescribedButton : public QAccessibleWidget {
  public:
    explicit OnceDescribedButton(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return button()->text();
        if (t == QAccessible::Description) return descriptionOnce(widget());
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

// The children that say something, in the order Qt walks them.
class HidingContainer : public QAccessibleWidget {
  public:
    HidingContainer(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    int childCount() const override { return static_cast<int>(spoken().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QWidget*> children = spoken();
        if (index < 0 || index >= children.size()) return nullptr;
        return QAccessible::queryAccessibleInterface(children[index]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        if (!child) return -1;
        return static_cast<int>(spoken().indexOf(qobject_cast<QWidget*>(child->object())));
    }

  private:
    QList<QWidget*> spoken() const {
        QList<QWidget*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && !child->isWindow() && !child->property(kUnspoken).toBool())
                children.append(child);
        }
        return children;
    }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget) return nullptr;
    if (widget->property(kChoiceAsText).toBool()) {
        auto* box = qobject_cast<QComboBox*>(widget);
        if (box && !box->isEditable()) return new ChoiceBox(box);
    }
    if (widget->property(kSpoken).isValid()) return new SpokenBox(widget);
    if (widget->property(kDescribeOnce).isValid())
        return new OnceDescribedButton(static_cast<QAbstractButton*>(widget));
    if (const QVariant role = widget->property(kRole); role.isValid())
        return new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()));
    if (widget->property(kHidesChildren).toBool())
        return new HidingContainer(
            widget, widget->isWindow() ? QAccessible::Window : QAccessible::Grouping);
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

void readChoiceAsText(QComboBox* box) {
    box->setProperty(kChoiceAsText, true);
    box->installEventFilter(new DescriptionReader(box));
    QObject::connect(box, &QComboBox::currentTextChanged, box,
                     [box, shown = box->currentText()](const QString& text) mutable {
                         QAccessibleTextUpdateEvent event(box, 0, shown, text);
                         QAccessible::updateAccessibility(&event);
                         QAccessibleEvent named(box, QAccessible::NameChanged);
                         QAccessible::updateAccessibility(&named);
                         shown = text;
                     });
}

void letChildrenBeUnspoken(QWidget* container) {
    container->setProperty(kHidesChildren, true);
}

void markUnspoken(QWidget* widget) {
    widget->setProperty(kUnspoken, true);
}

void setSpokenText(QWidget* widget, const QString& text) {
    widget->setProperty(kSpoken, text);
}

QString spokenText(const QWidget* widget) {
    return widget->property(kSpoken).toString();
}

void describeOnce(QAbstractButton* button, const QString& description) {
    button->setProperty(kDescribeOnce, description);
    // Qt makes a button's interface as soon as the button is named: make it again, ours.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(button))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    button->installEventFilter(new DescriptionReader(button));
}

Announcer::Announcer(QWidget* window) {
    // A status line holding the notice: a reader says a notice there without its role.
    auto* line = new QWidget(window);
    line->setObjectName(QStringLiteral("StatusLine"));
    line->setProperty(kRole, static_cast<int>(QAccessible::StatusBar));
    line->setAccessibleName(QString::fromUtf16(u"お知らせ"));
    line->setGeometry(0, 0, 0, 0);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    notice_ = new QWidget(line);
    notice_->setObjectName(QStringLiteral("Announcement"));
    notice_->setProperty(kRole, static_cast<int>(QAccessible::Notification));
    notice_->setGeometry(0, 0, 0, 0);
}

void Announcer::say(const QString& text) {
    if (text.isEmpty()) return;
    notice_->setAccessibleName(text);
    // A reader speaks a notice as it is shown.
    notice_->hide();
    notice_->show();
}

}  // namespace pelmora::game
