// What Eval costs: the game's check and census against muparser and a hand-written limit,
// general expressions against a direct evaluator in doubles, what an embedding program pays
// against muparserx and muparser (embed_bench.cpp), heap allocations per Eval, and every
// hostile input shape at three sizes.
//
//   scripts/bench-summary.sh                     builds, runs everything, prints the summary
//   ./build-bench/bench/eval_bench --summary     the same, on a built binary
//   ./build-bench/bench/eval_bench               the plain Google Benchmark report
//
// Times in the summary are CPU times per iteration, the fastest of three runs, so other load
// on the machine disturbs them less than wall-clock times would.
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/standard_host.h>
#include "game/rules/solver.h"
#include "summary.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#ifdef PELMORA_WITH_MUPARSER
#include <muParser.h>
#endif

// Every heap allocation of the program is counted, so a benchmark can report how many one
// evaluation makes. (GCC takes the replaced pair below for a mismatch once it inlines them.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::size_t allocations = 0;
}  // namespace

std::size_t pelmora::bench::heapAllocations() {
    return allocations;
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using pelmora::Evaluator;
using pelmora::Value;

class BenchHost : public pelmora::StandardHost {
  public:
    [[noreturn]] void endProgram(std::u16string_view) override { std::abort(); }
};

// ---------------------------------------------------------------------------------------------
// The limits, written for this benchmark.

// The game's formula (digit, operator, digit, ...: no parentheses, no signs) folded by hand:
// "*" and "/" into a running term, "+" and "-" into the sum.
double foldFormula(std::u16string_view f) {
    double sum = 0;
    double term = f[0] - u'0';
    char16_t pending = u'+';
    for (std::size_t i = 1; i + 1 < f.size(); i += 2) {
        double digit = f[i + 1] - u'0';
        switch (f[i]) {
            case u'*':
                term *= digit;
                break;
            case u'/':
                term /= digit;
                break;
            default:
                sum = pending == u'+' ? sum + term : sum - term;
                pending = f[i];
                term = digit;
        }
    }
    return pending == u'+' ? sum + term : sum - term;
}

// The same text round trip as the game: the plain text form, then the leading-number parse.
double roundTrip(double d) {
    pelmora::PlainTextBuffer buffer;
    return pelmora::leadingNumber(pelmora::plainTextInto(Value::number(d), buffer));
}

// A direct recursive-descent evaluator in doubles for + - * / ^, parentheses and unary minus,
// with the evaluator's priorities (equal priorities from left to right).
class Direct {
  public:
    explicit Direct(std::u16string_view text) : t_(text) {}
    double run() { return sum(); }

  private:
    char16_t peek() const { return i_ < t_.size() ? t_[i_] : u'\0'; }
    double sum() {
        double v = product();
        for (char16_t c = peek(); c == u'+' || c == u'-'; c = peek()) {
            ++i_;
            double r = product();
            v = c == u'+' ? v + r : v - r;
        }
        return v;
    }
    double product() {
        double v = power();
        for (char16_t c = peek(); c == u'*' || c == u'/'; c = peek()) {
            ++i_;
            double r = power();
            v = c == u'*' ? v * r : v / r;
        }
        return v;
    }
    double power() {
        double v = unary();
        while (peek() == u'^') {
            ++i_;
            v = std::pow(v, unary());
        }
        return v;
    }
    double unary() {
        if (peek() == u'-') {
            ++i_;
            return -unary();
        }
        if (peek() == u'(') {
            ++i_;
            double v = sum();
            ++i_;  // ")"
            return v;
        }
        return number();
    }
    double number() {
        long long whole = 0;
        for (; i_ < t_.size() && t_[i_] >= u'0' && t_[i_] <= u'9'; ++i_)
            whole = whole * 10 + (t_[i_] - u'0');
        double v = static_cast<double>(whole);
        if (peek() == u'.') {
            long long fraction = 0;
            double scale = 1;
            for (++i_; i_ < t_.size() && t_[i_] >= u'0' && t_[i_] <= u'9'; ++i_) {
                fraction = fraction * 10 + (t_[i_] - u'0');
                scale *= 10;
            }
            v += static_cast<double>(fraction) / scale;
        }
        return v;
    }

    std::u16string_view t_;
    std::size_t i_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The game's check and census.

constexpr std::u16string_view kGameFormula = u"3+1*9-2";
constexpr double kTarget = 10;
constexpr char16_t kOperatorChars[] = u"+-/*";

// The census of pelmora-solve --census: every digit sequence 1111-9999 (digits 1-9), its 64
// formulas in search order until the first reaches 10. Returns how many sequences do.
template <typename Value>
int census(Value value) {
    int reaching = 0;
    std::array<char16_t, 7> f{};
    for (int n = 0; n < 6561; ++n) {
        int m = n;
        for (int k = 3; k >= 0; --k, m /= 9) f[k * 2] = static_cast<char16_t>(u'1' + m % 9);
        for (int o = 0; o < 64; ++o) {
            f[1] = kOperatorChars[o >> 4];
            f[3] = kOperatorChars[(o >> 2) & 3];
            f[5] = kOperatorChars[o & 3];
            if (value(std::u16string_view(f.data(), f.size())) == kTarget) {
                ++reaching;
                break;
            }
        }
    }
    return reaching;
}

void gameCheckOurs(benchmark::State& state) {
    BenchHost host;
    Evaluator evaluator(host);
    for (auto _ : state)
        benchmark::DoNotOptimize(pelmora::game::formulaValue(evaluator, kGameFormula));
}
BENCHMARK(gameCheckOurs);

void gameCheckFold(benchmark::State& state) {
    std::u16string formula(kGameFormula);
    for (auto _ : state) {
        benchmark::DoNotOptimize(formula.data());
        benchmark::DoNotOptimize(roundTrip(foldFormula(formula)));
    }
}
BENCHMARK(gameCheckFold);

void censusOurs(benchmark::State& state) {
    BenchHost host;
    Evaluator evaluator(host);
    for (auto _ : state)
        benchmark::DoNotOptimize(census(
            [&](std::u16string_view f) { return pelmora::game::formulaValue(evaluator, f); }));
}
BENCHMARK(censusOurs)->Unit(benchmark::kMillisecond);

void censusFold(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            census([](std::u16string_view f) { return roundTrip(foldFormula(f)); }));
}
BENCHMARK(censusFold)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// General expressions, each evaluated from its text every time.

constexpr std::u16string_view kGeneral[] = {
    u"3+4*2-1",         u"(1+2)*(3+4)",     u"2^10-1",           u"1.5*4+2.25/0.5",
    u"((12+8)/4-1)*3",  u"100/7+3*(2-5)",   u"8/4/2+10-2-3",     u"1+2*3^2",
    u"(3.14159*2.5)/4", u"2*(3+(4*(5+6)))", u"123.456-78.9*0.5", u"(1+2+3+4+5+6+7+8+9)/9",
};
// The same kind of expressions with signs: a sign belongs to the number after it, which the
// slot row reads through a nested call and plain arithmetic reads directly.
constexpr std::u16string_view kSigned[] = {
    u"2*-3+1",   u"-3+4*2",   u"(1+2)*-3",   u"10-(-2)",  u"-1.5*-2",   u"2*-3-4*-5",
    u"-(4/2)+1", u"7/-2+0.5", u"-8/(-4)*-2", u"3*(-2+5)", u"-10+20-30", u"1-(-1)-(-1)",
};
constexpr double kSignedCount = std::size(kSigned);
constexpr double kGeneralCount = std::size(kGeneral);

void generalOurs(benchmark::State& state) {
    BenchHost host;
    Evaluator evaluator(host);
    for (auto _ : state)
        for (auto text : kGeneral) benchmark::DoNotOptimize(evaluator.Eval(text));
    state.SetItemsProcessed(state.iterations() * std::size(kGeneral));
}
BENCHMARK(generalOurs);

void signedOurs(benchmark::State& state) {
    BenchHost host;
    Evaluator evaluator(host);
    for (auto _ : state)
        for (auto text : kSigned) benchmark::DoNotOptimize(evaluator.Eval(text));
}
BENCHMARK(signedOurs);

void signedDirect(benchmark::State& state) {
    for (auto _ : state)
        for (auto text : kSigned) {
            benchmark::DoNotOptimize(text.data());
            benchmark::DoNotOptimize(Direct(text).run());
        }
}
BENCHMARK(signedDirect);

void generalDirect(benchmark::State& state) {
    for (auto _ : state)
        for (auto text : kGeneral) {
            benchmark::DoNotOptimize(text.data());
            benchmark::DoNotOptimize(Direct(text).run());
        }
    state.SetItemsProcessed(state.iterations() * std::size(kGeneral));
}
BENCHMARK(generalDirect);

#ifdef PELMORA_WITH_MUPARSER
std::string narrow(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

void gameCheckMuparser(benchmark::State& state) {
    mu::Parser parser;
    std::string formula = narrow(kGameFormula);
    for (auto _ : state) {
        parser.SetExpr(formula);
        benchmark::DoNotOptimize(roundTrip(parser.Eval()));
    }
}
BENCHMARK(gameCheckMuparser);

void censusMuparser(benchmark::State& state) {
    mu::Parser parser;
    for (auto _ : state)
        benchmark::DoNotOptimize(census([&](std::u16string_view f) {
            parser.SetExpr(narrow(f));
            return roundTrip(parser.Eval());
        }));
}
BENCHMARK(censusMuparser)->Unit(benchmark::kMillisecond);

void generalMuparser(benchmark::State& state) {
    mu::Parser parser;
    std::vector<std::string> texts;
    for (auto text : kGeneral) texts.push_back(narrow(text));
    for (auto _ : state)
        for (const auto& text : texts) {
            parser.SetExpr(text);
            benchmark::DoNotOptimize(parser.Eval());
        }
    state.SetItemsProcessed(state.iterations() * std::size(kGeneral));
}
BENCHMARK(generalMuparser);

void signedMuparser(benchmark::State& state) {
    mu::Parser parser;
    std::vector<std::string> texts;
    for (auto text : kSigned) texts.push_back(narrow(text));
    for (auto _ : state)
        for (const auto& text : texts) {
            parser.SetExpr(text);
            benchmark::DoNotOptimize(parser.Eval());
        }
}
BENCHMARK(signedMuparser);
#endif

// ---------------------------------------------------------------------------------------------
// Heap allocations per Eval, counted by the operator new above.

template <typename Body>
void countAllocations(benchmark::State& state, Body body, double perIteration) {
    std::size_t before = allocations;
    for (auto _ : state) body();
    state.counters["allocs"] = static_cast<double>(allocations - before) /
                               (static_cast<double>(state.iterations()) * perIteration);
}

void allocationsGameFormula(benchmark::State& state) {
    BenchHost host;
    Evaluator evaluator(host);
    countAllocations(
        state, [&] { benchmark::DoNotOptimize(evaluator.Eval(kGameFormula)); }, 1);
}
BENCHMARK(allocationsGameFormula);

void allocationsGameComparison(benchmark::State& state) {
    BenchHost host;
    Evaluator evaluator(host);
    countAllocations(
        state,
        [&] {
            benchmark::DoNotOptimize(pelmora::game::formulaValue(evaluator, kGameFormula) ==
                                     kTarget);
        },
        1);
}
BENCHMARK(allocationsGameComparison);

void allocationsGeneral(benchmark::State& state) {
    BenchHost host;
    Evaluator evaluator(host);
    countAllocations(
        state,
        [&] {
            for (auto text : kGeneral) benchmark::DoNotOptimize(evaluator.Eval(text));
        },
        kGeneralCount);
}
BENCHMARK(allocationsGeneral);

void allocationsSigned(benchmark::State& state) {
    BenchHost host;
    Evaluator evaluator(host);
    countAllocations(
        state,
        [&] {
            for (auto text : kSigned) benchmark::DoNotOptimize(evaluator.Eval(text));
        },
        kSignedCount);
}
BENCHMARK(allocationsSigned);

// ---------------------------------------------------------------------------------------------
// Hostile shapes: each input built for a size n (characters of the text, or of the texts it
// makes), evaluated once per iteration. The label tells how it ended.

std::u16string repeat(std::u16string_view piece, std::size_t times) {
    std::u16string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

std::u16string number16(long long n) {
    std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

// "(" x k, "1", ")" x k: n characters in all.
std::u16string parentheses(std::size_t n) {
    std::size_t k = (n - 1) / 2;
    return repeat(u"(", k) + u"1" + repeat(u")", k);
}

// A search that a naive scan does in n x n / 2 steps.
std::u16string search(std::size_t n) {
    return u"INSTR(STRING$(" + number16(static_cast<long long>(2 * n)) + u",\"A\"),STRING$(" +
           number16(static_cast<long long>(n)) + u",\"A\")+\"B\")";
}

// 100 texts of n / 100 spaces joined by "+".
std::u16string joinedSum(std::size_t n) {
    std::u16string term = u"SPACE$(" + number16(static_cast<long long>(n / 100)) + u")";
    std::u16string sum = term;
    for (int i = 1; i < 100; ++i) sum += u"+" + term;
    return sum;
}

std::u16string joined(std::size_t n) {
    return u"LEN(" + joinedSum(n) + u")";
}

// Four such sums, each compared with 1.
std::u16string fourJoined(std::size_t n) {
    std::u16string out;
    for (int i = 0; i < 4; ++i) out += (i ? u" OR LEN(" : u"LEN(") + joinedSum(n) + u")=1";
    return out;
}

std::u16string nots(std::size_t n) {
    return repeat(u"NOT", n / 3) + u"1";
}

std::u16string evalSigns(std::size_t n) {
    return u"EVAL(STRING$(" + number16(static_cast<long long>(n)) + u",\"-\")+\"1\")";
}

std::u16string signs(std::size_t n) {
    return repeat(u"-", n) + u"1";
}

struct Shape {
    const char* name;
    std::u16string (*make)(std::size_t);
    long long tableSize;  // the size it was first reported at, when that is past 10^6
};

constexpr Shape kShapes[] = {
    {"parentheses", parentheses, 0},
    {"instr", search, 0},
    {"joined_sum", joined, 33'554'400},  // 100 x SPACE$(335544)
    {"four_joined_sums", fourJoined, 33'554'400},
    {"nots", nots, 7'500'001},              // "NOT" x 2,500,000
    {"eval_signs", evalSigns, 33'554'431},  // EVAL(STRING$(33554431,"-")+"1")
    {"signs", signs, 0},
};

void hostile(benchmark::State& state, const Shape& shape) {
    BenchHost host;
    Evaluator evaluator(host);
    std::u16string text = shape.make(static_cast<std::size_t>(state.range(0)));
    Value result;
    for (auto _ : state) {
        evaluator.EvalErrorCode = 0;
        result = evaluator.Eval(text);
    }
    std::string shown = pelmora::toUtf8(pelmora::plainText(result));
    if (shown.size() > 12) shown = shown.substr(0, 12) + "...";
    std::string label(pelmora::kindName(result.kind()));
    if (!shown.empty()) label += " " + shown;
    state.SetLabel(label + " code " + std::to_string(evaluator.EvalErrorCode));
}

[[maybe_unused]] const bool kHostileRegistered = [] {
    for (const auto& shape : kShapes) {
        auto* b = benchmark::RegisterBenchmark((std::string("hostile/") + shape.name).c_str(),
                                               hostile, shape);
        b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Iterations(2);
        b->Unit(benchmark::kMillisecond);
        if (shape.tableSize) b->Arg(shape.tableSize);
    }
    return true;
}();

// ---------------------------------------------------------------------------------------------
// The summary: every figure above in one table, with the ratios and the targets.

using pelmora::bench::Figure;
using pelmora::bench::fixed;

class Collector : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, Figure> figures;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
            Figure f;
            f.ns = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            f.label = run.report_label;
            for (const auto& [name, counter] : run.counters) f.counters[name] = counter.value;
            // Repetitions keep their fastest run: load from elsewhere only ever adds time.
            auto [it, added] = figures.try_emplace(run.benchmark_name(), f);
            if (!added && f.ns < it->second.ns) it->second = f;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void printSummary(const std::map<std::string, Figure>& f) {
    auto ns = [&](const std::string& name) {
        auto it = f.find(name);
        return it == f.end() ? 0.0 : it->second.ns;
    };
    auto met = [](bool ok) { return ok ? "met" : "NOT MET"; };
    auto ratio = [](double a, double b) { return b > 0 ? fixed(a / b, 2) + "x" : "-"; };

    std::printf("\n## Summary (CPU time per iteration, fastest of three runs)\n\n");
    std::printf("| Measure | Ours | muparser | Limit | Ours / limit | muparser / ours |\n");
    std::printf("|---|---|---|---|---|---|\n");
    double gameOurs = ns("gameCheckOurs"), gameMu = ns("gameCheckMuparser"),
           gameFold = ns("gameCheckFold");
    std::printf("| Game check, one formula (ns) | %s | %s | %s | %s | %s |\n",
                fixed(gameOurs, 0).c_str(), fixed(gameMu, 0).c_str(), fixed(gameFold, 0).c_str(),
                ratio(gameOurs, gameFold).c_str(), ratio(gameMu, gameOurs).c_str());
    double censusOurs = ns("censusOurs") / 1e6, censusMu = ns("censusMuparser") / 1e6,
           censusFold = ns("censusFold") / 1e6;
    std::printf("| Census, 6561 sequences (ms) | %s | %s | %s | %s | %s |\n",
                fixed(censusOurs, 1).c_str(), fixed(censusMu, 1).c_str(),
                fixed(censusFold, 1).c_str(), ratio(censusOurs, censusFold).c_str(),
                ratio(censusMu, censusOurs).c_str());
    double genOurs = ns("generalOurs") / kGeneralCount,
           genMu = ns("generalMuparser") / kGeneralCount,
           genDirect = ns("generalDirect") / kGeneralCount;
    std::printf("| General expression, mean of %d (ns) | %s | %s | %s | %s | %s |\n",
                static_cast<int>(kGeneralCount), fixed(genOurs, 0).c_str(), fixed(genMu, 0).c_str(),
                fixed(genDirect, 0).c_str(), ratio(genOurs, genDirect).c_str(),
                ratio(genMu, genOurs).c_str());

    double sigOurs = ns("signedOurs") / kSignedCount, sigMu = ns("signedMuparser") / kSignedCount,
           sigDirect = ns("signedDirect") / kSignedCount;
    std::printf("| Expression with signs, mean of %d (ns) | %s | %s | %s | %s | %s |\n",
                static_cast<int>(kSignedCount), fixed(sigOurs, 0).c_str(), fixed(sigMu, 0).c_str(),
                fixed(sigDirect, 0).c_str(), ratio(sigOurs, sigDirect).c_str(),
                ratio(sigMu, sigOurs).c_str());

    auto allocs = [&](const std::string& name) {
        auto it = f.find(name);
        if (it == f.end() || !it->second.counters.count("allocs")) return -1.0;
        return it->second.counters.at("allocs");
    };
    double allocFormula = allocs("allocationsGameFormula"),
           allocComparison = allocs("allocationsGameComparison"),
           allocGeneral = allocs("allocationsGeneral");
    std::printf("\n| Heap allocations | per Eval |\n|---|---|\n");
    std::printf("| Game formula %s | %s |\n", "3+1*9-2", fixed(allocFormula, 2).c_str());
    std::printf("| Whole game comparison (Eval, text form, parse) | %s |\n",
                fixed(allocComparison, 2).c_str());
    std::printf("| General expressions, mean | %s |\n", fixed(allocGeneral, 2).c_str());
    std::printf("| Expressions with signs, mean | %s |\n",
                fixed(allocs("allocationsSigned"), 2).c_str());

    pelmora::bench::printEmbeddingSummary(f);
    pelmora::bench::printCompiledSummary(f);

    std::printf(
        "\n| Hostile shape | 10^4 (ms) | 10^5 (ms) | 10^6 (ms) | First reported size (ms) | "
        "Result at the largest size |\n");
    std::printf("|---|---|---|---|---|---|\n");
    double worst = 0;
    for (const auto& shape : kShapes) {
        std::string base = std::string("hostile/") + shape.name + "/";
        std::string row = std::string("| ") + shape.name;
        std::string label;
        for (std::string size : {std::string("10000"), std::string("100000"),
                                 std::string("1000000"), std::to_string(shape.tableSize)}) {
            auto it = f.find(base + size + "/iterations:2");
            if (it == f.end()) {
                row += " | -";
                continue;
            }
            double ms = it->second.ns / 1e6;
            worst = std::max(worst, ms);
            row += " | " + fixed(ms, 1);
            if (size == std::to_string(shape.tableSize)) row += " at " + size;
            label = it->second.label;
        }
        std::printf("%s | %s |\n", row.c_str(), label.c_str());
    }

    std::printf("\n| Target | Figure | |\n|---|---|---|\n");
    std::printf("| Census within 2x the hand-written fold | %s | %s |\n",
                ratio(censusOurs, censusFold).c_str(), met(censusOurs <= 2 * censusFold));
    std::printf("| Census at least 10x faster than muparser | %s | %s |\n",
                ratio(censusMu, censusOurs).c_str(), met(censusMu >= 10 * censusOurs));
    std::printf("| Census under 100 ms | %s ms | %s |\n", fixed(censusOurs, 1).c_str(),
                met(censusOurs < 100));
    std::printf("| General expressions within 2x the direct evaluator | %s | %s |\n",
                ratio(genOurs, genDirect).c_str(), met(genOurs <= 2 * genDirect));
    std::printf("| Expressions with signs within 2x the direct evaluator | %s | %s |\n",
                ratio(sigOurs, sigDirect).c_str(), met(sigOurs <= 2 * sigDirect));
    std::printf("| No allocation on the game's path | %s, %s | %s |\n",
                fixed(allocFormula, 2).c_str(), fixed(allocComparison, 2).c_str(),
                met(allocFormula == 0 && allocComparison == 0));
    std::printf("| Every hostile shape within one second | slowest %s ms | %s |\n",
                fixed(worst, 1).c_str(), met(worst < 1000));
}

// The three implementations must agree before their times mean anything.
bool sameResults() {
    BenchHost host;
    Evaluator evaluator(host);
    bool ok = true;
    std::vector<std::u16string_view> all(std::begin(kGeneral), std::end(kGeneral));
    all.insert(all.end(), std::begin(kSigned), std::end(kSigned));
    for (auto text : all) {
        double ours = pelmora::ToNumber(evaluator.Eval(text));
        double direct = Direct(text).run();
        if (ours != direct) {
            std::fprintf(stderr, "eval_bench: %s: ours %.17g, direct %.17g\n",
                         pelmora::toUtf8(text).c_str(), ours, direct);
            ok = false;
        }
    }
    int oursCensus =
        census([&](std::u16string_view f) { return pelmora::game::formulaValue(evaluator, f); });
    int foldCensus = census([](std::u16string_view f) { return roundTrip(foldFormula(f)); });
    if (oursCensus != foldCensus) {
        std::fprintf(stderr, "eval_bench: census %d against %d\n", oursCensus, foldCensus);
        ok = false;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    bool summary = false;
    bool repetitionsGiven = false;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--summary")
            summary = true;
        else
            args.push_back(argv[i]);
        if (arg.starts_with("--benchmark_repetitions")) repetitionsGiven = true;
    }
    // The summary reports the fastest of three runs of each benchmark.
    char repetitions[] = "--benchmark_repetitions=3";
    char noAggregates[] = "--benchmark_report_aggregates_only=false";
    if (summary && !repetitionsGiven) {
        args.push_back(repetitions);
        args.push_back(noAggregates);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    if (!sameResults() || !pelmora::bench::sameEmbeddingResults() ||
        !pelmora::bench::sameCompiledResults())
        return 1;
    if (!summary) {
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    }
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    printSummary(collector.figures);
    benchmark::Shutdown();
    return 0;
}
