// The rules of the window mivor10: its event handlers and private routines over the game
// record and the plain model of its controls. No Qt here; the window forwards its events.
#pragma once

#include <pelmora/evaluator.h>
#include "game/rules/game_state.h"
#include "game/rules/platform.h"
#include "game/rules/solver.h"

#include <optional>
#include <string>
#include <vector>

namespace pelmora::game {

struct AppVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version this program was built as.
AppVersion builtVersion();

// " Pelmora     Ver1.00" followed by 20 spaces and the maker's notice.
std::u16string windowCaption(const AppVersion& version);

// "66%" for 2 correct and 1 incorrect; "0%" unless correct is above 0.
std::u16string percentageText(double correct, double incorrect);

// The answer check's translation of a formula into the evaluator's characters.
std::u16string translateFormula(std::u16string_view formula);

// The message shown when no digit sequence reaches the target.
std::u16string noProblemMessage(std::u16string_view targetText);

// The target a text in the target box stands for: the answer's half-width translation, then
// the leading-number parse, so that a target typed in full-width digits is that number.
double readTarget(std::u16string_view text);

// Whether readTarget finds a number in the text at all; it reads 0 when it finds none.
bool holdsTarget(std::u16string_view text);

// The target box's text as OK writes it back: the text form of the number it stands for, or
// the text itself when that number is too large to read.
std::u16string cleanTarget(std::u16string_view text);

class Mivor10 {
  public:
    static constexpr int kProblemLimit = 30;
    static constexpr int kWarningThreshold = 25;
    static constexpr int kExampleDisplayTime = 14;
    static constexpr int kGameLimit = 3600;
    // Random deals tried before the dealing asks which sequences reach the target at all.
    static constexpr int kRandomDraws = 64;

    // The evaluator's host supplies the random sequence the dealing draws from.
    Mivor10(Evaluator& evaluator, Clock& clock, MessageSink& messages, ProgramControl& program,
            AppVersion version = builtVersion());

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Timer1_Timer();

    Controls& controls() { return controls_; }
    const Controls& controls() const { return controls_; }
    const GameState& state() const { return state_; }

  private:
    struct Problem {
        Digits digits;
        std::u16string answer;
    };

    // Deals a problem that has a solution. False when none can be made for the target: the
    // player has been told and the game is idle.
    bool DealProblem();
    // Draws digits that reach the target, touching no control; nothing when none do.
    std::optional<Problem> drawProblem(double target);
    void showProblem(const Problem& problem);
    int FindSolution();
    void RefreshPercentage();

    void resetOperators();
    void showDigit(int i, int digit);
    void enterIdle();
    std::u16string chosenFormula() const;
    double target() const { return readTarget(controls_.Text2); }
    const std::vector<Digits>& reachingFor(double target);

    Evaluator& evaluator_;
    Clock& clock_;
    MessageSink& messages_;
    ProgramControl& program_;
    AppVersion version_;
    GameState state_;
    Controls controls_;

    // Which sequences reach a target, kept for the last target asked about.
    std::optional<double> censusTarget_;
    std::vector<Digits> census_;
};

}  // namespace pelmora::game
