// The reading of an expression text that Eval, the compiled expressions and the check share:
// the characters' classes, the scan into operand texts and operator codes, and the tables of
// one call.
#pragma once

#include <pelmora/failure.h>
#include "evaluator/conversions.h"
#include "evaluator/operations.h"
#include "evaluator/plain_arithmetic.h"
#include "evaluator/text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::reading {

// Limits of one call's working tables.
constexpr int kMaxOperands = 101;
constexpr int kMaxOperators = 100;
// Deeper parentheses would push the operator code out of the positive 16-bit range.
constexpr int kMaxDepth = 127;

constexpr bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
constexpr bool isTypeCharacter(char16_t c) {
    return c == u'#' || c == u'$' || c == u'%' || c == u'&' || c == u'!' || c == u'@';
}
// What may stand before a word for it to be an operator.
inline bool isMark(char16_t c) {
    return c == u')' || c == u',' || isDigit(c) || c == u' ';
}

inline bool onlyFastPathCharacters(std::u16string_view t) {
    return std::all_of(t.begin(), t.end(), [](char16_t c) {
        return isDigit(c) || c == u',' || c == u'!' || c == u' ';
    });
}

inline bool onlyNumberCharacters(std::u16string_view o) {
    return std::all_of(o.begin(), o.end(), [](char16_t c) {
        return isDigit(c) || c == u',' || c == u'!' || c == u'.';
    });
}

inline bool onlyDigits(std::u16string_view o) {
    return std::all_of(o.begin(), o.end(), isDigit);
}

// A run of digits as a number: up to 15 digits are exact in a double and read directly.
inline double digitsValue(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 15) return parseNumberText(digits);
    std::int64_t n = 0;
    for (char16_t c : digits) n = n * 10 + (c - u'0');
    return static_cast<double>(n);
}

// A plain decimal written in an operand ("1.5"): digits with at most one "." and at least one
// digit, short enough to be read without failing.
inline bool plainDecimal(std::u16string_view o) {
    if (o.empty() || o.size() > 18) return false;
    bool point = false, digit = false;
    for (char16_t c : o) {
        if (isDigit(c)) {
            digit = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

// Four characters of recent letters, newest first, packed 16 bits each (character 0 lowest).
class KeywordWindow {
  public:
    static constexpr std::uint64_t pack(std::u16string_view s) {
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < 4; ++i)
            bits |= std::uint64_t{i < s.size() ? s[i] : u' '} << (16 * i);
        return bits;
    }
    // Assigning pads with spaces to four characters, or keeps the first four.
    void assign(std::uint64_t packed) { bits_ = packed; }
    void pushLetter(char16_t c) { bits_ = (bits_ << 16) | c; }
    char16_t operator[](std::size_t i) const { return static_cast<char16_t>(bits_ >> (16 * i)); }
    bool startsWith(std::uint64_t packedLetters, std::size_t n) const {
        return (bits_ & ((std::uint64_t{1} << (16 * n)) - 1)) == packedLetters;
    }

  private:
    std::uint64_t bits_ = 0;  // four NUL characters
};

constexpr std::uint64_t kDollars = KeywordWindow::pack(u"$$$$");
constexpr std::uint64_t kZero = KeywordWindow::pack(u"0");
constexpr std::uint64_t kSpaces = KeywordWindow::pack(u"    ");
constexpr std::uint64_t kClose = KeywordWindow::pack(u")");

// A word is an operator when the window holds its letters (newest first) and then a mark.
struct WordOperator {
    std::size_t length;
    std::uint64_t letters;
    int base;
};

// The letters packed without padding: only the first `length` characters are compared.
constexpr std::uint64_t letters(std::u16string_view s) {
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < s.size(); ++i) bits |= std::uint64_t{s[i]} << (16 * i);
    return bits;
}

constexpr WordOperator kWordOperators[] = {
    {3, letters(u"DNA"), kAnd},
    {2, letters(u"RO"), kOr},
    {3, letters(u"ROX"), kXor},
    {3, letters(u"DOM"), kRemainder},
};

// A table of one call with its size fixed when the call starts: on the stack up to N
// entries, on the heap beyond. Entries start uninitialised; only written ones are read.
template <typename T, std::size_t N>
class CallTable {
  public:
    explicit CallTable(std::size_t capacity) {
        if (capacity > N) {
            heap_.reset(new T[capacity]);
            data_ = heap_.get();
        }
    }
    CallTable(const CallTable&) = delete;
    CallTable& operator=(const CallTable&) = delete;
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }

  private:
    T local_[N];
    std::unique_ptr<T[]> heap_;
    T* data_ = local_;
};

