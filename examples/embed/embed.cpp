// A program that embeds the evaluator: its expressions may use RATE, a variable bound to the
// program's own double, and TAX(amount), a function of its own. Each typed formula is checked
// strictly first, so a misspelt name or a missing parenthesis is shown with a caret under it
// instead of giving a quiet 0; the sandbox host shows formulas nothing of the process.
//
//   embed                     checks and evaluates a few examples
//   embed 'TAX(250)*2' ...    checks and evaluates the arguments
#include <pelmora/check.h>
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/sandbox_host.h>
#include <pelmora/symbols.h>
#include <pelmora/version.h>

#include <cstddef>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The characters (not bytes) before a byte offset, for a caret under it.
std::size_t column(std::string_view utf8, std::size_t offset) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < offset && i < utf8.size(); ++i)
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) ++n;
    return n;
}

// What went wrong, and a caret under the place when it is known.
void printProblem(std::string_view text, const std::string& message,
                  std::optional<std::size_t> offset) {
    std::printf("  %s\n", message.c_str());
    if (!offset) return;
    std::printf("    %.*s\n    %*s^\n", static_cast<int>(text.size()), text.data(),
                static_cast<int>(column(text, *offset)), "");
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> expressions(argv + 1, argv + argc);
    if (expressions.empty())
        expressions = {"TAX(1000)", "RATE*100",  "TAX(\"x\")", "PRICE(3)",
                       "1/0",       "2*(RATE+1", "1e-3*5"};

    std::printf("libpelmora %s (built against %s)\n", pelmora::libraryVersion(),
                PELMORA_VERSION_TEXT);
    double rate = 0.1;
    pelmora::Symbols shop;
    shop.defineVariable("RATE", &rate);
    shop.defineFunction("TAX", 1, [&rate](std::span<const pelmora::Value> amount) {
        // toDouble fails on a text; the message reaches the caller like a built-in's.
        return pelmora::Value::number(amount[0].toDouble() * (1 + rate));
    });
    pelmora::SandboxHost host;
    pelmora::Evaluator evaluator(host);
    evaluator.setSymbols(&shop);
    for (const std::string& text : expressions) {
        const auto problems = pelmora::check(text, &shop, pelmora::Strictness::Strict);
        if (!problems.empty()) {
            std::printf("%s: not evaluated\n", text.c_str());
            for (const pelmora::Diagnostic& problem : problems)
                printProblem(text, problem.message + " [" + problem.id + "]", problem.offset);
            continue;
        }
        const pelmora::Outcome outcome = evaluator.evaluate(text);
        std::printf("%s = %s", text.c_str(), pelmora::plainTextUtf8(outcome.value).c_str());
        if (outcome.ok()) {
            std::printf("\n");
            continue;
        }
        std::printf(" [code %d]\n", outcome.code);
        printProblem(text, outcome.message, outcome.offset);
    }
}
