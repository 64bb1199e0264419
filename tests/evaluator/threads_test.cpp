// Evaluators on different threads share nothing that changes: eight at once give what one gives.
// Built with -fsanitize=thread in .ci/run, where any data race fails the run.
#include <pelmora/expression.h>
#include "fake_host.h"

#include <filesystem>
#include <iterator>
#include <thread>

namespace pelmora::testing {
namespace {

// The fuzzer's seed corpus: every expression of the evaluator's tests and every built-in.
std::vector<std::u16string> corpus() {
    std::vector<std::u16string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(PELMORA_FUZZ_DIR "/corpus")) {
        std::ifstream in(entry.path(), std::ios::binary);
        texts.push_back(fromUtf8(std::string(std::istreambuf_iterator<char>(in), {})));
    }
    return texts;
}

// Each text in an evaluator and host of its own, starting at `first` and going round.
std::vector<std::string> evaluateAll(const std::vector<std::u16string>& texts, std::size_t first) {
    std::vector<std::string> results(texts.size());
    for (std::size_t n = 0; n < texts.size(); ++n) {
        std::size_t k = (first + n) % texts.size();
        Bench bench;
        results[k] = outcome(bench.evaluator, texts[k]) + " code " + std::to_string(bench.code());
    }
    return results;
}

TEST(Threads, EightEvaluatorsAtOnceGiveWhatOneGives) {
    const auto texts = corpus();
    ASSERT_GT(texts.size(), 300u);
    const auto alone = evaluateAll(texts, 0);
    constexpr std::size_t kThreads = 8;
    std::vector<std::vector<std::string>> together(kThreads);
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < kThreads; ++i)
            threads.emplace_back(
                [&, i] { together[i] = evaluateAll(texts, i * texts.size() / kThreads); });
    }
    for (std::size_t i = 0; i < kThreads; ++i) EXPECT_EQ(together[i], alone) << "thread " << i;
}

// One compiled expression per text, shared: eight evaluators, each with its own host, evaluate
// them all at once and give what one evaluator gives.
TEST(Threads, EightEvaluatorsShareCompiledExpressions) {
    const auto texts = corpus();
    std::vector<Expression> compiled;
    for (const auto& text : texts) compiled.emplace_back(text);
    auto evaluateAll = [&](std::size_t first) {
        std::vector<std::string> results(texts.size());
        for (std::size_t n = 0; n < texts.size(); ++n) {
            std::size_t k = (first + n) % texts.size();
            Bench bench;
            try {
                results[k] = describe(compiled[k].evaluate(bench.evaluator));
            } catch (const ProgramEnded&) {
                results[k] = "ended";
            }
            results[k] += " code " + std::to_string(bench.code());
        }
        return results;
    };
    const auto alone = evaluateAll(0);
    std::vector<std::vector<std::string>> together(8);
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < together.size(); ++i)
            threads.emplace_back([&, i] { together[i] = evaluateAll(i * texts.size() / 8); });
    }
    for (const auto& results : together) EXPECT_EQ(results, alone);
}

}  // namespace
}  // namespace pelmora::testing