// The value row: n slots, constructed in order as the operands are evaluated.
class SlotRow {
  public:
    explicit SlotRow(std::size_t n) {
        if (n > kLocal) {
            heap_.reset(static_cast<Value*>(::operator new(n * sizeof(Value))));
            data_ = heap_.get();
        }
    }
    SlotRow(const SlotRow&) = delete;
    SlotRow& operator=(const SlotRow&) = delete;
    ~SlotRow() { std::destroy_n(data_, size_); }
    // Constructs the next slot from make()'s result without moving it.
    template <typename Make>
    void emplace(Make make) {
        new (data_ + size_) Value(make());
        ++size_;
    }
    void pushEmpty() { new (data_ + size_++) Value(); }
    Value& operator[](std::size_t i) { return data_[i]; }

  private:
    static constexpr std::size_t kLocal = 16;
    struct Free {
        void operator()(Value* p) const { ::operator delete(p); }
    };
    alignas(Value) std::byte local_[kLocal * sizeof(Value)];
    std::unique_ptr<Value, Free> heap_;
    Value* data_ = reinterpret_cast<Value*>(local_);
    std::size_t size_ = 0;
};

// The tables of one call: operand texts back to back in one buffer, the operator codes, the
// level flags. Sized to the text at hand (every operator and every appended character stands
// for at least one character of the text); the capacity limits are checks.
struct Scan {
    explicit Scan(std::size_t length)
        : chars(length + 1),
          starts(std::min<std::size_t>(length + 1, kMaxOperands)),
          OperatorCode(std::min<std::size_t>(length, kMaxOperators)) {
        starts[0] = 0;
        CallLevel[0] = false;  // read after a surplus ")"
    }

    CallTable<char16_t, 64> chars;
    std::size_t size = 0;                 // characters in chars
    CallTable<std::uint32_t, 32> starts;  // where each operand's text begins in chars
    CallTable<std::int32_t, 32> OperatorCode;
    // Only entries that "(" has set are read, and entry 0.
    std::array<bool, kMaxDepth + 1> CallLevel;
    int Depth = 0;
    int OperandIndex = 0;
    int OperatorCount = 0;
    bool AtOperandStart = true;
    KeywordWindow keywordWindow;
    // When set, where each character of chars came from in the scanned text (for the check's
    // positions); Eval leaves it unset.
    std::pmr::vector<std::uint32_t>* origins = nullptr;

    std::u16string_view OperandText(int k) const {
        std::size_t begin = starts[static_cast<std::size_t>(k)];
        std::size_t end = k < OperandIndex ? starts[static_cast<std::size_t>(k) + 1] : size;
        return std::u16string_view(&chars[0] + begin, end - begin);
    }

    // Each appended character comes from place `from` of the text (the leading "0" from 0).
    void append(char16_t c, std::size_t from) {
        chars[size++] = c;
        if (origins) origins->push_back(static_cast<std::uint32_t>(from));
    }
    void append(std::u16string_view s, std::size_t from) {
        std::copy(s.begin(), s.end(), &chars[size]);
        size += s.size();
        if (origins)
            for (std::size_t i = 0; i < s.size(); ++i)
                origins->push_back(static_cast<std::uint32_t>(from + i));
    }

    void nextOperand() {
        if (++OperandIndex >= kMaxOperands) throw EvalFailure("too many operands");
        starts[static_cast<std::size_t>(OperandIndex)] = static_cast<std::uint32_t>(size);
    }

    void pushCode(int base) {
        if (OperatorCount >= kMaxOperators) throw EvalFailure("too many operators");
        OperatorCode[static_cast<std::size_t>(OperatorCount++)] = (kMaxDepth - Depth) * 256 + base;
    }

