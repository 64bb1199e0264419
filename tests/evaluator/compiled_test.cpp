// A compiled expression gives what Eval gives: value, kind, codes, current error and every call
// to the host and the program, for every text of the tables, the seed corpus and random texts.
#include <pelmora/expression.h>
#include <pelmora/symbols.h>
#include "fake_host.h"
#include "fuzz/differential.h"

#include <filesystem>
#include <iterator>
#include <random>

namespace pelmora::testing {
namespace {

void expectAgreement(std::u16string_view text) {
    const std::string difference = fuzzing::difference(text);
    EXPECT_TRUE(difference.empty()) << toUtf8(text) << "\n" << difference;
}

TEST(Compiled, EveryTableExpressionGivesWhatEvalGives) {
    std::size_t rows = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PELMORA_CASES_DIR)) {
        for (const auto& row : table(entry.path().stem().string())) {
            expectAgreement(fromUtf8(row[0]));
            ++rows;
        }
    }
    EXPECT_GT(rows, 500u);
}

TEST(Compiled, EverySeedOfTheFuzzCorpusGivesWhatEvalGives) {
    for (const auto& entry : std::filesystem::directory_iterator(PELMORA_FUZZ_DIR "/corpus")) {
        std::ifstream in(entry.path(), std::ios::binary);
        expectAgreement(fromUtf8(std::string(std::istreambuf_iterator<char>(in), {})));
    }
}

// Shapes the random texts rarely make: a sign or NOT as a whole operand, numeric formulas that
// fail at X = 0 or on a text, and calls the numeric path must hand back to the tree.
TEST(Compiled, RareShapesGiveWhatEvalGives) {
    for (const char16_t* text :
         {u"+-X", u"+-(X*2)", u"*-K", u"NOT X", u"+NOT X", u"1/X", u"X/0", u"X/(X-3)", u"X^-1",
          u"0^-X", u"SIN(\"x\")", u"SIN(X,1)", u"SIN()", u"LOG10(X)", u"ABS(-X)*V", u"-X*1E+5",
          u"CINT(X)+1", u"RND(X)*0", u"X*Y-K/2^X", u"(((X)))", u"-(-(-X))"})
        expectAgreement(text);
}

// Texts made of the language's pieces: names the program, the host and the built-ins know and
// names nobody knows, calls, signs, operators, quotes, parentheses, EVAL and spaces.
std::u16string randomText(std::mt19937& random) {
    static const char* const pieces[] = {
        "X",        "Y",    "V",     "K",         "HX",      "ZZ",    "A$",    "TWICE(",
        "PICK(",    "HF(",  "NOPE(", "SIN(",      "EVAL(\"", "EVAL(", "MID$(", "IIF(",
        "RND",      "ERR",  "DATE$", "ENVIRON$(", "LEN(",    "NOT ",  " AND ", " OR ",
        " MOD ",    "+",    "-",     "*",         "/",       "\\",    "^",     "=",
        "<>",       "<",    ">=",    "&",         ";",       "(",     ")",     ")",
        ",",        "\"",   "\"x\"", "1",         "2",       "0",     "1.5",   "12345678901234567",
        "&H1F",     " ",    ".",     "--",        "1E5",     "9^999", "VAL(",  "STR$(",
        "CHR$(65)", "ABS(-"};
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::uniform_int_distribution<int> length(1, 14);
    std::string text;
    for (int n = length(random); n > 0; --n) text += pieces[piece(random)];
    return fromUtf8(text);
}

TEST(Compiled, RandomTextsGiveWhatEvalGives) {
    std::mt19937 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        const std::u16string text = randomText(random);
        const std::string difference = fuzzing::difference(text);
        ASSERT_TRUE(difference.empty()) << toUtf8(text) << "\n" << difference;
    }
}

