// Text services inside the evaluator: searching, case mapping and the full-width form
// (through ICU). UTF-8 and the half-width form are public.
#pragma once

#include <pelmora/conversions.h>

#include <string>
#include <string_view>

namespace pelmora {

// The first place at or after `from` where `needle` stands in `haystack` (npos when none), in
// time linear in both lengths whatever their contents.
std::size_t findText(std::u16string_view haystack, std::u16string_view needle, std::size_t from);

// The byte in `utf8` where the UTF-16 unit `units` of fromUtf8(utf8) begins (the size of `utf8`
// for the end).
std::size_t utf8Offset(std::string_view utf8, std::size_t units);

// One-to-one (simple) case mapping of every code point.
std::u16string toUpper(std::u16string_view text);
std::u16string toLower(std::u16string_view text);

// Half-width to full-width: ASCII 21-7E to FF01-FF5E, the space to U+3000, the half-width
// katakana and punctuation FF61-FF9F to their full-width forms.
std::u16string toFullWidth(std::u16string_view text);

}  // namespace pelmora
