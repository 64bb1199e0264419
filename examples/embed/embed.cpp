// A program that embeds the evaluator: its expressions may use RATE, a variable it supplies,
// and TAX(amount), a function of its own. The sandbox host shows them nothing of the process,
// and a call of any other name fails with a message instead of ending the program.
//
//   embed                     evaluates a few examples
//   embed 'TAX(250)*2' ...    evaluates the arguments
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/failure.h>
#include <pelmora/sandbox_host.h>
#include <pelmora/version.h>

#include <cstddef>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The clock and random numbers, plus the shop's own names.
class ShopHost : public pelmora::SandboxHost {
  public:
    double rate = 0.1;

    std::optional<pelmora::Value> variable(std::u16string_view name) override {
        if (name == u"RATE") return pelmora::Value::number(rate);
        return std::nullopt;  // every other variable keeps its default, 0 or ""
    }

    bool hasFunction(std::u16string_view name) override { return name == u"TAX"; }

    pelmora::Value callFunction(std::u16string_view,
                                std::span<const pelmora::Value> arguments) override {
        if (arguments.size() != 1) throw pelmora::EvalFailure("TAX takes one amount");
        // toDouble fails on a text; the message reaches the caller like a built-in's.
        return pelmora::Value::number(arguments[0].toDouble() * (1 + rate));
    }
};

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
        expressions = {"TAX(1000)", "RATE*100", "TAX(\"x\")", "PRICE(3)", "1/0"};

    std::printf("libpelmora %s (built against %s)\n", pelmora::libraryVersion(),
                PELMORA_VERSION_TEXT);
    ShopHost host;
    pelmora::Evaluator evaluator(host);
    for (const std::string& text : expressions) {
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
