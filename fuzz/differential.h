// Compiled against interpreted: one text evaluated by Eval and by a compiled Expression, each
// with a fresh evaluator over a host that logs every call, must give the same value, kind,
// codes, current error and log, and again after the program changes its variables. Used by
// the compiled expressions' tests and by compile_fuzz.
#pragma once

#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/expression.h>
#include <pelmora/failure.h>
#include <pelmora/symbols.h>
#include "fuzz/fuzz_host.h"

#include <charconv>
#include <optional>
#include <string>

namespace pelmora::fuzzing {

// A host that writes down each call it gets, with the program's names X (a variable), F (a
// function doubling its first argument) and an undeclared call that is reported.
class LoggingHost : public FuzzHost {
  public:
    std::string log;

    LocalTime now() override {
        log += "now;";
        return FuzzHost::now();
    }
    std::optional<std::u16string> environmentVariable(std::u16string_view name) override {
        log += "env " + toUtf8(name) + ";";
        return FuzzHost::environmentVariable(name);
    }
    std::vector<std::u16string> environmentEntries() override {
        log += "entries;";
        return FuzzHost::environmentEntries();
    }
    std::u16string commandLine() override {
        log += "command;";
        return FuzzHost::commandLine();
    }
    float random(std::optional<double> argument) override {
        log += "random;";
        return FuzzHost::random(argument);
    }
    std::optional<Value> variable(std::u16string_view name) override {
        log += "variable " + toUtf8(name) + ";";
        if (name == u"HX") return Value::number(7);
        return std::nullopt;
    }
    bool hasFunction(std::u16string_view name) override {
        log += "has " + toUtf8(name) + ";";
        return name == u"HF";
    }
    Value callFunction(std::u16string_view name, std::span<const Value> arguments) override {
        log += "call " + toUtf8(name) + " " + std::to_string(arguments.size()) + ";";
        if (arguments.empty()) throw EvalFailure("HF needs an argument");
        return arguments[0];
    }
    UndeclaredCall undeclaredCall() override {
        log += "undeclared;";
        return UndeclaredCall::Report;
    }
};

// The program's declared names: X and Y bound to doubles, V to a Value, the constant K, and
// the functions TWICE(a) and PICK(a[, b[, c]]), which write their calls into the same log.
struct Program {
    double x = 3;
    double y = -0.5;
    Value v = Value::string(u"ab");
    std::string* log = nullptr;
    Symbols symbols;

    Program() {
        symbols.defineVariable(u"X", &x);
        symbols.defineVariable(u"Y", &y);
        symbols.defineVariable(u"V", &v);
        symbols.defineConstant(u"K", Value::integer(12));
        symbols.defineFunction(u"TWICE", 1, [this](std::span<const Value> a) {
            *log += "TWICE;";
            return Value::number(ToNumber(a[0]) * 2);
        });
        symbols.defineFunction(u"PICK", 1, 3, [this](std::span<const Value> a) {
            *log += "PICK " + std::to_string(a.size()) + ";";
            return a.back();
        });
    }
};

// A value for comparison: a String's bytes, else its plain text form, or for a value that has
// none (a Date past the years that can be shown) its number to the last bit.
inline std::string shown(const Value& v) {
    if (v.isString()) return v.asString().byteView();
    try {
        return toUtf8(plainText(v));
    } catch (const EvalFailure&) {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, ToNumber(v)).ptr;
        return "no text, number " + std::string(digits, end);
    }
}

// One evaluator's run of a text, described for comparison.
template <typename Run>
std::string described(Run run) {
    LoggingHost host;
    Program program;
    program.log = &host.log;
    Evaluator evaluator(host);
    evaluator.setSymbols(&program.symbols);
    std::string out;
    for (double x : {3.0, 0.0}) {
        program.x = x;
        try {
            Value v = run(evaluator, program);
            out += std::string(kindName(v.kind())) + " ";
            out += shown(v);
        } catch (const ProgramEnded&) {
            out += "ended";
        }
        out += " | code " + std::to_string(evaluator.EvalErrorCode) + " err " +
               std::to_string(evaluator.currentError()) + " undeclared " +
               toUtf8(evaluator.undeclaredName()) + " | " + host.log + "\n";
        host.log.clear();
    }
    return out;
}

// Empty when Eval and the compiled text agree; otherwise both descriptions.
inline std::string difference(std::u16string_view text) {
    const std::string interpreted = described([&](Evaluator& e, Program&) { return e.Eval(text); });
    std::optional<Expression> compiled;  // compiled once, evaluated at each value of X
    const std::string compiledRun = described([&](Evaluator& e, Program& p) {
        if (!compiled) compiled.emplace(text, &p.symbols);
        return compiled->evaluate(e);
    });
    if (interpreted == compiledRun) return {};
    return "Eval:\n" + interpreted + "compiled:\n" + compiledRun;
}

}  // namespace pelmora::fuzzing
