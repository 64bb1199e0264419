// What an embedding program pays: expressions with built-in calls, with strings and with the
// program's own variables, against muparserx (which also has strings and mixed types) and
// muparser where it applies. One-shot: each text parsed and evaluated every time. Changed
// variable: the same texts again after the program changes X; the peers parse once and only
// evaluate, while Eval reads the text again each time.
#include "summary.h"

#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include <pelmora/standard_host.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#ifdef PELMORA_WITH_MUPARSER
#include <muParser.h>
#endif
#ifdef PELMORA_WITH_MUPARSERX
#include <mpParser.h>
#endif

namespace pelmora::bench {
namespace {

// One expression as each evaluator writes it; nullptr where a peer cannot.
struct Expression {
    std::u16string_view ours;
    const char* muparserx;
    const char* muparser;
};

constexpr Expression kCalls[] = {
    {u"SIN(0.5)*COS(0.25)+SQR(2)", "sin(0.5)*cos(0.25)+sqrt(2)", "sin(0.5)*cos(0.25)+sqrt(2)"},
    {u"ABS(-3.5)+MAX(1,2)*EXP(1)", "abs(-3.5)+max(1,2)*exp(1)", "abs(-3.5)+max(1,2)*exp(1)"},
    {u"LOG(10)+ATN(1)*4", "ln(10)+atan(1)*4", "ln(10)+atan(1)*4"},
};
constexpr Expression kStrings[] = {
    {u"LEN(\"hello\"+\" world\")", "strlen(\"hello\" // \" world\")", nullptr},
    {u"UCASE(\"abc\")+\"def\"", "toupper(\"abc\") // \"def\"", nullptr},
    {u"VAL(\"1.5\")*2", "str2dbl(\"1.5\")*2", nullptr},
};
constexpr Expression kVariables[] = {
    {u"X*2+Y", "X*2+Y", "X*2+Y"},
    {u"X^2-2*X*Y+Y^2", "X^2-2*X*Y+Y^2", "X^2-2*X*Y+Y^2"},
    {u"-X*2+SIN(Y)", "-X*2+sin(Y)", "-X*2+sin(Y)"},
};
constexpr double kPerGroup = 3;

// The program's variables X and Y, as Eval asks for them.
class EmbedHost : public StandardHost {
  public:
    std::optional<Value> variable(std::u16string_view name) override {
        if (name == u"X") return Value::number(x);
        if (name == u"Y") return Value::number(y);
        return std::nullopt;
    }
    [[noreturn]] void endProgram(std::u16string_view) override { std::abort(); }

