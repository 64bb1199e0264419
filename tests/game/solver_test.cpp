// The solution search and the small text rules the window's handlers rest on.
#include "game/rules/solver.h"
#include <pelmora/conversions.h>
#include "game/rules/mivor10.h"
#include "game_bench.h"

#include <gtest/gtest.h>

namespace pelmora::game {
namespace {

struct SearchBench {
    testing::ScriptedHost host;
    Evaluator evaluator{host};
    std::optional<std::string> first(std::string_view digits, std::u16string_view target = u"10") {
        DigitTexts texts;
        for (std::size_t i = 0; i < 4; ++i) texts[i] = std::u16string(1, char16_t(digits[i]));
        auto answer = findSolution(evaluator, texts, target);
        if (!answer) return std::nullopt;
        return toUtf8(*answer);
    }
};

TEST(SolutionSearch, FirstSolutionInSearchOrderIsTheExampleAnswer) {
    const struct {
        const char* digits;
        const char* answer;
    } rows[] = {
        {"3192", "3 ＋ 1 × 9 － 2"},
        {"9111", "9 ＋ 1 ＋ 1 － 1"},
        {"8241", "8 － 2 ＋ 4 ÷ 1"},
        {"2222", "2 ＋ 2 × 2 × 2"},
        {"1234", "1 ＋ 2 ＋ 3 ＋ 4"},
        // Reached only because 9.999999999999998 prints as 10.
        {"2757", "2 ÷ 7 × 5 × 7"},
    };
    SearchBench bench;
    for (const auto& row : rows) EXPECT_EQ(bench.first(row.digits), row.answer) << row.digits;
}

// Repeated digits without a solution find nothing; the target is read with the leading-number
// parse.
TEST(SolutionSearch, NothingFoundAndTheTargetsLeadingNumber) {
    SearchBench bench;
    for (const char* digits : {"1111", "4444", "7777", "9999"})
        EXPECT_EQ(bench.first(digits), std::nullopt) << digits;
    EXPECT_EQ(bench.first("3192", u" 10.0abc"), "3 ＋ 1 × 9 － 2");
    EXPECT_EQ(bench.first("3192", u"1E999"), std::nullopt);  // too large: reached by nothing
}

TEST(Caption, MinorAndRevisionStandBackToBack) {
    EXPECT_EQ(toUtf8(windowCaption({1, 2, 3})),
              " Pelmora     Ver1.23" + std::string(20, ' ') + "(C) 2026 Pelmora 開発チーム");
    EXPECT_TRUE(toUtf8(windowCaption(builtVersion())).starts_with(" Pelmora     Ver1.00   "));
}

TEST(Percentage, FloorsTheShareOfCorrectAnswers) {
    const struct {
        double correct, incorrect;
        const char* shown;
    } rows[] = {
        {0, 5, "0%"},
        {-1, 0, "0%"},
        {1, 2, "33%"},
        {2, 1, "66%"},
        {3, 0, "100%"},
        {1, 0, "100%"},
        {99, 1, "99%"},
        // In doubles 29 / 100 * 100 is 28.999999999999996: counted exactly instead.
        {29, 71, "29%"},
        {57, 43, "57%"},
        {1e6, 2e6, "33%"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(toUtf8(percentageText(row.correct, row.incorrect)), row.shown)
            << row.correct << " of " << row.correct + row.incorrect;
}

TEST(AnswerTranslation, SymbolsBecomeTheEvaluatorsCharacters) {
    const struct {
        const char16_t* formula;
        const char16_t* translated;
    } rows[] = {
        {u"3×1＋9－2", u"3*1+9-2"},
        {u"8÷2", u"8/2"},
        {u" 1 + 2 ", u"1+2"},
        {u"１２＋３", u"12+3"},
        {u"（１＋２）＊３", u"(1+2)*3"},
        // The ideographic space becomes a space after the space test, so it stays.
        {u"1\u30002", u"1 2"},
        {u"ab", u"ab"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(toUtf8(translateFormula(row.formula)), toUtf8(row.translated))
            << toUtf8(row.formula);
}

}  // namespace
}  // namespace pelmora::game
