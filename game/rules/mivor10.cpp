#include "game/rules/mivor10.h"

#include <pelmora/conversions.h>
#include <pelmora/version.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pelmora::game {

namespace {

constexpr std::u16string_view kMakersNotice = u"(C) 2026 Pelmora 開発チーム";

std::u16string integerText(std::int64_t n) {
    char buffer[24];
    auto end = std::to_chars(buffer, buffer + sizeof buffer, n).ptr;
    return std::u16string(buffer, end);
}

// The whole seconds in an elapsed time, kept inside the range of the counters.
std::int64_t wholeSeconds(double elapsed) {
    constexpr double kLimit = 9.0e15;
    return static_cast<std::int64_t>(std::clamp(std::floor(elapsed), -kLimit, kLimit));
}

std::u16string trimSpaces(std::u16string_view text) {
    auto first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    auto last = text.find_last_not_of(u' ');
    return std::u16string(text.substr(first, last - first + 1));
}

// r in [0, 1) to a digit 1 to 9, in single precision.
int digitFromRandom(float r) {
    float scaled = r * 9.0f + 1.0f;
    return std::clamp(static_cast<int>(std::floor(scaled)), 1, 9);
}

int pointsFor(double secondsLeft) {
    if (secondsLeft <= 12) return 1;
    if (secondsLeft >= 13 && secondsLeft <= 20) return 2;
    return 3;
}

}  // namespace

AppVersion builtVersion() {
    return {PELMORA_VERSION_MAJOR, PELMORA_VERSION_MINOR, PELMORA_VERSION_PATCH};
}

std::u16string windowCaption(const AppVersion& version) {
    std::u16string caption = u" Pelmora     Ver";
    caption += integerText(version.major);
    caption += u'.';
    caption += integerText(version.minor);
    caption += integerText(version.revision);
    caption += std::u16string(20, u' ');
    caption += kMakersNotice;
    return caption;
}

std::u16string percentageText(double correct, double incorrect) {
    if (!(correct > 0)) return u"0%";
    // Whole counts are divided exactly: in doubles 29 / 100 * 100 falls just below 29.
    constexpr double kExact = 1.0e13;
    double percent;
    if (correct == std::floor(correct) && incorrect == std::floor(incorrect) && incorrect >= 0 &&
        correct + incorrect < kExact) {
        auto c = static_cast<std::int64_t>(correct);
        auto total = c + static_cast<std::int64_t>(incorrect);
        percent = static_cast<double>(c * 100 / total);
    } else {
        percent = std::floor(correct / (correct + incorrect) * 100);
    }
    if (!std::isfinite(percent)) return u"0%";
    return plainText(Value::number(percent)) + u"%";
}

// Every symbol it reads is one UTF-16 unit, and the half-width form maps character by
// character, so the whole text converts at once.
std::u16string translateFormula(std::u16string_view formula) {
    std::u16string out;
    out.reserve(formula.size());
    for (char16_t c : formula) {
        if (c == u' ') continue;
        for (const Operator& op : kOperators)
            if (c == op.symbol.front()) c = op.sign;
        out += c;
    }
    return toHalfWidth(out);
}

std::u16string noProblemMessage(std::u16string_view targetText) {
    return u"「" + trimSpaces(targetText) + u"」になる問題は作れません。目標の値を変えてください。";
}

double readTarget(std::u16string_view text) {
    return readNumber(translateFormula(text));
}

// Only a number whose digits are all 0 reads as 0 (an exponent may make it 0 too). With every
// 0 made a 1 and the exponent letters made into ones the parse stops at, such a number reads
// as something else, and a text without a number still reads as 0.
bool holdsTarget(std::u16string_view text) {
    if (readTarget(text) != 0) return true;
    std::u16string ones = translateFormula(text);
    for (char16_t& c : ones) {
        if (c == u'0') c = u'1';
        if (c == u'E' || c == u'e' || c == u'D' || c == u'd') c = u'#';
    }
    return readNumber(ones) != 0;
}

std::u16string cleanTarget(std::u16string_view text) {
    double target = readTarget(trimSpaces(text));
    if (std::isnan(target)) return std::u16string(text);
    return plainText(Value::number(target));
}

