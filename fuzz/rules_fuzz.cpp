// Feeds arbitrary text to the game's answer check and target reading. The input's first line
// is the typed answer, the second the target, the third (when present) four digits for the
// search. For each input, on a fresh evaluator:
// - the answer check: the formula translation and the value the game compares;
// - the target reading: the leading-number parse and the normalised text OK writes back,
//   which must read back to a number whose text is the same (normalising twice changes
//   nothing);
// - the search over the 64 formulas of the digits, for the target as typed.
// The census of all 6561 sequences is left to the handler benchmark: it runs far past the
// timeout under the fuzzer's instrumentation.
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include "fuzz/fuzz_host.h"
#include "game/rules/mivor10.h"
#include "game/rules/solver.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace pelmora;
using namespace pelmora::game;

// The digits 1-9 from the line's first four characters; others read as 9.
Digits digitsFrom(std::u16string_view line) {
    Digits digits{9, 9, 9, 9};
    for (std::size_t i = 0; i < 4 && i < line.size(); ++i)
        if (line[i] >= u'1' && line[i] <= u'9') digits[i] = line[i] - u'0';
    return digits;
}

std::u16string_view trimSpaces(std::u16string_view text) {
    auto first = text.find_first_not_of(u' ');
    if (first == text.npos) return {};
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text = fromUtf8({reinterpret_cast<const char*>(data), size});
    std::u16string_view rest = text;
    std::u16string_view lines[3];
    for (int i = 0; i < 3 && !rest.empty(); ++i) {
        auto end = i < 2 ? rest.find(u'\n') : rest.npos;
        lines[i] = rest.substr(0, end);
        rest = end == rest.npos ? std::u16string_view{} : rest.substr(end + 1);
    }

    fuzzing::FuzzHost host;
    Evaluator evaluator(host);
    try {
        formulaValue(evaluator, translateFormula(lines[0]));

        double target = readNumber(trimSpaces(lines[1]));
        if (!std::isnan(target)) {
            std::u16string normalised = plainText(Value::number(target));
            double again = readNumber(normalised);
            if (std::isnan(again) || plainText(Value::number(again)) != normalised)
                __builtin_trap();
        }

        findSolution(evaluator, digitTexts(digitsFrom(lines[2])), lines[1]);
    } catch (const fuzzing::ProgramEnded&) {
        // An answer that names an undeclared array ends the program.
    }
    return 0;
}
