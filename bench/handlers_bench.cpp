// The game's handlers, run on the rules alone, the slowest cases of each: every one must
// finish within 0.2 s, so that the window never stalls noticeably. The program ends with a
// failure status, naming the handlers, when one takes longer.
//
//   cmake -S . -B build-bench -G Ninja -DPELMORA_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target handlers_bench && ./build-bench/bench/handlers_bench
#include <pelmora/standard_host.h>
#include "game/rules/mivor10.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace pelmora::game;

class BenchHost : public pelmora::StandardHost {
  public:
    [[noreturn]] void endProgram(std::u16string_view) override { std::abort(); }
};

class StillClock : public Clock {
  public:
    double seconds() override { return now; }
    double now = 1000;
};

class QuietMessages : public MessageSink {
  public:
    void showMessage(std::u16string_view) override {}
};

class NoProgram : public ProgramControl {
  public:
    bool anotherInstanceRunning() override { return false; }
    void endProgram() override {}
};

struct Game {
    BenchHost host;
    pelmora::Evaluator evaluator{host};
    StillClock clock;
    QuietMessages messages;
    NoProgram program;
    Mivor10 rules{evaluator, clock, messages, program};

    explicit Game(const char16_t* target) {
        rules.Form_Load();
        rules.controls().Text2 = target;
    }
};

// Start on a fresh window, so nothing is known yet about which digits reach the target.
void startOnFreshWindow(benchmark::State& state, const char16_t* target) {
    for (auto _ : state) {
        state.PauseTiming();
        auto game = std::make_unique<Game>(target);
        state.ResumeTiming();
        game->rules.Command4_Click();
        state.PauseTiming();
        game.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(startOnFreshWindow, target_10, u"10")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(startOnFreshWindow, target_24, u"24")->Unit(benchmark::kMillisecond);
// Reached by 9999 alone: the random deals miss and every sequence is tried.
BENCHMARK_CAPTURE(startOnFreshWindow, target_6561, u"6561")->Unit(benchmark::kMillisecond);
// Reached by nothing: every candidate of every sequence is tried.
BENCHMARK_CAPTURE(startOnFreshWindow, target_0_123, u"0.123")->Unit(benchmark::kMillisecond);

// Start with targets that cost nothing to reject: unreadable, and a 10,000-character text.
BENCHMARK_CAPTURE(startOnFreshWindow, target_1E400, u"1E400")->Unit(benchmark::kMillisecond);
const std::u16string kLongTarget(10000, u'9');
void startWithLongTarget(benchmark::State& state) {
    startOnFreshWindow(state, kLongTarget.c_str());
}
BENCHMARK(startWithLongTarget)->Unit(benchmark::kMillisecond);

// OK with the example answer's operators: the check, then the next deal.
void okCorrect(benchmark::State& state) {
    Game game(u"10");
    game.rules.Command4_Click();
    for (auto _ : state) {
        state.PauseTiming();
        const std::u16string& answer = game.rules.state().ExampleAnswer;
        std::size_t n = 0;
        for (char16_t c : answer)
            if (n < 3 && (c == u'＋' || c == u'－' || c == u'×' || c == u'÷'))
                game.rules.controls().Combo1[n++] = std::u16string(1, c);
        state.ResumeTiming();
        game.rules.Command2_Click();
    }
}
BENCHMARK(okCorrect)->Unit(benchmark::kMicrosecond);

// OK with a typed answer of 10,000 characters against a 10,000-character target.
void okLongAnswerAndTarget(benchmark::State& state) {
    Game game(u"10");
    game.rules.Command4_Click();
    for (auto _ : state) {
        state.PauseTiming();
        game.rules.controls().Text1 = std::u16string(5000, u'１') + std::u16string(5000, u'×');
        game.rules.controls().Text2 = kLongTarget;
        state.ResumeTiming();
        game.rules.Command2_Click();
    }
}
BENCHMARK(okLongAnswerAndTarget)->Unit(benchmark::kMicrosecond);

// Next in a running game: the search on the problem left, then a deal.
void nextInGame(benchmark::State& state) {
    Game game(u"10");
    game.rules.Command4_Click();
    for (auto _ : state) game.rules.Command5_Click();
}
BENCHMARK(nextInGame)->Unit(benchmark::kMicrosecond);

// Next after the target was changed, mid-game, to one that nothing reaches: the census runs.
void nextAfterTargetBecameUnreachable(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto game = std::make_unique<Game>(u"10");
        game->rules.Command4_Click();
        game->rules.controls().Text2 = u"304";
        state.ResumeTiming();
        game->rules.Command5_Click();
        state.PauseTiming();
        game.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(nextAfterTargetBecameUnreachable)->Unit(benchmark::kMillisecond);

// Stop: the search on the current problem.
void stopInGame(benchmark::State& state) {
    Game game(u"10");
    for (auto _ : state) {
        state.PauseTiming();
        game.rules.Command4_Click();
        state.ResumeTiming();
        game.rules.Command6_Click();
    }
}
BENCHMARK(stopInGame)->Unit(benchmark::kMicrosecond);

// A tick at the problem limit runs Next.
void tickAtProblemLimit(benchmark::State& state) {
    Game game(u"10");
    game.rules.Command4_Click();
    for (auto _ : state) {
        state.PauseTiming();
        if (game.rules.state().Running != 1) game.rules.Command4_Click();
        game.clock.now += 30;
        state.ResumeTiming();
        game.rules.Timer1_Timer();
    }
}
BENCHMARK(tickAtProblemLimit)->Unit(benchmark::kMicrosecond);

// Remembers every handler whose time per call was over the budget, and reports as the
// console does. The CPU time is judged: a handler runs on one thread, and on a busy machine
// the wall-clock time says more about the machine than about the handler.
class BudgetReporter : public benchmark::ConsoleReporter {
  public:
    static constexpr double kBudgetSeconds = 0.2;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            double seconds =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Iteration && seconds > kBudgetSeconds)
                over.push_back(run.benchmark_name());
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::vector<std::string> over;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    BudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const auto& name : reporter.over)
        std::fprintf(stderr, "over the 0.2 s budget: %s\n", name.c_str());
    return reporter.over.empty() ? 0 : 1;
}
