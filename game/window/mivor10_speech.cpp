// What a screen reader is told as the game changes, without the focus moving: each text short
// enough to be heard before the player acts again, the result of a game excepted.
#include "game/window/accessibility.h"
#include "game/window/mivor10_window.h"

#include <pelmora/conversions.h>

#include <QLabel>

namespace pelmora::game {

namespace {

// Seconds left at which the time is said, once each as the count passes them.
constexpr std::array<int, 2> kTimeWarnings{10, 5};

QString said(const char16_t* text) {
    return QString::fromUtf16(text);
}

}  // namespace

Mivor10Window::Seen Mivor10Window::seen() const {
    const GameState& state = rules_->state();
    return {state.ProblemNumber, state.CorrectCount, state.IncorrectCount,
            state.Score,         state.Running == 1, label4_[4]->text()};
}

QString Mivor10Window::dealtDigits() const {
    QStringList digits;
    for (const QLabel* label : label1_) digits << label->text();
    return digits.join(u' ');
}

void Mivor10Window::announceChange(Event event, const Seen& before) {
    const Seen now = seen();
    QString text;
    if (before.running && !now.running) {
        text = said(u"終了。問題 %1、正解 %2、不正解 %3、点数 %4、正解率 %5")
                   .arg(now.problem)
                   .arg(now.correct)
                   .arg(now.incorrect)
                   .arg(now.score)
                   .arg(QString::fromStdU16String(percentageText(
                       static_cast<double>(now.correct), static_cast<double>(now.incorrect))));
    } else if (!now.running) {
        return;
    } else if (!before.running) {
        text = dealtDigits();
    } else if (now.correct > before.correct) {
        text = said(u"正解 %1 点、計 %2 点。").arg(now.score - before.score).arg(now.score) +
               dealtDigits();
    } else if (event == Event::Ok) {
        text = said(u"不正解、計 %1 点").arg(now.score);
    } else if (now.problem > before.problem) {
        text = (event == Event::Tick ? said(u"時間切れ。") : said(u"先に進みます。")) +
               dealtDigits();
    } else if (event == Event::Tick && !now.secondsLeft.isEmpty()) {
        const double left = readNumber(now.secondsLeft.toStdU16String());
        const double was = readNumber(before.secondsLeft.toStdU16String());
        for (int warning : kTimeWarnings)
            if (was > warning && left <= warning) text = said(u"残り %1 秒").arg(now.secondsLeft);
    }
    announcer_->say(text);
}

}  // namespace pelmora::game
