#include "game/rules/solver.h"

#include <pelmora/conversions.h>
#include <pelmora/failure.h>

#include <array>
#include <cmath>
#include <limits>

namespace pelmora::game {

namespace {

constexpr double kUnreadable = std::numeric_limits<double>::quiet_NaN();

// Tries the 64 operator triples in search order; stops as soon as found() returns true. found()
// is given indexes into kOperators.
template <typename Found>
void search(Evaluator& evaluator, const DigitTexts& digits, double target, Found found) {
    if (std::isnan(target)) return;
    // Each digit is one character (dealt digits, the solver's arguments): the formula is
    // written over the same seven units, so the search allocates nothing.
    std::array<char16_t, 7> formula{};
    for (std::size_t k = 0; k < 4; ++k) formula[k * 2] = digits[k].front();
    const std::u16string_view text(formula.data(), formula.size());
    for (int a : kSearchOrder)
        for (int b : kSearchOrder)
            for (int c : kSearchOrder) {
                formula[1] = kOperators[a].sign;
                formula[3] = kOperators[b].sign;
                formula[5] = kOperators[c].sign;
                if (formulaValue(evaluator, text) == target && found(a, b, c)) return;
            }
}

}  // namespace

double readNumber(std::u16string_view text) {
    try {
        return leadingNumber(text);
    } catch (const EvalFailure&) {
        return kUnreadable;
    }
}

double formulaValue(Evaluator& evaluator, std::u16string_view formula) {
    Value value = evaluator.Eval(formula);
    PlainTextBuffer buffer;  // the text form stays on the stack
    try {
        return leadingNumber(plainTextInto(value, buffer));
    } catch (const EvalFailure&) {
        return kUnreadable;
    }
}

std::u16string displayFormula(const DigitTexts& digits, int a, int b, int c) {
    std::u16string text = digits[0];
    for (auto [symbol, digit] :
         {std::pair{kOperators[a].symbol, &digits[1]}, std::pair{kOperators[b].symbol, &digits[2]},
          std::pair{kOperators[c].symbol, &digits[3]}}) {
        text += u' ';
        text += symbol;
        text += u' ';
        text += *digit;
    }
    return text;
}

DigitTexts digitTexts(const Digits& digits) {
    DigitTexts texts;
    for (std::size_t i = 0; i < 4; ++i)
        texts[i] = std::u16string(1, static_cast<char16_t>(u'0' + digits[i]));
    return texts;
}

std::optional<Digits> readDigits(std::u16string_view text) {
    if (text.size() != 4) return std::nullopt;
    Digits digits;
    for (std::size_t i = 0; i < 4; ++i) {
        if (text[i] < u'1' || text[i] > u'9') return std::nullopt;
        digits[i] = text[i] - u'0';
    }
    return digits;
}

std::optional<std::u16string> findSolution(Evaluator& evaluator, const DigitTexts& digits,
                                           std::u16string_view targetText) {
    return findSolution(evaluator, digits, readNumber(targetText));
}

std::optional<std::u16string> findSolution(Evaluator& evaluator, const DigitTexts& digits,
                                           double target) {
    std::optional<std::u16string> answer;
    search(evaluator, digits, target, [&](int a, int b, int c) {
        answer = displayFormula(digits, a, b, c);
        return true;
    });
    return answer;
}

std::vector<std::u16string> findAllSolutions(Evaluator& evaluator, const DigitTexts& digits,
                                             std::u16string_view targetText) {
    return findAllSolutions(evaluator, digits, readNumber(targetText));
}

std::vector<std::u16string> findAllSolutions(Evaluator& evaluator, const DigitTexts& digits,
                                             double target) {
    std::vector<std::u16string> answers;
    search(evaluator, digits, target, [&](int a, int b, int c) {
        answers.push_back(displayFormula(digits, a, b, c));
        return false;
    });
    return answers;
}

std::optional<DigitTexts> displayedDigits(std::u16string_view formula) {
    // Digit, space, symbol, space, ... : the digits stand at every fourth character.
    if (formula.size() != 13) return std::nullopt;
    DigitTexts digits;
    for (std::size_t i = 0; i < 4; ++i) {
        char16_t d = formula[i * 4];
        if (d < u'1' || d > u'9') return std::nullopt;
        digits[i] = std::u16string(1, d);
    }
    return digits;
}

std::vector<Digits> reachingSequences(Evaluator& evaluator, double target) {
    std::vector<Digits> reaching;
    if (std::isnan(target)) return reaching;
    for (int n = 0; n < kDigitSequences; ++n) {
        Digits digits{n / 729 % 9 + 1, n / 81 % 9 + 1, n / 9 % 9 + 1, n % 9 + 1};
        bool reached = false;
        search(evaluator, digitTexts(digits), target,
               [&](int, int, int) { return reached = true; });
        if (reached) reaching.push_back(digits);
    }
    return reaching;
}

}  // namespace pelmora::game
