// Conversions between values, numbers and text that a caller of the evaluator needs.
#pragma once

#include <pelmora/value.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora {

// The strict conversion of a value to a number; fails on a text that is no number.
double ToNumber(const Value& value);

// The leading-number parse: the number at the start of a text, 0 when there is none. Never
// fails, except on a number too large for a Double.
double leadingNumber(std::u16string_view text);

// The plain text form: no sign position, "0.5", 15 (Double) or 7 (Single) significant digits.
// Fails only for a Date outside the calendar's range.
std::u16string plainText(const Value& value);

// Room for the plain text form of any number kind ("-1.23456789012345E-308").
inline constexpr std::size_t kNumberTextCapacity = 32;

// A caller's buffer for the plain text form; only a Date's text goes to the heap.
struct PlainTextBuffer {
    std::array<char16_t, kNumberTextCapacity> units;
    std::u16string spill;
};

// The plain text form without allocating: numbers are written into the buffer, a String is
// viewed where it stands. The view lives as long as the value and the buffer.
std::u16string_view plainTextInto(const Value& value, PlainTextBuffer& buffer);

// UTF-8 to UTF-16; a byte that is not UTF-8 reads as U+FFFD.
std::u16string fromUtf8(std::string_view utf8);
// UTF-16 to UTF-8; lone surrogates become U+FFFD.
std::string toUtf8(std::u16string_view text);

// Full-width to half-width: FF01-FF5E to ASCII 21-7E, U+3000 to the space, the full-width
// katakana and punctuation to their half-width forms; a voiced or semi-voiced katakana becomes
// the letter and FF9E or FF9F.
std::u16string toHalfWidth(std::u16string_view text);

}  // namespace pelmora
