// pelmora-solve DIGITS [--target T] [--all | --census]
//
// Prints the example answer the window would show for four digits 1-9 (e.g. 3192), every
// solution with --all, or with --census how many of the 6561 digit sequences can be solved.
// Exit status: 0 found (--census: always), 1 no solution, 2 bad input.
#include "evaluator/evaluator.h"
#include "evaluator/standard_host.h"
#include "evaluator/text.h"
#include "game/rules/solver.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace {

class SolveHost : public pelmora::StandardHost {
  public:
    [[noreturn]] void endProgram(std::u16string_view message) override {
        std::fputs(("pelmora-solve: " + pelmora::toUtf8(message) + "\n").c_str(), stderr);
        std::exit(2);
    }
};

int usage(const std::string& problem) {
    std::string line = "pelmora-solve: " + problem +
                       " (usage: pelmora-solve DIGITS [--target T] [--all]"
                       " | pelmora-solve --census [--target T])\n";
    std::fputs(line.c_str(), stderr);
    return 2;
}

void printLine(std::u16string_view text) {
    std::fputs((pelmora::toUtf8(text) + "\n").c_str(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<std::string> digits;
    std::string target = "10";
    bool all = false;
    bool census = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--all") {
            all = true;
        } else if (arg == "--census") {
            census = true;
        } else if (arg == "--target") {
            if (i + 1 >= argc) return usage("--target needs a value");
            target = argv[++i];
        } else if (arg.starts_with("--")) {
            return usage("unknown option " + std::string(arg));
        } else if (digits) {
            return usage("more than one digit group");
        } else {
            digits = std::string(arg);
        }
    }
    if (census && (all || digits)) return usage("--census takes no digits");

    SolveHost host;
    pelmora::Evaluator evaluator(host);
    std::u16string targetText = pelmora::fromUtf8(target);
    if (census) {
        auto reaching =
            pelmora::game::reachingSequences(evaluator, pelmora::game::readNumber(targetText));
        std::string line = std::to_string(reaching.size()) + " of " +
                           std::to_string(pelmora::game::kDigitSequences) + "\n";
        std::fputs(line.c_str(), stdout);
        return 0;
    }

    if (!digits) return usage("no digits given");
    if (digits->size() != 4 || digits->find_first_not_of("123456789") != std::string::npos)
        return usage("'" + *digits + "' is not four digits 1-9");
    pelmora::game::DigitTexts texts;
    for (std::size_t i = 0; i < 4; ++i) texts[i] = std::u16string(1, char16_t((*digits)[i]));

    if (all) {
        auto answers = pelmora::game::findAllSolutions(evaluator, texts, targetText);
        for (const auto& answer : answers) printLine(answer);
        return answers.empty() ? 1 : 0;
    }
    auto answer = pelmora::game::findSolution(evaluator, texts, targetText);
    if (!answer) return 1;
    printLine(*answer);
    return 0;
}
