// What Eval costs: inputs built to take long end with their result or with code 2, the work
// budget's edge, and the short ways (plain arithmetic, joined texts, the text search, the
// caller's buffer, checked with the text forms in conversions_test.cpp) giving exactly what
// the long ways give.
#include <pelmora/failure.h>
#include "fake_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace pelmora::testing {
namespace {

std::string repeat(std::string_view piece, std::size_t times) {
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

std::string joinedSpaces(std::size_t each) {
    std::string term = "SPACE$(" + std::to_string(each) + ")";
    std::string sum = term;
    for (int i = 1; i < 100; ++i) sum += "+" + term;
    return sum;
}

// Each shape once made a naive evaluator copy or compare its text once per layer or step.
TEST(EvalCost, HostileShapesEndWithAResultOrCodeTwo) {
    struct Shape {
        const char* name;
        std::string text;
        const char* expected;  // the kind, or the whole "Kind: text" where it is fixed
        int code;
    };
    const std::size_t n = 1'000'000;
    const std::vector<Shape> shapes = {
        {"nested parentheses", repeat("(", n / 2) + "1" + repeat(")", n / 2), "Double: 1", 0},
        {"search for a near miss",
         "INSTR(STRING$(" + std::to_string(2 * n) + ",\"A\"),STRING$(" + std::to_string(n) +
             ",\"A\")+\"B\")",
         "Long: 0", 0},
        {"a hundred joined texts", "LEN(" + joinedSpaces(335544) + ")", "Long: 33554400", 0},
        {"four hundred joined texts",
         "LEN(" + joinedSpaces(335544) + ")=1 OR LEN(" + joinedSpaces(335544) + ")=1 OR LEN(" +
             joinedSpaces(335544) + ")=1 OR LEN(" + joinedSpaces(335544) + ")=1",
         "Boolean", 2},
        {"NOT chain", repeat("NOT", 2'500'000) + "1", "Integer", 2},
        {"signs through EVAL", "EVAL(STRING$(33554431,\"-\")+\"1\")", "Empty: ", 2},
        {"sign chain", repeat("-", n) + "1", "Double", 2},
    };
    for (const auto& shape : shapes) {
        Bench bench;
        std::string shown = bench.show(shape.text);
        EXPECT_EQ(shown.substr(0, std::string_view(shape.expected).size()), shape.expected)
            << shape.name << ": " << shown;
        EXPECT_EQ(bench.code(), shape.code) << shape.name;
    }
}

// Three texts of 64 MiB, then a fourth sized to end exactly at the budget, or one unit past it.
TEST(EvalCost, WorkBudgetEdge) {
    const std::size_t scan = Evaluator::kScanCost;
    const std::string full = std::to_string(kMaxStringBytes / 2);
    auto term = [](const std::string& count) { return "LEN(SPACE$(" + count + "))"; };
    // An operand costs its own scan, its argument's and the count's, and the text it makes.
    auto scanCost = [&](const std::string& count) {
        return scan * (term(count).size() + ("SPACE$(" + count + ")").size() + count.size());
    };
    auto termCost = [&](const std::string& count) {
        return scanCost(count) + 2 * std::stoull(count);
    };
    const std::string prefix = term(full) + "+" + term(full) + "+" + term(full) + "+";
    // The last count has eight digits, like this one, so the scans cost the same.
    const std::string eightDigits = "10000000";
    const std::size_t fixedCost =
        scan * (prefix + term(eightDigits)).size() + 3 * termCost(full) + scanCost(eightDigits);
    const std::size_t lastCount = (Evaluator::kWorkBudget - fixedCost) / 2;
    ASSERT_EQ(std::to_string(lastCount).size(), 8u);
    const std::string atBudget = prefix + term(std::to_string(lastCount));
    ASSERT_EQ(fixedCost + 2 * lastCount + 2 > Evaluator::kWorkBudget, true);

    Bench within;
    EXPECT_EQ(within.show(atBudget),
              "Long: " + std::to_string(3 * kMaxStringBytes / 2 + lastCount));
    EXPECT_EQ(within.code(), 0);

    Bench past;  // the last text no longer fits: its call fails, LEN of Empty is 0
    EXPECT_EQ(past.show(prefix + term(std::to_string(lastCount + 1))),
              "Long: " + std::to_string(3 * kMaxStringBytes / 2));
    EXPECT_EQ(past.code(), 2);
}

// Plain arithmetic is computed directly; the rows hold what the scan and slot row give (with
// the rows of eval_test.cpp, which take the same way).
TEST(EvalCost, PlainArithmeticKeepsItsResults) {
    checkRows({
        {"3+1*9-2", "Double: 10"},
        {"2/7*5*7", "Double: 10"},
        {"9-9/9*9", "Double: 0"},
        {"1.5*4+2.25/0.5", "Double: 10.5"},
        {"((12+8)/4-1)*3", "Double: 12"},
        {"2*(3+(4*(5+6)))", "Double: 94"},
        {".5+5.", "Double: 5.5"},
        {"(1.5)", "Double: 1.5"},
        {"9/0^0", "Double: 9"},  // "^" first: 9/1, never 9/0
        {"9/0*2.5", "Empty: ", 2},
        {"(0-8)^(1/3)", "Empty: ", 2},
        {"1.2.3*2", "Double: 0", 2},  // the operand fails in its own call
        {"1+(-2^2)", "Double: 5"},    // a sign belongs to its operand
        {"1 + 2", "Double: 3"},
        {"(1+2", "Double: 3"},
        {"123456789012345678*10", "Double: 1.23456789012346E+18"},
        {"12345678901234567890*2", "Double: 2.46913578024691E+19"},  // past 64-bit digits
    });
    // Every digit of the result, not only its 15-digit text.
    Bench bench;
    EXPECT_EQ(bench.eval("0.1+0.2").asDouble(), 0.1 + 0.2);
    EXPECT_EQ(bench.eval("123.456-78.9*0.5").asDouble(), 123.456 - 78.9 * 0.5);
    EXPECT_EQ(bench.eval("(3.14159*2.5)/4").asDouble(), (3.14159 * 2.5) / 4);
    EXPECT_EQ(bench.eval("1/3").asDouble(), 1.0 / 3);
    EXPECT_EQ(bench.eval("2^0.5").asDouble(), std::pow(2.0, 0.5));
}

TEST(EvalCost, JoinedTextsKeepTheirBytes) {
    checkRows({
        {"\"a\"+1+2", "String: a 1 2"},
        {"1+2+\"a\"", "String:  3a"},
        {"\"x\"+0.5+\"y\"", "String: x .5y"},
        {"LEN(\"ab\"+\"cd\"+\"ef\")", "Long: 6"},
    });
    // Lone bytes shift every later byte by one place, however long the chain.
    Bench bench;
    Value v = bench.eval("CHR$(65)+CHR$(66)+CHR$(67)+\"D\"+CHR$(69)");
    ASSERT_TRUE(v.isString());
    EXPECT_EQ(v.asString().byteView(), std::string("ABCD\0E", 6));
}

TEST(EvalCost, TextSearchFindsWhatTheLibrarySearchFinds) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        auto text = [&](std::size_t length) {
            std::u16string s;
            for (std::size_t i = 0; i < length; ++i)
                s.push_back(static_cast<char16_t>(u'a' + random() % 2));
            return s;
        };
        std::u16string haystack = text(random() % 60);
        std::u16string needle = text(random() % 12);
        std::size_t from = random() % 64;
        EXPECT_EQ(findText(haystack, needle, from), haystack.find(needle, from))
            << toUtf8(haystack) << " / " << toUtf8(needle) << " from " << from;
    }
    checkRows({
        {"INSTR(\"xxABCDEFGH\",\"ABCDEFGH\")", "Long: 3"},
        {"INSTR(4,\"AABAABAABAAB\",\"AABAABAAB\")", "Long: 4"},
        {"INSTR(5,\"AABAABAABAAB\",\"AABAABAAB\")", "Long: 0"},
    });
}

}  // namespace
}  // namespace pelmora::testing
