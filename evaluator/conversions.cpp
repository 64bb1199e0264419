#include "evaluator/conversions.h"

#include <pelmora/failure.h>
#include "evaluator/datetime.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pelmora {

namespace {

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

// A short plain decimal ("-12.5", no exponent): its digits as a whole number below 2^53 and a
// power of ten up to 10^22 are both exact, so one division rounds correctly.
bool shortDecimal(std::string_view ascii, double& value) {
    constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (ascii.size() > 18) return false;
    bool negative = !ascii.empty() && ascii.front() == '-';
    if (negative) ascii.remove_prefix(1);
    std::int64_t n = 0;
    int fraction = -1;
    for (char c : ascii) {
        if (c == '.' && fraction < 0) {
            fraction = 0;
        } else if (c >= '0' && c <= '9') {
            n = n * 10 + (c - '0');
            if (fraction >= 0) ++fraction;
        } else {
            return false;
        }
    }
    if (n >= (std::int64_t{1} << 53)) return false;
    double d = static_cast<double>(n);
    if (fraction > 0) d /= kPowers[fraction];
    value = negative ? -d : d;
    return true;
}

// Reads an ASCII decimal number text (already checked for shape). An underflow reads as 0.
double decimalValue(std::string_view ascii) {
    double d = 0;
    if (shortDecimal(ascii, d)) return d;
    auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), d);
    if (ec == std::errc::result_out_of_range) {
        // Too small reads as zero; too large is an overflow.
        auto e = ascii.find_first_of("Ee");
        bool tiny = (e != std::string_view::npos && ascii.find('-', e) != std::string_view::npos);
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

// A text built one character at a time: on the stack while it is short, on the heap after.
template <typename C, std::size_t N>
class Scratch {
  public:
    void push_back(C c) {
        if (size_ < N) {
            small_[size_++] = c;
            return;
        }
        if (size_ == N) large_.assign(small_.data(), N);
        large_.push_back(c);
        ++size_;
    }
    void append(std::basic_string_view<C> s) {
        for (C c : s) push_back(c);
    }
    void pop_back() {
        if (size_ > N) large_.pop_back();
        --size_;
    }
    std::basic_string_view<C> view() const {
        return size_ <= N ? std::basic_string_view<C>(small_.data(), size_)
                          : std::basic_string_view<C>(large_);
    }
    bool empty() const { return size_ == 0; }
    C back() const { return view().back(); }

  private:
    std::array<C, N> small_;
    std::basic_string<C> large_;
    std::size_t size_ = 0;
};

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
double leadingNumber(std::string_view utf8) {
    return leadingNumber(fromUtf8(utf8));
}

double leadingNumber(std::u16string_view text) {
    Scratch<char16_t, 64> kept;
    for (char16_t c : text)
        if (c != u' ' && c != u'\t' && c != u'\n') kept.push_back(c);
    std::u16string_view s = kept.view();
    if (s.size() >= 2 && s[0] == u'&' && radixOf(s[1])) {
        std::size_t used = 0;
        return readRadix(s.substr(2), radixOf(s[1]), used);
    }
    Scratch<char, 64> ascii;
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
        Scratch<char, 16> exponent;
        exponent.push_back('e');
        if (s[j] == u'+' || s[j] == u'-') exponent.push_back(static_cast<char>(s[j++]));
        std::size_t start = j;
        for (; j < s.size() && isDigit(s[j]); ++j) exponent.push_back(static_cast<char>(s[j]));
        if (j > start) ascii.append(exponent.view());
    }
    if (ascii.back() == '.') ascii.pop_back();
    if (ascii.view() == "-") return 0;
    return decimalValue(ascii.view());
}

namespace {

std::size_t writeInteger(long long v, char16_t* out) {
    char buf[24];
    auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    std::size_t n = 0;
    for (char* p = buf; p != end; ++p) out[n++] = static_cast<char16_t>(*p);
    return n;
}

// The plain text form of a double, written into out (kNumberTextCapacity units at least);
// returns the number of units written.
std::size_t writeNumber(double x, int significantDigits, char16_t* out) {
    if (!std::isfinite(x)) throw EvalFailure("not a finite number");
    std::size_t n = 0;
    if (x == 0) {
        out[n++] = u'0';
        return n;
    }
    // A whole number with no more digits than the text keeps is written as it is.
    if (significantDigits == 15 && std::fabs(x) < 1e15 && x == std::trunc(x))
        return writeInteger(static_cast<long long>(x), out);
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific,
                             significantDigits - 1);
    std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    bool negative = sci.front() == '-';
    if (negative) sci.remove_prefix(1);
    auto e = sci.find('e');
    char digits[24];
    std::size_t count = 0;
    for (char c : sci.substr(0, e))
        if (c != '.') digits[count++] = c;
    int exponent = 0;
    std::string_view expText = sci.substr(e + 1);
    if (expText.front() == '+') expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    while (count > 1 && digits[count - 1] == '0') --count;

    auto put = [&](char c) { out[n++] = static_cast<char16_t>(c); };
    auto putDigits = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) put(digits[k]);
    };
    if (negative) put('-');
    if (exponent >= significantDigits || exponent < -4) {
        put(digits[0]);
        if (count > 1) {
            put('.');
            putDigits(1, count);
        }
        put('E');
        put(exponent < 0 ? '-' : '+');
        int mag = std::abs(exponent);
        if (mag < 10) put('0');
        char expDigits[8];
        auto end = std::to_chars(expDigits, expDigits + sizeof expDigits, mag).ptr;
        for (char* p = expDigits; p != end; ++p) put(*p);
    } else if (exponent >= 0) {
        auto whole = static_cast<std::size_t>(exponent) + 1;
        if (count <= whole) {
            putDigits(0, count);
            for (std::size_t k = count; k < whole; ++k) put('0');
        } else {
            putDigits(0, whole);
            put('.');
            putDigits(whole, count);
        }
    } else {
        put('0');
        put('.');
        for (int k = 0; k < -exponent - 1; ++k) put('0');
        putDigits(0, count);
    }
    return n;
}

}  // namespace

std::u16string_view plainTextInto(const Value& value, PlainTextBuffer& buffer) {
    char16_t* out = buffer.units.data();
    switch (value.kind()) {
        case Kind::Empty:
            return {};
        case Kind::Boolean:
            return value.asBoolean() ? u"True" : u"False";
        case Kind::Byte:
            return {out, writeInteger(value.asByte(), out)};
        case Kind::Integer:
            return {out, writeInteger(value.asInteger(), out)};
        case Kind::Long:
            return {out, writeInteger(value.asLong(), out)};
        case Kind::Single:
            return {out, writeNumber(value.asSingle(), 7, out)};
        case Kind::Double:
            return {out, writeNumber(value.asDouble(), 15, out)};
        case Kind::String:
            return value.asString().units;
        case Kind::Object:
            return {out, writeInteger(value.asObject(), out)};
        case Kind::Date:
            break;
    }
    buffer.spill = dateText(value.asDate());
    return buffer.spill;
}

std::string plainTextUtf8(const Value& value) {
    return toUtf8(plainText(value));
}

std::u16string plainText(const Value& value) {
    PlainTextBuffer buffer;
    return std::u16string(plainTextInto(value, buffer));
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
