// Evaluator: the public face of an Engine.
#include <pelmora/evaluator.h>
#include <pelmora/expression.h>
#include <pelmora/conversions.h>
#include "evaluator/engine.h"
#include "evaluator/text.h"

namespace pelmora {

Evaluator::Evaluator(Host& host) : d_(std::make_unique<Engine>(host, EvalErrorCode)) {}

Evaluator::~Evaluator() = default;

Value Evaluator::Eval(std::u16string_view text) {
    return d_->Eval(text);
}

Value Evaluator::Eval(std::string_view utf8) {
    return d_->Eval(fromUtf8(utf8));
}

Outcome Evaluator::evaluate(std::u16string_view text) {
    return d_->evaluate(text);
}

Outcome Evaluator::evaluate(const Expression& expression) {
    return d_->evaluate(expression.text(), [&] { return expression.evaluate(*this); });
}

Outcome Evaluator::evaluate(std::string_view utf8) {
    Outcome outcome = d_->evaluate(fromUtf8(utf8));
    if (outcome.offset) outcome.offset = utf8Offset(utf8, *outcome.offset);
    return outcome;
}

std::int32_t Evaluator::currentError() const {
    return d_->currentError();
}

Host& Evaluator::host() {
    return d_->host();
}

const std::u16string& Evaluator::undeclaredName() const {
    return d_->undeclaredName();
}

void Evaluator::setSymbols(const Symbols* symbols) {
    d_->setSymbols(symbols);
}

}  // namespace pelmora
