// Fakes for the game's outside world, and a bench that drives the rules' handlers directly, as
// the window would, with no window at all.
#pragma once

#include <pelmora/conversions.h>
#include <pelmora/random.h>
#include "game/rules/mivor10.h"
#include "tests/common/table.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::game::testing {

using pelmora::testing::Row;
using pelmora::testing::table;

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

    void deal(std::string_view dealt) {
        for (char d : dealt) digits.push_back(d - '0');
    }

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

// The buttons Command1 to Command6 by their letters in the steps' alphabet (tests/common/table.h).
inline constexpr std::string_view kButtonLetters = "FOCSNX";

// The screen in one line: the counters Label4(0) to (6) joined by "|", the example answer in
// brackets, the digits shown (and the digits held, when they differ), the operators and the
// buttons that are on (S Start, O OK, N Next, X Stop; Close is always on).
inline std::string screenLine(const std::array<std::string, 7>& counters,
                              const std::string& example, const std::string& shown,
                              const std::string& held, const std::string& operators,
                              const std::string& buttons) {
    std::string line;
    for (std::size_t i = 0; i < counters.size(); ++i) line += (i ? "|" : "") + counters[i];
    line += " [" + example + "] " + shown;
    if (held != shown) line += "/held " + held;
    return line + " " + operators + " " + buttons;
}

// The rules on fakes, driven by the steps of cases/games.tsv.
struct RulesBench {
    FakeClock clock;
    ScriptedHost host;
    FakeMessages messages;
    FakeProgram program;
    Evaluator evaluator{host};
    Mivor10 rules{evaluator, clock, messages, program};
    // The control the last focus request named.
    std::string focus;

    explicit RulesBench(bool otherInstance = false) {
        program.otherInstance = otherInstance;
        run(&Mivor10::Form_Load);
    }

    Controls& controls() { return rules.controls(); }

    void run(void (Mivor10::*handler)()) {
        (rules.*handler)();
        if (auto& request = controls().focusRequest) {
            focus = *request == FocusTarget::Text3 ? "Text3" : "Command4";
            request.reset();
        }
    }

    // At a clock reading: a button's letter clicks it, t ticks, T ticks every second since the
    // last reading; dealing the given digits first, then comparing the screen, if given.
    void step(double at, char action, std::string_view dealt = {}, std::string_view shown = {}) {
        host.deal(dealt);
        for (double t = clock.now + 1; action == 'T' && t < at; t += 1.0) step(t, 't');
        clock.now = at;
        if (action == 't' || action == 'T') run(&Mivor10::Timer1_Timer);
        constexpr void (Mivor10::*kButtons[])() = {
            &Mivor10::Command1_Click, &Mivor10::Command2_Click, &Mivor10::Command3_Click,
            &Mivor10::Command4_Click, &Mivor10::Command5_Click, &Mivor10::Command6_Click};
        if (const auto i = kButtonLetters.find(action); i != kButtonLetters.npos) run(kButtons[i]);
        if (!shown.empty()) {
            EXPECT_EQ(screen(), shown) << at << action;
        }
    }

    std::string screen() {
        const Controls& c = controls();
        std::array<std::string, 7> counters;
        for (int i = 0; i < 7; ++i) counters[i] = toUtf8(c.Label4[i]);
        std::string shown, held, operators, buttons;
        for (int i = 0; i < 4; ++i) {
            shown += std::to_string(c.Image2[i]);
            held += toUtf8(c.Label1[i]);
        }
        for (const auto& op : c.Combo1) operators += toUtf8(op);
        for (auto [on, letter] : {std::pair{c.Command4Enabled, 'S'},
                                  {c.Command2Enabled, 'O'},
                                  {c.Command5Enabled, 'N'},
                                  {c.Command6Enabled, 'X'}})
            if (on) buttons += letter;
        if (!c.Command3Enabled) buttons += "!close";
        return screenLine(counters, toUtf8(c.Label6), shown, held, operators, buttons);
    }

    // Chooses the three operators, given as "＋×－".
    void choose(std::string_view three) {
        const std::u16string ops = fromUtf8(three);
        for (int i = 0; i < 3; ++i) controls().Combo1[i] = ops.substr(i, 1);
    }

    // The text of a control the rules write, by its name in the window.
    std::u16string& text(const std::string& name) {
        Controls& c = controls();
        if (name == "Text1") return c.Text1;
        if (name == "Text2") return c.Text2;
        if (name == "Label6") return c.Label6;
        EXPECT_TRUE(name.starts_with("Label4(")) << name;
        return c.Label4.at(name[7] - '0');
    }
};

}  // namespace pelmora::game::testing
