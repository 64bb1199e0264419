// Text services: UTF-8/UTF-16, case mapping and width forms (through ICU).
#pragma once

#include <string>
#include <string_view>

namespace pelmora {

std::u16string fromUtf8(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);

// The first place at or after `from` where `needle` stands in `haystack` (npos when none), in
// time linear in both lengths whatever their contents.
std::size_t findText(std::u16string_view haystack, std::u16string_view needle, std::size_t from);

// One-to-one (simple) case mapping of every code point.
std::u16string toUpper(std::u16string_view text);
std::u16string toLower(std::u16string_view text);

// Half-width to full-width: ASCII 21-7E to FF01-FF5E, the space to U+3000, the half-width
// katakana and punctuation FF61-FF9F to their full-width forms.
std::u16string toFullWidth(std::u16string_view text);
// The reverse; a voiced or semi-voiced katakana becomes the letter and FF9E or FF9F.
std::u16string toHalfWidth(std::u16string_view text);

}  // namespace pelmora
