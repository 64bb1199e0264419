// Limits of one evaluation: operands, parentheses, nesting, text and the work budget; inputs
// shaped to take long end with their result or with code 2, and the caller's text is left alone.
#include <pelmora/failure.h>
#include "fake_host.h"

#include <string>

namespace pelmora::testing {
namespace {

std::string repeat(std::string_view piece, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

std::string joinedSpaces(std::size_t each) {
    std::string term = "SPACE$(" + std::to_string(each) + ")";
    return term + repeat("+" + term, 99);
}

TEST(EvalLimits, OperandsParenthesesAndNestingHaveTheirEdges) {
    auto deep = [](int n) { return "1+" + repeat("(", n) + "1" + repeat(")", n); };
    const std::string text30M = "LEN(SPACE$(30000000))";
    checkRows({
        {"1" + repeat("+1", 100), "Double: 101"},
        {"1" + repeat("+1", 101), "Empty: ", 2},
        {deep(127), "Double: 2"},
        {deep(128), "Empty: ", 2},
        {repeat("SGN(", 5000) + "1" + repeat(")", 5000), "Empty: ", 2},
        {"1" + repeat("-", 100000) + "1", "Double: 1", 2},
        // Each text is within the limit of one String; the fifth is past the budget.
        {text30M + repeat("+" + text30M, 4), "Long: 120000000", 2},
    });
    Bench fresh;  // the budget starts anew with every outermost evaluation
    EXPECT_EQ(fresh.show(text30M), "Long: 30000000");
    EXPECT_EQ(fresh.show(text30M), "Long: 30000000");
    EXPECT_EQ(fresh.code(), 0);
}

// Each shape once made a naive evaluator copy or compare its text once per layer or step.
TEST(EvalLimits, HostileShapesEndWithAResultOrCodeTwo) {
    const std::size_t n = 1'000'000;
    const std::string sum = "LEN(" + joinedSpaces(335544) + ")";
    const std::vector<Row> shapes = {
        {repeat("(", n / 2) + "1" + repeat(")", n / 2), "Double: 1"},
        {"INSTR(STRING$(" + std::to_string(2 * n) + ",\"A\"),STRING$(" + std::to_string(n) +
             ",\"A\")+\"B\")",
         "Long: 0"},
        {sum, "Long: 33554400"},
        {sum + "=1 OR " + sum + "=1 OR " + sum + "=1 OR " + sum + "=1", "Boolean", 2},
        {repeat("NOT", 2'500'000) + "1", "Integer", 2},
        {"EVAL(STRING$(33554431,\"-\")+\"1\")", "Empty: ", 2},
        {repeat("-", n) + "1", "Double", 2},
    };
    for (const auto& shape : shapes) {
        Bench bench;
        std::string shown = bench.show(shape.expression);
        EXPECT_EQ(shown.substr(0, shape.expected.size()), shape.expected) << shown;
        EXPECT_EQ(bench.code(), shape.code) << shape.expected;
    }
}

// Three texts of 64 MiB, then a fourth sized to end exactly at the budget, or one unit past it;
// then, after a fourth text, a written decimal that fits with a few units to spare, or that
// misses by a few: its read fails alone, and the sum goes on without it.
TEST(EvalLimits, WorkBudgetEndsExactlyAtItsEdge) {
    const std::size_t scan = Evaluator::kScanCost;
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
    checkRows({
        {sum(edge, ""), "Long: " + std::to_string(three + edge)},
        // The last text no longer fits: its call fails, and LEN of Empty is 0.
        {sum(edge + 1, ""), "Long: " + std::to_string(three), 2},
        {sum(spare, "+1.5"), "Double: " + std::to_string(three + spare + 1) + ".5"},
        {sum(short_, "+1.5"), "Long: " + std::to_string(three + short_), 2},
    });
}

TEST(EvalLimits, CallerTextIsNotChanged) {
    Bench bench;
    std::u16string text = u"-(1+2)";
    bench.evaluator.Eval(text);
    EXPECT_EQ(text, u"-(1+2)");
}

}  // namespace
}  // namespace pelmora::testing
