/// @file
/// @brief Evaluator, which evaluates expression texts.
#pragma once

#include <pelmora/export.h>
#include <pelmora/host.h>
#include <pelmora/outcome.h>
#include <pelmora/value.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pelmora {

class Engine;
class Expression;
class Symbols;

/// One evaluation context: it evaluates expression texts, and holds the error code and the
/// current-error record for its whole life. The outside world (clock, environment, command
/// line, random numbers, ending the program) comes only through the Host it was given.
///
/// An Evaluator is used by one thread at a time. Evaluators on different threads, each with its
/// own Host, share nothing that changes and may run at once.
class PELMORA_API Evaluator {
  public:
    /// An evaluator over the host, which must outlive it.
    explicit Evaluator(Host& host);
    ~Evaluator();
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    /// Evaluates an expression text and tells what went wrong and where: the value, the code
    /// (EvalErrorCode is set to 0 first and holds the same code afterwards), an English message
    /// and the position; see Outcome. Never fails towards the caller; only Host::endProgram, or
    /// an exception of the host's own, leaves it.
    Outcome evaluate(std::u16string_view text);
    /// evaluate() of a UTF-8 text (a byte that is not UTF-8 reads as U+FFFD); the offset counts
    /// bytes of `utf8`.
    Outcome evaluate(std::string_view utf8);
    /// evaluate() of a compiled expression: Expression::evaluate, with the outcome told. The
    /// offset is known only when the whole text failed (0).
    Outcome evaluate(const Expression& expression);

    /// Evaluates an expression text, as programs written against version 1.0 do. Never fails
    /// towards the caller: a failure is trapped, EvalErrorCode becomes 2 and the result is
    /// Empty. Only Host::endProgram, or an exception of the host's own, leaves it.
    Value Eval(std::u16string_view text);
    /// Eval() of a UTF-8 text (a byte that is not UTF-8 reads as U+FFFD).
    Value Eval(std::string_view utf8);

    /// The code of the latest failure (2, 3, 5 or 10), 0 until the first. Eval() never resets
    /// it; evaluate() does, and a caller may.
    std::int32_t EvalErrorCode = 0;

    /// The current-error record, which the name ERR reads.
    std::int32_t currentError() const;

    /// The host it was given.
    Host& host();

    /// The upper-cased name of the latest call of an undeclared name that the host asked to
    /// report (Host::UndeclaredCall::Report); empty until the first.
    const std::u16string& undeclaredName() const;

    /// Names the program declares (variables bound to its storage, constants, functions),
    /// looked up after the built-ins and before the host's; nothing to declare none. The
    /// symbols must outlive their use here.
    void setSymbols(const Symbols* symbols);

    /// Eval calls nested deeper than this fail (code 2) instead of exhausting the stack.
    static constexpr int kMaxEvalDepth = 200;
    /// The work one outermost Eval may do in all: every character a scan visits costs 8 units
    /// and every byte of text an Eval returns costs one. Past it the call that asks for more
    /// fails, and so does every later one in the same evaluation, so no text can make an
    /// evaluation run for long or fill the memory.
    static constexpr std::size_t kWorkBudget = std::size_t{256} << 20;

  private:
    friend class Engine;
    std::unique_ptr<Engine> d_;
};

}  // namespace pelmora
