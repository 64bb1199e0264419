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

TEST(Calls, TheNameIsUpperCasedBeforeTheComparisons) {
    Bench bench;
    EXPECT_EQ(bench.show("ABS(-3)"), bench.show("abs(-3)"));
}

// Records the argument slots Ffc hands to the undeclared-array path.
TEST(ArgumentSlots, UndeclaredArrayEvaluatesSlotZeroThenEnds) {
    Bench bench;
    try {
        bench.evaluator.Ffc(u"FOO(1/0)");
        FAIL() << "the program should have ended";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(
            e.message,
            u"配列が宣言されていないのに10を越しました。\r\nまたは配列の次元が超えています。");
    }
    EXPECT_EQ(bench.code(), 2);  // slot 0 was evaluated
}

TEST(ArgumentSlots, EveryUndeclaredCallEndsTheProgram) {
    for (const char* text : {"FOO(1)", "FOO(99)", "FOO()", "DATE$()", "SIN (1)", "LEFT(1)",
                             "F(1,2,3,4,5,6,7,8)", "1+FOO(2)"}) {
        Bench bench;
        EXPECT_THROW(bench.eval(text), ProgramEnded) << text;
    }
}

TEST(ArgumentSlots, NinthArgumentFailsBeforeAnyComparison) {
    Bench bench;
    EXPECT_EQ(bench.show("F(1,2,3,4,5,6,7,8,9)"), "Empty: ");
    EXPECT_EQ(bench.code(), 2);
}

TEST(ArgumentSlots, ExtraArgumentsAreNeverEvaluated) {
    Bench bench;
    EXPECT_EQ(bench.show("ABS(-3,1/0)"), "Double: 3");
    EXPECT_EQ(bench.code(), 0);
}

TEST(ArgumentSlots, CommasInsideParenthesesDoNotSplit) {
    Bench bench;
    EXPECT_EQ(bench.show("ABS(ABS(-1,2))"), "Double: 1");
    EXPECT_EQ(bench.code(), 0);
}

TEST(ArgumentSlots, ACommaInsideAQuotedTextSplits) {
    // The quoted text "A,B" becomes two slots: «"A» (no closing quote: code 2) and «B"».
    Bench bench;
    bench.eval("ABS(\"A,B\")");
    EXPECT_EQ(bench.code(), 2);
}

TEST(ArgumentSlots, SpacesReachTheNameAndTheScanDropsThemOutside) {
    Bench bench;
    EXPECT_THROW(bench.eval("SIN (0)"), ProgramEnded);  // the whole text keeps its space
    Bench nested;
    EXPECT_EQ(nested.show("1+ABS (-2)"), "Double: 3");  // the operand is «ABS(-2)»
}

}  // namespace
}  // namespace pelmora::testing
