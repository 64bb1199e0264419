// Eval on the game's formulas and on heavier expressions.
//
//   cmake -S . -B build-bench -G Ninja -DPELMORA_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target eval_bench && ./build-bench/bench/eval_bench
#include "evaluator/conversions.h"
#include "evaluator/evaluator.h"
#include "evaluator/standard_host.h"
#include "evaluator/text.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

#ifdef PELMORA_WITH_MUPARSER
#include <muParser.h>
#endif

namespace {

class BenchHost : public pelmora::StandardHost {
  public:
    [[noreturn]] void endProgram(std::u16string_view) override { std::abort(); }
};

void evalText(benchmark::State& state, const char16_t* text) {
    BenchHost host;
    pelmora::Evaluator evaluator(host);
    for (auto _ : state) benchmark::DoNotOptimize(evaluator.Eval(text));
}

BENCHMARK_CAPTURE(evalText, game_formula, u"3+1*9-2");
BENCHMARK_CAPTURE(evalText, game_formula_division, u"2/7*5*7");
BENCHMARK_CAPTURE(evalText, parentheses, u"((1+2)*(3+4)-5)/6");
BENCHMARK_CAPTURE(evalText, functions, u"SQR(ABS(SIN(1)-COS(2)))+LOG10(100)");
BENCHMARK_CAPTURE(evalText, text, u"MID$(\"ABCDEF\",2,3)+STR$(12.5)");
BENCHMARK_CAPTURE(evalText, comparison_and_words, u"1<2 AND 3<4 OR 5 MOD 2");

// What the game does per candidate: evaluate, print, read back.
void gameCandidate(benchmark::State& state) {
    BenchHost host;
    pelmora::Evaluator evaluator(host);
    for (auto _ : state) {
        double d = pelmora::leadingNumber(pelmora::plainText(evaluator.Eval(u"3+1*9-2")));
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(gameCandidate);

// Every operator choice for every digit sequence: the worst case of a target nothing reaches.
void fullCensus(benchmark::State& state) {
    BenchHost host;
    pelmora::Evaluator evaluator(host);
    const char16_t ops[] = u"+-/*";
    for (auto _ : state) {
        int hits = 0;
        std::u16string f = u"1+1+1+1";
        for (int n = 0; n < 6561; ++n) {
            int m = n;
            for (int k = 3; k >= 0; --k, m /= 9) f[k * 2] = static_cast<char16_t>(u'1' + m % 9);
            for (int o = 0; o < 64; ++o) {
                f[1] = ops[o >> 4];
                f[3] = ops[(o >> 2) & 3];
                f[5] = ops[o & 3];
                if (pelmora::leadingNumber(pelmora::plainText(evaluator.Eval(f))) == 0.123) ++hits;
            }
        }
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(fullCensus)->Unit(benchmark::kMillisecond);

#ifdef PELMORA_WITH_MUPARSER
void muparserFormula(benchmark::State& state) {
    mu::Parser parser;
    parser.SetExpr("3+1*9-2");
    for (auto _ : state) benchmark::DoNotOptimize(parser.Eval());
}
BENCHMARK(muparserFormula);

// Parsing anew each time, as Eval always does.
void muparserFormulaReparsed(benchmark::State& state) {
    mu::Parser parser;
    for (auto _ : state) {
        parser.SetExpr("3+1*9-2");
        benchmark::DoNotOptimize(parser.Eval());
    }
}
BENCHMARK(muparserFormulaReparsed);
#endif

}  // namespace
