// The window's keys: the game's signs, Enter, Space, Backspace and Escape wherever the focus
// is, and the guards that keep a quick second press from counting twice.
#include "game/window/mivor10_window.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace pelmora::game {

namespace {

// The operator box item (an index into kOperators) that a typed or committed sign stands for;
// -1 for anything else. Besides each operator's symbol and sign, the look-alikes count: an
// input method in kana mode commits ー for - and ・ for /.
int operatorItem(QStringView text) {
    if (text.size() != 1) return -1;
    const char16_t c = text[0].unicode();
    for (int i = 0; i < 4; ++i)
        if (c == kOperators[i].sign || c == kOperators[i].symbol.front()) return i;
    switch (c) {
        case u'ー':
        case u'−':
            return 1;
        case u'＊':
        case u'x':
        case u'X':
        case u'ｘ':
        case u'Ｘ':
            return 2;
        case u'／':
        case u'・':
            return 3;
        default:
            return -1;
    }
}

bool isEnter(int code) {
    return code == Qt::Key_Return || code == Qt::Key_Enter;
}

}  // namespace

bool Mivor10Window::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::InputMethod &&
        type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::FocusIn)
        return false;
    if (!watched->isWidgetType() || busy_ || ended_) return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this) return false;

    if (type == QEvent::FocusIn) {
        // Clicking or tabbing into an operator box makes it the one the next sign sets.
        for (int i = 0; i < 3; ++i)
            if (widget == combo1_[i]) setNextOperator(i);
        return false;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        // A player who goes back to the mouse sees the window as a mouse player does.
        showKeyCue(false);
        return widget == command2_ &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
               withinDoubleClick(lastCorrectAt_);
    }
    // Keys reach the focus widget first; what it passes on to its parents was seen there.
    QWidget* focus = QApplication::focusWidget();
    if (widget != (focus ? focus : this)) return false;
    if (type == QEvent::KeyPress) return gameKey(widget, static_cast<QKeyEvent*>(event));
    return committedSigns(widget, static_cast<QInputMethodEvent*>(event));
}

bool Mivor10Window::gameKey(QWidget* receiver, QKeyEvent* key) {
    const int code = key->key();
    // Only an Enter that comes straight after the one that started or answered is a repeat.
    const bool repeatedEnter = isEnter(code) && withinDoubleClick(enterGuardFrom_);
    if (!isEnter(code)) enterGuardFrom_.reset();
    if ((key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) != Qt::NoModifier)
        return false;
    const bool running = rules_->state().Running == 1;
    QPushButton* press = nullptr;
    if (isEnter(code)) {
        if (repeatedEnter) return true;
        // During a game Enter answers; between games it presses the focused button, and in the
        // target box it starts a game, as a changed target is meant to be played.
        if (running) {
            press = command2_;
        } else if (receiver == text2_) {
            press = command4_;
        } else {
            press = qobject_cast<QPushButton*>(receiver);
        }
        if (!press) return false;
    } else if (code == Qt::Key_Escape) {
        if (running) press = command6_;
    } else if (receiver == text2_) {
        return false;  // typing the target works as ever
    } else if (code == Qt::Key_Space) {
        if (running) {
            press = command5_;
        } else if (!withinDoubleClick(gameEndedAt_)) {
            // Between games Space presses the focused button, as everywhere else; only one
            // meant for Next that arrives as the game ends is swallowed.
            return false;
        }
    } else if (code == Qt::Key_Backspace) {
        if (running) {
            setNextOperator((nextOperator_ + 2) % 3);
            showKeyCue(true);
        }
    } else if (int item = operatorItem(key->text()); item >= 0) {
        if (running) chooseNextOperator(item);
    } else {
        return false;
    }
    // A held key presses once, not once per repeat.
    if (press && !key->isAutoRepeat()) {
        showKeyCue(true);
        if (press->isEnabled()) press->click();
    }
    return true;
}

bool Mivor10Window::committedSigns(QWidget* receiver, QInputMethodEvent* input) {
    if (rules_->state().Running != 1 || receiver == text2_) return false;
    const QString text = input->commitString();
    if (text.isEmpty()) return false;
    std::vector<int> items;
    for (QChar c : text) {
        int item = operatorItem(QStringView(&c, 1));
        if (item < 0) return false;
        items.push_back(item);
    }
    enterGuardFrom_.reset();
    for (int item : items) chooseNextOperator(item);
    // The receiver still learns that composing ended, without taking the signs as text.
    QInputMethodEvent done;
    QApplication::sendEvent(receiver, &done);
    return true;
}

void Mivor10Window::chooseNextOperator(int item) {
    QComboBox* combo = combo1_[nextOperator_];
    const std::u16string_view symbol = kOperators[item].symbol;
    combo->setCurrentIndex(combo->findText(QString::fromUtf16(symbol.data(), symbol.size())));
    setNextOperator((nextOperator_ + 1) % 3);
    showKeyCue(true);
}

bool Mivor10Window::withinDoubleClick(const std::optional<double>& since) const {
    return since && (clock_->seconds() - *since) * 1000.0 < QApplication::doubleClickInterval();
}

}  // namespace pelmora::game
