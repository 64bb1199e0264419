// Fakes for the game's outside world and a bench holding the real window built on them.
#pragma once

#include <pelmora/random.h>
#include "game/window/mivor10_window.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace pelmora::game::testing {

class FakeClock : public Clock {
  public:
    double seconds() override { return now; }
    double now = 1000.0;
};

// Deals the digits queued in it, then falls back to a seeded sequence.
class ScriptedHost : public Host {
  public:
    LocalTime now() override { return LocalTime{}; }
    std::optional<std::u16string> environmentVariable(std::u16string_view) override {
        return std::nullopt;
    }
    std::vector<std::u16string> environmentEntries() override { return {}; }
    std::u16string commandLine() override { return {}; }
    float random(std::optional<double> argument) override {
        if (argument && *argument <= 0) {
            seeds.push_back(*argument);
            return 0.5f;
        }
        ++draws;
        if (digits.empty()) return fallback.next();
        int d = digits.front();
        digits.pop_front();
        return (static_cast<float>(d) - 0.5f) / 9.0f;
    }
    [[noreturn]] void endProgram(std::u16string_view) override { std::abort(); }

    std::deque<int> digits;
    std::vector<double> seeds;
    long draws = 0;
    RandomSequence fallback{20261205};
};

class FakeMessages : public MessageSink {
  public:
    void showMessage(std::u16string_view text) override { shown.emplace_back(text); }
    std::vector<std::u16string> shown;
};

class FakeProgram : public ProgramControl {
  public:
    bool anotherInstanceRunning() override { return otherInstance; }
    void endProgram() override { ++ended; }
    bool otherInstance = false;
    int ended = 0;
};

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

// The rows of cases/<name>.tsv beside this file as their cells; lines starting with # are notes,
// \b in a cell is Backspace.
inline std::vector<QStringList> cases(const char* name) {
    // ccache may make __FILE__ relative to build/.
    QString here = QFileInfo(QStringLiteral(__FILE__)).path();
    if (QDir::isRelativePath(here)) here = QCoreApplication::applicationDirPath() + "/../" + here;
    QFile file(here + "/cases/" + name + ".tsv");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    std::vector<QStringList> rows;
    for (QString line : QString::fromUtf8(file.readAll()).split('\n'))
        if (!line.isEmpty() && !line.startsWith('#'))
            rows.push_back(line.replace("\\b", "\b").split('\t'));
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
    // At a clock reading: S Start, O OK, N Next, X Stop, C Close, F the formula copied into the
    // hidden box, t a tick or T a tick every second since the last reading, dealing the given
    // digits; then the screen, if given.
    void step(double at, char action, const QString& dealt = {}, const QString& shown = {}) {
        deal(dealt);
        for (double t = clock.now + 1; action == 'T' && t < at; t += 1.0) step(t, 't');
        clock.now = at;
        if (action == 't' || action == 'T') window->tick();
        if (const int i = QStringLiteral("FOCSNX").indexOf(QChar(action)); i >= 0)  // Command1 to 6
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
    // What the player sees, in one line: the counters Label4(0) to (6) joined by "|", the
    // example answer in brackets, the digits, the operators and the buttons that are on
    // (S Start, O OK, N Next, X Stop; Close is always on).
    std::string screen() {
        QStringList counters;
        for (int i = 0; i < 7; ++i) counters << counter(i);
        QString buttons;
        for (auto [name, letter] :
             {std::pair{"Command4", 'S'}, {"Command2", 'O'}, {"Command5", 'N'}, {"Command6", 'X'}})
            if (enabled(name)) buttons += QChar(letter);
        if (!enabled("Command3")) buttons += "!close";
        std::string digits = shownDigits();
        if (heldDigits() != digits) digits += "/held " + heldDigits();
        QString ops = combo(0)->currentText() + combo(1)->currentText() + combo(2)->currentText();
        return s(counters.join('|') + " [" + text("Label6") + "] ") + digits + " " +
               s(ops + " " + buttons);
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
    // Plays keys and clicks as a player gives them, each to whatever widget holds the focus:
    // E Enter, K the keypad's Enter, S Space, X Escape, \b Backspace, R a held (repeated) Space,
    // T the focus into the target box, w a pause longer than a double-click, h half of one,
    // C a mouse click on Start, O one on OK, D the second click of a double-click on OK; ASCII
    // signs as QTest maps them, a full-width sign as a key whose text it is, and {…} what an input
    // method commits.
    void play(const char16_t* script) {
        const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Escape,
                                Qt::Key_Backspace};
        for (const char16_t* k = script; *k; ++k) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                           true);
            QInputMethodEvent commit;
            if (const int i = QStringLiteral("EKSX\b").indexOf(QChar(*k)); i >= 0) {
                QTest::keyClick(focus, keys[i], *k == 'K' ? Qt::KeypadModifier : Qt::NoModifier);
            } else if (*k == 'T') {
                find("Text2")->setFocus();
            } else if (*k == 'w') {
                clock.now += 1.0 + QApplication::doubleClickInterval() / 1000.0;
            } else if (*k == 'h') {
                clock.now += QApplication::doubleClickInterval() / 2000.0;
            } else if (*k == 'C' || *k == 'O') {
                QTest::mouseClick(find(*k == 'C' ? "Command4" : "Command2"), Qt::LeftButton);
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
