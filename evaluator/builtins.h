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

// One call of a built-in: its name and its argument slots.
struct Call {
    Engine& evaluator;
    std::u16string_view name;
    // Views into the operand text, which outlives the call.
    std::array<std::u16string_view, 8> slots{};
    // Top-level commas of the argument list: one less than the number of arguments.
    std::uint8_t commaCount = 0;

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

// A built-in as the reference names it, and the function that runs it.
struct BuiltinEntry : BuiltinName {
    constexpr BuiltinEntry(std::u16string_view name, Builtin function, Family family,
                           std::string_view slots, std::string_view result,
                           std::u16string_view rangeAbove = {})
        : BuiltinName{name, family, slots, result, rangeAbove}, function(function) {}

    Builtin function;
};

// A function of the program's: the declared one when given, else the host's; its arguments
// are evaluated in order ("F()" has none).
Value callProgramFunction(Call& call, bool noArguments, const Symbol* symbol);
// A call of a name that is neither built in nor the program's, once its first argument is read.
[[noreturn]] Value undeclaredCall(Call& call);

// The built-in function entries, in the order Ffc tries them.
std::span<const BuiltinEntry> builtinTable();

// The reserved bare names, in the order Ffc tries them (RND last).
std::span<const BuiltinEntry> bareNameTable();

}  // namespace pelmora
