// The slowest handlers, run on the rules alone: each must finish well inside half a second,
// the longest the window may stay unresponsive.
//
//   cmake -S . -B build-bench -G Ninja -DPELMORA_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target handlers_bench && ./build-bench/game/handlers_bench
#include "evaluator/standard_host.h"
#include "game/rules/mivor10.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

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

// Next in a running game: the search on the problem left, then a deal.
void nextInGame(benchmark::State& state) {
    Game game(u"10");
    game.rules.Command4_Click();
    for (auto _ : state) game.rules.Command5_Click();
}
BENCHMARK(nextInGame)->Unit(benchmark::kMicrosecond);

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

}  // namespace

BENCHMARK_MAIN();
