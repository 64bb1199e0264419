// pelmora-solve DIGITS [--target T] [--all] | pelmora-solve --census [--target T]
//
// Prints the example answer the window would show for four digits 1-9 (e.g. 3192), every
// solution with --all, or with --census how many of the 6561 digit sequences can be solved.
// Exit status: 0 found (--census: always), 1 no solution, 2 bad input.
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

namespace {

class SolveHost : public pelmora::StandardHost {
  public:
    // As in the game (whose formulas never call an undeclared name).
    UndeclaredCall undeclaredCall() override { return UndeclaredCall::EndProgram; }
    [[noreturn]] void endProgram(std::u16string_view message) override {
        std::fputs(("pelmora-solve: " + pelmora::toUtf8(message) + "\n").c_str(), stderr);
        std::exit(2);
    }
};

constexpr std::string_view kFooter = R"(Examples:
  pelmora-solve 3192                 3 ＋ 1 × 9 － 2, the example answer the window shows
  pelmora-solve 3192 --all           every solution, one a line, in search order
  pelmora-solve --target=24 4611     another target (read as the target box reads it)
  pelmora-solve --census             3133 of 6561: digit sequences that reach the target

The target is read as the game reads its target box: the number at the start of the text,
0 when there is none (a warning then says so).

Exit status:
  0  a solution was found (--census: always)
  1  no solution
  2  wrong usage or bad digits)";

// Whether the game's leading-number parse finds a number at all (it reads 0 otherwise).
// Spaces, tabs and line feeds are skipped anywhere, as that parse does.
bool holdsNumber(std::u16string_view text) {
    std::u16string s;
    for (char16_t c : text)
        if (c != u' ' && c != u'\t' && c != u'\n') s.push_back(c);
    auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    if (s.size() >= 2 && s[0] == u'&') {
        char16_t radix = s[1];
        if (radix == u'H' || radix == u'h')
            return s.size() > 2 && (digit(s[2]) || (s[2] >= u'A' && s[2] <= u'F') ||
                                    (s[2] >= u'a' && s[2] <= u'f'));
        if (radix == u'O' || radix == u'o') return s.size() > 2 && s[2] >= u'0' && s[2] <= u'7';
    }
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (digit(s[i])) return true;
        if (s[i] != u'.' || point) return false;
        point = true;
    }
    return false;
}

void warn(const std::string& message) {
    std::fputs(("pelmora-solve: warning: " + message + "\n").c_str(), stderr);
}

void printLine(std::u16string_view text) {
    std::fputs((pelmora::toUtf8(text) + "\n").c_str(), stdout);
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
        if (digitText.size() != 4 || digitText.find_first_not_of("123456789") != std::string::npos)
            pelmora::tools::usageError(app, "'" + digitText + "' is not four digits 1-9");
    }

    // The game's reading of its target box: the half-width translation (full-width digits
    // count), then the leading-number parse.
    std::u16string targetText = pelmora::game::translateFormula(pelmora::fromUtf8(target));
    if (!holdsNumber(targetText))
        warn("no number can be read in the target '" + target + "'; it reads as 0");
    else if (std::isnan(pelmora::game::readNumber(targetText)))
        warn("the target '" + target + "' is too large to read; nothing reaches it");

    SolveHost host;
    pelmora::Evaluator evaluator(host);
    if (census) {
        auto reaching =
            pelmora::game::reachingSequences(evaluator, pelmora::game::readNumber(targetText));
        std::string line = std::to_string(reaching.size()) + " of " +
                           std::to_string(pelmora::game::kDigitSequences) + "\n";
        std::fputs(line.c_str(), stdout);
        return 0;
    }

    pelmora::game::DigitTexts texts;
    for (std::size_t i = 0; i < 4; ++i) texts[i] = std::u16string(1, char16_t(digitText[i]));

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
