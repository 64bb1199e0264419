// Eval: one left-to-right scan into operand texts and operator codes, then the operators
// applied to a row of value slots in order of priority.
#include "evaluator/conversions.h"
#include "evaluator/evaluator.h"
#include "evaluator/failure.h"
#include "evaluator/operations.h"
#include "evaluator/text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <new>
#include <string>
#include <vector>

namespace pelmora {

namespace {

// Limits of one call's working tables.
constexpr int kMaxOperands = 101;
constexpr int kMaxOperators = 100;
// Deeper parentheses would push the operator code out of the positive 16-bit range.
constexpr int kMaxDepth = 127;

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isTypeCharacter(char16_t c) {
    return c == u'#' || c == u'$' || c == u'%' || c == u'&' || c == u'!' || c == u'@';
}
// What may stand before a word for it to be an operator.
bool isMark(char16_t c) {
    return c == u')' || c == u',' || isDigit(c) || c == u' ';
}

bool onlyFastPathCharacters(std::u16string_view t) {
    return std::all_of(t.begin(), t.end(), [](char16_t c) {
        return isDigit(c) || c == u',' || c == u'!' || c == u' ';
    });
}

bool onlyNumberCharacters(std::u16string_view o) {
    return std::all_of(o.begin(), o.end(), [](char16_t c) {
        return isDigit(c) || c == u',' || c == u'!' || c == u'.';
    });
}

bool onlyDigits(std::u16string_view o) {
    return std::all_of(o.begin(), o.end(), isDigit);
}

// A run of digits as a number: up to 15 digits are exact in a double and read directly.
double digitsValue(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 15) return parseNumberText(digits);
    std::int64_t n = 0;
    for (char16_t c : digits) n = n * 10 + (c - u'0');
    return static_cast<double>(n);
}

// Four characters of recent letters, newest first.
class KeywordWindow {
  public:
    void assign(std::u16string_view s) {
        chars_.fill(u' ');
        std::copy_n(s.begin(), std::min<std::size_t>(s.size(), chars_.size()), chars_.begin());
    }
    void pushLetter(char16_t c) { chars_ = {c, chars_[0], chars_[1], chars_[2]}; }
    char16_t operator[](std::size_t i) const { return chars_[i]; }
    bool startsWith(std::u16string_view s) const {
        return std::equal(s.begin(), s.end(), chars_.begin());
    }

  private:
    std::array<char16_t, 4> chars_{u'\0', u'\0', u'\0', u'\0'};
};

// A word is an operator when the window holds its letters (newest first) and then a mark.
struct WordOperator {
    std::u16string_view letters;
    int base;
};

constexpr WordOperator kWordOperators[] = {
    {u"DNA", kAnd},
    {u"RO", kOr},
    {u"ROX", kXor},
    {u"DOM", kRemainder},
};

// Stack bytes for one call's tables; a text too long for them spills to the heap.
constexpr std::size_t kArenaBytes = 1024;

// The tables of one call: operand texts back to back in one buffer, the operator codes, the
// level flags. Sized to the text at hand; the capacity limits are checks.
struct Scan {
    explicit Scan(std::pmr::memory_resource* arena, std::size_t length)
        : chars(arena), starts(arena), OperatorCode(arena) {
        chars.reserve(length + 1);
        starts.reserve(std::min<std::size_t>(length + 1, kMaxOperands));
        OperatorCode.reserve(std::min<std::size_t>(length, kMaxOperators));
        starts.push_back(0);
        CallLevel[0] = false;  // read after a surplus ")"
    }

    std::pmr::u16string chars;
    std::pmr::vector<std::uint32_t> starts;  // where each operand's text begins in chars
    std::pmr::vector<std::int32_t> OperatorCode;
    // Only entries that "(" has set are read, and entry 0.
    std::array<bool, kMaxDepth + 1> CallLevel;
    int Depth = 0;
    int OperandIndex = 0;
    int OperatorCount = 0;
    bool AtOperandStart = true;
    KeywordWindow keywordWindow;

