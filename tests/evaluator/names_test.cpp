// Ffc: bare names, variables, calls and their argument slots, the undeclared-array path.
#include "fake_host.h"

#include <gtest/gtest.h>

namespace pelmora::testing {
namespace {

TEST(BareNames, VariablesAreNeverSet) {
    Bench bench;
    EXPECT_EQ(describe(bench.evaluator.Ffc(u"X")), "Integer: 0");
    EXPECT_EQ(describe(bench.evaluator.Ffc(u"X$")), "String: ");
    EXPECT_EQ(describe(bench.evaluator.Ffc(u"ABS")), "Integer: 0");
    EXPECT_EQ(describe(bench.evaluator.Ffc(u"MID$")), "String: ");
    EXPECT_EQ(bench.show("x"), "Integer: 0");
    EXPECT_EQ(bench.code(), 0);
}

// Undeclared calls and the ninth argument are checked with the other dispatch and failure rows.
TEST(ArgumentSlots, NamesAndSlotsAsACallSplitsThem) {
    checkRows({
        {"abs(-3)", "Double: 3"},         // the name is upper-cased before the comparisons
        {"ABS(-3,1/0)", "Double: 3"},     // extra arguments are never evaluated
        {"ABS(ABS(-1,2))", "Double: 1"},  // commas inside parentheses do not split
        {"1+ABS (-2)", "Double: 3"},      // the scan drops the space: the operand is «ABS(-2)»
    });
    // The quoted text "A,B" becomes two slots: «"A» (no closing quote: code 2) and «B"».
    Bench bench;
    bench.eval("ABS(\"A,B\")");
    EXPECT_EQ(bench.code(), 2);
}

TEST(ArgumentSlots, UndeclaredArrayEvaluatesSlotZeroThenEnds) {
    Bench bench;
    EXPECT_THROW(bench.evaluator.Ffc(u"FOO(1/0)"), ProgramEnded);
    EXPECT_EQ(bench.code(), 2);  // slot 0 was evaluated
}

}  // namespace
}  // namespace pelmora::testing
