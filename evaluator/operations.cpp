#include "evaluator/operations.h"

#include "evaluator/engine.h"
#include <pelmora/failure.h>
#include "evaluator/conversions.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace pelmora {

namespace {

// The numeric kinds from narrow to wide; Empty and Boolean count as Integer, an Object as its
// Long error number, a Date or a String as a Double.
enum Rank { kByteRank, kIntegerRank, kLongRank, kSingleRank, kDoubleRank };

Rank rankOf(const Value& v) {
    switch (v.kind()) {
        case Kind::Byte:
            return kByteRank;
        case Kind::Empty:
        case Kind::Boolean:
        case Kind::Integer:
            return kIntegerRank;
        case Kind::Long:
        case Kind::Object:
            return kLongRank;
        case Kind::Single:
            return kSingleRank;
        default:
            return kDoubleRank;
    }
}

Rank widerRank(const Value& l, const Value& r) {
    Rank a = rankOf(l), b = rankOf(r);
    // A Single with a Long needs more precision than either has.
    if ((a == kSingleRank && b == kLongRank) || (a == kLongRank && b == kSingleRank))
        return kDoubleRank;
    return a > b ? a : b;
}

Value checkedDouble(double d) {
    if (!std::isfinite(d)) throw EvalFailure("overflow");
    return Value::number(d);
}

// An integer result in the narrowest kind at or above `rank` that holds it.
Value integerOfRank(std::int64_t n, Rank rank) {
    if (rank <= kByteRank && n >= 0 && n <= 255) return Value::byte(static_cast<std::uint8_t>(n));
    if (rank <= kIntegerRank && n >= INT16_MIN && n <= INT16_MAX)
        return Value::integer(static_cast<std::int16_t>(n));
    if (n >= INT32_MIN && n <= INT32_MAX) return Value::longValue(static_cast<std::int32_t>(n));
    return checkedDouble(static_cast<double>(n));
}

Value numberOfRank(double d, Rank rank) {
    if (rank <= kLongRank) return integerOfRank(static_cast<std::int64_t>(d), rank);
    if (rank == kSingleRank) {
        auto f = static_cast<float>(d);
        if (std::isfinite(f)) return Value::single(f);
    }
    return checkedDouble(d);
}

std::int64_t roundedLong(const Value& v) {
    double d = roundHalfEven(ToNumber(v));
    if (!(d >= INT32_MIN && d <= INT32_MAX)) throw EvalFailure("overflow");
    return static_cast<std::int64_t>(d);
}

bool integerOperand(const Value& v) {
    return v.is(Kind::Byte) || v.is(Kind::Integer) || v.is(Kind::Empty) || v.is(Kind::Boolean);
}

// Byte when both are Byte, Integer when both are Integer-like, Long otherwise.
Rank integerResultRank(const Value& l, const Value& r) {
    if (l.is(Kind::Byte) && r.is(Kind::Byte)) return kByteRank;
    if (integerOperand(l) && integerOperand(r)) return kIntegerRank;
    return kLongRank;
}

Value arithmetic(int base, const Value& l, const Value& r) {
    double a = ToNumber(l), b = ToNumber(r);
    bool dateL = l.is(Kind::Date), dateR = r.is(Kind::Date);
    double d = base == kAdd ? a + b : base == kSubtract ? a - b : a * b;
    if ((dateL || dateR) && base != kMultiply) {
        if (dateL && dateR && base == kSubtract) return checkedDouble(d);
        if (!std::isfinite(d)) throw EvalFailure("overflow");
        return Value::date(d);
    }
    Rank rank = widerRank(l, r);
    // Integer operands are exact in a double, and so are their sums and products up to 2^53.
    return numberOfRank(d, rank);
}

Value divide(const Value& l, const Value& r) {
    double a = ToNumber(l), b = ToNumber(r);
    if (b == 0) throw EvalFailure(divisionByZero(a));
    bool single =
        (integerOperand(l) || l.is(Kind::Single)) && (integerOperand(r) || r.is(Kind::Single));
    return numberOfRank(a / b, single ? kSingleRank : kDoubleRank);
}

Value integerDivide(int base, const Value& l, const Value& r) {
    std::int64_t a = roundedLong(l), b = roundedLong(r);
    if (b == 0) throw EvalFailure("division by zero");
    std::int64_t q = a / b;
    return integerOfRank(base == kIntegerDivide ? q : a - b * q, integerResultRank(l, r));
}

Value power(const Value& l, const Value& r) {
    return checkedDouble(powerOf(ToNumber(l), ToNumber(r)));
}

// -1, 0 or 1: numbers below every text, Empty as 0 or as the empty text.
int compare(const Value& l, const Value& r) {
    bool textL = l.isString(), textR = r.isString();
    if (textL && textR) {
        const auto& a = l.asString();
        const auto& b = r.asString();
        return a < b ? -1 : b < a ? 1 : 0;
    }
    if (textL || textR) {
        const Value& other = textL ? r : l;
        int sign = textL ? 1 : -1;  // the text is the greater side
        if (other.is(Kind::Empty)) {
            bool textEmpty = (textL ? l : r).asString().byteLength() == 0;
            return textEmpty ? 0 : sign;
        }
        return sign;
    }
    double a = ToNumber(l), b = ToNumber(r);
    return a < b ? -1 : a > b ? 1 : 0;
}

Value comparison(int base, const Value& l, const Value& r) {
    int c = compare(l, r);
    switch (base) {
        case kEqual:
            return Value::boolean(c == 0);
        case kNotEqual:
            return Value::boolean(c != 0);
        case kLess:
            return Value::boolean(c < 0);
        case kLessEqual:
            return Value::boolean(c <= 0);
        case kGreater:
            return Value::boolean(c > 0);
        default:
            return Value::boolean(c >= 0);
    }
}

Value logical(int base, const Value& l, const Value& r) {
    if (l.is(Kind::Boolean) && r.is(Kind::Boolean)) {
        bool a = l.asBoolean(), b = r.asBoolean();
        return Value::boolean(base == kAnd ? (a && b) : base == kOr ? (a || b) : (a != b));
    }
    auto a = static_cast<std::int32_t>(roundedLong(l));
    auto b = static_cast<std::int32_t>(roundedLong(r));
    std::int32_t n = base == kAnd ? (a & b) : base == kOr ? (a | b) : (a ^ b);
    return integerOfRank(n, integerResultRank(l, r));
}

}  // namespace

