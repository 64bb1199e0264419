// What a built-in function receives, and the table that names every built-in.
#pragma once

#include <pelmora/builtin_names.h>
#include <pelmora/value.h>

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelmora {

class Engine;
struct Symbol;
namespace compiled {
struct EvalNode;
}

// One call of a built-in: its name, its argument slots and the per-call key buffer.
struct Call {
    Engine& evaluator;
    std::u16string_view name;
    // Views into the operand text, which outlives the call.
    std::array<std::u16string_view, 8> slots{};
    // Top-level commas of the argument list: one less than the number of arguments.
    std::uint8_t commaCount = 0;
    Value keyBuffer{};

    // Set for a call in a compiled expression: the compiled argument texts, one per slot.
    const compiled::EvalNode* const* compiled = nullptr;
    // Set for a call in a compiled numeric text: its arguments' values, already evaluated.
    const Value* given = nullptr;

    // Evaluates slot i through Eval (an empty slot gives Empty and code 2).
    Value arg(int i);
    // Whether the call's argument list reached slot i.
    bool has(int i) const { return commaCount >= i; }
};

using Builtin = Value (*)(Call&);

struct BuiltinEntry {
    // The name compared exactly; for a range entry, the last name of the range.
    std::u16string_view name;
    Builtin function;
    Family family;
    // What the reference and the prompt's help show: the arguments in slot order (optional
    // ones in brackets, "" for a bare name) and the kind of the result.
    std::string_view slots;
    std::string_view result;
    // Set for a range entry: it matches the names above this one and up to `name`.
    std::u16string_view rangeAbove = {};

    bool matches(std::u16string_view candidate) const {
        if (rangeAbove.empty()) return candidate == name;
        return candidate > rangeAbove && candidate <= name;
    }
};

// A function of the program's: the declared one when given, else the host's; its arguments
// are evaluated in order ("F()" has none).
Value callProgramFunction(Call& call, bool noArguments, const Symbol* symbol);
// A call of a name that is neither built in nor the program's, once its first argument is read.
[[noreturn]] Value undeclaredCall(Call& call);

// The 93 built-in function entries, in the order Ffc tries them.
std::span<const BuiltinEntry> builtinTable();

// The reserved bare names, in the order Ffc tries them (RND last).
std::span<const BuiltinEntry> bareNameTable();

}  // namespace pelmora
