// Running a compiled text: Eval's and Ffc's steps over what the compiler worked out, with
// what depends on the moment (limits, host, storage) done as they do it.
#include <pelmora/failure.h>
#include "evaluator/builtins.h"
#include "evaluator/compiled.h"
#include "evaluator/engine.h"
#include "evaluator/symbol_table.h"

#include <array>
#include <cmath>

namespace pelmora {

using compiled::EvalNode;
using compiled::NameNode;
using compiled::Operand;
using compiled::Reading;

namespace {

// A numeric built-in of a numeric program, with its arguments' values.
template <std::size_t N = 1>
Value callBuiltin(const compiled::NumericStep& step, const double* values, Engine& engine) {
    std::array<Value, N> arguments;
    for (std::size_t i = 0; i < step.count; ++i) arguments[i] = Value::number(values[i]);
    Call call{engine, step.name};
    call.commaCount = static_cast<std::uint8_t>(step.count - 1);
    call.given = arguments.data();
    return step.builtin->function(call);
}

Value numberOf(const Reading& reading) {
    if (reading.failure) throw EvalFailure(reading.failure);
    return Value::number(reading.value);
}

}  // namespace

bool Engine::runNumeric(const compiled::NumericProgram& program, double& result) {
    using Op = compiled::NumericStep::Op;
    using From = compiled::NumericStep::From;
    if (depth_ != 0) return false;  // only an outermost evaluation has its whole budget
    std::array<double, compiled::NumericProgram::kMaxRegisters> r;
    try {
        for (const compiled::NumericStep& step : program.steps) {
            double& t = r[step.target];
            if (step.op >= Op::Add) {
                const double b = step.operand == From::Register   ? r[step.source]
                                 : step.operand == From::Constant ? step.constant
                                                                  : *step.storage;
                switch (step.op) {
                    case Op::Add:
                        t += b;
                        break;
                    case Op::Subtract:
                        t -= b;
                        break;
                    case Op::Multiply:
                        t *= b;
                        break;
                    case Op::Divide:
                        if (b == 0) return false;
                        t /= b;
                        break;
                    default:
                        t = powerOf(t, b);
                }
                if (!std::isfinite(t)) return false;  // the operators fail there
                continue;
            }
            switch (step.op) {
                case Op::Constant:
                    t = step.constant;
                    break;
                case Op::Load:
                    t = *step.storage;
                    break;
                case Op::Negate: {
                    Value v = negate(Value::number(t));
                    if (!v.is(Kind::Double)) return false;
                    t = v.asDouble();
                    break;
                }
                default: {
                    Value v = step.count == 1 ? callBuiltin(step, &r[step.source], *this)
                                              : callBuiltin<8>(step, &r[step.source], *this);
                    if (!v.is(Kind::Double)) return false;
                    t = v.asDouble();
                }
            }
        }
    } catch (const std::exception&) {
        return false;  // the tree meets the same failure, and says what it does
    }
    // What the tree's calls leave behind when nothing fails.
    work_ = program.work;
    currentError_ = 0;
    result = r[0];
    return true;
}

Value Engine::evalNode(const EvalNode& node) {
    return trapped(node.text, [&] { return evalNodeUntrapped(node); });
}

Value Engine::evalNodeUntrapped(const EvalNode& node) {
    using Shape = EvalNode::Shape;
    if (node.shape == Shape::Interpret) return evalUntrapped(node.text);
    chargeWork(node.scanUnits);
    switch (node.shape) {
        case Shape::Direct:
            if (depth_ + node.directDepth <= kMaxEvalDepth)
                if (std::optional<double> v = takeDirect(node.direct, node.directDepth))
                    return Value::number(*v);
            return evalRewriting(node.text, node.enclosed);
        case Shape::Failure:
            throw EvalFailure(node.failure);
        case Shape::Number:
            return numberOf(node.number);
        case Shape::RewrittenDirect:
            if (depth_ + 2 <= kMaxEvalDepth)
                if (std::optional<double> v = takeDirect(node.rewrittenDirect, 2))
                    return Value::number(*v);
            return evalScanned(node.rewritten, node.leadingZero);
        default:
            break;
    }
    // After the scan.
    if (node.shape == Shape::ScanFailure) throw EvalFailure(node.failure);
    if (node.countMismatch) EvalErrorCode = 3;
    switch (node.shape) {
        case Shape::EmptyText:
            return Value::string(u"");
        case Shape::ScannedNumber:
            return numberOf(node.number);
        case Shape::Text:
            return node.quoted;
        case Shape::Negate:
            return negate(evalNode(*node.operand));
        case Shape::Not:
            return logicalNot(evalNode(*node.operand));
        case Shape::Name:
            return runName(*node.name);
        default:
            break;
    }
    reading::SlotRow SlotValue(node.slots);
    for (const Operand& operand : node.operands) {
        SlotValue.emplace([&] {
            switch (operand.kind) {
                case Operand::Kind::Digits:
                    return numberOf(operand.number);
                case Operand::Kind::Short:
                    if (shortOperandFits(operand.length)) {
                        currentError_ = 0;
                        chargeWork(operand.length * kScanCost);
                        return numberOf(operand.number);
                    }
                    return evalNode(*operand.nested);
                case Operand::Kind::Nested:
                    break;
            }
            return evalNode(*operand.nested);
        });
    }
    for (std::size_t k = node.operands.size(); k < node.slots; ++k) SlotValue.pushEmpty();
    for (const compiled::Step& step : node.steps)
        combine(step.base, SlotValue[step.left], SlotValue[step.right]);
    Value& result = SlotValue[0];
    if (result.is(Kind::Double)) return Value::number(result.asDouble());  // no variant move
    return std::move(result);
}

Value Engine::runName(const NameNode& node) {
    if (!node.call) {
        if (node.builtin) {
            Call call{*this, node.text};
            return node.builtin->function(call);
        }
        if (node.symbol) return node.symbol->read();
        if (std::optional<Value> v = host_.variable(node.text)) return std::move(*v);
        if (node.text.ends_with(u'$')) return Value::string(u"");
        return Value::integer(0);
    }
    if (node.failure) throw EvalFailure(node.failure);
    Call call{*this, node.text};
    call.slots = node.slots;
    call.commaCount = node.commaCount;
    call.compiled = node.arguments.data();
    if (node.builtin) return node.builtin->function(call);
    if (node.symbol) return callProgramFunction(call, node.noArguments, node.symbol);
    if (host_.hasFunction(node.text)) return callProgramFunction(call, node.noArguments, nullptr);
    return undeclaredCall(call);
}

}  // namespace pelmora
