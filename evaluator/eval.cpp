// Eval: one left-to-right scan into operand texts and operator codes, then the operators
// applied to a row of value slots in order of priority.
#include "evaluator/conversions.h"
#include "evaluator/evaluator.h"
#include "evaluator/failure.h"
#include "evaluator/operations.h"
#include "evaluator/text.h"

#include <algorithm>
#include <array>
#include <new>
#include <numeric>
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

struct Scan {
    std::vector<std::u16string> OperandText{std::u16string()};
    std::vector<int> OperatorCode;
    std::array<bool, 256> CallLevel{};
    int Depth = 0;
    int OperandIndex = 0;
    int OperatorCount = 0;
    bool AtOperandStart = true;
    KeywordWindow keywordWindow;

    std::u16string& operand() { return OperandText[OperandIndex]; }

    void nextOperand() {
        if (++OperandIndex >= kMaxOperands) throw EvalFailure("too many operands");
        OperandText.emplace_back();
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
            std::u16string& text = operand();
            if (text.size() < n) throw EvalFailure("operator letters split by operators");
            text.erase(text.size() - n);
            pushCode(word.base);
            nextOperand();
            AtOperandStart = true;
            return;
        }
    }

    void run(const std::u16string& t);
};

void Scan::run(const std::u16string& t) {
    const std::size_t length = t.size();
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t c = t[i];
        // After a surplus ")", only a quote or "(" may follow.
        if (Depth < 0 && c != u'"' && c != u'(') throw EvalFailure("unbalanced parenthesis");

        // "..." is copied whole, quotes included.
        if (c == u'"') {
            AtOperandStart = false;
            keywordWindow.assign(u"$$$$");
            std::size_t close = t.find(u'"', i + 1);
            if (close == std::u16string::npos) throw EvalFailure("missing closing quote");
            operand().append(t, i, close - i + 1);
            i = close;
            continue;
        }
        // "(" groups at the start of an operand, otherwise opens an argument list, copied up
        // to its next "(" or ")".
        if (c == u'(') {
            if (++Depth > kMaxDepth) throw EvalFailure("parentheses nested too deep");
            if (AtOperandStart) {
                CallLevel[Depth] = false;
                continue;
            }
            CallLevel[Depth] = true;
            keywordWindow.assign(u"$$$$");
            std::size_t k1 = t.find(u')', i + 1);
            std::size_t k2 = t.find(u'(', i + 1);
            if (k1 == std::u16string::npos) throw EvalFailure("missing closing parenthesis");
            std::size_t stop = (k2 == std::u16string::npos || k1 < k2) ? k1 : k2;
            operand().append(t, i, stop - i);
            i = stop - 1;
            continue;
        }
        if (c == u')') {
            --Depth;
            if (CallLevel[static_cast<std::size_t>(Depth + 1)]) {
                operand().push_back(u')');
                keywordWindow.assign(u")");
                AtOperandStart = false;
            }
            continue;
        }
        // Inside an argument list everything is copied as written.
        if (Depth > 0 && CallLevel[static_cast<std::size_t>(Depth)]) {
            operand().push_back(c);
            continue;
        }
        if (isDigit(c) || c == u'.') {
            operand().push_back(c);
            keywordWindow.assign(u"0");
            AtOperandStart = false;
            continue;
        }
        if (isLetter(c)) {
            char16_t upper = (c >= u'a') ? static_cast<char16_t>(c - u'a' + u'A') : c;
            operand().push_back(upper);
            keywordWindow.pushLetter(upper);
            AtOperandStart = false;
            testWordOperator();
            continue;
        }
        if (isTypeCharacter(c)) {
            operand().push_back(c);
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
                    operand().push_back(u'-');  // the sign of the coming operand
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

}  // namespace

Value Evaluator::Eval(std::u16string_view text) {
    currentError_ = 0;
    if (depth_ >= kMaxEvalDepth) {
        EvalErrorCode = 2;
        return Value();
    }
    if (depth_ == 0) textProduced_ = 0;
    ++depth_;
    try {
        Value result = evalUntrapped(std::u16string(text));
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

void Evaluator::chargeText(const Value& result) {
    if (!result.isString()) return;
    std::size_t bytes = result.asString().byteLength();
    if (bytes > kTextBudget - textProduced_) throw EvalFailure("too much text in one evaluation");
    textProduced_ += bytes;
}

Value Evaluator::evalUntrapped(std::u16string t) {
    // 1. Fast path and rewriting.
    for (;;) {
        if (onlyFastPathCharacters(t)) return Value::number(parseNumberText(t));
        bool again = false;
        for (;;) {
            if (t.starts_with(u'-')) {
                std::u16string zero(1, u'0');  // -2^2 is 0-2^2
                t = zero.append(t);
                continue;
            }
            if (t.size() >= 2 && t.front() == u'(' && t.back() == u')' &&
                t.find(u'(', t.find(u')')) == std::u16string::npos) {
                t = t.substr(1, t.size() - 2);
                continue;
            }
            if (t.starts_with(u"&H")) {
                t = plainText(Value::number(parseNumberText(t)));
                again = true;
            }
            break;
        }
        if (!again) break;
    }

    // 2. The scan.
    Scan scan;
    scan.run(t);

    // 3. Count check.
    if (scan.OperandIndex != scan.OperatorCount) EvalErrorCode = 3;

    // 4. A single operand.
    if (scan.OperandIndex == 0) {
        const std::u16string& o = scan.OperandText[0];
        if (onlyNumberCharacters(o)) {
            if (t.empty()) return Value::string(u"");
            return Value::number(parseNumberText(o));
        }
        if (o.size() >= 2 && o.front() == u'"' && o.back() == u'"') {
            std::u16string_view inner = std::u16string_view(o).substr(1, o.size() - 2);
            std::u16string s;
            for (std::size_t i = 0; i < inner.size(); ++i) {
                s.push_back(inner[i]);
                if (inner[i] == u'"' && i + 1 < inner.size() && inner[i + 1] == u'"') ++i;
            }
            return Value::string(std::move(s));
        }
        if (o.starts_with(u'-')) return negate(Eval(std::u16string_view(o).substr(1)));
        std::u16string upper = toUpper(t);
        if (upper.starts_with(u"NOT")) return logicalNot(Eval(std::u16string_view(t).substr(3)));
        return Ffc(upper);
    }

    // 5. Several operands.
    const int operators = scan.OperatorCount;
    std::vector<int> ApplyOrder(static_cast<std::size_t>(operators));
    std::iota(ApplyOrder.begin(), ApplyOrder.end(), 0);
    std::stable_sort(ApplyOrder.begin(), ApplyOrder.end(), [&](int a, int b) {
        return scan.OperatorCode[a] / 16 < scan.OperatorCode[b] / 16;
    });

    std::vector<Value> SlotValue(static_cast<std::size_t>(operators) + 1);
    std::vector<bool> SlotUsed(static_cast<std::size_t>(operators) + 1, false);
    for (int k = 0; k <= scan.OperandIndex; ++k) {
        const std::u16string& text = scan.OperandText[k];
        SlotValue[k] = onlyDigits(text) ? Value::number(parseNumberText(text)) : Eval(text);
    }
    for (int k : ApplyOrder) {
        int left = k;
        while (SlotUsed[left]) --left;
        int right = k + 1;
        while (right < operators && SlotUsed[right]) ++right;
        SlotValue[left] =
            applyOperator(scan.OperatorCode[k] % 256, SlotValue[left], SlotValue[right], *this);
        SlotUsed[right] = true;
    }
    return SlotValue[0];
}

}  // namespace pelmora
