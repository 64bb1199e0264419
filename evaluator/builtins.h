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

class Evaluator;

// One call of a built-in: its name and its argument slots.
struct Call {
    Evaluator& evaluator;
    std::u16string_view name;
    // Views into the operand text, which outlives the call.
    std::array<std::u16string_view, 8> slots{};
    // Top-level commas of the argument list: one less than the number of arguments.
    std::uint8_t commaCount = 0;

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

// The built-in function entries, in the order Ffc tries them.
std::span<const BuiltinEntry> builtinTable();

// The reserved bare names, in the order Ffc tries them (RND last).
std::span<const BuiltinEntry> bareNameTable();

}  // namespace pelmora
