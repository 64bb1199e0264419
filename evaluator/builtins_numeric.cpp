#include "evaluator/builtins_numeric.h"

#include "evaluator/engine.h"
#include <pelmora/failure.h>
#include "evaluator/conversions.h"
#include "evaluator/operations.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace pelmora::builtins {

namespace {

// The degree factors rest on this value of pi, not on the exact one.
constexpr double kPi = 3.14159265358979;
constexpr double K = 180 / kPi;
constexpr double R = kPi / 180;

double checked(double d) {
    if (!std::isfinite(d)) throw EvalFailure("overflow");
    return d;
}

double mul(double a, double b) {
    return checked(a * b);
}
double add(double a, double b) {
    return checked(a + b);
}
double sub(double a, double b) {
    return checked(a - b);
}

double div(double a, double b) {
    if (b == 0) throw EvalFailure(divisionByZero(a));
    return checked(a / b);
}

double Atn(double x) {
    return std::atan(x);
}
double Sin(double x) {
    return std::sin(x);
}
double Cos(double x) {
    return std::cos(x);
}
double Tan(double x) {
    return std::tan(x);
}
double Exp(double x) {
    return checked(std::exp(x));
}

double Sqr(double x) {
    if (x < 0) throw EvalFailure("square root of a negative number");
    return std::sqrt(x);
}

double Log(double x) {
    if (!(x > 0)) throw EvalFailure("logarithm of a number not above 0");
    return std::log(x);
}

double Sgn(double x) {
    return x > 0 ? 1 : x < 0 ? -1 : 0;
}

// The value read back from its plain text form: 15 (7 for a Single) significant digits.
// Empty has the empty text and fails here.
double textNumber(const Value& v) {
    return ToNumber(Value::string(plainText(v)));
}

// Rounded half to even into the signed 16-bit range.
double wholeInteger(double x) {
    return toInteger(Value::number(x));
}

// v as a number of its own kind, for the functions that keep the kind. Empty and Boolean
// count as Integer, as they do in arithmetic; a String is read as a Double; ERR's object
// stands for its error number, a Long. A Date stays a Date.
Value numericOperand(const Value& v) {
    switch (v.kind()) {
        case Kind::Empty:
            return Value::integer(0);
        case Kind::Boolean:
            return Value::integer(v.asBoolean() ? -1 : 0);
        case Kind::String:
            return Value::number(ToNumber(v));
        case Kind::Object:
            return Value::longValue(v.asObject());
        default:
            return v;
    }
}

// Applies a whole-number rounding (floor, ceil, trunc) keeping the kind; whole kinds are
// already whole.
template <typename Round>
Value roundKeepingKind(const Value& v, Round round) {
    Value n = numericOperand(v);
    switch (n.kind()) {
        case Kind::Single:
            return Value::single(static_cast<float>(round(static_cast<double>(n.asSingle()))));
        case Kind::Double:
            return Value::number(round(n.asDouble()));
        case Kind::Date:
            return Value::date(round(n.asDate()));
        default:
            return n;
    }
}

// x rounded to d decimal places, halves to even, judged on the exact binary value (2.675 is
// slightly below the half and gives 2.67). No double has more than 1074 decimal places.
template <typename F>
F roundToPlaces(F x, std::int32_t d) {
    if (d > 1100) return x;
    std::string text(static_cast<std::size_t>(d) + 340, '\0');
    auto written =
        std::to_chars(text.data(), text.data() + text.size(), x, std::chars_format::fixed, d);
    F rounded = 0;
    std::from_chars(text.data(), written.ptr, rounded);
    return rounded;
}

}  // namespace

Value ABS(Call& call) {
    Value n = numericOperand(call.arg(0));
    switch (n.kind()) {
        case Kind::Byte:
            return n;
        case Kind::Integer:
            // -32768 widens to a Long, as negation does.
            if (n.asInteger() < 0) {
                if (n.asInteger() == std::numeric_limits<std::int16_t>::min())
                    return Value::longValue(32768);
                return Value::integer(static_cast<std::int16_t>(-n.asInteger()));
            }
            return n;
        case Kind::Long:
            if (n.asLong() < 0) {
                if (n.asLong() == std::numeric_limits<std::int32_t>::min())
                    return Value::number(2147483648.0);
                return Value::longValue(-n.asLong());
            }
            return n;
        case Kind::Single:
            return Value::single(std::fabs(n.asSingle()));
        case Kind::Date:
            return Value::date(std::fabs(n.asDate()));
        default:
            return Value::number(std::fabs(n.asDouble()));
    }
}