Mivor10::Mivor10(Evaluator& evaluator, Clock& clock, MessageSink& messages, ProgramControl& program,
                 AppVersion version)
    : evaluator_(evaluator),
      clock_(clock),
      messages_(messages),
      program_(program),
      version_(version) {}

void Mivor10::Form_Load() {
    controls_.caption = windowCaption(version_);
    if (program_.anotherInstanceRunning()) {
        program_.endProgram();
        return;
    }
    state_.Running = 0;
    controls_.Label6.clear();
    controls_.Command2Enabled = false;
    controls_.Command5Enabled = false;
    controls_.Command6Enabled = false;
    controls_.Text1.clear();
    for (std::size_t i = 0; i < 3; ++i) {
        for (const Operator& op : kOperators) controls_.Combo1Items[i].emplace_back(op.symbol);
        controls_.Combo1[i] = kOperators[0].symbol;
    }
    for (int i = 0; i < 4; ++i) showDigit(i, i + 1);
    controls_.Text2 = u"10";
    for (auto& label : controls_.Label4) label.clear();
    // A negative argument restarts the sequence at a place fixed by it: the clock's reading.
    evaluator_.host().random(-1.0 - std::abs(clock_.seconds()));
}

void Mivor10::Command1_Click() {
    if (state_.ProblemNumber == 0) return;
    controls_.Text1 = chosenFormula();
}

void Mivor10::Command2_Click() {
    state_.Running = 1;
    controls_.Text1 = trimSpaces(controls_.Text1);
    // A target too large to read keeps its text; it is never reached.
    controls_.Text2 = cleanTarget(controls_.Text2);

    std::u16string formula = controls_.Text1.empty() ? chosenFormula() : controls_.Text1;
    double target = this->target();
    double value = formulaValue(evaluator_, translateFormula(formula));

    if (value == target) {
        state_.Score += pointsFor(readNumber(controls_.Label4[4]));
        controls_.Label4[5] = integerText(state_.Score);
        resetOperators();
        controls_.Label6.clear();
        ++state_.CorrectCount;
        ++state_.ProblemNumber;
        controls_.Label4[0] = integerText(state_.ProblemNumber);
        controls_.Label4[1] = integerText(state_.CorrectCount);
        DealProblem();
        state_.ProblemStart = clock_.seconds();
    } else {
        ++state_.IncorrectCount;
        controls_.Label4[2] = integerText(state_.IncorrectCount);
    }
    RefreshPercentage();
}

void Mivor10::Command3_Click() {
    program_.endProgram();
}

void Mivor10::Command4_Click() {
    // Find the first problem before anything changes: for a target that no digits reach, the
    // last game stays on screen as it was.
    auto first = drawProblem(target());
    if (!first) {
        messages_.showMessage(noProblemMessage(controls_.Text2));
        return;
    }
    state_.GameStart = clock_.seconds();
    state_.ProblemStart = clock_.seconds();
    state_.Running = 1;
    for (auto& label : controls_.Label4) label.clear();
    state_.Score = 0;
    state_.CorrectCount = 0;
    state_.IncorrectCount = 0;
    state_.ProblemNumber = 1;
    controls_.Label4[0] = integerText(state_.ProblemNumber);
    controls_.Label4[3] = u"Start";
    showProblem(*first);
    controls_.focusRequest = FocusTarget::Text3;
    controls_.Command2Enabled = true;
    controls_.Command6Enabled = true;
    controls_.Command4Enabled = false;
    controls_.Command5Enabled = true;
}

void Mivor10::Command5_Click() {
    ++state_.ProblemNumber;
    ++state_.IncorrectCount;
    state_.Running = 1;
    controls_.Label4[0] = integerText(state_.ProblemNumber);
    controls_.Label4[2] = integerText(state_.IncorrectCount);
    if (FindSolution() == 99) controls_.Label6 = state_.ExampleAnswer;
    resetOperators();
    if (DealProblem()) {
        state_.Running = 1;
        state_.ProblemStart = clock_.seconds();
        controls_.focusRequest = FocusTarget::Text3;
        controls_.Command6Enabled = true;
        controls_.Command4Enabled = false;
    }
    RefreshPercentage();
}