void concatenateInto(Value& left, const Value& right, Engine& evaluator) {
    if (!left.isString()) left = Value::string(evaluator.SStr(left));
    if (right.isString()) {
        left.mutableString().append(right.asString());
    } else {
        left.mutableString().append(StringValue{evaluator.SStr(right), std::nullopt});
    }
}

Value applyOperator(int base, const Value& left, const Value& right, Engine& evaluator) {
    switch (base) {
        case kPower:
            return power(left, right);
        case kMultiply:
        case kSubtract:
            return arithmetic(base, left, right);
        case kAdd:
            if (left.isString() || right.isString()) {
                Value joined = left;
                concatenateInto(joined, right, evaluator);
                return joined;
            }
            return arithmetic(base, left, right);
        case kDivide:
            return divide(left, right);
        case kIntegerDivide:
        case kRemainder:
            return integerDivide(base, left, right);
        case kEqual:
        case kNotEqual:
        case kLess:
        case kLessEqual:
        case kGreater:
        case kGreaterEqual:
            return comparison(base, left, right);
        case kAnd:
        case kOr:
        case kXor:
            return logical(base, left, right);
        default:
            throw EvalFailure("unknown operator");
    }
}

bool applyToDoubles(int base, Value& left, const Value& right) {
    if (!left.is(Kind::Double) || !right.is(Kind::Double)) return false;
    double a = left.asDouble(), b = right.asDouble();
    double d = 0;
    switch (base) {
        case kAdd:
            d = a + b;
            break;
        case kSubtract:
            d = a - b;
            break;
        case kMultiply:
            d = a * b;
            break;
        case kDivide:
            if (b == 0) throw EvalFailure(divisionByZero(a));
            d = a / b;
            break;
        default:
            return false;
    }
    if (!std::isfinite(d)) throw EvalFailure("overflow");
    left.setDouble(d);
    return true;
}

Value negate(const Value& value) {
    switch (value.kind()) {
        case Kind::Empty:
            return Value::integer(0);
        case Kind::Boolean:
            return Value::integer(value.asBoolean() ? 1 : 0);
        case Kind::Byte:
            return integerOfRank(-static_cast<std::int64_t>(value.asByte()), kByteRank);
        case Kind::Integer:
            return integerOfRank(-static_cast<std::int64_t>(value.asInteger()), kIntegerRank);
        case Kind::Long:
        case Kind::Object:
            return integerOfRank(-static_cast<std::int64_t>(ToNumber(value)), kLongRank);
        case Kind::Single:
            return Value::single(-value.asSingle());
        case Kind::Date:
            return Value::date(-value.asDate());
        default:
            return Value::number(-ToNumber(value));
    }
}

Value logicalNot(const Value& value) {
    switch (value.kind()) {
        case Kind::Boolean:
            return Value::boolean(!value.asBoolean());
        case Kind::Byte:
            return Value::byte(static_cast<std::uint8_t>(~value.asByte()));
        case Kind::Integer:
            return Value::integer(static_cast<std::int16_t>(~value.asInteger()));
        case Kind::Empty:
            return Value::integer(-1);
        default:
            return Value::longValue(~static_cast<std::int32_t>(roundedLong(value)));
    }
}

double powerOf(double a, double b) {
    if (a == 0 && b < 0) throw EvalFailure("division by zero");
    double d = std::pow(a, b);
    if (std::isnan(d)) throw EvalFailure("no real power");
    return d;
}

}  // namespace pelmora
