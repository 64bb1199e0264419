/// @file
/// @brief The conversions between values, numbers and text that a caller needs.
///
/// Every function here keeps no state and may run on any thread at once.
#pragma once

#include <pelmora/export.h>
#include <pelmora/value.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace pelmora {

/// The strict conversion of a value to a number: Empty 0, Boolean -1 or 0, a Date its day
/// count, a String read as a number, an Object its error number. Throws EvalFailure on a text
/// that is no number.
PELMORA_API double ToNumber(const Value& value);

/// The leading-number parse: the number at the start of a text, 0 when there is none. Never
/// fails, except on a number too large for a Double (EvalFailure).
PELMORA_API double leadingNumber(std::u16string_view text);
/// leadingNumber() of a UTF-8 text.
PELMORA_API double leadingNumber(std::string_view utf8);

/// The plain text form: no sign position, "0.5", 15 (Double) or 7 (Single) significant digits.
/// Throws EvalFailure only for a Date outside the calendar's range.
PELMORA_API std::u16string plainText(const Value& value);
/// The plain text form in UTF-8.
PELMORA_API std::string plainTextUtf8(const Value& value);

/// Room for the plain text form of any number kind ("-1.23456789012345E-308").
inline constexpr std::size_t kNumberTextCapacity = 32;

/// A caller's buffer for plainTextInto; only a Date's text goes to the heap.
struct PlainTextBuffer {
    std::array<char16_t, kNumberTextCapacity> units;  ///< Where a number's text is written.
    std::u16string spill;                             ///< Where a Date's text is written.
};

/// The plain text form without allocating: numbers are written into the buffer, a String is
/// viewed where it stands. The view lives as long as the value and the buffer.
PELMORA_API std::u16string_view plainTextInto(const Value& value, PlainTextBuffer& buffer);

/// UTF-8 to UTF-16; a byte that is not UTF-8 reads as U+FFFD.
PELMORA_API std::u16string fromUtf8(std::string_view utf8);
/// UTF-16 to UTF-8; lone surrogates become U+FFFD.
PELMORA_API std::string toUtf8(std::u16string_view text);

/// Full-width to half-width: FF01-FF5E to ASCII 21-7E, U+3000 to the space, the full-width
/// katakana and punctuation to their half-width forms; a voiced or semi-voiced katakana becomes
/// the letter and FF9E or FF9F.
PELMORA_API std::u16string toHalfWidth(std::u16string_view text);

}  // namespace pelmora
