// The evaluator object: Eval, Ffc and the module-wide state they share.
//
// One object holds EvalErrorCode and the current-error record for the whole life of its owner;
// the outside world (clock, environment, command line, random numbers, ending the program)
// comes only through the Host it was given.
#pragma once

#include <pelmora/host.h>
#include <pelmora/value.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora {

class Evaluator {
  public:
    explicit Evaluator(Host& host) : host_(host) {}
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    // Evaluates an expression text. Never fails towards the caller: a failure is trapped,
    // EvalErrorCode becomes 2 and the result is Empty.
    Value Eval(std::u16string_view text);

    // Evaluates a name operand: a bare name or a call. Traps nothing.
    Value Ffc(std::u16string_view text);

    // Turns a value into text under a trap of its own (code 10 and "" on failure).
    std::u16string SStr(const Value& value);

    std::int32_t EvalErrorCode = 0;

    // The platform's current-error record, which ERR reads.
    std::int32_t currentError() const { return currentError_; }

    Host& host() { return host_; }

    // Eval calls nested deeper than this fail (code 2) instead of exhausting the stack.
    static constexpr int kMaxEvalDepth = 200;
    // The work one outermost Eval may do in all: every character a scan visits costs
    // kScanCost units and every byte of text an Eval returns costs one. Past it the call that
    // asks for more fails, and so does every later one in the same evaluation, so no text can
    // make an evaluation run for long or fill the memory.
    static constexpr std::size_t kWorkBudget = std::size_t{256} << 20;
    static constexpr std::size_t kScanCost = 8;

    // Counts work against the budget of the outermost Eval; fails past it.
    void chargeWork(std::size_t units);

  private:
    Value evalUntrapped(std::u16string_view text);
    void chargeText(const Value& result);

    Host& host_;
    std::int32_t currentError_ = 0;
    int depth_ = 0;
    std::size_t work_ = 0;
};

}  // namespace pelmora