    void recordOperator(int base) {
        pushCode(base);
        if (!AtOperandStart) nextOperand();
        AtOperandStart = true;
    }

    // After a letter: a word operator ends the operand it was appended to.
    void testWordOperator() {
        // Every word is two or three letters and then a mark.
        if (!isMark(keywordWindow[2]) && !isMark(keywordWindow[3])) return;
        for (const auto& word : kWordOperators) {
            std::size_t n = word.length;
            if (!keywordWindow.startsWith(word.letters, n) || !isMark(keywordWindow[n])) continue;
            if (size - starts[static_cast<std::size_t>(OperandIndex)] < n)
                throw EvalFailure("operator letters split by operators");
            size -= n;
            if (origins) origins->resize(size);
            pushCode(word.base);
            nextOperand();
            AtOperandStart = true;
            return;
        }
    }

    // Scans t; with leadingZero, as if t began with one more character, "0".
    void run(std::u16string_view t, bool leadingZero);
};

// What the scan does with a character; everything beyond ASCII is Other.
enum class CharClass : std::uint8_t {
    Other,
    Quote,
    Open,
    Close,
    Digit,  // "0"-"9" and "."
    Letter,
    Type,
    Space,
    Add,  // "+" and ";"
    Minus,
    Multiply,
    Divide,
    IntegerDivide,
    Power,
    Compare,  // "<", ">" and "="
};

constexpr std::array<CharClass, 128> kCharClasses = [] {
    std::array<CharClass, 128> classes{};
    for (char16_t c = 0; c < 128; ++c) {
        CharClass k = CharClass::Other;
        if (isDigit(c) || c == u'.') k = CharClass::Digit;
        if (isLetter(c)) k = CharClass::Letter;
        if (isTypeCharacter(c)) k = CharClass::Type;
        classes[c] = k;
    }
    classes[u'"'] = CharClass::Quote;
    classes[u'('] = CharClass::Open;
    classes[u')'] = CharClass::Close;
    classes[u' '] = CharClass::Space;
    classes[u'+'] = CharClass::Add;
    classes[u';'] = CharClass::Add;
    classes[u'-'] = CharClass::Minus;
    classes[u'*'] = CharClass::Multiply;
    classes[u'/'] = CharClass::Divide;
    classes[u'\\'] = CharClass::IntegerDivide;
    classes[u'^'] = CharClass::Power;
    classes[u'<'] = CharClass::Compare;
    classes[u'>'] = CharClass::Compare;
    classes[u'='] = CharClass::Compare;
    return classes;
}();

inline CharClass classOf(char16_t c) {
    return c < 128 ? kCharClasses[c] : CharClass::Other;
}

// The comparison operator that c and the character after it make; pair tells whether the next
// character belongs to it.
inline int comparisonBase(char16_t c, char16_t next, bool& pair) {
    pair = true;
    if (c == u'<') {
        if (next == u'>') return kNotEqual;
        if (next == u'=') return kLessEqual;
        pair = false;
        return kLess;
    }
    if (c == u'>') {
        if (next == u'<') return kNotEqual;
        if (next == u'=') return kGreaterEqual;
        pair = false;
        return kGreater;
    }
    if (next == u'<') return kLessEqual;
    if (next == u'>') return kGreaterEqual;
    pair = false;
    return kEqual;
}