void Mivor10::Command6_Click() {
    if (FindSolution() == 99) controls_.Label6 = state_.ExampleAnswer;
    enterIdle();
}

void Mivor10::Timer1_Timer() {
    if (state_.Running != 1) return;
    double now = clock_.seconds();
    std::int64_t game = wholeSeconds(now - state_.GameStart);
    if (game > 0) controls_.Label4[3] = integerText(game);
    // Stop does not end the tick: when the problem limit falls due too, Next deals one more
    // problem, and the next tick stops the game again.
    if (game > kGameLimit) Command6_Click();
    std::int64_t problem = wholeSeconds(now - state_.ProblemStart);
    if (problem >= kProblemLimit) {
        Command5_Click();
        return;
    }
    controls_.Label4ForeColour4 =
        problem < kWarningThreshold ? TextColour::WindowText : TextColour::Red;
    controls_.Label4[4] = integerText(kProblemLimit - problem);
    if (problem > kExampleDisplayTime) controls_.Label6.clear();
}

bool Mivor10::DealProblem() {
    auto problem = drawProblem(target());
    if (!problem) {
        enterIdle();
        messages_.showMessage(noProblemMessage(controls_.Text2));
        return false;
    }
    showProblem(*problem);
    return true;
}

std::optional<Mivor10::Problem> Mivor10::drawProblem(double target) {
    Host& host = evaluator_.host();
    for (int draw = 0; draw < kRandomDraws; ++draw) {
        Digits digits;
        for (int& d : digits) d = digitFromRandom(host.random(std::nullopt));
        if (auto answer = findSolution(evaluator_, digitTexts(digits), target))
            return Problem{digits, std::move(*answer)};
    }
    // Few or no sequences reach this target: find out which, rather than drawing forever.
    const auto& reaching = reachingFor(target);
    if (reaching.empty()) return std::nullopt;
    float r = host.random(std::nullopt);
    auto pick = std::min(reaching.size() - 1,
                         static_cast<std::size_t>(static_cast<double>(r) * reaching.size()));
    const Digits& digits = reaching[pick];
    return Problem{digits, findSolution(evaluator_, digitTexts(digits), target).value_or(u"")};
}

void Mivor10::showProblem(const Problem& problem) {
    for (int i = 0; i < 4; ++i) showDigit(i, problem.digits[i]);
    state_.ExampleAnswer = problem.answer;
}

int Mivor10::FindSolution() {
    auto answer = findSolution(evaluator_, controls_.Label1, target());
    if (!answer) return 0;
    state_.ExampleAnswer = std::move(*answer);
    return 99;
}

void Mivor10::RefreshPercentage() {
    double correct = readNumber(controls_.Label4[1]);
    controls_.Label4[6] = percentageText(correct, readNumber(controls_.Label4[2]));
}

void Mivor10::resetOperators() {
    controls_.Combo1.fill(std::u16string(kOperators[0].symbol));
}

void Mivor10::showDigit(int i, int digit) {
    controls_.Image2[i] = digit;
    controls_.Label1[i] = integerText(digit);
}

void Mivor10::enterIdle() {
    state_.Running = 0;
    controls_.Command2Enabled = false;
    controls_.Command5Enabled = false;
    controls_.Command4Enabled = true;
    controls_.Command6Enabled = false;
    controls_.focusRequest = FocusTarget::Command4;
}

std::u16string Mivor10::chosenFormula() const {
    return controls_.Label1[0] + controls_.Combo1[0] + controls_.Label1[1] + controls_.Combo1[1] +
           controls_.Label1[2] + controls_.Combo1[2] + controls_.Label1[3];
}

const std::vector<Digits>& Mivor10::reachingFor(double target) {
    if (std::isnan(target)) {
        census_.clear();
        censusTarget_.reset();
        return census_;
    }
    if (!censusTarget_ || *censusTarget_ != target) {
        census_ = reachingSequences(evaluator_, target);
        censusTarget_ = target;
    }
    return census_;
}

}  // namespace pelmora::game
