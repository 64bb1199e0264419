// Evaluator: the public face of an Engine.
#include <pelmora/evaluator.h>
#include "evaluator/engine.h"

namespace pelmora {

Evaluator::Evaluator(Host& host) : d_(std::make_unique<Engine>(host, EvalErrorCode)) {}

Evaluator::~Evaluator() = default;

Value Evaluator::Eval(std::u16string_view text) {
    return d_->Eval(text);
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