inline void Scan::run(std::u16string_view t, bool leadingZero) {
    if (leadingZero) {
        append(u'0', 0);
        keywordWindow.assign(kZero);
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
        const CharClass k = classOf(c);
        const bool bracket = k == CharClass::Quote || k == CharClass::Open;
        if (Depth <= 0) {
            // After a surplus ")", only a quote or "(" may follow.
            if (Depth < 0 && !bracket) throw EvalFailure("unbalanced parenthesis");
        } else if (CallLevel[static_cast<std::size_t>(Depth)] && !bracket &&
                   k != CharClass::Close) {
            append(c, i);  // inside an argument list everything is copied as written
            continue;
        }
        switch (k) {
            case CharClass::Quote: {
                // "..." is copied whole, quotes included.
                AtOperandStart = false;
                keywordWindow.assign(kDollars);
                std::size_t close = t.find(u'"', i + 1);
                if (close == npos) throw EvalFailure("missing closing quote");
                append(t.substr(i, close - i + 1), i);
                i = close;
                break;
            }
            case CharClass::Open: {
                // "(" groups at the start of an operand, otherwise opens an argument list,
                // copied up to its next "(" or ")".
                if (++Depth > kMaxDepth) throw EvalFailure("parentheses nested too deep");
                if (AtOperandStart) {
                    CallLevel[static_cast<std::size_t>(Depth)] = false;
                    break;
                }
                CallLevel[static_cast<std::size_t>(Depth)] = true;
                keywordWindow.assign(kDollars);
                if (nextClose <= i) nextClose = t.find(u')', i + 1);
                if (nextOpen <= i) nextOpen = t.find(u'(', i + 1);
                if (nextClose == npos) throw EvalFailure("missing closing parenthesis");
                std::size_t stop =
                    (nextOpen == npos || nextClose < nextOpen) ? nextClose : nextOpen;
                append(t.substr(i, stop - i), i);
                i = stop - 1;
                break;
            }
            case CharClass::Close:
                --Depth;
                if (CallLevel[static_cast<std::size_t>(Depth + 1)]) {
                    append(u')', i);
                    keywordWindow.assign(kClose);
                    AtOperandStart = false;
                }
                break;
            case CharClass::Digit:
            case CharClass::Type:
                append(c, i);
                keywordWindow.assign(kZero);
                AtOperandStart = false;
                break;
            case CharClass::Letter: {
                char16_t upper = (c >= u'a') ? static_cast<char16_t>(c - u'a' + u'A') : c;
                append(upper, i);
                keywordWindow.pushLetter(upper);
                AtOperandStart = false;
                testWordOperator();
                break;
            }
            case CharClass::Space:
                keywordWindow.assign(kSpaces);
                break;
            case CharClass::Add:
                recordOperator(kAdd);
                break;
            case CharClass::Minus:
                if (AtOperandStart) {
                    append(u'-', i);  // the sign of the coming operand
                } else {
                    recordOperator(kSubtract);
                }
                break;
            case CharClass::Multiply:
                recordOperator(kMultiply);
                break;
            case CharClass::Divide:
                recordOperator(kDivide);
                break;
            case CharClass::IntegerDivide:
                recordOperator(kIntegerDivide);
                break;
            case CharClass::Power:
                recordOperator(kPower);
                break;
            case CharClass::Compare: {
                bool pair = false;
                recordOperator(comparisonBase(c, i + 1 < length ? t[i + 1] : u'\0', pair));
                if (pair) ++i;
                break;
            }
            case CharClass::Other:
                break;  // commas, other punctuation, control and non-ASCII characters
        }
    }
}

// Whether the text stands between an outer pair of parentheses.
inline bool isEnclosed(std::u16string_view t) {
    return t.size() >= 2 && t.front() == u'(' && t.back() == u')';
}

// What the direct computation of plain arithmetic makes of a text: its value when the text is
// plain, the characters its nested reads would have scanned, and the failure it met.
struct DirectReading {
    std::optional<double> value;
    std::size_t nestedReads = 0;
    const char* failure = nullptr;
};

inline DirectReading readDirect(std::u16string_view text, bool signs, bool leadingZero) {
    PlainArithmetic plain(text, signs, leadingZero);
    DirectReading reading;
    reading.value = plain.run();
    reading.nestedReads = plain.nestedReads();
    reading.failure = plain.failure();
    return reading;
}

