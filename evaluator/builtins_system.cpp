#include "evaluator/builtins_system.h"

#include "evaluator/engine.h"
#include <pelmora/failure.h>
#include "evaluator/conversions.h"
#include "evaluator/datetime.h"
#include "evaluator/port.h"
#include "evaluator/text.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace pelmora::builtins {

namespace {

std::u16string digitsInBase(std::uint32_t n, unsigned base) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    do {
        out.insert(out.begin(), kDigits[n % base]);
        n /= base;
    } while (n != 0);
    return out;
}

// A Byte as it is, an Integer or Boolean in 16 bits, anything else as a Long in 32 bits;
// negative numbers in two's complement of that width.
std::u16string wholeNumberInBase(const Value& v, unsigned base) {
    switch (v.kind()) {
        case Kind::Byte:
            return digitsInBase(v.asByte(), base);
        case Kind::Integer:
            return digitsInBase(static_cast<std::uint16_t>(v.asInteger()), base);
        case Kind::Boolean:
            return digitsInBase(v.asBoolean() ? 0xFFFFu : 0u, base);
        default:
            return digitsInBase(static_cast<std::uint32_t>(toLong(v)), base);
    }
}

bool isTrue(const Value& v) {
    switch (v.kind()) {
        case Kind::Empty:
            return false;
        case Kind::Boolean:
            return v.asBoolean();
        case Kind::String: {
            const std::u16string& text = v.asString().units;
            if (toUpper(text) == u"TRUE") return true;
            if (toUpper(text) == u"FALSE") return false;
            return parseNumberText(text) != 0;
        }
        default:
            return ToNumber(v) != 0;
    }
}

// A value taken as a date and time: a String read as date/time text, Empty as midnight of
// day 0, anything else as a day count.
double asDayCount(const Value& v) {
    if (v.isString()) return parseDateTime(v.asString().units);
    if (v.is(Kind::Date)) return v.asDate();
    return ToNumber(v);
}

// The file functions: the number must convert, but no file is ever open.
[[noreturn]] void noOpenFile(Call& call) {
    toInteger(call.arg(0));
    throw EvalFailure(toUtf8(call.name) + ": bad file number");
}

}  // namespace

Value CSRLIN(Call&) {
    return Value();
}

Value ERR(Call& call) {
    return Value::object(call.evaluator.currentError());
}

Value COMMAND_S(Call& call) {
    return Value::string(call.evaluator.host().commandLine());
}

Value DATE_S(Call& call) {
    auto today = std::chrono::floor<std::chrono::days>(call.evaluator.host().now());
    std::chrono::year_month_day ymd{std::chrono::sys_days{today.time_since_epoch()}};
    return Value::string(shortDateText(ymd).substr(2));
}

// Nothing ever feeds the key buffer, so no key is waiting.
Value INKEY_S(Call&) {
    return Value();
}

Value TIME_S(Call& call) {
    LocalTime now = call.evaluator.host().now();
    auto sinceMidnight = now - std::chrono::floor<std::chrono::days>(now);
    return Value::date(static_cast<double>(sinceMidnight.count()) / 86400.0);
}

// A String is a variable name, compared with regard to case as the process environment
// does; a number is the position of an entry, counted from 1.
Value ENVIRON_S(Call& call) {
    Value v = call.arg(0);
    Host& host = call.evaluator.host();
    if (v.isString())
        return Value::string(host.environmentVariable(v.asString().units).value_or(u""));
    std::int32_t n = toLong(v);
    if (n < 1) throw EvalFailure("environment index below 1");
    auto entries = host.environmentEntries();
    if (static_cast<std::size_t>(n) > entries.size()) return Value::string(u"");
    return Value::string(entries[static_cast<std::size_t>(n) - 1]);
}

Value EOF_(Call& call) {
    noOpenFile(call);
}

// The argument is evaluated, and its text evaluated once more.
Value EVAL(Call& call) {
    return call.evaluator.Eval(plainText(call.arg(0)));
}

Value HEX_S(Call& call) {
    return Value::string(wholeNumberInBase(call.arg(0), 16));
}

Value HOUR(Call& call) {
    return Value::integer(static_cast<std::int16_t>(splitDate(asDayCount(call.arg(0))).hour));
}

// Every slot is evaluated before the choice.
Value IIF(Call& call) {
    Value condition = call.arg(0);
    Value whenTrue = call.arg(1);
    Value whenFalse = call.arg(2);
    return isTrue(condition) ? whenTrue : whenFalse;
}

// With a count only, INPUT$ would wait for that many keys in the buffer. Nothing ever feeds
// the buffer, so instead of waiting forever it takes what is there: nothing. The result is
// the empty String.
Value INPUT_S(Call& call) {
    if (call.has(1)) {
        call.evaluator.EvalErrorCode = 5;
        return Value();
    }
    if (toLong(call.arg(0)) < 0) throw EvalFailure("negative count");
    return Value::string(u"");
}

Value INP(Call& call) {
    return portInput(toInteger(call.arg(0)));
}

Value LOC(Call& call) {
    noOpenFile(call);
}

Value LOF(Call& call) {
    noOpenFile(call);
}

Value MINUTE(Call& call) {
    return Value::integer(static_cast<std::int16_t>(splitDate(asDayCount(call.arg(0))).minute));
}

Value OCT_S(Call& call) {
    return Value::string(wholeNumberInBase(call.arg(0), 8));
}

// The cursor never moves, and the argument is never evaluated.
Value POS(Call&) {
    return Value();
}

Value STR_S(Call& call) {
    return Value::string(numberText(call.arg(0)));
}

// A String comes back as it is, a lone trailing byte included.
Value SSTR_S(Call& call) {
    Value v = call.arg(0);
    if (v.isString()) return v;
    return Value::string(call.evaluator.SStr(v));
}

Value VAL(Call& call) {
    return Value::number(leadingNumber(plainText(call.arg(0))));
}

}  // namespace pelmora::builtins
