// Eval: one left-to-right scan into operand texts and operator codes, then the operators
// applied to a row of value slots in order of priority.
#include <pelmora/failure.h>
#include "evaluator/conversions.h"
#include "evaluator/engine.h"
#include "evaluator/operations.h"
#include "evaluator/plain_arithmetic.h"
#include "evaluator/scan.h"
#include "evaluator/text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>

namespace pelmora {

namespace {

using namespace reading;

}  // namespace

Value Engine::Eval(std::u16string_view text) {
    return trapped(text, [&] { return evalUntrapped(text); });
}

void Engine::chargeWork(std::size_t units) {
    if (units > kWorkBudget - work_) {
        work_ = kWorkBudget;  // everything after this fails as well
        throw EvalFailure("past the work budget of one evaluation");
    }
    work_ += units;
}

void Engine::chargeText(const Value& result) {
    if (result.isString()) chargeWork(result.asString().byteLength());
}

std::optional<double> Engine::takeDirect(const DirectReading& direct, int nestedDepth) {
    if (!direct.value || depth_ + nestedDepth > kMaxEvalDepth ||
        direct.nestedReads * kScanCost > kWorkBudget - work_)
        return std::nullopt;
    chargeWork(direct.nestedReads * kScanCost);
    if (direct.failure) throw EvalFailure(direct.failure);
    return direct.value;
}

bool Engine::shortOperandFits(std::size_t length) const {
    return depth_ < kMaxEvalDepth && length * kScanCost <= kWorkBudget - work_;
}

Value Engine::shortOperandValue(std::u16string_view text) {
    currentError_ = 0;
    chargeWork(text.size() * kScanCost);
    if (text[0] == u'-') return Value::number(0.0 - digitsValue(text.substr(1)));
    return Value::number(parseNumberText(text));
}

void Engine::combine(int base, Value& left, const Value& right) {
    if (applyToDoubles(base, left, right)) {
        // the common case, done in place
    } else if (base == kAdd && (left.isString() || right.isString())) {
        concatenateInto(left, right, *this);
    } else {
        left = applyOperator(base, left, right, *this);
    }
}

Value Engine::evalUntrapped(std::u16string_view t) {
    chargeWork(t.size() * kScanCost);

    // 1. Fast path and rewriting. The rewriting works on a view of the caller's text: a leading
    // "-" becomes a leading "0" that the scan supplies, and pairs of parentheses are cut off.
    // Signs are read as the rewriting would leave them: a text that begins with "-" as if it
    // began with "0-"; one enclosed in parentheses, which the rewriting may take off, without.
    const bool enclosed = isEnclosed(t);
    if (depth_ + (enclosed ? 1 : 2) <= kMaxEvalDepth)
        if (std::optional<double> v =
                takeDirect(readDirect(t, !enclosed, t.starts_with(u'-')), enclosed ? 1 : 2))
            return Value::number(*v);
    return evalRewriting(t, enclosed);
}

Value Engine::evalRewriting(std::u16string_view t, bool enclosed) {
    Rewriting rewritten(t);
    t = rewritten.text;
    const bool leadingZero = rewritten.leadingZero;
    if (rewritten.number) return Value::number(parseNumberText(t));

    // An enclosed text with signs, once the rewriting has taken its parentheses off.
    if (enclosed && t.find(u'-') != std::u16string_view::npos && depth_ + 2 <= kMaxEvalDepth)
        if (std::optional<double> v = takeDirect(readDirect(t, true, leadingZero), 2))
            return Value::number(*v);
    return evalScanned(t, leadingZero);
}

Value Engine::evalScanned(std::u16string_view t, bool leadingZero) {
    // 2. The scan.
    Scan scan(t.size());
    scan.run(t, leadingZero);

    // 3. Count check.
    if (scan.OperandIndex != scan.OperatorCount) EvalErrorCode = 3;

    // 4. A single operand. (A leading "0" is always followed by an operator, so t here is the
    // rewritten text as it stands.)
    if (scan.OperandIndex == 0) {
        std::u16string_view o = scan.OperandText(0);
        if (onlyNumberCharacters(o)) {
            if (t.empty()) return Value::string(u"");
            return Value::number(parseNumberText(o));
        }
        if (isQuoted(o)) return Value::string(quotedText(o));
        if (o.starts_with(u'-')) return negate(Eval(o.substr(1)));
        if (startsWithNot(t)) return logicalNot(Eval(t.substr(3)));
        return Ffc(toUpper(t));
    }

    // 5. Several operands.
    const auto operators = static_cast<std::size_t>(scan.OperatorCount);
    CallTable<std::uint8_t, 32> ApplyOrder(operators);
    sortApplyOrder(ApplyOrder, scan.OperatorCode, operators);

    SlotRow SlotValue(operators + 1);
    CallTable<bool, 32> SlotUsed(operators + 1);
    for (int k = 0; k <= scan.OperandIndex; ++k) {
        std::u16string_view text = scan.OperandText(k);
        SlotValue.emplace([&] {
            if (onlyDigits(text)) return Value::number(digitsValue(text));
            // What a nested Eval of a written decimal, or of "-" and digits (which it rewrites
            // to 0 minus the digits), comes to, without its set-up.
            if (isShortOperand(text) && shortOperandFits(text.size()))
                return shortOperandValue(text);
            return Eval(text);
        });
        SlotUsed[static_cast<std::size_t>(k)] = false;
    }
    for (auto k = static_cast<std::size_t>(scan.OperandIndex) + 1; k <= operators; ++k) {
        SlotValue.pushEmpty();  // Empty slots, after code 3
        SlotUsed[k] = false;
    }
    applyInOrder(ApplyOrder, SlotUsed, operators,
                 [&](std::size_t left, std::size_t right, std::size_t k) {
                     combine(scan.OperatorCode[k] % 256, SlotValue[left], SlotValue[right]);
                 });
    Value& result = SlotValue[0];
    if (result.is(Kind::Double)) return Value::number(result.asDouble());  // no variant move
    return std::move(result);
}

}  // namespace pelmora
