// pelmora-solve DIGITS [--target T] [--all] | pelmora-solve --census [--target T]
//
// Prints the example answer the window would show for four digits 1-9 (e.g. 3192), every
// solution with --all, or with --census how many of the 6561 digit sequences can be solved.
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/standard_host.h>
#include "game/rules/mivor10.h"
#include "game/rules/solver.h"
#include "tools/command_line.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

class SolveHost : public pelmora::StandardHost {
  public:
    // As in the game (whose formulas never call an undeclared name).
    UndeclaredCall undeclaredCall() override { return UndeclaredCall::EndProgram; }
    [[noreturn]] void endProgram(std::u16string_view message) override {
        std::fputs(("pelmora-solve: " + pelmora::toUtf8(message) + "\n").c_str(), stderr);
        std::exit(pelmora::tools::kProgramEnded);
    }
};

constexpr std::string_view kFooter = R"(Examples:
  pelmora-solve 3192                 3 ＋ 1 × 9 － 2, the example answer the window shows
  pelmora-solve 3192 --all           every solution, one a line, in search order
  pelmora-solve --target=24 4611     another target (read as the target box reads it)
  pelmora-solve --census             3133 of 6561: digit sequences that reach the target

The target is read as the game reads its target box: the number at the start of the text,
0 when there is none (a warning then says so). Bad digits are wrong usage.)";

void warn(const std::string& message) {
    std::fputs(("pelmora-solve: warning: " + message + "\n").c_str(), stderr);
}

void printLine(std::u16string_view text) {
    pelmora::tools::writeOutput(pelmora::toUtf8(text) + "\n");
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Finds the operators that make four digits reach the target, as the game's "
        "example answer does.",
        "pelmora-solve"};
    pelmora::tools::describe(
        app, "pelmora-solve [OPTIONS] DIGITS\n  or:  pelmora-solve --census [--target T]", kFooter);
    std::string digitText;
    std::string target = "10";
    bool all = false;
    bool census = false;
    app.add_option("DIGITS", digitText, "Four digits 1-9, e.g. 3192")->type_name("");
    app.add_option("--target", target, "The target's text (default 10)")->type_name("T");
    app.add_flag("--all", all, "Print every solution, not just the first");
    app.add_flag("--census", census, "Count the digit sequences that reach the target");
    if (auto status = pelmora::tools::parse(app, argc, argv)) return *status;
    if (census) {
        if (all) pelmora::tools::usageError(app, "--census and --all cannot go together");
        if (app.count("DIGITS")) pelmora::tools::usageError(app, "--census takes no DIGITS");
    } else {
        if (!app.count("DIGITS"))
            pelmora::tools::usageError(app, "DIGITS is missing (or give --census)");
    }
    const auto digits = pelmora::game::readDigits(pelmora::fromUtf8(digitText));
    if (!census && !digits)
        pelmora::tools::usageError(app, "'" + digitText + "' is not four digits 1-9");

    // Read as the game reads its target box.
    const std::u16string targetText = pelmora::fromUtf8(target);
    const double targetValue = pelmora::game::readTarget(targetText);
    if (!pelmora::game::holdsTarget(targetText))
        warn("no number can be read in the target '" + target + "'; it reads as 0");
    else if (std::isnan(targetValue))
        warn("the target '" + target + "' is too large to read; nothing reaches it");

    SolveHost host;
    pelmora::Evaluator evaluator(host);
    if (census) {
        auto reaching = pelmora::game::reachingSequences(evaluator, targetValue);
        pelmora::tools::writeOutput(std::to_string(reaching.size()) + " of " +
                                    std::to_string(pelmora::game::kDigitSequences) + "\n");
        pelmora::tools::flushOutput();
        return 0;
    }

    const pelmora::game::DigitTexts texts = pelmora::game::digitTexts(*digits);
    std::vector<std::u16string> answers;
    if (all) {
        answers = pelmora::game::findAllSolutions(evaluator, texts, targetValue);
    } else if (auto answer = pelmora::game::findSolution(evaluator, texts, targetValue)) {
        answers.push_back(std::move(*answer));
    }
    for (const auto& answer : answers) printLine(answer);
    pelmora::tools::flushOutput();
    return answers.empty() ? pelmora::tools::kNoSolution : 0;
}
