// Limits of one evaluation: operands, parentheses, nesting, text and the work budget; inputs
// shaped to take long end with their result or with code 2, and the caller's text is left alone.
#include "evaluator/engine.h"
#include "fake_host.h"

namespace pelmora::testing {
namespace {

// The edges of operands, parentheses, nesting and text, and the hostile shapes, are rows of
// cases/limits.tsv.
TEST(EvalLimits, BudgetStartsAnewWithEveryOutermostEvaluationAndCallerTextIsNotChanged) {
    Bench bench;
    std::u16string text = u"-(1+2)";
    bench.evaluator.Eval(text);
    EXPECT_EQ(text, u"-(1+2)");
    EXPECT_EQ(bench.show("LEN(SPACE$(30000000))"), "Long: 30000000");
    EXPECT_EQ(bench.show("LEN(SPACE$(30000000))"), "Long: 30000000");
    EXPECT_EQ(bench.code(), 0);
}

// Three texts of 64 MiB, then a fourth sized to end exactly at the budget, or one unit past it;
// then, after a fourth text, a written decimal that fits with a few units to spare, or that
// misses by a few: its read fails alone, and the sum goes on without it.
TEST(EvalLimits, WorkBudgetEndsExactlyAtItsEdge) {
    const std::size_t scan = Engine::kScanCost;
    const std::string full = std::to_string(kMaxStringBytes / 2);
    auto term = [](const std::string& count) { return "LEN(SPACE$(" + count + "))"; };
    // An operand costs its own scan, its argument's and the count's, and the text it makes.
    auto scanCost = [&](const std::string& count) {
        return scan * (term(count).size() + ("SPACE$(" + count + ")").size() + count.size());
    };
    const std::string prefix = term(full) + "+" + term(full) + "+" + term(full) + "+";
    // The count of the last text, for what is left after it; it has eight digits.
    auto lastCount = [&](const std::string& tail, std::size_t left) {
        const std::size_t fixed = scan * (prefix + term("10000000") + tail).size() +
                                  3 * (scanCost(full) + kMaxStringBytes) + scanCost("10000000");
        const std::size_t count = (Evaluator::kWorkBudget - fixed - left) / 2;
        EXPECT_EQ(std::to_string(count).size(), 8u);
        return count;
    };
    const std::size_t three = 3 * kMaxStringBytes / 2, edge = lastCount("", 0);
    const std::size_t spare = lastCount("+1.5", 3 * scan + 4), short_ = lastCount("+1.5", 20);
    auto sum = [&](std::size_t count, const std::string& tail) {
        return prefix + term(std::to_string(count)) + tail;
    };
    const std::vector<std::pair<std::string, std::string>> rows = {
        {sum(edge, ""), "Long: " + std::to_string(three + edge)},
        // The last text no longer fits: its call fails, and LEN of Empty is 0.
        {sum(edge + 1, ""), "Long: " + std::to_string(three) + " code 2"},
        {sum(spare, "+1.5"), "Double: " + std::to_string(three + spare + 1) + ".5"},
        {sum(short_, "+1.5"), "Long: " + std::to_string(three + short_) + " code 2"},
    };
    for (const auto& [expression, expected] : rows) {
        Bench bench;
        const std::string shown = bench.show(expression);
        EXPECT_EQ(shown + (bench.code() ? " code " + std::to_string(bench.code()) : ""), expected);
    }
}

}  // namespace
}  // namespace pelmora::testing
