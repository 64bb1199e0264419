#include "evaluator/conversions.h"

#include "evaluator/datetime.h"
#include "evaluator/failure.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pelmora {

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

int digitValue(char16_t c, int radix) {
    int v = -1;
    if (c >= u'0' && c <= u'9')
        v = c - u'0';
    else if (c >= u'A' && c <= u'F')
        v = c - u'A' + 10;
    else if (c >= u'a' && c <= u'f')
        v = c - u'a' + 10;
    return v < radix ? v : -1;
}

// &H / &O: values up to FFFF are signed 16-bit, up to FFFFFFFF signed 32-bit.
double radixValue(std::uint64_t v) {
    if (v <= 0xFFFF) return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    if (v <= 0xFFFFFFFF) return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    throw EvalFailure("overflow");
}

// The leading digits of the radix; `used` tells how many were read.
double readRadix(std::u16string_view digits, int radix, std::size_t& used) {
    std::uint64_t v = 0;
    for (used = 0; used < digits.size(); ++used) {
        int d = digitValue(digits[used], radix);
        if (d < 0) break;
        v = v * radix + d;
        if (v > 0xFFFFFFFF) throw EvalFailure("overflow");
    }
    return radixValue(v);
}

int radixOf(char16_t c) {
    if (c == u'H' || c == u'h') return 16;
    if (c == u'O' || c == u'o') return 8;
    return 0;
}

// Reads an ASCII decimal number text (already checked for shape). An underflow reads as 0.
double decimalValue(const std::string& ascii) {
    double d = 0;
    auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), d);
    if (ec == std::errc::result_out_of_range) {
        // Too small reads as zero; too large is an overflow.
        auto e = ascii.find_first_of("Ee");
        bool tiny = (e != std::string::npos && ascii.find('-', e) != std::string::npos);
        if (!tiny) {
            tiny = true;
            for (char c : ascii.substr(0, e))
                if (c >= '1' && c <= '9') {
                    tiny = false;
                    break;
                }
        }
        if (!tiny) throw EvalFailure("overflow");
        return ascii.front() == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc() || ptr != ascii.data() + ascii.size() || !std::isfinite(d))
        throw EvalFailure("not a number");
    return d;
}

std::u16string ascii16(std::string_view s) {
    return std::u16string(s.begin(), s.end());
}

std::string decimal(long long n) {
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, n);
    return std::string(buf, res.ptr);
}

}  // namespace

double roundHalfEven(double x) {
    double r = std::round(x);  // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5) r = 2.0 * std::round(x / 2.0);
    return r;
}

// number text := spaces [sign] digits-with-commas ["." digits] [E [sign] digits] spaces
//              | spaces "&H" hexdigits spaces | spaces "&O" octdigits spaces
// Strict where the leading-number parse is lenient: only spaces pad, and only the capitals
// "&H", "&O" and "E" are recognised.
double parseNumberText(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    int radix = 0;
    if (text.size() >= 2 && text[0] == u'&') radix = text[1] == u'H' ? 16 : text[1] == u'O' ? 8 : 0;
    if (radix) {
        std::u16string_view digits = text.substr(2);
        std::size_t used = 0;
        double v = readRadix(digits, radix, used);
        if (digits.empty() || used != digits.size()) throw EvalFailure("not a number");
        return v;
    }
    std::string ascii;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') ascii.push_back('-');
        ++i;
    }
    int digits = 0;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            ascii.push_back(static_cast<char>(text[i]));
            ++digits;
        } else if (text[i] == u',' && digits > 0) {
            continue;
        } else {
            break;
        }
    }
    if (i < text.size() && text[i] == u'.') {
        ascii.push_back('.');
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits)
            ascii.push_back(static_cast<char>(text[i]));
    }
    if (digits == 0) throw EvalFailure("not a number");
    if (i < text.size() && text[i] == u'E') {
        ascii.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ascii.push_back(static_cast<char>(text[i++]));
        int expDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i, ++expDigits)
            ascii.push_back(static_cast<char>(text[i]));
        if (expDigits == 0) throw EvalFailure("not a number");
    }
    if (i != text.size()) throw EvalFailure("not a number");
    return decimalValue(ascii);
}

double ToNumber(const Value& value) {
    switch (value.kind()) {
        case Kind::Empty:
            return 0;
        case Kind::Boolean:
            return value.asBoolean() ? -1 : 0;
        case Kind::Byte:
            return value.asByte();
        case Kind::Integer:
            return value.asInteger();
        case Kind::Long:
            return value.asLong();
        case Kind::Single:
            return value.asSingle();
        case Kind::Double:
            return value.asDouble();
        case Kind::Date:
            return value.asDate();
        case Kind::String:
            return parseNumberText(value.asString().units);
        case Kind::Object:
            return value.asObject();
    }
    throw EvalFailure("not a number");
}

