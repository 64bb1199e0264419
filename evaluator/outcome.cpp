// evaluate: an Eval from code 0 that tells the caller what went wrong and where.
#include "evaluator/engine.h"

#include <functional>

namespace pelmora {

namespace {

// What a code means when no trapped failure tells more.
const char* codeMessage(std::int32_t code) {
    switch (code) {
        case 3:
            return "an operator stands where an operand was expected";
        case 5:
            return "INPUT$ takes one argument";
        case 10:
            return "a value could not be turned into text";
        default:
            return "a failure was trapped";
    }
}

}  // namespace

void Engine::noteFailure(const char* message, std::u16string_view where) {
    failureOffset_.reset();
    const std::less<const char16_t*> before;
    if (where.data() && !before(where.data(), subject_.data()) &&
        !before(subject_.data() + subject_.size(), where.data()))
        failureOffset_ = static_cast<std::size_t>(where.data() - subject_.data());
    try {
        failureMessage_ = message;
    } catch (...) {
        failureMessage_.clear();  // no memory for the message: the code still tells
    }
}

Outcome Engine::evaluate(std::u16string_view text) {
    return evaluate(text, [&] { return Eval(text); });
}

Outcome Engine::evaluate(std::u16string_view text, const std::function<Value()>& run) {
    // A host's function may evaluate another text on this evaluator; it gets its own subject.
    struct Subject {
        std::u16string_view& current;
        std::u16string_view saved;
        ~Subject() { current = saved; }
    } subject{subject_, subject_};
    subject_ = text;
    failureMessage_.clear();
    failureOffset_.reset();
    EvalErrorCode = 0;

    Outcome outcome;
    outcome.value = run();
    outcome.code = EvalErrorCode;
    if (outcome.code == 2) {
        outcome.message = failureMessage_.empty() ? codeMessage(2) : failureMessage_;
        outcome.offset = failureOffset_;
    } else if (outcome.code != 0) {
        outcome.message = codeMessage(outcome.code);
    }
    return outcome;
}

}  // namespace pelmora
