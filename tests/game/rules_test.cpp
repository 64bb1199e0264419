// The game's rules without the window.
#include <pelmora/conversions.h>
#include "game/rules/mivor10.h"
#include "game/rules/solver.h"
#include "game_bench.h"

#include <algorithm>
#include <chrono>
#include <functional>

namespace pelmora::game {
namespace {

struct SearchRow {
    const char* digits;
    const char16_t* target;
    const char* answer;  // "" when no operators reach the target
};

TEST(SolutionSearch, FirstSolutionInSearchOrderIsTheExampleAnswer) {
    const SearchRow rows[] = {
        {"3192", u"10", "3 ＋ 1 × 9 － 2"},
        {"9111", u"10", "9 ＋ 1 ＋ 1 － 1"},
        {"8241", u"10", "8 － 2 ＋ 4 ÷ 1"},
        {"2222", u"10", "2 ＋ 2 × 2 × 2"},
        {"2757", u"10", "2 ÷ 7 × 5 × 7"},  // only because 9.999999999999998 prints as 10
        {"3811", u"24", "3 × 8 ＋ 1 － 1"},
        {"3192", u" 10.0abc", "3 ＋ 1 × 9 － 2"},  // the target's leading number
        {"1111", u"10", ""},
        {"9999", u"10", ""},
        {"3192", u"1E999", ""},  // too large: reached by nothing
    };
    testing::ScriptedHost host;
    Evaluator evaluator{host};
    for (const auto& row : rows) {
        DigitTexts texts;
        for (std::size_t i = 0; i < 4; ++i) texts[i] = std::u16string(1, char16_t(row.digits[i]));
        EXPECT_EQ(toUtf8(findSolution(evaluator, texts, row.target).value_or(u"")), row.answer)
            << row.digits;
    }
}

TEST(SolutionSearch, CensusCountsTheSequencesThatReachEachTarget) {
    testing::ScriptedHost host;
    Evaluator evaluator{host};
    for (auto [target, count] :
         {std::pair{10.0, 3133u}, {24.0, 1785u}, {-5.0, 2292u}, {6561.0, 1u}})
        EXPECT_EQ(reachingSequences(evaluator, target).size(), count) << target;
    EXPECT_EQ(reachingSequences(evaluator, 6561).front(), (Digits{9, 9, 9, 9}));
    const auto four = reachingSequences(evaluator, 4);  // 1111 first, each once, in order
    EXPECT_EQ(four.front(), (Digits{1, 1, 1, 1}));
    EXPECT_EQ(std::adjacent_find(four.begin(), four.end(), std::greater_equal<>()), four.end());
    EXPECT_TRUE(reachingSequences(evaluator, readNumber(u"1E999")).empty());
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
    } rows[] = {{0, 5, "0%"},   {-1, 0, "0%"},     {1, 2, "33%"},  {2, 1, "66%"}, {3, 0, "100%"},
                {99, 1, "99%"}, {1e6, 2e6, "33%"}, {29, 71, "29%"}};  // in doubles 29 / 100 * 100
                                                                      // is 28.999999999999996
    for (const auto& row : rows)
        EXPECT_EQ(toUtf8(percentageText(row.correct, row.incorrect)), row.shown) << row.correct;
}

TEST(AnswerTranslation, SymbolsBecomeTheEvaluatorsCharacters) {
    const std::pair<const char16_t*, const char*> rows[] = {
        {u"3×1＋9－2", "3*1+9-2"},
        {u"8÷2", "8/2"},
        {u" 1 + 2 ", "1+2"},
        {u"１２＋３", "12+3"},
        {u"（１＋２）＊３", "(1+2)*3"},
        {u"1\u30002", "1 2"},  // the ideographic space becomes a space after the space test
        {u"ab", "ab"},
    };
    for (const auto& [formula, translated] : rows)
        EXPECT_EQ(toUtf8(translateFormula(formula)), translated) << toUtf8(formula);
}

TEST(RealClock, ReadsTheSteadyClockInSeconds) {
    using namespace std::chrono;
    auto now = [] { return duration<double>(steady_clock::now().time_since_epoch()).count(); };
    SteadyClock clock;
    const double before = now();
    const double read = clock.seconds();
    EXPECT_LE(before, read);
    EXPECT_LE(read, now());
}

}  // namespace
}  // namespace pelmora::game