    double x = 1.5;
    double y = 2;
};

template <std::size_t N>
void oneShotOurs(benchmark::State& state, const Expression (&group)[N]) {
    EmbedHost host;
    Evaluator evaluator(host);
    for (auto _ : state)
        for (const auto& e : group) benchmark::DoNotOptimize(evaluator.Eval(e.ours));
}

void changedOurs(benchmark::State& state) {
    EmbedHost host;
    Evaluator evaluator(host);
    int n = 0;
    for (auto _ : state) {
        host.x = ++n & 1023;
        for (const auto& e : kVariables) benchmark::DoNotOptimize(evaluator.Eval(e.ours));
    }
}

BENCHMARK_CAPTURE(oneShotOurs, embedCallsOurs, kCalls)->Name("embedCallsOurs");
BENCHMARK_CAPTURE(oneShotOurs, embedStringsOurs, kStrings)->Name("embedStringsOurs");
BENCHMARK_CAPTURE(oneShotOurs, embedVariablesOurs, kVariables)->Name("embedVariablesOurs");
BENCHMARK(changedOurs)->Name("embedChangedOurs");

#ifdef PELMORA_WITH_MUPARSERX
// X and Y defined as muparserx variables over the program's own values.
struct MuparserxContext {
    MuparserxContext() {
        parser.DefineVar("X", mup::Variable(&x));
        parser.DefineVar("Y", mup::Variable(&y));
    }
    mup::ParserX parser{mup::pckALL_NON_COMPLEX};
    mup::Value x{1.5};
    mup::Value y{2.0};
};

template <std::size_t N>
void oneShotMuparserx(benchmark::State& state, const Expression (&group)[N]) {
    MuparserxContext c;
    for (auto _ : state)
        for (const auto& e : group) {
            c.parser.SetExpr(e.muparserx);
            benchmark::DoNotOptimize(&c.parser.Eval());
        }
}

void changedMuparserx(benchmark::State& state) {
    std::vector<std::unique_ptr<MuparserxContext>> contexts;
    for (const auto& e : kVariables) {
        contexts.push_back(std::make_unique<MuparserxContext>());
        contexts.back()->parser.SetExpr(e.muparserx);
    }
    int n = 0;
    for (auto _ : state) {
        ++n;
        for (auto& c : contexts) {
            c->x = mup::Value(static_cast<double>(n & 1023));
            benchmark::DoNotOptimize(&c->parser.Eval());
        }
    }
}

BENCHMARK_CAPTURE(oneShotMuparserx, embedCallsMuparserx, kCalls)->Name("embedCallsMuparserx");
BENCHMARK_CAPTURE(oneShotMuparserx, embedStringsMuparserx, kStrings)->Name("embedStringsMuparserx");
BENCHMARK_CAPTURE(oneShotMuparserx, embedVariablesMuparserx, kVariables)
    ->Name("embedVariablesMuparserx");
BENCHMARK(changedMuparserx)->Name("embedChangedMuparserx");
#endif

#ifdef PELMORA_WITH_MUPARSER
struct MuparserContext {
    MuparserContext() {
        parser.DefineVar("X", &x);
        parser.DefineVar("Y", &y);
    }
    mu::Parser parser;
    double x = 1.5;
    double y = 2;
};

template <std::size_t N>
void oneShotMuparser(benchmark::State& state, const Expression (&group)[N]) {
    MuparserContext c;
    for (auto _ : state)
        for (const auto& e : group) {
            c.parser.SetExpr(e.muparser);
            benchmark::DoNotOptimize(c.parser.Eval());
        }
}

void changedMuparser(benchmark::State& state) {
    std::vector<std::unique_ptr<MuparserContext>> contexts;
    for (const auto& e : kVariables) {
        contexts.push_back(std::make_unique<MuparserContext>());
        contexts.back()->parser.SetExpr(e.muparser);
    }
    int n = 0;
    for (auto _ : state) {
        ++n;
        for (auto& c : contexts) {
            c->x = n & 1023;
            benchmark::DoNotOptimize(c->parser.Eval());
        }
    }
}

BENCHMARK_CAPTURE(oneShotMuparser, embedCallsMuparser, kCalls)->Name("embedCallsMuparser");
BENCHMARK_CAPTURE(oneShotMuparser, embedVariablesMuparser, kVariables)
    ->Name("embedVariablesMuparser");
BENCHMARK(changedMuparser)->Name("embedChangedMuparser");
#endif

// Numbers agree to the last few bits (the peers round differently in places); texts exactly.
bool agree(const Value& ours, double number, const std::string& text, bool isText,
           const char* expression) {
    bool same = isText
                    ? ours.isString() && toUtf8(plainText(ours)) == text
                    : std::abs(ToNumber(ours) - number) <= 1e-12 * std::max(1.0, std::abs(number));
    if (!same)
        std::fprintf(stderr, "eval_bench: %s: ours %s, peer %s\n", expression,
                     toUtf8(plainText(ours)).c_str(),
                     isText ? text.c_str() : fixed(number, 15).c_str());
    return same;
}

}  // namespace

bool sameEmbeddingResults() {
    bool ok = true;
    EmbedHost host;
    Evaluator evaluator(host);
    for (const auto* group : {&kCalls, &kStrings, &kVariables}) {
        for (const auto& e : *group) {
            Value ours = evaluator.Eval(e.ours);
#ifdef PELMORA_WITH_MUPARSERX
            MuparserxContext x;
            x.parser.SetExpr(e.muparserx);
            const mup::IValue& v = x.parser.Eval();
            bool isText = v.GetType() == 's';
            ok &= agree(ours, isText ? 0 : v.GetFloat(), isText ? v.GetString() : "", isText,
                        e.muparserx);
#endif
#ifdef PELMORA_WITH_MUPARSER
            if (e.muparser) {
                MuparserContext m;
                m.parser.SetExpr(e.muparser);
                ok &= agree(ours, m.parser.Eval(), "", false, e.muparser);
            }
#endif
        }
    }
    return ok;
}

void printEmbeddingSummary(const Figures& f) {
    auto perExpression = [&](const std::string& name) {
        auto it = f.find(name);
        return it == f.end() ? 0.0 : it->second.ns / kPerGroup;
    };
    auto shown = [](double ns) { return ns > 0 ? fixed(ns, 0) : std::string("-"); };
    auto ratio = [](double peer, double ours) {
        return peer > 0 && ours > 0 ? fixed(peer / ours, 2) + "x" : std::string("-");
    };
    std::printf(
        "\n| Embedding, ns per expression (mean of 3) | Ours | muparserx | muparser | "
        "muparserx / ours | muparser / ours |\n");
    std::printf("|---|---|---|---|---|---|\n");
    const struct {
        const char* label;
        const char* group;
    } rows[] = {
        {"Built-in calls, one-shot", "Calls"},
        {"Strings, one-shot", "Strings"},
        {"Program variables, one-shot", "Variables"},
        {"Program variables, re-evaluated after a change (peers parse once)", "Changed"},
    };
    for (const auto& row : rows) {
        std::string base = std::string("embed") + row.group;
        double ours = perExpression(base + "Ours"), x = perExpression(base + "Muparserx"),
               mu = perExpression(base + "Muparser");
        std::printf("| %s | %s | %s | %s | %s | %s |\n", row.label, shown(ours).c_str(),
                    shown(x).c_str(), shown(mu).c_str(), ratio(x, ours).c_str(),
                    ratio(mu, ours).c_str());
    }
}

}  // namespace pelmora::bench
