// The check: each problem of cases/strict.tsv with its identifier and place, and every
// expression of the other tables accepted without strict mode unless Eval fails on it.
#include <pelmora/check.h>
#include <pelmora/expression.h>
#include <pelmora/symbols.h>
#include "fake_host.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>

namespace pelmora::testing {
namespace {

// X, K and the functions TWICE (one argument) and PICK (one to three) are declared.
struct Declared {
    double x = 5;
    Symbols symbols;
    Declared() {
        symbols.defineVariable(u"X", &x);
        symbols.defineConstant(u"K", Value::number(2));
        symbols.defineFunction(u"TWICE", 1, [](auto a) { return a[0]; });
        symbols.defineFunction(u"PICK", 1, 3, [](auto a) { return a[0]; });
    }
};

std::string shownAll(const std::vector<Diagnostic>& found) {
    std::string out;
    for (const auto& d : found)
        out += d.id + " " + std::to_string(d.offset) + " " + std::to_string(d.column) + "; ";
    return out;
}

TEST(Check, EveryStrictProblemHasItsIdentifierAndPlace) {
    Declared declared;
    std::map<std::string, std::string> expected;  // each text's rows, in order
    for (const auto& row : table("strict")) {
        ASSERT_TRUE(row.size() == 4u || (row.size() == 2u && row[1] == "-")) << row[0];
        std::string& shown = expected[row[0]];
        if (row[1] != "-") shown += row[1] + " " + row[2] + " " + row[3] + "; ";
    }
    EXPECT_GT(expected.size(), 30u);
    for (const auto& [text, shown] : expected) {
        const auto found = check(fromUtf8(text), &declared.symbols, Strictness::Strict);
        EXPECT_EQ(shownAll(found), shown) << text;
        for (const auto& d : found) EXPECT_FALSE(d.message.empty()) << text;
        // What fails for certain is reported in strict mode too.
        for (const auto& d : check(fromUtf8(text), &declared.symbols, Strictness::Lenient))
            EXPECT_NE(shown.find(shownAll({d})), std::string::npos) << text;
        // A compiled expression is checked from the same reading.
        EXPECT_EQ(shownAll(check(Expression(text, &declared.symbols), Strictness::Strict)), shown)
            << text;
    }
}

TEST(Check, MessagesNameTheThing) {
    Declared declared;
    auto message = [&](std::string_view text, std::string_view id) {
        for (const auto& d : check(text, &declared.symbols, Strictness::Strict))
            if (d.id == id) return d.message;
        return std::string("none");
    };
    EXPECT_EQ(message("xx*2", "unknown-name"), "unknown name XX");
    EXPECT_EQ(message("1+nope(2)", "unknown-name"), "unknown function NOPE");
    EXPECT_EQ(message("SIN (1)", "unknown-name"), "unknown function \"SIN \"");
    EXPECT_EQ(message("sin(1,2)", "argument-count"), "SIN takes 1 argument, not 2");
    EXPECT_EQ(message("MID$(\"a\")", "argument-count"), "MID$ takes 2 to 3 arguments, not 1");
    EXPECT_EQ(message("PICK()", "argument-count"), "PICK takes 1 to 3 arguments, not 0");
    EXPECT_EQ(message("2*(3+4", "unbalanced-parenthesis"), "missing closing parenthesis");
    EXPECT_EQ(message("1+2)", "unbalanced-parenthesis"), "unmatched closing parenthesis");
    EXPECT_EQ(message("1+*2", "missing-operand"), "missing operand before *");
    EXPECT_EQ(message("1<>", "missing-operand"), "missing operand after <>");
    EXPECT_EQ(message("1,5*2", "stray-character"), "stray character \",\"");
    EXPECT_EQ(message("2*1.2.34444444444444444444444", "unreadable-number"),
              "cannot read 1.2.34444444444444444444... as a number");
    EXPECT_EQ(message("1+２３", "stray-character"), "stray characters \"２３\"");
}

// Offsets of the UTF-8 check count bytes, those of the UTF-16 check units; columns count
// characters in both.
TEST(Check, OffsetsCountTheUnitsOfTheTextGiven) {
    const auto utf8 = check(std::string_view("\"𝟘日\"+ｘ"), nullptr, Strictness::Strict);
    const auto utf16 = check(std::u16string_view(u"\"𝟘日\"+ｘ"), nullptr, Strictness::Strict);
    ASSERT_EQ(utf8.size(), 2u);
    ASSERT_EQ(utf16.size(), 2u);
    EXPECT_EQ(utf8[1].id, "stray-character");
    EXPECT_EQ(utf8[0].offset, 9u);
    EXPECT_EQ(utf8[1].offset, 10u);
    EXPECT_EQ(utf16[0].offset, 5u);
    EXPECT_EQ(utf16[1].offset, 6u);
    // A byte that is no UTF-8 reads as one character.
    const auto invalid = check(std::string_view("\xFF\"𝟘日\"+ｘ"), nullptr, Strictness::Strict);
    ASSERT_EQ(invalid.size(), 3u);
    EXPECT_EQ(invalid[2].offset, 11u);
    EXPECT_EQ(invalid[2].column, 7u);
    for (const auto* found : {&utf8, &utf16}) {
        EXPECT_EQ((*found)[0].column, 5u);
        EXPECT_EQ((*found)[1].column, 6u);
    }
}

// Without strict mode nothing is reported that Eval does not fail on (its outcome given, or
// found); strict mode reads any text. Gives whether anything was reported.
bool expectLenientOnlyWhereEvalFails(std::u16string_view text, std::string value = {},
                                     int code = 0) {
    if (value.empty()) {
        Bench bench;
        value = outcome(bench.evaluator, text);
        code = bench.code();
    }
    const auto found = check(text, nullptr, Strictness::Lenient);
    EXPECT_TRUE(found.empty() || value == "ended" || (value == "Empty: " && code == 2))
        << toUtf8(text) << ": " << shownAll(found) << "but Eval gives " << value;
    for (const auto& d : check(text, nullptr, Strictness::Strict))
        EXPECT_LE(d.offset, text.size()) << toUtf8(text);
    return !found.empty();
}

// Every expression of the tables, also as a compiled expression giving Eval's value.
TEST(Check, WithoutStrictModeEveryTableExpressionThatEvalTakesIsAccepted) {
    std::size_t rows = 0, reported = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PELMORA_CASES_DIR)) {
        if (entry.path().stem() == "strict") continue;
        for (const auto& row : table(entry.path().stem().string())) {
            const std::u16string text = fromUtf8(row[0]);
            Bench bench, compiled;
            const std::string value = outcome(bench.evaluator, text);
            reported += expectLenientOnlyWhereEvalFails(text, value, bench.code());
            std::string fromCompiled = "ended";
            try {
                fromCompiled = describe(Expression(text).evaluate(compiled.evaluator));
            } catch (const ProgramEnded&) {
            }
            EXPECT_EQ(fromCompiled, value) << row[0];
            EXPECT_EQ(compiled.code(), bench.code()) << row[0];
            ++rows;
        }
    }
    EXPECT_GT(rows, 500u);
    EXPECT_GT(reported, 10u);
}

