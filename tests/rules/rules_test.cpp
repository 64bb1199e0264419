// The game's rules without the window: the handlers driven directly from rows of steps, the
// solution search, the target's reading and the texts the rules make.
#include <pelmora/conversions.h>
#include <pelmora/version.h>
#include "game/rules/mivor10.h"
#include "game/rules/solver.h"
#include "tests/rules/rules_bench.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

namespace pelmora::game {
namespace {

using testing::RulesBench;
using testing::table;

std::u16string u16(const std::string& utf8) {
    return fromUtf8(utf8);
}

// Rows of cases/games.tsv: a game's name (a new bench for each), a clock reading, a step or a
// check, and its arguments. The step letters are those of tests/common/table.h.
TEST(Handlers, TimedGamesAsRowsOfSteps) {
    std::unique_ptr<RulesBench> b;
    std::string game;
    for (const auto& r : table("games")) {
        if (r[0] != game) b = std::make_unique<RulesBench>(), game = r[0];
        const char action = r[2][0];
        const std::string where = game + " " + r[1] + " " + r[2];
        const std::string argument = r.size() > 4 ? r[4] : "";
        switch (action) {
            case 'c':
                EXPECT_EQ(b->controls().Label4ForeColour4 == TextColour::Red, argument == "red")
                    << where;
                break;
            case 'o':
                b->choose(argument);
                break;
            case 'W':
                b->text(r[3]) = u16(argument);
                break;
            case 'w':
                EXPECT_EQ(toUtf8(b->text(r[3])), argument) << where;
                break;
            case 'm':
                EXPECT_EQ(b->messages.shown.size(), std::stoul(argument)) << where;
                break;
            case 'f':
                EXPECT_EQ(b->focus, argument) << where;
                break;
            case 'e':
                EXPECT_EQ(b->program.ended, 1) << where;
                break;
            default:
                ASSERT_NE(std::string_view("SONXCFtT").find(action), std::string_view::npos)
                    << where;
                b->step(std::stod(r[1]), action, r.size() > 3 ? r[3] : "", argument);
        }
    }
}

TEST(Handlers, LoadShowsOneTwoThreeFourAndEndsWhenAnotherWindowRuns) {
    RulesBench b;
    EXPECT_EQ(b.screen(), "|||||| [] 1234 ＋＋＋ S");
    EXPECT_EQ(toUtf8(b.controls().Text2), "10");
    for (const auto& items : b.controls().Combo1Items)
        EXPECT_EQ(items, (std::vector<std::u16string>{u"＋", u"－", u"×", u"÷"}));
    EXPECT_EQ(b.host.seeds.size(), 1u);
    EXPECT_EQ(b.program.ended, 0);
    b.step(5000, 't', "", "|||||| [] 1234 ＋＋＋ S");

    RulesBench second(true);
    EXPECT_EQ(second.program.ended, 1);
}

// Rows of cases/points.tsv: the seconds into the problem at the last tick, the seconds left
// shown, the points a correct answer scores.
TEST(Handlers, PointsFollowTheSecondsLeftShown) {
    for (const auto& row : table("points")) {
        RulesBench b;
        b.step(100, 'S', "3192");
        b.step(100 + std::stod(row[0]), 't');
        EXPECT_EQ(toUtf8(b.controls().Label4[4]), row[1]);
        for (int solved : {1, 2}) {  // until the next tick the new problem scores the same
            b.choose("＋×－");
            b.step(b.clock.now, 'O', "3192");
            EXPECT_EQ(toUtf8(b.controls().Label4[5]), std::to_string(solved * std::stoi(row[2])))
                << row[1];
        }
    }
}

TEST(Handlers, OnlyDigitsThatReachTheTargetAreDealt) {
    RulesBench b;
    b.text("Text2") = u"２４";  // full-width digits are that number
    b.step(100, 'S', "11113811");
    EXPECT_TRUE(b.messages.shown.empty());
    b.choose("×＋－");
    b.step(100, 'O');
    EXPECT_EQ(b.text("Text2"), u"24");
    EXPECT_EQ(b.text("Label4(1)"), u"1");
    Evaluator check(b.host);
    for (int i = 0; i < 30; ++i) {
        b.step(100, 'N');
        const auto digits = readDigits(b.controls().Label1[0] + b.controls().Label1[1] +
                                       b.controls().Label1[2] + b.controls().Label1[3]);
        ASSERT_TRUE(digits);
        EXPECT_TRUE(findSolution(check, digitTexts(*digits), u"24"));
    }
    b.step(100, 'X');
    b.text("Text2") = u"6561";  // reached by 9999 alone
    b.step(200, 'S');
    EXPECT_TRUE(b.messages.shown.empty());
    EXPECT_EQ(b.controls().Image2, (std::array<int, 4>{9, 9, 9, 9}));
    // Reached by 8999, 9899, 9989 and 9998 only: when every draw misses, a last one picks among
    // them, and a new target is searched anew.
    b.step(200, 'X');
    b.text("Text2") = u"5832";
    b.step(300, 'S', std::string(4 * Mivor10::kRandomDraws, '1') + '9');
    EXPECT_EQ(b.controls().Image2, (std::array<int, 4>{9, 9, 9, 8}));
}

TEST(Handlers, StartWithATargetNoDigitsReachChangesNothing) {
    for (const char16_t* target : {u"0.123", u"1E999", u"３０４"}) {
        RulesBench b;
        b.step(100, 'S', "3192");  // a finished game's results stay on screen
        b.choose("＋×－");
        const std::string before = "2|1||12|18|1|100% [8 － 2 ＋ 4 ÷ 1] 8241 ＋＋＋ S";
        b.step(100, 'O', "8241");
        b.step(112.5, 't');
        b.step(112.5, 'X', {}, before);
        const GameState state = b.rules.state();

        b.text("Text2") = target;
        const long draws = b.host.draws;
        b.step(200, 'S');
        ASSERT_EQ(b.messages.shown.size(), 1u);
        EXPECT_NE(b.messages.shown[0].find(target), std::u16string::npos);
        EXPECT_EQ(b.screen(), before);
        EXPECT_EQ(b.rules.state().GameStart, state.GameStart);
        EXPECT_EQ(b.rules.state().ProblemNumber, state.ProblemNumber);
        EXPECT_LE(b.host.draws - draws, 4 * Mivor10::kRandomDraws + 1);  // a bounded search
        b.step(240, 't', {}, before);
        b.text("Text2") = u"10";
        b.step(300, 'S', "3192", "1|||Start||| [8 － 2 ＋ 4 ÷ 1] 3192 ＋＋＋ ONX");
    }
}

TEST(SolutionSearch, FirstSolutionInSearchOrderIsTheExampleAnswer) {
    testing::ScriptedHost host;
    Evaluator evaluator{host};
    for (const auto& row : table("example_answers")) {
        const auto digits = readDigits(u16(row[0]));
        ASSERT_TRUE(digits) << row[0];
        EXPECT_EQ(toUtf8(findSolution(evaluator, digitTexts(*digits), u16(row[1])).value_or(u"")),
                  row.size() > 2 ? row[2] : "")
            << row[0];
    }
    for (const char16_t* bad : {u"", u"123", u"12345", u"0123", u"12a4", u"１２３４"})
        EXPECT_FALSE(readDigits(bad)) << toUtf8(bad);
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

// Rows of cases/targets.tsv: a target box's text, whether a number is found in it, the text OK
// writes back.
TEST(Target, ReadAsTheBoxReadsItAndWrittenBackPlain) {
    for (const auto& row : table("targets")) {
        EXPECT_EQ(holdsTarget(u16(row[0])), row[1] == "number") << row[0];
        EXPECT_EQ(toUtf8(cleanTarget(u16(row[0]))), row[2]) << row[0];
    }
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
    for (const auto& row : table("percentages"))
        EXPECT_EQ(toUtf8(percentageText(std::stod(row[0]), std::stod(row[1]))), row[2]) << row[0];
}

TEST(AnswerTranslation, SymbolsBecomeTheEvaluatorsCharacters) {
    for (const auto& row : table("formulas"))
        EXPECT_EQ(toUtf8(translateFormula(u16(row[0]))), row[1]) << row[0];
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
