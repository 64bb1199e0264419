/// @file
/// @brief Expression, a text compiled once and evaluated many times.
#pragma once

#include <pelmora/evaluator.h>
#include <pelmora/export.h>
#include <pelmora/value.h>

#include <memory>
#include <string>
#include <string_view>

namespace pelmora {

class Symbols;

/// An expression text read once, to be evaluated as often as the program likes.
///
/// Each evaluate() gives exactly what Evaluator::Eval of the same text gives at that moment with
/// the same evaluator: the same value and kind, the same EvalErrorCode and current error, the
/// same calls to the host and to the program's functions in the same order, the same failures
/// at the limits. Only the reading of the text is saved; a text computed while evaluating (the
/// argument of EVAL) is read as Eval reads it.
///
/// The names are resolved when the expression is compiled, against the built-ins and the
/// Symbols given; a variable bound to the program's storage is read from it at each evaluation.
/// The Symbols must outlive the expression, and should not change after compiling.
///
/// An Expression never changes once compiled; copies share it. Evaluators on several threads,
/// each with its own Host, may evaluate one expression at once.
class PELMORA_API Expression {
  public:
    /// The empty text.
    Expression();
    /// Compiles a text, with the program's declared names (or none).
    explicit Expression(std::u16string_view text, const Symbols* symbols = nullptr);
    /// Compiles a UTF-8 text.
    explicit Expression(std::string_view text, const Symbols* symbols = nullptr);
    ~Expression();
    Expression(const Expression&);                 ///< Shares the compiled text.
    Expression& operator=(const Expression&);      ///< Shares the compiled text.
    Expression(Expression&&) noexcept;             ///< Takes the compiled text.
    Expression& operator=(Expression&&) noexcept;  ///< Takes the compiled text.

    /// Evaluates the expression as Evaluator::Eval evaluates its text. While it runs, the
    /// evaluator looks names up in the expression's Symbols (for EVAL's texts too).
    Value evaluate(Evaluator& evaluator) const;

    /// The text it was compiled from.
    std::u16string_view text() const;

    /// The compiled form; only the library reads it.
    struct Compiled;

  private:
    friend struct ExpressionAccess;
    std::shared_ptr<const Compiled> d_;
};

/// Compiles a text: the same as the Expression constructor.
PELMORA_API Expression compile(std::u16string_view text, const Symbols* symbols = nullptr);
/// Compiles a UTF-8 text.
PELMORA_API Expression compile(std::string_view text, const Symbols* symbols = nullptr);

}  // namespace pelmora
