// The string built-ins. Character functions count code units; byte functions cut the byte view
// (UTF-16LE, plus a lone trailing byte). A lone trailing byte is no character: the functions
// that map every character (case, width, trimming) leave it at the end as it is, and those
// that pick characters by position, count them or search them never see it.
#include "evaluator/builtins_string.h"

#include "evaluator/engine.h"
#include <pelmora/failure.h>
#include "evaluator/conversions.h"
#include "evaluator/cp932.h"
#include "evaluator/text.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pelmora::builtins {

namespace {

// A String of n copies of one code unit; the length is checked before anything is allocated.
Value repeated(std::int32_t n, char16_t unit) {
    if (n < 0) throw EvalFailure("negative count");
    if (static_cast<std::uint64_t>(n) * 2 > kMaxStringBytes) throw EvalFailure("text too long");
    return Value::string(std::u16string(static_cast<std::size_t>(n), unit));
}

// The plain text of a value with its code units replaced by `map`; the lone byte stays. The
// mapping reads every character, at a cost of one unit of work per byte on top of the text it
// produces: case and width mappings are the slowest per character.
template <typename Map>
Value mapped(Call& call, const Value& value, Map map) {
    StringValue s = plainString(value);
    call.evaluator.chargeWork(s.byteLength());
    s.units = map(std::u16string_view(s.units));
    return Value::string(std::move(s));
}

bool isSpace(char16_t c) {
    return c == u' ' || c == u'\u3000';
}

std::u16string_view trimStart(std::u16string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    return s;
}

std::u16string_view trimEnd(std::u16string_view s) {
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

// Characters from a 1-based start position, at most `length` of them (all without a length).
Value characters(const Value& text, const Value& start, const Value* length) {
    std::u16string units = plainText(text);
    std::int32_t from = toLong(start);
    if (from < 1) throw EvalFailure("start position below 1");
    std::size_t count = std::u16string::npos;
    if (length) {
        std::int32_t n = toLong(*length);
        if (n < 0) throw EvalFailure("negative length");
        count = static_cast<std::size_t>(n);
    }
    auto first = static_cast<std::size_t>(from) - 1;
    if (first >= units.size()) return Value::string(u"");
    return Value::string(units.substr(first, count));
}

// KMID$ and MID$ with three arguments: slots 0, 1 and, when the call has it, 2.
Value characterSlice(Call& call) {
    Value text = call.arg(0);
    Value start = call.arg(1);
    if (!call.has(2)) return characters(text, start, nullptr);
    Value length = call.arg(2);
    return characters(text, start, &length);
}

// The search rule of INSTR and KINSTR.
Value search(Call& call) {
    Value start = Value::longValue(1);
    Value text;
    Value pattern;
    if (call.has(2)) {
        start = call.arg(0);
        text = call.arg(1);
        pattern = call.arg(2);
    } else {
        text = call.arg(0);
        pattern = call.arg(1);
    }
    std::int32_t from = toLong(start);
    std::u16string haystack = plainText(text);
    std::u16string needle = plainText(pattern);
    if (from < 1) throw EvalFailure("start position below 1");
    if (haystack.empty()) return Value::longValue(0);
    if (static_cast<std::size_t>(from) > haystack.size()) return Value::longValue(0);
    if (needle.empty()) return Value::longValue(from);
    std::size_t at = findText(haystack, needle, static_cast<std::size_t>(from) - 1);
    if (at == std::u16string::npos) return Value::longValue(0);
    return Value::longValue(static_cast<std::int32_t>(at + 1));
}

Value characterCount(Call& call) {
    return Value::longValue(static_cast<std::int32_t>(plainText(call.arg(0)).size()));
}

// A code of the code rule (-32768 to 65535, negative codes standing for code + 65536).
char16_t codeCharacter(std::int32_t code) {
    if (code < -32768 || code > 65535) throw EvalFailure("code out of range");
    if (code < 0) code += 65536;
    return cp932::toUnit(static_cast<std::uint16_t>(code));
}

// Upper-case hexadecimal digits without leading zeros.
std::u16string hexDigits(std::uint16_t code) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    do {
        out.insert(out.begin(), kDigits[code & 0xF]);
        code = static_cast<std::uint16_t>(code >> 4);
    } while (code != 0);
    return out;
}

}  // namespace

Value AKCNV_S(Call& call) {
    return mapped(call, call.arg(0), toFullWidth);
}