// The rewriting of a text before its scan: a leading "-" becomes a leading "0" that the scan
// supplies, pairs of enclosing parentheses are cut off and "&H" numbers are written out. The
// text stays a view of the caller's (or of the written-out number), so a Rewriting stays put.
struct Rewriting {
    explicit Rewriting(std::u16string_view t) : text(t) {
        for (;;) {
            if (onlyFastPathCharacters(text)) {
                number = true;
                return;
            }
            bool again = false;
            bool groupChecked = false;
            for (;;) {
                if (text.starts_with(u'-')) {
                    leadingZero = true;  // -2^2 is 0-2^2; no rule applies to a text that begins "0"
                    break;
                }
                if (isEnclosed(text)) {
                    // Once no "(" follows the first ")", cutting the outer pair keeps it so: the
                    // first ")" stays where it was, or the text no longer ends with ")".
                    if (!groupChecked &&
                        text.find(u'(', text.find(u')')) != std::u16string_view::npos)
                        break;
                    groupChecked = true;
                    text = text.substr(1, text.size() - 2);
                    continue;
                }
                if (text.starts_with(u"&H")) {
                    hexText = plainText(Value::number(parseNumberText(text)));
                    text = hexText;
                    again = true;
                }
                break;
            }
            if (!again) return;
        }
    }
    Rewriting(const Rewriting&) = delete;
    Rewriting& operator=(const Rewriting&) = delete;

    std::u16string_view text;
    bool leadingZero = false;
    // Only number characters are left: the text is read as one number.
    bool number = false;
    std::u16string hexText;
};

// An operand read as a number without a nested Eval: "-" and up to 15 digits, or a written
// decimal.
inline bool isShortOperand(std::u16string_view text) {
    const bool negative =
        text.size() > 1 && text[0] == u'-' && text.size() <= 16 && onlyDigits(text.substr(1));
    return negative || plainDecimal(text);
}

// A single operand in quotes, and the text it stands for ("" stands for one quote).
inline bool isQuoted(std::u16string_view o) {
    return o.size() >= 2 && o.front() == u'"' && o.back() == u'"';
}
inline std::u16string quotedText(std::u16string_view o) {
    std::u16string_view inner = o.substr(1, o.size() - 2);
    std::u16string s;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        s.push_back(inner[i]);
        if (inner[i] == u'"' && i + 1 < inner.size() && inner[i + 1] == u'"') ++i;
    }
    return s;
}

// Whether a single operand's text is NOT and an operand. Case mapping is one code point to
// one, so the first three units decide.
inline bool startsWithNot(std::u16string_view t) {
    return toUpper(t.substr(0, 3)) == u"NOT";
}

// Ffc's reading: a call matches "*(*)": it ends with ")" and has a "(" before that.
inline bool isCallText(std::u16string_view text) {
    return !text.empty() && text.back() == u')' && text.find(u'(') < text.size() - 1;
}

// Splits an argument text at its top-level commas into the slots; quotes get no special
// treatment. Gives the number of commas, one less than the number of arguments.
inline std::uint8_t splitArgumentText(std::u16string_view args,
                                      std::array<std::u16string_view, 8>& slots) {
    int depth = 0;
    std::size_t split = 0;
    std::uint8_t commas = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        char16_t c = args[i];
        if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (c == u',' && depth == 0) {
            if (commas >= slots.size() - 1) throw EvalFailure("more than eight arguments");
            slots[commas] = args.substr(split, i - split);
            ++commas;
            split = i + 1;
        }
    }
    slots[commas] = args.substr(split);
    return commas;
}

// Operator numbers by priority value, equal values left to right (at most 100 of them).
template <typename Order, typename Codes>
void sortApplyOrder(Order& order, const Codes& codes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        auto k = static_cast<std::uint8_t>(i);
        std::size_t j = i;
        for (; j > 0 && codes[order[j - 1]] / 16 > codes[k] / 16; --j) order[j] = order[j - 1];
        order[j] = k;
    }
}

// Applies the operators in the order given: each joins the nearest slot on its left that is
// still in use with the nearest on its right, which is used up. apply(left, right, k) is told
// the two slots and the operator's number; used starts all false, one entry a slot.
template <typename Order, typename Used, typename Apply>
void applyInOrder(const Order& order, Used& used, std::size_t operators, Apply apply) {
    for (std::size_t n = 0; n < operators; ++n) {
        const std::size_t k = order[n];
        std::size_t left = k;
        while (used[left]) --left;
        std::size_t right = k + 1;
        while (right < operators && used[right]) ++right;
        apply(left, right, k);
        used[right] = true;
    }
}

}  // namespace pelmora::reading