    std::u16string_view OperandText(int k) const {
        std::size_t begin = starts[static_cast<std::size_t>(k)];
        std::size_t end = static_cast<std::size_t>(k) + 1 < starts.size()
                              ? starts[static_cast<std::size_t>(k) + 1]
                              : chars.size();
        return std::u16string_view(chars).substr(begin, end - begin);
    }

    void append(char16_t c) { chars.push_back(c); }
    void append(std::u16string_view s) { chars.append(s); }

    void nextOperand() {
        if (++OperandIndex >= kMaxOperands) throw EvalFailure("too many operands");
        starts.push_back(static_cast<std::uint32_t>(chars.size()));
    }

    void pushCode(int base) {
        if (OperatorCount >= kMaxOperators) throw EvalFailure("too many operators");
        OperatorCode.push_back((127 - Depth) * 256 + base);
        ++OperatorCount;
    }

    void recordOperator(int base) {
        pushCode(base);
        if (!AtOperandStart) nextOperand();
        AtOperandStart = true;
    }

    // After a letter: a word operator ends the operand it was appended to.
    void testWordOperator() {
        for (const auto& word : kWordOperators) {
            std::size_t n = word.letters.size();
            if (!keywordWindow.startsWith(word.letters) || !isMark(keywordWindow[n])) continue;
            if (chars.size() - starts.back() < n)
                throw EvalFailure("operator letters split by operators");
            chars.resize(chars.size() - n);
            pushCode(word.base);
            nextOperand();
            AtOperandStart = true;
            return;
        }
    }

    // Scans t; with leadingZero, as if t began with one more character, "0".
    void run(std::u16string_view t, bool leadingZero);
};

void Scan::run(std::u16string_view t, bool leadingZero) {
    if (leadingZero) {
        append(u'0');
        keywordWindow.assign(u"0");
        AtOperandStart = false;
    }
    const std::size_t length = t.size();
    constexpr std::size_t npos = std::u16string_view::npos;
    // The next ")" and "(" after the last place they were looked for: each part of the text is
    // searched once, however many argument lists open before it.
    std::size_t nextClose = 0;
    std::size_t nextOpen = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t c = t[i];
        // After a surplus ")", only a quote or "(" may follow.
        if (Depth < 0 && c != u'"' && c != u'(') throw EvalFailure("unbalanced parenthesis");

        // "..." is copied whole, quotes included.
        if (c == u'"') {
            AtOperandStart = false;
            keywordWindow.assign(u"$$$$");
            std::size_t close = t.find(u'"', i + 1);
            if (close == npos) throw EvalFailure("missing closing quote");
            append(t.substr(i, close - i + 1));
            i = close;
            continue;
        }
        // "(" groups at the start of an operand, otherwise opens an argument list, copied up
        // to its next "(" or ")".
        if (c == u'(') {
            if (++Depth > kMaxDepth) throw EvalFailure("parentheses nested too deep");
            if (AtOperandStart) {
                CallLevel[static_cast<std::size_t>(Depth)] = false;
                continue;
            }
            CallLevel[static_cast<std::size_t>(Depth)] = true;
            keywordWindow.assign(u"$$$$");
            if (nextClose <= i) nextClose = t.find(u')', i + 1);
            if (nextOpen <= i) nextOpen = t.find(u'(', i + 1);
            if (nextClose == npos) throw EvalFailure("missing closing parenthesis");
            std::size_t stop = (nextOpen == npos || nextClose < nextOpen) ? nextClose : nextOpen;
            append(t.substr(i, stop - i));
            i = stop - 1;
            continue;
        }
        if (c == u')') {
            --Depth;
            if (CallLevel[static_cast<std::size_t>(Depth + 1)]) {
                append(u')');
                keywordWindow.assign(u")");
                AtOperandStart = false;
            }
            continue;
        }
        // Inside an argument list everything is copied as written.
        if (Depth > 0 && CallLevel[static_cast<std::size_t>(Depth)]) {
            append(c);
            continue;
        }
        if (isDigit(c) || c == u'.') {
            append(c);
            keywordWindow.assign(u"0");
            AtOperandStart = false;
            continue;
        }
        if (isLetter(c)) {
            char16_t upper = (c >= u'a') ? static_cast<char16_t>(c - u'a' + u'A') : c;
            append(upper);
            keywordWindow.pushLetter(upper);
            AtOperandStart = false;
            testWordOperator();
            continue;
        }
        if (isTypeCharacter(c)) {
            append(c);
            keywordWindow.assign(u"0");
            AtOperandStart = false;
            continue;
        }
        switch (c) {
            case u' ':
                keywordWindow.assign(u"    ");
                break;
            case u'+':
            case u';':
                recordOperator(kAdd);
                break;
            case u'-':
                if (AtOperandStart) {
                    append(u'-');  // the sign of the coming operand
                } else {
                    recordOperator(kSubtract);
                }
                break;
            case u'*':
                recordOperator(kMultiply);
                break;
            case u'/':
                recordOperator(kDivide);
                break;
            case u'\\':
                recordOperator(kIntegerDivide);
                break;
            case u'^':
                recordOperator(kPower);
                break;
            case u'<':
            case u'>':
            case u'=': {
                char16_t next = i + 1 < length ? t[i + 1] : u'\0';
                int base = 0;
                bool pair = true;
                if (c == u'<')
                    base = next == u'>'   ? kNotEqual
                           : next == u'=' ? kLessEqual
                                          : (pair = false, kLess);
                if (c == u'>')
                    base = next == u'<'   ? kNotEqual
                           : next == u'=' ? kGreaterEqual
                                          : (pair = false, kGreater);
                if (c == u'=')
                    base = next == u'<'   ? kLessEqual
                           : next == u'>' ? kGreaterEqual
                                          : (pair = false, kEqual);
                recordOperator(base);
                if (pair) ++i;
                break;
            }
            default:
                break;  // commas, other punctuation, control and non-ASCII characters
        }
    }
}

