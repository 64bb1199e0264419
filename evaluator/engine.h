// Engine: what an Evaluator holds and does, behind its implementation pointer. Eval, Ffc and
// SStr recurse into each other here; the built-ins and the compiled expressions run on it too.
#pragma once

#include <pelmora/evaluator.h>
#include <pelmora/failure.h>
#include <pelmora/host.h>
#include <pelmora/outcome.h>
#include <pelmora/value.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pelmora {

class Symbols;
namespace reading {
struct DirectReading;
}
namespace compiled {
struct EvalNode;
struct NameNode;
struct NumericProgram;
}  // namespace compiled

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
    // The same around another way to evaluate that text (a compiled expression of it).
    Outcome evaluate(std::u16string_view text, const std::function<Value()>& run);
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
    void setUndeclaredName(std::u16string_view name) { undeclaredName_ = name; }

    // Evaluates a compiled text exactly as Eval evaluates the text, under a trap of its own.
    Value evalNode(const compiled::EvalNode& node);
    // Runs a numeric program as the outermost evaluation; false, with nothing changed, when the
    // tree must run instead.
    bool runNumeric(const compiled::NumericProgram& program, double& result);

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
    // One Eval's trap around its steps: the depth limit, the work budget of the outermost
    // call, and a failure turned into Empty and code 2.
    template <typename Steps>
    Value trapped(std::u16string_view text, Steps steps) {
        currentError_ = 0;
        if (depth_ >= kMaxEvalDepth) {
            EvalErrorCode = 2;
            noteFailure("evaluations nested too deep", text);
            return Value();
        }
        if (depth_ == 0) work_ = 0;
        ++depth_;
        try {
            Value result = steps();
            chargeText(result);
            --depth_;
            return result;
        } catch (const EvalFailure& e) {
            noteFailure(e.what(), text);
        } catch (const std::bad_alloc&) {
            noteFailure("out of memory", text);
        } catch (const std::length_error&) {
            noteFailure("text too long", text);
        } catch (...) {
            --depth_;
            throw;  // the end of the program, or a host's own exception
        }
        --depth_;
        EvalErrorCode = 2;
        currentError_ = 0;
        return Value();
    }

    // Eval's steps without its trap: from the start, from the rewriting, from the scan.
    Value evalUntrapped(std::u16string_view text);
    Value evalRewriting(std::u16string_view text, bool enclosed);
    Value evalScanned(std::u16string_view text, bool leadingZero);
    // The direct computation's value, when the limits let it stand for the nested reads.
    std::optional<double> takeDirect(const reading::DirectReading& direct, int nestedDepth);
    // Whether a short operand may be read without its nested Eval, and its value so read.
    bool shortOperandFits(std::size_t length) const;
    Value shortOperandValue(std::u16string_view text);
    // Applies one operator to a slot in place.
    void combine(int base, Value& left, const Value& right);
    Value evalNodeUntrapped(const compiled::EvalNode& node);
    Value runName(const compiled::NameNode& node);
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
