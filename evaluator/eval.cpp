// Eval: one left-to-right scan into operand texts and operator codes, then the operators
// applied to a row of value slots in order of priority.
#include "evaluator/engine.h"
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
#include <new>
#include <optional>
#include <string>

namespace pelmora {

namespace {

// Limits of one call's working tables.
constexpr int kMaxOperands = 101;
constexpr int kMaxOperators = 100;
// Deeper parentheses would push the operator code out of the positive 16-bit range.
constexpr int kMaxDepth = 127;

constexpr bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
constexpr bool isLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
constexpr bool isTypeCharacter(char16_t c) {
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

// A plain decimal written in an operand ("1.5"): digits with at most one "." and at least one
// digit, short enough to be read without failing.
bool plainDecimal(std::u16string_view o) {
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

    std::u16string_view OperandText(int k) const {
        std::size_t begin = starts[static_cast<std::size_t>(k)];
        std::size_t end = k < OperandIndex ? starts[static_cast<std::size_t>(k) + 1] : size;
        return std::u16string_view(&chars[0] + begin, end - begin);
    }

    void append(char16_t c) { chars[size++] = c; }
    void append(std::u16string_view s) {
        std::copy(s.begin(), s.end(), &chars[size]);
        size += s.size();
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

CharClass classOf(char16_t c) {
    return c < 128 ? kCharClasses[c] : CharClass::Other;
}

// The comparison operator that c and the character after it make; pair tells whether the next
// character belongs to it.
int comparisonBase(char16_t c, char16_t next, bool& pair) {
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

void Scan::run(std::u16string_view t, bool leadingZero) {
    if (leadingZero) {
        append(u'0');
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
            append(c);  // inside an argument list everything is copied as written
            continue;
        }
        switch (k) {
            case CharClass::Quote: {
                // "..." is copied whole, quotes included.
                AtOperandStart = false;
                keywordWindow.assign(kDollars);
                std::size_t close = t.find(u'"', i + 1);
                if (close == npos) throw EvalFailure("missing closing quote");
                append(t.substr(i, close - i + 1));
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
                append(t.substr(i, stop - i));
                i = stop - 1;
                break;
            }
            case CharClass::Close:
                --Depth;
                if (CallLevel[static_cast<std::size_t>(Depth + 1)]) {
                    append(u')');
                    keywordWindow.assign(kClose);
                    AtOperandStart = false;
                }
                break;
            case CharClass::Digit:
            case CharClass::Type:
                append(c);
                keywordWindow.assign(kZero);
                AtOperandStart = false;
                break;
            case CharClass::Letter: {
                char16_t upper = (c >= u'a') ? static_cast<char16_t>(c - u'a' + u'A') : c;
                append(upper);
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
                    append(u'-');  // the sign of the coming operand
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

// Joins right onto left in place, so a chain of "+" copies each text once.
void concatenateInto(Value& left, const Value& right, Engine& evaluator) {
    if (!left.isString()) left = Value::string(evaluator.SStr(left));
    if (right.isString()) {
        left.mutableString().append(right.asString());
    } else {
        left.mutableString().append(StringValue{evaluator.SStr(right), std::nullopt});
    }
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

}  // namespace

Value Engine::Eval(std::u16string_view text) {
    currentError_ = 0;
    if (depth_ >= kMaxEvalDepth) {
        EvalErrorCode = 2;
        noteFailure("evaluations nested too deep", text);
        return Value();
    }
    if (depth_ == 0) work_ = 0;
    ++depth_;
    try {
        Value result = evalUntrapped(text);
        chargeText(result);
        --depth_;
        return result;
    } catch (const EvalFailure& e) {
        noteFailure(e.what(), text);
    } catch (const std::bad_alloc&) {
        noteFailure("out of memory", text);
    } catch (const std::length_error&) {
        noteFailure("text too long", text);
    } catch (...) {
        --depth_;
        throw;  // the end of the program, or a host's own exception
    }
    --depth_;
    EvalErrorCode = 2;
    currentError_ = 0;
    return Value();
}

void Engine::chargeWork(std::size_t units) {
    if (units > kWorkBudget - work_) {
        work_ = kWorkBudget;  // everything after this fails as well
        throw EvalFailure("past the work budget of one evaluation");
    }
    work_ += units;
}

void Engine::chargeText(const Value& result) {
    if (result.isString()) chargeWork(result.asString().byteLength());
}

Value Engine::evalUntrapped(std::u16string_view t) {
    chargeWork(t.size() * kScanCost);

    // 1. Fast path and rewriting. The rewriting works on a view of the caller's text: a leading
    // "-" becomes a leading "0" that the scan supplies, and pairs of parentheses are cut off.
    bool leadingZero = false;
    std::u16string hexText;
    // Plain arithmetic is computed directly, at the cost its nested reads would have had. A call
    // whose nested reads could meet the depth limit, or go past the budget, takes the long way.
    auto direct = [this](std::u16string_view text, bool signs, bool leadingZero,
                         int nestedDepth) -> std::optional<double> {
        if (depth_ + nestedDepth > kMaxEvalDepth) return std::nullopt;
        PlainArithmetic plain(text, signs, leadingZero);
        std::optional<double> v = plain.run();
        if (!v || plain.nestedReads() * kScanCost > kWorkBudget - work_) return std::nullopt;
        chargeWork(plain.nestedReads() * kScanCost);
        if (plain.failure()) throw EvalFailure(plain.failure());
        return v;
    };
    // Signs are read as the rewriting would leave them: a text that begins with "-" as if it
    // began with "0-"; one enclosed in parentheses, which the rewriting may take off, without.
    const bool enclosed = t.size() >= 2 && t.front() == u'(' && t.back() == u')';
    if (std::optional<double> v = direct(t, !enclosed, t.starts_with(u'-'), enclosed ? 1 : 2))
        return Value::number(*v);
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

    // An enclosed text with signs, once the rewriting has taken its parentheses off.
    if (enclosed && t.find(u'-') != std::u16string_view::npos)
        if (std::optional<double> v = direct(t, true, leadingZero, 2)) return Value::number(*v);

    // 2. The scan.
    Scan scan(t.size());
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
    const auto operators = static_cast<std::size_t>(scan.OperatorCount);
    CallTable<std::uint8_t, 32> ApplyOrder(operators);
    sortApplyOrder(ApplyOrder, scan.OperatorCode, operators);

    SlotRow SlotValue(operators + 1);
    CallTable<bool, 32> SlotUsed(operators + 1);
    for (int k = 0; k <= scan.OperandIndex; ++k) {
        std::u16string_view text = scan.OperandText(k);
        SlotValue.emplace([&] {
            if (onlyDigits(text)) return Value::number(digitsValue(text));
            // What a nested Eval of a written decimal, or of "-" and digits (which it rewrites
            // to 0 minus the digits), comes to, without its set-up.
            const bool negative = text.size() > 1 && text[0] == u'-' && text.size() <= 16 &&
                                  onlyDigits(text.substr(1));
            if ((negative || plainDecimal(text)) && depth_ < kMaxEvalDepth &&
                text.size() * kScanCost <= kWorkBudget - work_) {
                currentError_ = 0;
                chargeWork(text.size() * kScanCost);
                if (negative) return Value::number(0.0 - digitsValue(text.substr(1)));
                return Value::number(parseNumberText(text));
            }
            return Eval(text);
        });
        SlotUsed[static_cast<std::size_t>(k)] = false;
    }
    for (auto k = static_cast<std::size_t>(scan.OperandIndex) + 1; k <= operators; ++k) {
        SlotValue.pushEmpty();  // Empty slots, after code 3
        SlotUsed[k] = false;
    }
    for (std::size_t n = 0; n < operators; ++n) {
        const std::size_t k = ApplyOrder[n];
        std::size_t left = k;
        while (SlotUsed[left]) --left;
        std::size_t right = k + 1;
        while (right < operators && SlotUsed[right]) ++right;
        Value& l = SlotValue[left];
        const Value& r = SlotValue[right];
        const int base = scan.OperatorCode[k] % 256;
        if (applyToDoubles(base, l, r)) {
            // the common case, done in place
        } else if (base == kAdd && (l.isString() || r.isString())) {
            concatenateInto(l, r, *this);
        } else {
            l = applyOperator(base, l, r, *this);
        }
        SlotUsed[right] = true;
    }
    Value& result = SlotValue[0];
    if (result.is(Kind::Double)) return Value::number(result.asDouble());  // no variant move
    return std::move(result);
}

}  // namespace pelmora