Value ATN(Call& call) {
    return Value::number(Atn(ToNumber(call.arg(0))));
}

Value ATND(Call& call) {
    return Value::number(Atn(mul(ToNumber(call.arg(0)), K)));
}

Value ASN(Call& call) {
    double x = textNumber(call.arg(0));
    double q = div(x, Sqr(add(-mul(x, x), 1)));
    return Value::number(Atn(q) + 2 * Atn(1));
}

Value ASND(Call& call) {
    double x = textNumber(call.arg(0));
    double q = div(x, Sqr(add(-mul(x, x), 1)));
    return Value::number(Atn(mul(q, K)) + 2 * Atn(K));
}

Value ASCD(Call& call) {
    double x = textNumber(call.arg(0));
    double q = div(x, Sqr(sub(mul(x, x), 1)));
    return Value::number(Atn(mul(q, K)) + (Sgn(sub(x, 1)) * 2) * Atn(K));
}

Value ACS(Call& call) {
    double x = textNumber(call.arg(0));
    double q = div(x, Sqr(sub(mul(x, x), 1)));
    return Value::number(Atn(q) + ((Sgn(x) - 1) * 2) * Atn(1));
}

Value ACSD(Call& call) {
    double x = textNumber(call.arg(0));
    double q = div(x, Sqr(sub(mul(x, x), 1)));
    return Value::number(Atn(mul(q, K)) + ((Sgn(x) - 1) * 2) * Atn(K));
}

Value ACT(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(Atn(x) + 2 * Atn(1));
}

Value ACTD(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(Atn(mul(x, K)) + 2 * Atn(K));
}

Value CDBL(Call& call) {
    return Value::number(ToNumber(call.arg(0)));
}

Value CEIL(Call& call) {
    return roundKeepingKind(call.arg(0), [](double x) { return -std::floor(-x); });
}

Value CINT(Call& call) {
    return Value::integer(toInteger(call.arg(0)));
}

Value COT(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(div(Cos(x), Sin(x)));
}

Value COTD(Call& call) {
    double y = textNumber(Value::number(mul(ToNumber(call.arg(0)), K)));
    return Value::number(div(Cos(y), Sin(y)));
}

Value COS(Call& call) {
    return Value::number(Cos(ToNumber(call.arg(0))));
}

Value COSD(Call& call) {
    return Value::number(Cos(mul(ToNumber(call.arg(0)), K)));
}

Value CSC(Call& call) {
    return Value::number(div(1, Sin(ToNumber(call.arg(0)))));
}

Value CSCD(Call& call) {
    return Value::number(div(1, Sin(mul(ToNumber(call.arg(0)), K))));
}

Value CSNG(Call& call) {
    double d = ToNumber(call.arg(0));
    // From here on the value rounds to infinity as a float.
    constexpr double kSingleOverflow = 0x1.ffffffp+127;
    if (std::fabs(d) >= kSingleOverflow) throw EvalFailure("overflow");
    return Value::single(static_cast<float>(d));
}

Value CTN(Call& call) {
    return Value::number(div(1, Tan(ToNumber(call.arg(0)))));
}

Value CTND(Call& call) {
    return Value::number(div(1, Tan(mul(ToNumber(call.arg(0)), K))));
}

Value EXP(Call& call) {
    return Value::number(Exp(ToNumber(call.arg(0))));
}

Value FIX(Call& call) {
    return roundKeepingKind(call.arg(0), [](double x) { return std::trunc(x); });
}

Value FP(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(x - wholeInteger(x));
}

Value HSIN(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(sub(Exp(x), Exp(-x)) / 2);
}

Value HCOS(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(add(Exp(x), Exp(-x)) / 2);
}

Value HTAN(Call& call) {
    double x = textNumber(call.arg(0));
    double ep = Exp(x), en = Exp(-x);
    return Value::number(div(sub(ep, en), add(ep, en)));
}

Value HSEC(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(div(2, sub(Exp(x), Exp(-x))));
}