// Spaces, tabs and line feeds are skipped everywhere; then
// [sign] digits ["." digits] [(E|D) [sign] digits] | "&H" hexdigits | "&O" octdigits
double leadingNumber(std::u16string_view text) {
    std::u16string s;
    s.reserve(text.size());
    for (char16_t c : text)
        if (c != u' ' && c != u'\t' && c != u'\n') s.push_back(c);
    if (s.size() >= 2 && s[0] == u'&' && radixOf(s[1])) {
        std::size_t used = 0;
        return readRadix(std::u16string_view(s).substr(2), radixOf(s[1]), used);
    }
    std::string ascii;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        if (s[i] == u'-') ascii.push_back('-');
        ++i;
    }
    int digits = 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            ascii.push_back(static_cast<char>(s[i]));
            ++digits;
        } else if (s[i] == u'.' && !point) {
            point = true;
            ascii.push_back('.');
        } else {
            break;
        }
    }
    if (digits == 0) return 0;
    if (i + 1 < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (s[j] == u'+' || s[j] == u'-') exponent.push_back(static_cast<char>(s[j++]));
        std::size_t start = j;
        for (; j < s.size() && isDigit(s[j]); ++j) exponent.push_back(static_cast<char>(s[j]));
        if (j > start) ascii += exponent;
    }
    if (ascii.back() == '.') ascii.pop_back();
    if (ascii == "-") return 0;
    return decimalValue(ascii);
}

std::u16string formatNumber(double x, int significantDigits) {
    if (!std::isfinite(x)) throw EvalFailure("not a finite number");
    if (x == 0) return u"0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific,
                             significantDigits - 1);
    std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    bool negative = sci.front() == '-';
    if (negative) sci.remove_prefix(1);
    auto e = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e))
        if (c != '.') digits.push_back(c);
    int exponent = 0;
    std::string_view expText = sci.substr(e + 1);
    if (expText.front() == '+') expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    if (exponent >= significantDigits || exponent < -4) {
        out.push_back(digits[0]);
        if (digits.size() > 1) out.append(".").append(digits, 1);
        out += exponent < 0 ? "E-" : "E+";
        int mag = std::abs(exponent);
        if (mag < 10) out += '0';
        out += decimal(mag);
    } else if (exponent >= 0) {
        auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            out.append(digits).append(whole - digits.size(), '0');
        } else {
            out.append(digits, 0, whole).append(".").append(digits, whole);
        }
    } else {
        out.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    }
    return ascii16(out);
}

std::u16string plainText(const Value& value) {
    switch (value.kind()) {
        case Kind::Empty:
            return {};
        case Kind::Boolean:
            return value.asBoolean() ? u"True" : u"False";
        case Kind::Byte:
            return ascii16(decimal(value.asByte()));
        case Kind::Integer:
            return ascii16(decimal(value.asInteger()));
        case Kind::Long:
            return ascii16(decimal(value.asLong()));
        case Kind::Single:
            return formatNumber(value.asSingle(), 7);
        case Kind::Double:
            return formatNumber(value.asDouble(), 15);
        case Kind::Date:
            return dateText(value.asDate());
        case Kind::String:
            return value.asString().units;
        case Kind::Object:
            return ascii16(decimal(value.asObject()));
    }
    return {};
}

StringValue plainString(const Value& value) {
    if (value.isString()) return value.asString();
    return StringValue{plainText(value), std::nullopt};
}

std::u16string numberText(const Value& value) {
    if (value.is(Kind::Boolean)) return plainText(value);
    Value number = value;
    switch (value.kind()) {
        case Kind::Empty:
            number = Value::integer(0);
            break;
        case Kind::String:
        case Kind::Date:
            number = Value::number(ToNumber(value));
            break;
        case Kind::Object:
            number = Value::longValue(value.asObject());
            break;
        default:
            break;
    }
    std::u16string text = plainText(number);
    if (text.front() == u'-') {
        if (text.starts_with(u"-0.")) text.erase(1, 1);
        return text;
    }
    if (text.starts_with(u"0.")) text.erase(0, 1);
    text.insert(text.begin(), u' ');
    return text;
}

namespace {
double wholeNumber(const Value& value) {
    switch (value.kind()) {
        case Kind::Single:
        case Kind::Double:
        case Kind::Date:
        case Kind::String:
            return roundHalfEven(ToNumber(value));
        default:
            return ToNumber(value);
    }
}

template <typename T>
T checkedWhole(const Value& value) {
    double d = wholeNumber(value);
    if (!(d >= std::numeric_limits<T>::min() && d <= std::numeric_limits<T>::max()))
        throw EvalFailure("overflow");
    return static_cast<T>(d);
}
}  // namespace

std::uint8_t toByte(const Value& value) {
    return checkedWhole<std::uint8_t>(value);
}
std::int16_t toInteger(const Value& value) {
    return checkedWhole<std::int16_t>(value);
}
std::int32_t toLong(const Value& value) {
    return checkedWhole<std::int32_t>(value);
}

}  // namespace pelmora