Value ASC(Call& call) {
    StringValue s = plainString(call.arg(0));
    if (!s.units.empty()) return Value::byte(static_cast<std::uint8_t>(s.units.front() & 0xFF));
    if (s.loneByte) return Value::byte(*s.loneByte);
    throw EvalFailure("text without bytes");
}

Value CHR_S(Call& call) {
    const char byte = static_cast<char>(toByte(call.arg(0)));
    return Value::string(StringValue::fromBytes(std::string_view(&byte, 1)));
}

Value INSTR(Call& call) {
    return search(call);
}

Value JIS_S(Call& call) {
    std::u16string text = plainText(call.arg(0));
    if (text.empty()) throw EvalFailure("text without characters");
    return Value::string(hexDigits(cp932::toCode(text.front()).value_or(cp932::kReplacementCode)));
}

Value KACNV_S(Call& call) {
    return mapped(call, call.arg(0), toHalfWidth);
}

Value KINSTR(Call& call) {
    return search(call);
}

Value KLEN(Call& call) {
    return characterCount(call);
}

Value KMID_S(Call& call) {
    return characterSlice(call);
}

Value KNJ_S(Call& call) {
    std::u16string hex = u"&H" + plainText(call.arg(0));
    return Value::string(std::u16string(1, codeCharacter(toLong(Value::string(hex)))));
}

Value LCASE_S(Call& call) {
    return mapped(call, call.arg(0), toLower);
}

Value LEFT_S(Call& call) {
    Value text = call.arg(0);
    Value length = call.arg(1);
    StringValue s = plainString(text);
    std::int32_t n = toLong(length);
    if (n < 0) throw EvalFailure("negative length");
    if (static_cast<std::size_t>(n) >= s.byteLength()) return Value::string(std::move(s));
    return Value::string(
        StringValue::fromBytes(s.byteView().substr(0, static_cast<std::size_t>(n))));
}

Value LEN(Call& call) {
    return characterCount(call);
}

Value LTRIM_S(Call& call) {
    return mapped(call, call.arg(0),
                  [](std::u16string_view s) { return std::u16string(trimStart(s)); });
}

Value MID_S(Call& call) {
    if (call.has(2)) return characterSlice(call);
    // Both slots are evaluated before the text is turned into bytes.
    Value text = call.arg(0);
    Value start = call.arg(1);
    StringValue s = plainString(text);
    std::int32_t from = toLong(start);
    if (from < 1) throw EvalFailure("start position below 1");
    auto first = static_cast<std::size_t>(from) - 1;
    if (first >= s.byteLength()) return Value::string(u"");
    return Value::string(StringValue::fromBytes(s.byteView().substr(first)));
}

Value RIGHT_S(Call& call) {
    Value text = call.arg(0);
    Value length = call.arg(1);
    StringValue s = plainString(text);
    std::int32_t n = toLong(length);
    if (n < 0) throw EvalFailure("negative length");
    if (static_cast<std::size_t>(n) >= s.byteLength()) return Value::string(std::move(s));
    std::string bytes = s.byteView();
    return Value::string(
        StringValue::fromBytes(bytes.substr(bytes.size() - static_cast<std::size_t>(n))));
}

Value RTRIM_S(Call& call) {
    return mapped(call, call.arg(0),
                  [](std::u16string_view s) { return std::u16string(trimEnd(s)); });
}

Value SPACE_S(Call& call) {
    return repeated(toLong(call.arg(0)), u' ');
}

// STRING$ with a number takes the code's low byte (its value modulo 256, so -1 gives FF):
// the character is always a single-byte one.
Value STRING_S(Call& call) {
    Value count = call.arg(0);
    Value what = call.arg(1);
    std::int32_t n = toLong(count);
    if (n < 0) throw EvalFailure("negative count");
    char16_t unit = 0;
    if (what.isString()) {
        if (what.asString().units.empty()) throw EvalFailure("text without characters");
        unit = what.asString().units.front();
    } else {
        auto code = static_cast<std::uint32_t>(toLong(what)) & 0xFF;
        unit = cp932::toUnit(static_cast<std::uint16_t>(code));
    }
    return repeated(n, unit);
}

Value TAB(Call& call) {
    return repeated(toLong(call.arg(0)), u'\t');
}

Value TRIM(Call& call) {
    return mapped(call, call.arg(0),
                  [](std::u16string_view s) { return std::u16string(trimEnd(trimStart(s))); });
}

Value UCASE(Call& call) {
    return mapped(call, call.arg(0), toUpper);
}

}  // namespace pelmora::builtins
