// A formula compiled once and evaluated many times while the program changes its variable X,
// as a plotting loop does, against muparser and muparserx, which also parse once; and what
// compiling costs, against one Eval of the same text.
#include "summary.h"

#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/expression.h>
#include <pelmora/standard_host.h>
#include <pelmora/symbols.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <string>

#ifdef PELMORA_WITH_MUPARSER
#include <muParser.h>
#endif
#ifdef PELMORA_WITH_MUPARSERX
#include <mpParser.h>
#endif

namespace pelmora::bench {
namespace {

struct Formula {
    const char* label;
    std::u16string_view ours;
    const char* peer;  // muparser and muparserx alike
};

constexpr Formula kPlotted[] = {
    {"X*X+2*X+1", u"X*X+2*X+1", "X*X+2*X+1"},
    {"SIN(X)*EXP(-X/10)+X^2", u"SIN(X)*EXP(-X/10)+X^2", "sin(X)*exp(-X/10)+X^2"},
    {"X*2+Y", u"X*2+Y", "X*2+Y"},
    {"X^2-2*X*Y+Y^2", u"X^2-2*X*Y+Y^2", "X^2-2*X*Y+Y^2"},
    {"-X*2+SIN(Y)", u"-X*2+SIN(Y)", "-X*2+sin(Y)"},
};

// Texts compiled and evaluated once, against one Eval of each.
constexpr std::u16string_view kOnce[] = {
    u"3+4*2-1",
    u"(1+2)*(3+4)",
    u"2^10-1",
    u"1.5*4+2.25/0.5",
    u"X*X+2*X+1",
    u"X*2+Y",
    u"SIN(0.5)*COS(0.25)",
    u"LEN(\"hello\"+\" world\")",
    u"-X*2+1",
    u"ABS(-3.5)+MAX(1,2)*EXP(1)",
};

struct Host final : StandardHost {
    [[noreturn]] void endProgram(std::u16string_view) override { std::abort(); }
};

// X moves across a plot's range; Y stays.
double plotX(int n) {
    return (n & 1023) * 0.01;
}

// The plot's variables X and Y, bound to the program's doubles.
Symbols plotSymbols(double& x, double& y) {
    Symbols symbols;
    symbols.defineVariable(u"X", &x);
    symbols.defineVariable(u"Y", &y);
    return symbols;
}

void plotOurs(benchmark::State& state, Formula formula) {
    Host host;
    Evaluator evaluator(host);
    double x = 0, y = 2;
    const Symbols symbols = plotSymbols(x, y);
    const Expression expression(formula.ours, &symbols);
    int n = 0;
    const std::size_t before = heapAllocations();
    for (auto _ : state) {
        x = plotX(++n);
        benchmark::DoNotOptimize(expression.evaluate(evaluator));
    }
    state.counters["allocs"] =
        static_cast<double>(heapAllocations() - before) / static_cast<double>(state.iterations());
}

void compileOurs(benchmark::State& state) {
    for (auto _ : state)
        for (auto text : kOnce) benchmark::DoNotOptimize(Expression(text));
}

void compileOnceOurs(benchmark::State& state) {
    Host host;
    Evaluator evaluator(host);
    for (auto _ : state)
        for (auto text : kOnce) benchmark::DoNotOptimize(Expression(text).evaluate(evaluator));
}

void evalOnceOurs(benchmark::State& state) {
    Host host;
    Evaluator evaluator(host);
    for (auto _ : state)
        for (auto text : kOnce) benchmark::DoNotOptimize(evaluator.Eval(text));
}

// A peer's plotting loop: x moves as in plotOurs, and the peer evaluates.
template <typename X, typename Evaluate>
void plotPeer(benchmark::State& state, X& x, Evaluate evaluate) {
    int n = 0;
    for (auto _ : state) {
        x = plotX(++n);
        benchmark::DoNotOptimize(evaluate());
    }
}

#ifdef PELMORA_WITH_MUPARSER
void plotMuparser(benchmark::State& state, Formula formula) {
    double x = 0, y = 2;
    mu::Parser parser;
    parser.DefineVar("X", &x);
    parser.DefineVar("Y", &y);
    parser.SetExpr(formula.peer);
    plotPeer(state, x, [&] { return parser.Eval(); });
}
#endif

#ifdef PELMORA_WITH_MUPARSERX
void plotMuparserx(benchmark::State& state, Formula formula) {
    mup::Value x{0.0}, y{2.0};
    mup::ParserX parser{mup::pckALL_NON_COMPLEX};
    parser.DefineVar("X", mup::Variable(&x));
    parser.DefineVar("Y", mup::Variable(&y));
    parser.SetExpr(formula.peer);
    plotPeer(state, x, [&]() -> const mup::IValue& { return parser.Eval(); });
}
#endif

int registered = [] {
    for (std::size_t i = 0; i < std::size(kPlotted); ++i) {
        const std::string index = std::to_string(i);
        benchmark::RegisterBenchmark(("plotOurs/" + index).c_str(), plotOurs, kPlotted[i]);
#ifdef PELMORA_WITH_MUPARSER
        benchmark::RegisterBenchmark(("plotMuparser/" + index).c_str(), plotMuparser, kPlotted[i]);
#endif
#ifdef PELMORA_WITH_MUPARSERX
        benchmark::RegisterBenchmark(("plotMuparserx/" + index).c_str(), plotMuparserx,
                                     kPlotted[i]);
#endif
    }
    benchmark::RegisterBenchmark("compileOurs", compileOurs);
    benchmark::RegisterBenchmark("compileOnceOurs", compileOnceOurs);
    benchmark::RegisterBenchmark("evalOnceOurs", evalOnceOurs);
    return 0;
}();

}  // namespace

bool sameCompiledResults() {
    bool ok = true;
    Host host;
    Evaluator evaluator(host);
    double x = 0, y = 2;
    const Symbols symbols = plotSymbols(x, y);
    for (const Formula& formula : kPlotted) {
        const Expression expression(formula.ours, &symbols);
#ifdef PELMORA_WITH_MUPARSER
        mu::Parser parser;
        parser.DefineVar("X", &x);
        parser.DefineVar("Y", &y);
        parser.SetExpr(formula.peer);
#endif
        for (int n = 1; n < 2000; n += 37) {
            x = plotX(n);
            const double ours = ToNumber(expression.evaluate(evaluator));
            double peer = ours;
#ifdef PELMORA_WITH_MUPARSER
            peer = parser.Eval();
#endif
            if (std::abs(ours - peer) > 1e-12 * std::max(1.0, std::abs(peer))) {
                std::fprintf(stderr, "eval_bench: %s at X=%g: ours %.17g, muparser %.17g\n",
                             formula.label, x, ours, peer);
                ok = false;
            }
        }
    }
    return ok;
}

void printCompiledSummary(const Figures& f) {
    auto ns = [&](const std::string& name) {
        auto it = f.find(name);
        return it == f.end() ? 0.0 : it->second.ns;
    };
    auto shown = [](double v) { return v > 0 ? fixed(v, 1) : std::string("-"); };
    auto ratio = [](double ours, double peer) {
        return ours > 0 && peer > 0 ? fixed(ours / peer, 2) + "x" : std::string("-");
    };
    auto met = [](bool ok) { return ok ? "met" : "not met"; };
    auto allocs = [&](const std::string& name) {
        auto it = f.find(name);
        return it == f.end() ? std::string("-") : fixed(it->second.counters.at("allocs"), 2);
    };
    std::printf(
        "\n| Compiled once, re-evaluated after X changes (ns) | Ours | muparser | muparserx | "
        "Ours / muparser | Ours / muparserx | Our allocations |\n|---|---|---|---|---|---|---|\n");
    for (std::size_t i = 0; i < std::size(kPlotted); ++i) {
        const std::string index = std::to_string(i);
        const double ours = ns("plotOurs/" + index), mu = ns("plotMuparser/" + index),
                     mx = ns("plotMuparserx/" + index);
        std::printf("| `%s` | %s | %s | %s | %s | %s | %s |\n", kPlotted[i].label,
                    shown(ours).c_str(), shown(mu).c_str(), shown(mx).c_str(),
                    ratio(ours, mu).c_str(), ratio(ours, mx).c_str(),
                    allocs("plotOurs/" + index).c_str());
    }
    const double count = std::size(kOnce);
    const double compileOnly = ns("compileOurs") / count, once = ns("compileOnceOurs") / count,
                 eval = ns("evalOnceOurs") / count;
    std::printf("\n| Ten texts, each once (ns per text) | Figure |\n|---|---|\n");
    std::printf("| Compiling | %s |\n| Compiling and evaluating once | %s |\n| One Eval | %s |\n",
                shown(compileOnly).c_str(), shown(once).c_str(), shown(eval).c_str());

    const double square = ns("plotOurs/0"), squareMu = ns("plotMuparser/0");
    const double wave = ns("plotOurs/1"), waveMu = ns("plotMuparser/1");
    std::printf("\n| Target | Figure | |\n|---|---|---|\n");
    std::printf("| `X*X+2*X+1` no slower than muparser (floor 1.5x) | %s | %s |\n",
                ratio(square, squareMu).c_str(),
                squareMu <= 0              ? "-"
                : square <= squareMu       ? "met"
                : square <= 1.5 * squareMu ? "floor met"
                                           : "not met");
    std::printf("| `SIN(X)*EXP(-X/10)+X^2` within 1.5x muparser | %s | %s |\n",
                ratio(wave, waveMu).c_str(), waveMu > 0 ? met(wave <= 1.5 * waveMu) : "-");
    std::printf("| Compiling and evaluating once within 2x one Eval | %s | %s |\n",
                ratio(once, eval).c_str(), met(once <= 2 * eval));
}

}  // namespace pelmora::bench