// Near the limits the same evaluation fails at the same call: nesting that reaches the depth
// limit, and texts whose nested reads use up the work budget.
TEST(Compiled, TheLimitsAreMetWhereEvalMeetsThem) {
    for (int depth : {190, 197, 198, 199, 200, 201, 260}) {
        std::u16string nested;
        for (int i = 0; i < depth; ++i) nested += u"-(";
        nested += u"X+1";
        nested.append(static_cast<std::size_t>(depth), u')');
        expectAgreement(nested);
        std::u16string evals;
        for (int i = 0; i < depth / 2; ++i) evals += u"EVAL(";
        evals += u"2*X";
        evals.append(static_cast<std::size_t>(depth / 2), u')');
        expectAgreement(evals);
    }
    // A long text of signed numbers read many times over by the nested calls of its argument.
    std::u16string wide = u"LEN(";
    for (int i = 0; i < 4000; ++i) wide += u"-1.5*X+";
    expectAgreement(wide + u"1)&STRING$(30000000,\"a\")+STRING$(30000000,\"b\")");
}

TEST(Compiled, BoundVariablesAreReadAtEachEvaluation) {
    FakeHost host;
    Evaluator evaluator(host);
    double x = 2;
    Value label = Value::string(u"n=");
    Symbols symbols;
    symbols.defineVariable(u"x", &x);
    symbols.defineVariable("Label$", &label);
    symbols.defineConstant("Half", Value::number(0.5));
    symbols.defineFunction(u"Clamp", 1, 3, [](std::span<const Value> a) {
        double v = ToNumber(a[0]);
        return Value::number(a.size() < 3 ? v : std::clamp(v, ToNumber(a[1]), ToNumber(a[2])));
    });
    const Expression square = compile(u"X*X+2*X+1", &symbols);
    const Expression text = compile("LABEL$+STR$(CLAMP(x*HALF,0,3))", &symbols);
    for (double v : {2.0, -3.0, 10.0}) {
        x = v;
        EXPECT_EQ(describe(square.evaluate(evaluator)), describe(Value::number((v + 1) * (v + 1))));
    }
    EXPECT_EQ(describe(text.evaluate(evaluator)), "String: n= 3");
    label = Value::string(u"m=");
    EXPECT_EQ(describe(text.evaluate(evaluator)), "String: m= 3");
    EXPECT_EQ(evaluator.EvalErrorCode, 0);
    // A call outside the function's range fails like a built-in's failure.
    EXPECT_EQ(describe(compile("CLAMP(1,2,3,4)", &symbols).evaluate(evaluator)), "Empty: ");
    EXPECT_EQ(evaluator.EvalErrorCode, 2);
}

TEST(Compiled, NamesThatCannotBeDeclaredAreRefused) {
    Symbols symbols;
    double x = 0;
    for (const char* name : {"", "1X", "A B", "SIN", "mid$", "RND", "X$Y", "é"})
        EXPECT_THROW(symbols.defineVariable(name, &x), std::invalid_argument) << name;
    EXPECT_THROW(symbols.defineFunction("F", 2, 1, [](auto) { return Value(); }),
                 std::invalid_argument);
    EXPECT_THROW(symbols.defineFunction("F", 0, 9, [](auto) { return Value(); }),
                 std::invalid_argument);
    symbols.defineVariable("Rate%", &x);
    EXPECT_TRUE(symbols.contains(u"rate%"));
}

}  // namespace
}  // namespace pelmora::testing

namespace pelmora::testing {
namespace {

// The outcome of a compiled expression tells what the outcome of its text tells.
TEST(Compiled, OutcomesTellWhatTheTextsOutcomesTell) {
    for (const char* text : {"1/0", "2*1.2.3", "+5", "NOPE", "SQR(-1)", "LEN(\"abc\")*X", "\"a",
                             "MID$(\"abc\",0)", "X^999"}) {
        FakeHost host;
        Evaluator evaluator(host);
        double x = 2;
        Symbols symbols;
        symbols.defineVariable("X", &x);
        evaluator.setSymbols(&symbols);
        const Outcome fromText = evaluator.evaluate(std::string_view(text));
        const Outcome compiled = evaluator.evaluate(Expression(std::string_view(text), &symbols));
        EXPECT_EQ(describe(compiled.value), describe(fromText.value)) << text;
        EXPECT_EQ(compiled.code, fromText.code) << text;
        EXPECT_EQ(compiled.message, fromText.message) << text;
        EXPECT_EQ(compiled.offset.has_value(), fromText.offset == std::optional<std::size_t>(0))
            << text;
    }
}

}  // namespace
}  // namespace pelmora::testing
