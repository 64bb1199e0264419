// Code page 932 (Shift-JIS as Windows defines it), one character at a time, through iconv.
//
// A code is a single byte 00-FF, or lead byte * 256 + trail byte for a double-byte character.
//
// glibc's CP932 table lacks five single bytes; they stand for these code units and back:
//   80 <-> U+0080   A0 <-> U+F8F0   FD <-> U+F8F1   FE <-> U+F8F2   FF <-> U+F8F3
//
// Choices where the code page has no answer:
// - A code that names no character gives U+FFFD: a lead byte (81-9F, E0-FC) alone, a code
//   above FF whose two bytes are not one double-byte character of the table (a bad trail
//   byte, a first byte that is no lead byte, an unassigned pair).
// - A code unit that the code page lacks (U+20AC, a lone surrogate, U+FFFD itself) has no
//   code: toCode gives nothing, and JIS$ then writes 3F, the code of "?", the character that
//   a conversion into the code page puts in its place.
#pragma once

#include <cstdint>
#include <optional>

namespace pelmora::cp932 {

inline constexpr char16_t kNoCharacter = u'\uFFFD';
inline constexpr std::uint16_t kReplacementCode = 0x3F;

// The code unit of a code; kNoCharacter when the code names no character.
char16_t toUnit(std::uint16_t code);

// The code of a code unit; nothing when the code page lacks it.
std::optional<std::uint16_t> toCode(char16_t unit);

}  // namespace pelmora::cp932