// Joins right onto left in place, so a chain of "+" copies each text once.
void concatenateInto(Value& left, const Value& right, Evaluator& evaluator) {
    if (!left.isString()) left = Value::string(evaluator.SStr(left));
    if (right.isString()) {
        left.mutableString().append(right.asString());
    } else {
        left.mutableString().append(StringValue{evaluator.SStr(right), std::nullopt});
    }
}

// Operator numbers by priority value, equal values left to right (at most 100 of them).
void sortApplyOrder(std::pmr::vector<std::uint8_t>& order,
                    const std::pmr::vector<std::int32_t>& codes) {
    for (std::size_t i = 0; i < codes.size(); ++i) {
        auto k = static_cast<std::uint8_t>(i);
        std::size_t j = i;
        for (; j > 0 && codes[order[j - 1]] / 16 > codes[k] / 16; --j) order[j] = order[j - 1];
        order[j] = k;
    }
}

}  // namespace

Value Evaluator::Eval(std::u16string_view text) {
    currentError_ = 0;
    if (depth_ >= kMaxEvalDepth) {
        EvalErrorCode = 2;
        return Value();
    }
    if (depth_ == 0) work_ = 0;
    ++depth_;
    try {
        Value result = evalUntrapped(text);
        chargeText(result);
        --depth_;
        return result;
    } catch (const EvalFailure&) {
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    } catch (...) {
        --depth_;
        throw;  // the end of the program, or a host's own exception
    }
    --depth_;
    EvalErrorCode = 2;
    currentError_ = 0;
    return Value();
}

void Evaluator::chargeWork(std::size_t units) {
    if (units > kWorkBudget - work_) {
        work_ = kWorkBudget;  // everything after this fails as well
        throw EvalFailure("past the work budget of one evaluation");
    }
    work_ += units;
}

void Evaluator::chargeText(const Value& result) {
    if (result.isString()) chargeWork(result.asString().byteLength());
}