Value HCSE(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(div(2, add(Exp(x), Exp(-x))));
}

Value HCTN(Call& call) {
    double x = textNumber(call.arg(0));
    double ep = Exp(x), en = Exp(-x);
    return Value::number(div(add(ep, en), sub(ep, en)));
}

Value HASN(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(Log(add(x, Sqr(add(-mul(x, x), 1)))));
}

Value HACS(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(Log(add(x, Sqr(sub(mul(x, x), 1)))));
}

Value HATN(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(Log(div(add(x, 1), sub(1, x))) / 2);
}

Value HASC(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(Log(div(Sqr(add(-mul(x, x), 1)) + 1, x)));
}

Value HACSE(Call& call) {
    double x = textNumber(call.arg(0));
    return Value::number(Log(div(add(Sgn(x) * Sqr(add(mul(x, x), 1)), 1), x)));
}

Value INT(Call& call) {
    return roundKeepingKind(call.arg(0), [](double x) { return std::floor(x); });
}

Value IP(Call& call) {
    return Value::integer(toInteger(call.arg(0)));
}

Value LOG(Call& call) {
    return Value::number(Log(ToNumber(call.arg(0))));
}

Value LOG_range(Call& call) {
    // The base is read and its logarithm taken before the argument is evaluated.
    double logBase = Log(ToNumber(Value::string(std::u16string(call.name.substr(3)))));
    double logV = Log(ToNumber(call.arg(0)));
    return Value::number(div(logV, logBase));
}

Value MAX(Call& call) {
    StringValue a = plainString(call.arg(0));
    Value w = call.arg(1);
    if (plainString(w) < a) return Value::string(std::move(a));
    return w;
}

Value MIN(Call& call) {
    StringValue a = plainString(call.arg(0));
    Value w = call.arg(1);
    if (a < plainString(w)) return Value::string(std::move(a));
    return w;
}

Value RND(Call& call) {
    double v = ToNumber(call.arg(0));
    return Value::single(call.evaluator.host().random(v));
}

Value ROUND(Call& call) {
    // Both slots are evaluated before either is converted.
    Value v = call.arg(0);
    Value w = call.arg(1);
    Value n = numericOperand(v);
    std::int32_t d = toLong(w);
    if (d < 0) throw EvalFailure("negative number of decimal places");
    switch (n.kind()) {
        case Kind::Single:
            return Value::single(roundToPlaces(n.asSingle(), d));
        case Kind::Double:
            return Value::number(roundToPlaces(n.asDouble(), d));
        case Kind::Date:
            return Value::date(roundToPlaces(n.asDate(), d));
        default:
            return n;
    }
}

Value REMINDER(Call& call) {
    Value a = Value::string(plainString(call.arg(0)));
    double w = ToNumber(call.arg(1));
    double an = ToNumber(a);
    double q = wholeInteger(div(an, w));
    return Value::number(sub(an, mul(w, q)));
}

Value SEC(Call& call) {
    return Value::number(div(1, Cos(ToNumber(call.arg(0)))));
}

Value SECD(Call& call) {
    return Value::number(div(1, Cos(mul(ToNumber(call.arg(0)), K))));
}

Value SGN(Call& call) {
    return Value::integer(static_cast<std::int16_t>(Sgn(ToNumber(call.arg(0)))));
}

Value SIN(Call& call) {
    return Value::number(Sin(ToNumber(call.arg(0))));
}

Value SIND(Call& call) {
    return Value::number(Sin(mul(ToNumber(call.arg(0)), R)));
}

Value SQR(Call& call) {
    return Value::number(Sqr(ToNumber(call.arg(0))));
}

Value TAN(Call& call) {
    return Value::number(Tan(ToNumber(call.arg(0))));
}

Value TAND(Call& call) {
    return Value::number(Tan(mul(ToNumber(call.arg(0)), R)));
}

Value TRUNCATE(Call& call) {
    double n = textNumber(call.arg(1));
    double v = ToNumber(call.arg(0));
    double scale = checked(std::pow(10.0, n));
    double i = wholeInteger(mul(v, scale));
    return Value::number(div(i, scale));
}

Value RND_bare(Call& call) {
    return Value::single(call.evaluator.host().random(std::nullopt));
}

}  // namespace pelmora::builtins
