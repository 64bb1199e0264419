// Conversions between values, numbers and text used inside the evaluator; the ones a caller
// needs are public.
#pragma once

#include <pelmora/conversions.h>
#include <pelmora/value.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora {

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, -2.5 -> -2).
double roundHalfEven(double x);

// Reads a number text: optional spaces, sign, digits with ignored thousands commas, a decimal
// point, an exponent; or &H / &O integers (up to FFFF signed 16-bit, up to FFFFFFFF signed
// 32-bit). Anything else fails.
double parseNumberText(std::u16string_view text);

// The plain text form as a String value: a String keeps its lone trailing byte.
StringValue plainString(const Value& value);

// The number text form of STR$ and SStr: a leading space or "-", no "0" before the point.
// Fails on a String that is no number and on a Date outside the calendar's range.
std::u16string numberText(const Value& value);

// Whole-number conversions: halves to even, a String through ToNumber, Empty is 0, Boolean
// -1/0; a result outside the target's range fails.
std::uint8_t toByte(const Value& value);
std::int16_t toInteger(const Value& value);
std::int32_t toLong(const Value& value);

// An ASCII decimal digit; the full-width digits are not.
constexpr bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace pelmora
