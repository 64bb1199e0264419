// Expression: a compiled text, shared by its copies.
#include <pelmora/conversions.h>
#include <pelmora/expression.h>
#include "evaluator/compiled.h"
#include "evaluator/engine.h"

namespace pelmora {

struct Expression::Compiled : compiled::Program {
    Compiled() {}  // user-provided, so that make_shared does not zero the arena's buffer
};

namespace {

std::shared_ptr<const Expression::Compiled> compileText(std::u16string_view text,
                                                        const Symbols* symbols) {
    auto program = std::make_shared<Expression::Compiled>();
    compiled::compileInto(*program, text, symbols, false);
    return program;
}

// The expression's names stand for the evaluator's while it runs, and are handed back after.
class SymbolsInUse {
  public:
    SymbolsInUse(Engine& engine, const Symbols* symbols)
        : engine_(engine), saved_(engine.symbols()) {
        engine.setSymbols(symbols);
    }
    ~SymbolsInUse() { engine_.setSymbols(saved_); }
    SymbolsInUse(const SymbolsInUse&) = delete;
    SymbolsInUse& operator=(const SymbolsInUse&) = delete;

  private:
    Engine& engine_;
    const Symbols* saved_;
};

}  // namespace

Expression::Expression() : Expression(std::u16string_view()) {}
Expression::Expression(std::u16string_view text, const Symbols* symbols)
    : d_(compileText(text, symbols)) {}
Expression::Expression(std::string_view text, const Symbols* symbols)
    : Expression(std::u16string_view(fromUtf8(text)), symbols) {}
Expression::~Expression() = default;
Expression::Expression(const Expression&) = default;
Expression& Expression::operator=(const Expression&) = default;
Expression::Expression(Expression&&) noexcept = default;
Expression& Expression::operator=(Expression&&) noexcept = default;

Value Expression::evaluate(Evaluator& evaluator) const {
    Engine& engine = Engine::of(evaluator);
    double number;
    if (d_->numeric && engine.runNumeric(*d_->numeric, number)) return Value::number(number);
    SymbolsInUse names(engine, d_->symbols);
    return engine.evalNode(*d_->root);
}

std::u16string_view Expression::text() const {
    return d_->source;
}

struct ExpressionAccess {
    static const compiled::Program& program(const Expression& e) { return *e.d_; }
};

const compiled::Program& compiledProgram(const Expression& expression) {
    return ExpressionAccess::program(expression);
}

Expression compile(std::u16string_view text, const Symbols* symbols) {
    return Expression(text, symbols);
}

Expression compile(std::string_view text, const Symbols* symbols) {
    return Expression(text, symbols);
}

}  // namespace pelmora
