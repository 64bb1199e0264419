// A host for tests: a fixed clock, a given environment and command line, a seeded random
// sequence, and, as in the game, an undeclared call ends the program, which throws ProgramEnded
// instead.
#pragma once

#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/failure.h>
#include <pelmora/host.h>
#include <pelmora/random.h>
#include "evaluator/conversions.h"
#include "evaluator/text.h"
#include "tests/common/table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace pelmora::testing {

struct ProgramEnded {
    std::u16string message;
};

class FakeHost : public Host {
  public:
    LocalTime now() override { return clock; }
    std::optional<std::u16string> environmentVariable(std::u16string_view name) override {
        for (const auto& [k, v] : environment)
            if (k == name) return v;
        return std::nullopt;
    }
    std::vector<std::u16string> environmentEntries() override {
        std::vector<std::u16string> entries;
        for (const auto& [k, v] : environment) entries.push_back(k + u"=" + v);
        return entries;
    }
    std::u16string commandLine() override { return command; }
    float random(std::optional<double> argument) override { return sequence.next(argument); }
    [[noreturn]] void endProgram(std::u16string_view message) override {
        throw ProgramEnded{std::u16string(message)};
    }
    // The language as the game has it: an undeclared call ends the program.
    UndeclaredCall undeclaredCall() override { return UndeclaredCall::EndProgram; }

    // 2026-12-05 21:30:20
    LocalTime clock = std::chrono::local_days{std::chrono::year{2026} / 12 / 5} +
                      std::chrono::hours{21} + std::chrono::minutes{30} + std::chrono::seconds{20};
    std::vector<std::pair<std::u16string, std::u16string>> environment{
        {u"HOME", u"/home/player"}, {u"LANG", u"ja_JP.UTF-8"}, {u"Mixed", u"case"}};
    std::u16string command = u"-x 日本";
    RandomSequence sequence{12345};
};

// "Kind: plain text", the way pelmora-eval prints a value; compares well in test tables.
inline std::string describe(const Value& v) {
    return std::string(kindName(v.kind())) + ": " + toUtf8(plainText(v));
}

// What one evaluation shows: its value described, or "ended" when it ends the program.
inline std::string outcome(Evaluator& evaluator, std::u16string_view text) {
    try {
        return describe(evaluator.Eval(text));
    } catch (const ProgramEnded&) {
        return "ended";
    }
}

// An evaluator with its own fake host, for one test.
struct Bench {
    FakeHost host;
    Evaluator evaluator{host};
    Value eval(std::string_view utf8) { return evaluator.Eval(fromUtf8(utf8)); }
    std::string show(std::string_view utf8) { return outcome(evaluator, fromUtf8(utf8)); }
    int code() const { return evaluator.EvalErrorCode; }
};

}  // namespace pelmora::testing
