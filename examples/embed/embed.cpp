// A program that embeds the evaluator: its expressions may use RATE, a variable it supplies,
// and TAX(amount), a function of its own. A call of any other undeclared name is reported
// instead of ending the program.
//
//   embed                     evaluates a few examples
//   embed 'TAX(250)*2' ...    evaluates the arguments
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/failure.h>
#include <pelmora/standard_host.h>
#include <pelmora/version.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The clock, environment and random numbers of the process, plus the shop's own names.
class ShopHost : public pelmora::StandardHost {
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
        // ToNumber fails on a text that is no number; Eval traps it like a built-in's failure.
        return pelmora::Value::number(pelmora::ToNumber(arguments[0]) * (1 + rate));
    }

    UndeclaredCall undeclaredCall() override { return UndeclaredCall::Report; }

    [[noreturn]] void endProgram(std::u16string_view message) override {
        std::fprintf(stderr, "%s\n", pelmora::toUtf8(message).c_str());
        std::exit(3);
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> expressions(argv + 1, argv + argc);
    if (expressions.empty()) expressions = {"TAX(1000)", "RATE*100", "TAX(\"x\")", "PRICE(3)"};

    std::printf("libpelmora %s (built against %s)\n", pelmora::libraryVersion(),
                PELMORA_VERSION_TEXT);
    ShopHost host;
    pelmora::Evaluator evaluator(host);
    for (const std::string& text : expressions) {
        evaluator.EvalErrorCode = 0;
        pelmora::Value result = evaluator.Eval(pelmora::fromUtf8(text));
        std::printf("%s = %s", text.c_str(), pelmora::toUtf8(pelmora::plainText(result)).c_str());
        if (evaluator.EvalErrorCode != 0) std::printf(" [code %d]", evaluator.EvalErrorCode);
        if (!evaluator.undeclaredName().empty())
            std::printf(" [undeclared %s]", pelmora::toUtf8(evaluator.undeclaredName()).c_str());
        std::printf("\n");
    }
}