Value Evaluator::evalUntrapped(std::u16string_view t) {
    chargeWork(t.size() * kScanCost);

    // 1. Fast path and rewriting. The rewriting works on a view of the caller's text: a leading
    // "-" becomes a leading "0" that the scan supplies, and pairs of parentheses are cut off.
    bool leadingZero = false;
    std::u16string hexText;
    for (;;) {
        if (onlyFastPathCharacters(t)) return Value::number(parseNumberText(t));
        bool again = false;
        bool groupChecked = false;
        for (;;) {
            if (t.starts_with(u'-')) {
                leadingZero = true;  // -2^2 is 0-2^2; no rule applies to a text that begins "0"
                break;
            }
            if (t.size() >= 2 && t.front() == u'(' && t.back() == u')') {
                // Once no "(" follows the first ")", cutting the outer pair keeps it so: the
                // first ")" stays where it was, or the text no longer ends with ")".
                if (!groupChecked && t.find(u'(', t.find(u')')) != std::u16string_view::npos) break;
                groupChecked = true;
                t = t.substr(1, t.size() - 2);
                continue;
            }
            if (t.starts_with(u"&H")) {
                hexText = plainText(Value::number(parseNumberText(t)));
                t = hexText;
                again = true;
            }
            break;
        }
        if (!again) break;
    }

    // 2. The scan.
    std::array<std::byte, kArenaBytes> arenaBytes;
    std::pmr::monotonic_buffer_resource arena(arenaBytes.data(), arenaBytes.size());
    Scan scan(&arena, t.size());
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
        if (o.size() >= 2 && o.front() == u'"' && o.back() == u'"') {
            std::u16string_view inner = o.substr(1, o.size() - 2);
            std::u16string s;
            s.reserve(inner.size());
            for (std::size_t i = 0; i < inner.size(); ++i) {
                s.push_back(inner[i]);
                if (inner[i] == u'"' && i + 1 < inner.size() && inner[i + 1] == u'"') ++i;
            }
            return Value::string(std::move(s));
        }
        if (o.starts_with(u'-')) return negate(Eval(o.substr(1)));
        // Case mapping is one code point to one, so the first three units decide.
        if (toUpper(t.substr(0, 3)) == u"NOT") return logicalNot(Eval(t.substr(3)));
        return Ffc(toUpper(t));
    }

    // 5. Several operands.
    const int operators = scan.OperatorCount;
    const auto slots = static_cast<std::size_t>(operators) + 1;
    std::pmr::vector<std::uint8_t> ApplyOrder(static_cast<std::size_t>(operators), &arena);
    sortApplyOrder(ApplyOrder, scan.OperatorCode);

    std::pmr::vector<Value> SlotValue(&arena);
    SlotValue.reserve(slots);
    std::pmr::vector<bool> SlotUsed(slots, false, &arena);
    for (int k = 0; k <= scan.OperandIndex; ++k) {
        std::u16string_view text = scan.OperandText(k);
        SlotValue.push_back(onlyDigits(text) ? Value::number(digitsValue(text)) : Eval(text));
    }
    SlotValue.resize(slots);  // Empty slots, after code 3
    for (int k : ApplyOrder) {
        int left = k;
        while (SlotUsed[static_cast<std::size_t>(left)]) --left;
        int right = k + 1;
        while (right < operators && SlotUsed[static_cast<std::size_t>(right)]) ++right;
        Value& l = SlotValue[static_cast<std::size_t>(left)];
        const Value& r = SlotValue[static_cast<std::size_t>(right)];
        const int base = scan.OperatorCode[static_cast<std::size_t>(k)] % 256;
        if (base == kAdd && (l.isString() || r.isString())) {
            concatenateInto(l, r, *this);
        } else {
            l = applyOperator(base, l, r, *this);
        }
        SlotUsed[static_cast<std::size_t>(right)] = true;
    }
    return std::move(SlotValue[0]);
}

}  // namespace pelmora
