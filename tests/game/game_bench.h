// Fakes for the game's outside world and a bench holding the real window built on them.
#pragma once

#include "game/window/mivor10_window.h"
#include "tests/rules/rules_bench.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocalSocket>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace pelmora::game::testing {

inline QString q(const char16_t* text) {
    return QString::fromUtf16(text);
}

// Starts the game as a child process in `folder`: offscreen, no session bus unless given.
inline void startGame(QProcess& game, std::initializer_list<std::pair<QString, QString>> set,
                      const QString& folder = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    for (const auto& [name, value] : set) environment.insert(name, value);
    game.setProcessEnvironment(environment);
    game.setWorkingDirectory(folder);
    game.start(QStringLiteral(PELMORA_GAME_PATH));
}

// Connects to a game's local socket of that name, as a later launch does.
inline bool reach(QLocalSocket& socket, const QString& name, int milliseconds) {
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name);
    return socket.waitForConnected(milliseconds);
}

// The rows of cases/<name>.tsv (tests/common/table.h reads them) as QStrings.
inline std::vector<QStringList> cases(const char* name) {
    std::vector<QStringList> rows;
    for (const Row& row : table(name)) {
        QStringList cells;
        for (const std::string& cell : row) cells << QString::fromStdString(cell);
        rows.push_back(cells);
    }
    return rows;
}

inline std::string s(const QString& text) {
    return text.toStdString();
}

struct WindowBench {
    FakeClock clock;
    ScriptedHost host;
    FakeMessages messages;
    FakeProgram program;
    std::unique_ptr<Mivor10Window> window;

    explicit WindowBench(bool otherInstance = false, ProgramControl* control = nullptr) {
        program.otherInstance = otherInstance;
        window = std::make_unique<Mivor10Window>(
            WindowServices{&clock, &host, &messages, control ? control : &program});
    }

    template <typename T = QWidget>
    T* find(const QString& name) {
        T* widget = window->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    QString text(const QString& name) { return find(name)->property("text").toString(); }
    QString counter(int i) { return text(QStringLiteral("Label4(%1)").arg(i)); }
    bool enabled(const char* button) { return find<QPushButton>(button)->isEnabled(); }
    void click(const char* button) { find<QPushButton>(button)->click(); }
    // At a clock reading: a button's letter clicks it, t ticks, T ticks every second since the
    // last reading; dealing the given digits first, then comparing the screen, if given.
    void step(double at, char action, const QString& dealt = {}, const QString& shown = {}) {
        deal(dealt);
        for (double t = clock.now + 1; action == 'T' && t < at; t += 1.0) step(t, 't');
        clock.now = at;
        if (action == 't' || action == 'T') window->tick();
        if (const auto i = kButtonLetters.find(action); i != kButtonLetters.npos)
            click(qPrintable(QStringLiteral("Command%1").arg(i + 1)));
        if (!shown.isEmpty()) { EXPECT_EQ(screen(), shown.toStdString()) << at << action; }
    }
    void deal(const QString& digits) {
        for (QChar d : digits) host.digits.push_back(d.digitValue());
    }
    QComboBox* combo(int i) { return find<QComboBox>(QStringLiteral("Combo1(%1)").arg(i)); }
    // Chooses the three operators, given as "＋×－".
    void choose(const char16_t* three) {
        for (int i = 0; i < 3; ++i)
            combo(i)->setCurrentIndex(combo(i)->findText(q(three).mid(i, 1)));
    }
    // What the player sees, in one line, as RulesBench::screen writes it.
    std::string screen() {
        std::array<std::string, 7> counters;
        for (int i = 0; i < 7; ++i) counters[i] = s(counter(i));
        QString buttons;
        for (auto [name, letter] :
             {std::pair{"Command4", 'S'}, {"Command2", 'O'}, {"Command5", 'N'}, {"Command6", 'X'}})
            if (enabled(name)) buttons += QChar(letter);
        if (!enabled("Command3")) buttons += "!close";
        QString ops = combo(0)->currentText() + combo(1)->currentText() + combo(2)->currentText();
        return screenLine(counters, s(text("Label6")), shownDigits(), heldDigits(), s(ops),
                          s(buttons));
    }
    void setTarget(const char16_t* target) { find<QLineEdit>("Text2")->setText(q(target)); }
    QString target() { return find<QLineEdit>("Text2")->text(); }
    // The digits the pictures show and the hidden labels hold, as "3192".
    std::string shownDigits() {
        QString digits;
        for (int i = 0; i < 4; ++i)
            digits += QString::number(find<PictureBox>(QString("Image2(%1)").arg(i))->digit());
        return s(digits);
    }
    std::string heldDigits() {
        QString digits;
        for (int i = 0; i < 4; ++i) digits += text(QStringLiteral("Label1(%1)").arg(i));
        return s(digits);
    }
    // Plays keys and clicks as a player gives them, each to whatever widget holds the focus, in
    // the steps' alphabet (tests/common/table.h): ASCII signs as QTest maps them, a full-width
    // sign as a key whose text it is.
    void play(const char16_t* script) {
        const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Escape,
                                Qt::Key_Backspace};
        for (const char16_t* k = script; *k; ++k) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                           true);
            QInputMethodEvent commit;
            if (const int i = QStringLiteral("EK_Q<").indexOf(QChar(*k)); i >= 0) {
                QTest::keyClick(focus, keys[i], *k == 'K' ? Qt::KeypadModifier : Qt::NoModifier);
            } else if (*k == 'G') {
                find("Text2")->setFocus();
            } else if (*k == '~') {
                clock.now += 1.0 + QApplication::doubleClickInterval() / 1000.0;
            } else if (*k == '\'') {
                clock.now += QApplication::doubleClickInterval() / 2000.0;
            } else if (*k == 'S' || *k == 'O') {
                QTest::mouseClick(find(*k == 'S' ? "Command4" : "Command2"), Qt::LeftButton);
            } else if (*k == 'D') {
                QTest::mouseDClick(find("Command2"), Qt::LeftButton);
                QTest::mouseRelease(find("Command2"), Qt::LeftButton);
            } else if (*k == 'R') {
                QApplication::sendEvent(focus, &held);
            } else if (*k == '{') {
                const char16_t* end = std::char_traits<char16_t>::find(k, 99, u'}');
                commit.setCommitString(QString::fromUtf16(k + 1, end - k - 1));
                QApplication::sendEvent(focus, &commit);
                k = end;
            } else if (*k < 0x80) {
                QTest::keyClick(focus, char(*k));
            } else {
                QTest::sendKeyEvent(QTest::Click, focus, Qt::Key_unknown, QChar(*k), {});
            }
        }
    }
};

}  // namespace pelmora::game::testing
