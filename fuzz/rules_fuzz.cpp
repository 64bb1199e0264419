// Feeds arbitrary text to the game's answer check and target reading. The input's first line
// is the typed answer, the second the target, the third (when present) four digits for the
// search. For each input, on a fresh evaluator:
// - the answer check: the formula translation and the value the game compares;
// - the target reading: the text OK writes back must stay as it is when written back again
//   (cleaning twice changes nothing), and a text in which no number is found reads as 0;
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

        const double target = readTarget(lines[1]);
        if (!std::isnan(target)) {
            const std::u16string cleaned = cleanTarget(lines[1]);
            if (std::isnan(readTarget(cleaned)) || cleanTarget(cleaned) != cleaned)
                __builtin_trap();
        }
        if (!holdsTarget(lines[1]) && target != 0) __builtin_trap();

        findSolution(evaluator, digitTexts(digitsFrom(lines[2])), lines[1]);
    } catch (const fuzzing::ProgramEnded&) {
        // An answer that names an undeclared array ends the program.
    }
    return 0;
}
