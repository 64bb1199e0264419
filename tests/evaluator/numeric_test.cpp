// The numeric built-ins: rounding, trigonometry, hyperbolic functions, logarithms, MAX/MIN,
// REMINDER/TRUNCATE/FP, RND and their failures; and the random sequence behind RND.
#include "fake_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

namespace pelmora::testing {
namespace {

// The degree factors as the functions define them.
const double K = 180 / 3.14159265358979;
const double R = 3.14159265358979 / 180;

struct Numeric {
    const char* expression;
    double expected;
};

double doubleOf(const char* expression) {
    Bench bench;
    Value v = bench.eval(expression);
    EXPECT_EQ(bench.code(), 0) << expression;
    EXPECT_TRUE(v.is(Kind::Double)) << expression << " gave " << describe(v);
    return v.is(Kind::Double) ? v.asDouble() : std::nan("");
}

// For values the functions define exactly (fixed constants, text round trips).
void checkExact(const std::vector<Numeric>& rows) {
    for (const auto& row : rows)
        EXPECT_EQ(doubleOf(row.expression), row.expected) << row.expression;
}

void checkNear(const std::vector<Numeric>& rows) {
    for (const auto& row : rows) {
        double tolerance = 1e-12 * std::max(1.0, std::fabs(row.expected));
        EXPECT_NEAR(doubleOf(row.expression), row.expected, tolerance) << row.expression;
    }
}

TEST(NumericRounding, FunctionsKeepTheKindOfTheirArgumentAndHalveToEven) {
    checkRows({
        {"ABS(CINT(-32768))", "Long: 32768"},
        {"ABS(1<2)", "Integer: 1"},
        {"CEIL(-2.1)", "Double: -2"},
        {"INT(-2.1)", "Double: -3"},
        {"INT(CSNG(2.5))", "Single: 2"},
        {"FIX(-2.7)", "Double: -2"},
        {"ROUND(CSNG(2.5),0)", "Single: 2"},
        {"ROUND(CINT(7),3)", "Integer: 7"},
        {"CSNG(10^-50)", "Single: 0"},  // too small is no failure
        {"SGN()", "Integer: 0", 2},
        // CINT, IP and ROUND halve to even.
        {"CINT(2.5)", "Integer: 2"},
        {"CINT(-32768.5)", "Integer: -32768"},
        {"IP(3.5)", "Integer: 4"},
        {"ROUND(2.5)", "Double: 2", 2},  // the empty second slot reads as 0
        {"ROUND(0.125,2)", "Double: 0.12"},
        {"ROUND(2.675,1.5)", "Double: 2.67"},  // 2.675 is just below the half; d is 2
        {"ROUND(10^20,3)", "Double: 1E+20"},
        {"ROUND(0.5,400)", "Double: 0.5"},
    });
}

TEST(NumericTrigonometry, FixedConstantsAndDegreeFactorsGiveTheseExactValues) {
    checkExact({
        {"ATND(1)", 1.5533448061434307},
        {"ACT(0)", 1.5707963267948966},
        {"ACTD(0)", 3.1066896122868615},
        {"ASN(0)", 1.5707963267948966},
        {"ASND(0)", 3.1066896122868615},
        // COSD, SECD, CSCD, CTND and ATND multiply by K; SIND and TAND by R.
        {"COSD(60)", std::cos(60 * K)},
        {"ATND(0.5)", std::atan(0.5 * K)},
        {"SIND(30)", std::sin(30 * R)},
        {"TAND(45)", std::tan(45 * R)},
    });
}

TEST(NumericTrigonometry, InverseFunctionsFollowTheirFormulasOnTheTextOfX) {
    checkNear({
        {"ASN(0.5)", 2.0943951023931957},
        {"ACS(2)", 0.8570719478501309},
        {"ACS(-2)", -0.8570719478501309 - 4 * std::atan(1.0)},
        {"ASCD(2)", std::atan(2 / std::sqrt(3.0) * K) + 2 * std::atan(K)},
        {"ASCD(-2)", std::atan(-2 / std::sqrt(3.0) * K) - 2 * std::atan(K)},
        {"ACSD(-2)", std::atan(-2 / std::sqrt(3.0) * K) - 4 * std::atan(K)},
    });
    // X is read through its text form: 1/3 reaches these functions as 0.333333333333333.
    const double third = 0.333333333333333;
    checkExact({
        {"ACT(1/3)", std::atan(third) + 2 * std::atan(1.0)},
        {"ACT(CSNG(1/3))", std::atan(0.3333333) + 2 * std::atan(1.0)},
    });
}

TEST(NumericHyperbolic, ValuesOfTheExponentialForms) {
    checkNear({
        {"HSEC(1)", 0.8509181282393216},
        {"HCSE(1)", 1 / std::cosh(1.0)},
        {"HACS(2)", std::log(2 + std::sqrt(3.0))},
        {"HASN(0.6)", std::log(1.4)},
        {"HASC(0.5)", std::log((std::sqrt(0.75) + 1) / 0.5)},
        {"HACSE(-1)", -std::asinh(1.0)},
        {"HSIN(709)", std::sinh(709.0)},
    });
}

TEST(NumericLogarithms, NamesCarryTheBaseAndExpUnderflowsToZero) {
    checkNear({
        {"LOG(100)", 4.605170185988092},
        {"LOG10(100)", 2},
        {"LOG99(99)", 1},
        {"LOG.5(4)", -2},
        {"EXP(-1000)", 0},
    });
}

TEST(NumericLogarithms, BaseIsCheckedBeforeTheArgumentIsEvaluated) {
    // RND(0) repeats the last value; it stays 0 while the argument is never evaluated.
    for (const char* expression : {"LOG$(RND(1))", "LOG0(RND(1))"}) {
        Bench bench;
        EXPECT_EQ(bench.show(expression), "Empty: ") << expression;
        EXPECT_EQ(bench.show("RND(0)"), "Single: 0") << expression;
    }
}

TEST(NumericMaxMin, CompareAsTextAndReturnTheTextOfTheFirst) {
    checkRows({
        {"MAX(9,10)", "String: 9"},
        {"MAX(10,9)", "Double: 9"},
        {"MIN(10,9)", "String: 10"},
        {"MAX(5,5)", "Double: 5"},          // a tie returns the second as evaluated
        {"MIN(12,123)", "String: 12"},      // a prefix is the smaller
        {"MAX(\"B\",\"[\")", "String: ["},  // by code units: 66 < 91
        {"MAX(1<2,5)", "String: True"},
        {"MAX(1)", "String: 1", 2},
        {"MIN(1)", "Empty: ", 2},
    });
}

TEST(NumericMaxMin, FirstArgumentIsEvaluatedFirst) {
    // The second RND(0) repeats the first draw, so both texts tie and the second comes back.
    Bench bench;
    EXPECT_EQ(bench.eval("MAX(RND(1),RND(0))").kind(), Kind::Single);
}

TEST(NumericReminderTruncateFp, RoundTheQuotientOrTheDigitsHalfToEven) {
    checkExact({
        {"REMINDER(7,2)", -1},  // 3.5 rounds to 4
        {"REMINDER(5,2)", 1},   // 2.5 rounds to 2
        {"REMINDER(1/3,1)", 0.333333333333333},
        {"TRUNCATE(2.25,1)", 2.2},
        {"TRUNCATE(1234,-2)", 1200},
        {"FP(3.5)", -0.5},
        {"FP(1/3)", 0.333333333333333},
    });
}

TEST(NumericReminderTruncateFp, TruncateEvaluatesItsSecondArgumentFirst) {
    // Slot 1 draws r; slot 0 then repeats it with RND(0), which would give 0 if read first.
    double r = RandomSequence{12345}.next();
    Bench bench;
    Value v = bench.eval("TRUNCATE(RND(0)*100,RND(1)*0+1)");
    ASSERT_TRUE(v.is(Kind::Double)) << describe(v);
    EXPECT_EQ(v.asDouble(), roundHalfEven(r * 100 * 10) / 10);
    EXPECT_NE(v.asDouble(), 0);
}

TEST(NumericRnd, ArgumentRules) {
    Bench bench;
    Value first = bench.eval("RND(1)");
    ASSERT_TRUE(first.is(Kind::Single));
    EXPECT_EQ(bench.eval("RND(0)"), first);
    EXPECT_EQ(bench.eval("RND(0)"), first);
    Value second = bench.eval("RND");
    ASSERT_TRUE(second.is(Kind::Single));
    EXPECT_NE(second, first);
    EXPECT_NE(bench.eval("RND(5)"), second);
    EXPECT_EQ(bench.code(), 0);
    // An empty slot reads as 0 and repeats the last value.
    Value last = bench.eval("RND(0)");
    EXPECT_EQ(bench.eval("RND()"), last);
    EXPECT_EQ(bench.code(), 2);
}

TEST(NumericRnd, NegativeArgumentFixesTheValueAndRestartsTheSequence) {
    Bench a;
    Bench b;
    b.eval("RND");
    EXPECT_EQ(a.eval("RND(-3)"), b.eval("RND(-3)"));
    EXPECT_EQ(a.eval("RND"), b.eval("RND"));
    EXPECT_NE(a.eval("RND(-3)"), a.eval("RND(-4)"));
}

TEST(NumericRnd, SequenceIsDeterministicUniformAndOnTheGridOfTheUnitInterval) {
    RandomSequence a{7};
    RandomSequence b{7};
    std::set<float> seen;
    std::vector<int> buckets(10);
    for (int i = 0; i < 10000; ++i) {
        float x = a.next();
        EXPECT_EQ(x, b.next(1.0));
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
        // Exactly a multiple of 2^-24.
        EXPECT_EQ(std::ldexp(static_cast<double>(x), 24), std::floor(std::ldexp(x, 24)));
        seen.insert(x);
        ++buckets[static_cast<int>(x * 10)];
    }
    EXPECT_GT(seen.size(), 9990u);
    for (int count : buckets) {
        EXPECT_GT(count, 850);
        EXPECT_LT(count, 1150);
    }
    a.reseed(7);
    EXPECT_EQ(a.next(), RandomSequence{7}.next());
    EXPECT_EQ(a.next(0), a.next(0));
}

TEST(NumericFailures, GiveEmptyWithCode2) {
    // clang-format off
    checkFailures({
        // domain
        "SQR(-1)", "LOG(0)", "ASN(2)", "HACS(0.5)",
        // zero divisors
        "CSC(0)", "COTD(0)", "HSEC(0)", "HATN(1)", "ASN(1)", "HACSE(0)", "LOG1(5)", "REMINDER(7,0)",
        // bases that are no number or not above 0
        "LOG$(5)", "LOG0(5)",
        // Double overflow, also inside the hyperbolic functions
        "EXP(710)", "HSIN(-710)", "HTAN(800)", "ATND(10^307)", "TRUNCATE(1,-400)",
        // Integer and Single ranges
        "CINT(-32768.6)", "FP(40000)", "TRUNCATE(400,2)", "REMINDER(100000,1)", "CSNG(10^39)",
        "ROUND(1,2^40)",
        // not a number, or an empty text where X is read
        "HSIN()", "ACT(\"\")", "TRUNCATE(2.5)", "ASN(1<2)", "ABS(\"x\")",
        // a negative number of decimal places
        "ROUND(2.5,-1)",
    });
    // clang-format on
}

}  // namespace
}  // namespace pelmora::testing
