#include "evaluator/plain_arithmetic.h"

#include "evaluator/conversions.h"
#include "evaluator/operations.h"

#include <cmath>
#include <cstdint>

namespace pelmora {

namespace {

// A whole number of 15 digits is exact in a double.
constexpr std::size_t kMaxDigits = 15;

}  // namespace

std::optional<double> PlainArithmetic::run() {
    if (!plain_) return std::nullopt;
    if (!leadingZero_)
        if (std::optional<double> v = flat()) return v;
    double v = leadingZero_ ? sum<true>() : sum<false>();
    if (!plain_ || i_ != t_.size()) return std::nullopt;
    // A single signed number is read by the long way's own cases.
    if (signRead_ && !anyOperator_) return std::nullopt;
    return v;
}

// Digit runs joined by "+", "-", "*" and "/" only, the shape of the game's formulas, in one
// loop: "*" and "/" into the current term, "+" and "-" into the sum (the first term joins 0,
// which changes no term made of digits). Any other character leaves it to sum(), with nothing
// recorded.
std::optional<double> PlainArithmetic::flat() {
    auto other = [this]() -> std::optional<double> {
        failure_ = nullptr;
        return std::nullopt;
    };
    double total = 0;
    double term = 0;
    char16_t pending = u'+';  // the operator before the current term
    char16_t op = u'+';       // the operator before the current number
    for (std::size_t i = 0;;) {
        std::int64_t n = 0;
        const std::size_t start = i;
        for (; i < t_.size() && isDigit(t_[i]); ++i) {
            if (i - start == kMaxDigits) return other();
            n = n * 10 + (t_[i] - u'0');
        }
        if (i == start) return other();
        const auto number = static_cast<double>(n);
        if (op == u'*') {
            term = checked(term * number);
        } else if (op == u'/') {
            term = number == 0 ? fail(divisionByZero(term)) : checked(term / number);
        } else {
            total = checked(pending == u'+' ? total + term : total - term);
            pending = op;
            term = number;
        }
        if (i == t_.size()) break;
        op = t_[i++];
        if (op != u'+' && op != u'-' && op != u'*' && op != u'/') return other();
        anyOperator_ = true;
    }
    return checked(pending == u'+' ? total + term : total - term);
}

double PlainArithmetic::fail(const char* why) {
    if (!failure_) failure_ = why;
    return 0;
}

double PlainArithmetic::checked(double d) {
    return std::isfinite(d) ? d : fail("overflow");
}

[[gnu::always_inline]] inline double PlainArithmetic::product() {
    double v = power();
    for (char16_t c = peek(); plain_ && (c == u'*' || c == u'/'); c = peek()) {
        ++i_;
        anyOperator_ = true;
        double r = power();
        if (c == u'*')
            v = checked(v * r);
        else if (r == 0)
            v = fail(divisionByZero(v));
        else
            v = checked(v / r);
    }
    return v;
}

[[gnu::always_inline]] inline double PlainArithmetic::power() {
    double v = primary();
    while (plain_ && peek() == u'^') {
        ++i_;
        anyOperator_ = true;
        double r = primary();
        if (v == 0 && r < 0) {
            v = fail("division by zero");
            continue;
        }
        double d = std::pow(v, r);
        v = std::isnan(d) ? fail("no real power") : checked(d);
    }
    return v;
}

[[gnu::always_inline]] inline double PlainArithmetic::primary() {
    const char16_t first = peek();
    if (first == u'(') {
        ++i_;
        double v = sum<false>();
        if (peek() != u')') plain_ = false;
        ++i_;
        return v;
    }
    if (first == u'-') return signedNumber();
    bool decimal = false;
    const std::size_t start = i_;
    double v = number(decimal);
    if (decimal) nestedReads_ += i_ - start;
    return v;
}

// A nested call reads "-" and the number as 0 minus the number (so never -0), and a decimal in
// one more nested call.
[[gnu::noinline]] double PlainArithmetic::signedNumber() {
    if (!signs_) {
        plain_ = false;
        return 0;
    }
    signRead_ = true;
    const std::size_t start = ++i_;
    bool decimal = false;
    double v = number(decimal);
    const std::size_t length = i_ - start;
    nestedReads_ += 1 + length + (decimal ? length : 0);
    return 0.0 - v;
}

[[gnu::always_inline]] inline double PlainArithmetic::number(bool& decimal) {
    // Digits below 10^15 and a power of ten up to 10^15 are exact, so one division rounds as
    // reading the decimal text does.
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::int64_t n = 0;
    std::size_t digits = 0;
    int fraction = -1;
    for (; i_ < t_.size(); ++i_) {
        char16_t c = t_[i_];
        if (isDigit(c)) {
            if (digits < kMaxDigits) n = n * 10 + (c - u'0');  // more digits are refused below
            ++digits;
            if (fraction >= 0) ++fraction;
        } else if (c == u'.' && fraction < 0) {
            fraction = 0;
        } else {
            break;
        }
    }
    if (digits == 0 || digits > kMaxDigits) {
        plain_ = false;
        return 0;
    }
    decimal = fraction >= 0;
    double v = static_cast<double>(n);
    return fraction > 0 ? v / kPowers[fraction] : v;
}

// With LeadingZero, the "0" that the rewriting puts before a leading "-" is the first term.
template <bool LeadingZero>
double PlainArithmetic::sum() {
    double v = LeadingZero ? 0 : product();
    for (char16_t c = peek(); plain_ && (c == u'+' || c == u'-'); c = peek()) {
        ++i_;
        anyOperator_ = true;
        double r = product();
        v = checked(c == u'+' ? v + r : v - r);
    }
    return v;
}

}  // namespace pelmora
