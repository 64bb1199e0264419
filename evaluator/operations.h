// What the operators do to values.
#pragma once

#include <pelmora/value.h>

namespace pelmora {

class Engine;

// Operator bases, as they appear in the low byte of an operator code.
enum OperatorBase : int {
    kPower = 32,
    kMultiply = 64,
    kDivide = 65,
    kIntegerDivide = 80,
    kRemainder = 96,
    kAdd = 112,
    kSubtract = 113,
    kEqual = 144,
    kNotEqual = 145,
    kLess = 146,
    kLessEqual = 147,
    kGreater = 148,
    kGreaterEqual = 149,
    kAnd = 176,
    kOr = 192,
    kXor = 208,
};

// Applies a two-operand operation; concatenation turns its operands into text with SStr.
Value applyOperator(int base, const Value& left, const Value& right, Engine& evaluator);

// "+", "-", "*" and "/" on two Doubles, applied to left in place, as applyOperator would;
// false, with nothing done, for any other operator or kind.
bool applyToDoubles(int base, Value& left, const Value& right);

// "^" on two numbers, before the check of its result's range.
double powerOf(double a, double b);

// Why a division by zero fails: 0/0 is an overflow, any other dividend a division by zero.
constexpr const char* divisionByZero(double dividend) {
    return dividend == 0 ? "overflow" : "division by zero";
}

// Joins right onto left in place (SStr for a value that is no String), so a chain of "+"
// copies each text once.
void concatenateInto(Value& left, const Value& right, Engine& evaluator);

Value negate(const Value& value);
Value logicalNot(const Value& value);

}  // namespace pelmora
