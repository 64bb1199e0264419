// Engine: what an Evaluator holds and does, behind its implementation pointer. Eval, Ffc and
// SStr recurse into each other here; the built-ins and the compiled expressions run on it too.
#pragma once

#include <pelmora/evaluator.h>
#include <pelmora/host.h>
#include <pelmora/outcome.h>
#include <pelmora/value.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelmora {

class Symbols;

class Engine {
  public:
    Engine(Host& host, std::int32_t& errorCode) : host_(host), EvalErrorCode(errorCode) {}
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The engine of an evaluator.
    static Engine& of(Evaluator& evaluator) { return *evaluator.d_; }

    // Evaluates an expression text under a trap of its own: a failure gives Empty and code 2.
    Value Eval(std::u16string_view text);
    // Eval from code 0, with the code, the message and the position of what went wrong.
    Outcome evaluate(std::u16string_view text);
    // Records a trapped failure's message (code 2), and where it happened when `where` is a
    // piece of the text evaluate() was given. Every trap that sets code 2 calls it.
    void noteFailure(const char* message, std::u16string_view where = {});
    // One name operand, a bare name or a call, with no trap of its own.
    Value Ffc(std::u16string_view text);
    // A value as its number text form, under a trap of its own (code 10 and "").
    std::u16string SStr(const Value& value);

    Host& host() { return host_; }
    std::int32_t currentError() const { return currentError_; }
    const std::u16string& undeclaredName() const { return undeclaredName_; }

    // The program's declared names, looked up after the built-ins and before the host's.
    const Symbols* symbols() const { return symbols_; }
    void setSymbols(const Symbols* symbols) { symbols_ = symbols; }

    static constexpr int kMaxEvalDepth = Evaluator::kMaxEvalDepth;
    static constexpr std::size_t kWorkBudget = Evaluator::kWorkBudget;
    // The work units one scanned character costs.
    static constexpr std::size_t kScanCost = 8;
    // Counts work against the budget of the outermost Eval; fails past it.
    void chargeWork(std::size_t units);

  private:
    friend class CompiledRun;

    Value evalUntrapped(std::u16string_view text);
    void chargeText(const Value& result);

    Host& host_;

  public:
    // The evaluator's error code (the public field of Evaluator).
    std::int32_t& EvalErrorCode;

  private:
    std::int32_t currentError_ = 0;
    int depth_ = 0;
    std::size_t work_ = 0;
    std::u16string undeclaredName_;
    const Symbols* symbols_ = nullptr;
    // The text of the running evaluate(), and what its latest trapped failure was.
    std::u16string_view subject_;
    std::string failureMessage_;
    std::optional<std::size_t> failureOffset_;
};

}  // namespace pelmora