// The seeds of the fuzz corpus and texts made of the language's pieces, most of them broken.
TEST(Check, WithoutStrictModeOnlyWhatEvalFailsOnIsReported) {
    for (const auto& entry : std::filesystem::directory_iterator(PELMORA_FUZZ_DIR "/corpus")) {
        std::ifstream in(entry.path(), std::ios::binary);
        expectLenientOnlyWhereEvalFails(
            fromUtf8(std::string(std::istreambuf_iterator<char>(in), {})));
    }
    static const char* const pieces[] = {"X",     "AB",  "SIN(",  "MID$(", "IIF(", "NOPE(", "RND",
                                         " AND ", " OR", "MOD ",  "NOT ",  "+",    "-",     "*",
                                         "/",     "^",   "<>",    "=",     "(",    ")",     ")",
                                         ",",     "\"",  "\"a\"", "1",     "2.5",  "1.2.3", "&H1F",
                                         " ",     "\t",  "１",    "A)N",   "--",   "1E5"};
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
    std::size_t reported = 0;
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        for (int n = 1 + i % 9; n > 0; --n) text += pieces[piece(random)];
        reported += expectLenientOnlyWhereEvalFails(fromUtf8(text));
    }
    EXPECT_GT(reported, 500u);
}

}  // namespace
}  // namespace pelmora::testing
