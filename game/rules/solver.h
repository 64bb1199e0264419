// The solution search: the four digits in their order, three operators in kSearchOrder, no
// parentheses, compared with the target through the evaluator's text form of the value.
#pragma once

#include <pelmora/evaluator.h>
#include "game/rules/operators.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::game {

// The four digits, one character each.
using DigitTexts = std::array<std::u16string, 4>;
using Digits = std::array<int, 4>;

inline constexpr int kDigitSequences = 6561;  // 9^4

// The leading-number parse of a text; a number too large for a double reads as NaN, which
// equals nothing.
double readNumber(std::u16string_view text);

// The value of a formula as the game compares it: Eval, the plain text form, the leading-number
// parse. NaN when the text form cannot be read back.
double formulaValue(Evaluator& evaluator, std::u16string_view formula);

// "3 ＋ 1 × 9 － 2", the example answer as the window shows it; a, b and c index kOperators.
std::u16string displayFormula(const DigitTexts& digits, int a, int b, int c);

DigitTexts digitTexts(const Digits& digits);

// Four digits 1-9 written as one text ("3192"); nothing for any other text.
std::optional<Digits> readDigits(std::u16string_view text);

// The first solution in search order (first operator slowest), in display form.
std::optional<std::u16string> findSolution(Evaluator& evaluator, const DigitTexts& digits,
                                           std::u16string_view targetText);
std::optional<std::u16string> findSolution(Evaluator& evaluator, const DigitTexts& digits,
                                           double target);

// Every solution, in search order.
std::vector<std::u16string> findAllSolutions(Evaluator& evaluator, const DigitTexts& digits,
                                             std::u16string_view targetText);
std::vector<std::u16string> findAllSolutions(Evaluator& evaluator, const DigitTexts& digits,
                                             double target);

// The digits of a formula in display form ("3 ＋ 1 × 9 － 2"); nothing for any other text.
std::optional<DigitTexts> displayedDigits(std::u16string_view formula);

// The digit sequences 1111 to 9999 (digits 1-9) that reach the target, in increasing order.
std::vector<Digits> reachingSequences(Evaluator& evaluator, double target);

}  // namespace pelmora::game
