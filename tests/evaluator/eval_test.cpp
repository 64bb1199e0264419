// The scan, priorities, slot pairing, single operands and failure trapping of Eval.
#include "fake_host.h"

#include <gtest/gtest.h>

namespace pelmora::testing {
namespace {

TEST(EvalPriorities, EqualPrioritiesApplyLeftToRightAndSignsSubtractFromZero) {
    checkRows({
        {"3+4*2-1", "Double: 10"},
        {"8/4/2", "Double: 1"},
        {"2^3^2", "Double: 64"},
        {"10-2-3", "Double: 5"},
        {"1+2*3^2", "Double: 19"},
        {"2*(3+4)", "Double: 14"},
        {"((1+2))", "Double: 3"},
        {"(1+2)*(3+4)", "Double: 21"},
        {"(1)+(2)", "Double: 3"},
        {"1/3*3", "Double: 1"},
        {"10/4", "Double: 2.5"},
        {"2^10", "Double: 1024"},
        {"1+2=3", "Boolean: True"},
        {"1 OR 2 AND 0", "Long: 1"},
        {"5 XOR 1 OR 1", "Long: 4"},
        {"7 MOD 4 * 2", "Long: 7"},
        {"7\\2*2", "Long: 1"},
        // Parentheses outrank every operator.
        {"(1 OR 2)*2", "Double: 6"},
        {"2*(3-(4-5))", "Double: 8"},
        {"((2+3)*(1+1))^2", "Double: 100"},
        // A leading minus becomes a subtraction from zero.
        {"-2^2", "Double: -4"},
        {"2^-1", "Double: 0.5"},
        {"2*-3", "Double: -6"},
        {"-(2+3)", "Double: -5"},
        {" -3", "Double: -3"},
    });
}

TEST(EvalWords, WordOperatorsNeedAMarkBeforeThem) {
    checkRows({
        {"7 MOD 3", "Long: 1"},
        {"7mod3", "Long: 1"},
        {"7MOD3", "Long: 1"},
        {"-7 MOD 3", "Double: -1"},
        {"1 and 2", "Long: 0"},
        {"1<2 AND 3<4", "Boolean: True"},
        {"1 OR 2", "Long: 3"},
        {"6 AND 3", "Long: 2"},
        {"5 XOR 1", "Long: 4"},
        {"NOT 0", "Long: -1"},
        {"NOT 1 = -2", "Boolean: True"},
        {"1 ORANGE", "Long: 1"},
        {"COLOR", "Integer: 0"},
        {"BRAND", "Integer: 0"},
        {"NOTE", "Integer: -1"},
        {"1E5", "Integer: 0"},
        {"x", "Integer: 0"},
        {"x$", "String: "},
    });
}

TEST(EvalLiterals, NumbersTextsHexadecimalAndMisplacedOperators) {
    checkRows({
        {"&H1F", "Double: 31"},
        {"1+&H10", "Double: 17"},
        {"&HFFFF", "Double: -1"},
        {"&H10000", "Double: 65536"},
        {"1,000+1", "Double: 1001"},
        {"1 2+3", "Double: 15"},
        {"1,000", "Double: 1000"},
        {"\"a\"\"b\"", "String: a\"b"},
        {"\"1+2\"", "String: 1+2"},
        {"\"ab\"+\"cd\"", "String: abcd"},
        {"\"a\"+1", "String: a 1"},
        {"1+\"a\"", "String:  1a"},
        {"\"x\"+0.5", "String: x .5"},
        {"\"x\"+-2", "String: x-2"},
        {"\"a\";\"b\"", "String: ab"},
        {"()", "String: "},
        // An operator where an operand belongs records code 3.
        {"+5", "Double: 5", 3},
        {"2*+3", "Double: 6", 3},
        {"1++2", "Double: 3", 3},
        {"３+４", "Empty: ", 2},
    });
}

TEST(EvalFailures, TrappedFailuresGiveEmptyAndCodeTwo) {
    checkFailures({"", "2/0", "1+", "1*", "1 AND", "1.2.3", "&H1F+1", "\"abc", "1+\"abc", "ABS(1",
                   "1)+2", "7 MOD 0", "1/0", "0/0", "\"a\"-1", "(0-8)^0.5", "0^-1", "10^400",
                   "F(1,2,3,4,5,6,7,8,9)"});
}

// A nested failure leaves Empty in its place; a later failure overwrites code 3.
TEST(EvalFailures, NestedFailureLeavesEmptyInItsPlace) {
    checkRows({
        {"2*1.2.3", "Double: 0", 2},
        {"1+2)", "Double: 3"},
        {"+1/0", "Empty: ", 2},
    });
}

TEST(EvalCapacity, OperandAndParenthesisLimits) {
    std::string hundredOperators = "1";
    for (int i = 0; i < 100; ++i) hundredOperators += "+1";
    auto deep = [](int n) { return "1+" + std::string(n, '(') + "1" + std::string(n, ')'); };
    checkRows({
        {hundredOperators.c_str(), "Double: 101"},
        {(hundredOperators + "+1").c_str(), "Empty: ", 2},
        {deep(127).c_str(), "Double: 2"},
        {deep(128).c_str(), "Empty: ", 2},
    });
}

TEST(EvalCapacity, DeepRecursionFailsInsteadOfOverflowingTheStack) {
    std::string nested;
    for (int i = 0; i < 5000; ++i) nested += "SGN(";
    nested += "1" + std::string(5000, ')');
    Bench bench;
    EXPECT_EQ(bench.show(nested), "Empty: ");
    EXPECT_EQ(bench.code(), 2);

    std::string signs(100000, '-');
    Bench minus;
    minus.eval("1" + signs + "1");
    EXPECT_EQ(minus.code(), 2);
}

TEST(EvalCapacity, TextProducedByOneEvaluationIsBounded) {
    // Each text is within the limit of one String, but together they are far past the budget.
    std::string many = "LEN(SPACE$(30000000))";
    for (int i = 0; i < 4; ++i) many += "+LEN(SPACE$(30000000))";
    Bench bench;
    EXPECT_EQ(bench.show(many), "Long: 120000000");  // the fifth text is past the budget
    EXPECT_EQ(bench.code(), 2);

    Bench fresh;  // the budget starts anew with every outermost evaluation
    EXPECT_EQ(fresh.show("LEN(SPACE$(30000000))"), "Long: 30000000");
    EXPECT_EQ(fresh.show("LEN(SPACE$(30000000))"), "Long: 30000000");
    EXPECT_EQ(fresh.code(), 0);
}

TEST(EvalInput, CallerTextIsNotChanged) {
    Bench bench;
    std::u16string text = u"-(1+2)";
    bench.evaluator.Eval(text);
    EXPECT_EQ(text, u"-(1+2)");
}

}  // namespace
}  // namespace pelmora::testing
