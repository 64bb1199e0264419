/// @file
/// @brief The built-in names as a reader meets them: what the language reference,
/// pelmora-eval's --list-functions and the prompt's completion and help are made from.
#pragma once

#include <pelmora/export.h>

#include <cstdint>
#include <string_view>
#include <vector>

namespace pelmora {

/// The source file, and the part of the reference, that a built-in belongs to.
enum class Family : std::uint8_t {
    Numeric,  ///< numbers, rounding, trigonometry, logarithms
    String,   ///< text and Shift-JIS text
    System,   ///< evaluation, conversions, the clock and the running system
};

/// One built-in as the reference describes it. The views point into the library's own table.
struct BuiltinName {
    /// The name; for the range entry, the last name of the range.
    std::u16string_view name;
    /// Where the built-in belongs.
    Family family;
    /// The arguments in slot order (optional ones in brackets; "" for a bare name).
    std::string_view slots;
    /// The kind of the result ("Double", "kind of x", ...).
    std::string_view result;
    /// Set for the range entry: it stands for every name above this one and up to `name`.
    std::u16string_view rangeAbove;

    /// Whether a call's upper-cased name reaches this entry (the earlier entries aside).
    bool matches(std::u16string_view candidate) const {
        if (rangeAbove.empty()) return candidate == name;
        return candidate > rangeAbove && candidate <= name;
    }
};

/// The entries of calls, in the order a call's name is compared with them.
PELMORA_API std::vector<BuiltinName> builtinFunctionNames();
/// The names that mean something without an argument list, in the order they are compared.
PELMORA_API std::vector<BuiltinName> bareBuiltinNames();

}  // namespace pelmora
