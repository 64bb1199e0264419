// The game's rules without the window.
#include <pelmora/conversions.h>
#include <pelmora/version.h>
#include "game/rules/mivor10.h"
#include "game/rules/solver.h"
#include "game_bench.h"

#include <algorithm>
#include <chrono>
#include <functional>

namespace pelmora::game {
namespace {

TEST(SolutionSearch, FirstSolutionInSearchOrderIsTheExampleAnswer) {
    testing::ScriptedHost host;
    Evaluator evaluator{host};
    for (const QStringList& row : testing::cases("example_answers")) {
        DigitTexts texts;
        for (int i = 0; i < 4; ++i) texts[i] = row[0].mid(i, 1).toStdU16String();
        EXPECT_EQ(findSolution(evaluator, texts, row[1].toStdU16String()).value_or(u""),
                  row[2].toStdU16String())
            << testing::s(row[0]);
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
    const AppVersion built = builtVersion();
    EXPECT_EQ(std::to_string(built.major) + "." + std::to_string(built.minor) + "." +
                  std::to_string(built.revision),
              PELMORA_VERSION_TEXT);
}

TEST(Percentage, FloorsTheShareOfCorrectAnswers) {
    for (const QStringList& row : testing::cases("percentages"))
        EXPECT_EQ(percentageText(row[0].toDouble(), row[1].toDouble()), row[2].toStdU16String())
            << testing::s(row[0]);
}

TEST(AnswerTranslation, SymbolsBecomeTheEvaluatorsCharacters) {
    for (const QStringList& row : testing::cases("formulas"))
        EXPECT_EQ(translateFormula(row[0].toStdU16String()), row[1].toStdU16String())
            << testing::s(row[0]);
    // A lone high surrogate is a character of its own, not the start of one with the sign.
    EXPECT_EQ(translateFormula(u"\xD83D×4"), u"\xD83D*4");
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
