// The check of an expression text: its compiled reading walked for what Eval would fail on or
// pass over silently. Where a node's operators and skipped characters stand, its scan is run
// again with the places of its characters recorded.
#include <pelmora/check.h>
#include <pelmora/conversions.h>
#include <pelmora/expression.h>
#include "evaluator/builtins.h"
#include "evaluator/compiled.h"
#include "evaluator/symbol_table.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace pelmora {

namespace {

using namespace reading;
using compiled::EvalNode;
using compiled::NameNode;
using Shape = EvalNode::Shape;

struct Finding {
    std::string id;
    std::string message;
    std::size_t at;
    bool certain;  // the Eval of the node fails for certain
};

// The fewest and most arguments a built-in's slots ("text, start[, length]") allow.
std::pair<std::size_t, std::size_t> argumentRange(std::string_view slots) {
    if (slots == "none evaluated") return {0, 8};  // POS reads none of them
    if (slots.empty()) return {0, 0};
    const auto all = static_cast<std::size_t>(std::count(slots.begin(), slots.end(), ',')) + 1;
    std::size_t optional = 0;
    bool bracket = false;
    for (char c : slots) {
        if (c == '[' || c == ']') bracket = c == '[';
        if (c == ',' && bracket) ++optional;
    }
    return {all - optional, all};
}

// A text as a message shows it, cut short.
std::string brief(std::u16string_view text) {
    constexpr std::size_t kLongest = 24;
    if (text.size() <= kLongest) return toUtf8(text);
    const bool pair = text[kLongest - 1] >= 0xD800 && text[kLongest - 1] <= 0xDBFF;
    return toUtf8(text.substr(0, pair ? kLongest - 1 : kLongest)) + "...";
}

std::string unreadable(std::u16string_view text) {
    return "cannot read " + brief(text) + " as a number";
}

std::string arguments(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " argument" : " arguments");
}

// A name as the message shows it: in quotes when spaces around it are part of it.
std::string shown(std::u16string_view name) {
    const bool spaced = name.starts_with(u' ') || name.ends_with(u' ');
    std::string text = brief(name);
    if (spaced) text = std::string(1, '"').append(text).append(1, '"');
    return text;
}

// Where quotes and parentheses leave a text, read as the scan reads them at every depth.
struct Balance {
    std::optional<std::size_t> unclosedQuote;
    std::optional<std::size_t> surplusClose;  // the first ")" that closes nothing
    std::vector<std::size_t> unclosedOpen;
    std::optional<std::size_t> tooDeep;  // the first "(" past the deepest nesting
};

Balance balanceOf(std::u16string_view t) {
    Balance b;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == u'"') {
            const std::size_t close = t.find(u'"', i + 1);
            if (close == std::u16string_view::npos) {
                b.unclosedQuote = i;
                break;
            }
            i = close;
        } else if (t[i] == u'(') {
            b.unclosedOpen.push_back(i);
            if (b.unclosedOpen.size() > kMaxDepth && !b.tooDeep) b.tooDeep = i;
        } else if (t[i] == u')') {
            if (!b.unclosedOpen.empty()) {
                b.unclosedOpen.pop_back();
            } else if (!b.surplusClose) {
                b.surplusClose = i;
            }
        }
    }
    return b;
}

// Where the characters of a node's text came from in the whole text; unknown ones are placed
// where the node is.
struct Places {
    const std::uint32_t* origins;
    std::size_t size;
    std::size_t here;
    std::size_t operator()(std::size_t i) const {
        return origins && i < size ? std::size_t{origins[i]} : here;
    }
};

class Checker {
  public:
    explicit Checker(bool strict) : strict_(strict) {}

    void eval(const EvalNode& node, std::size_t fallback, bool top);

    std::vector<Finding> findings;

  private:
    void scanned(const EvalNode& node, std::u16string_view t, const std::uint32_t* origins,
                 bool leadingZero, std::size_t here, bool top);
    void operators(std::u16string_view t, const std::vector<bool>& read, Places at,
                   bool leadingZero, bool top);
    void scanFailure(std::string_view failure, std::u16string_view t,
                     const std::pmr::vector<std::uint32_t>& from, std::size_t first, Places at,
                     bool top);
    void name(const NameNode& node, std::size_t fallback, bool top);

    // Lenient keeps only what fails the whole text.
    void add(std::string id, std::string message, std::size_t at, bool certain, bool top) {
        if (strict_ || (certain && top))
            findings.push_back({std::move(id), std::move(message), at, certain});
    }

    bool strict_;
};

void Checker::eval(const EvalNode& node, std::size_t fallback, bool top) {
    const std::size_t here = node.origins && !node.text.empty() ? node.origins[0] : fallback;
    switch (node.shape) {
        case Shape::Interpret:  // not compiled: past the depth or the budget
        case Shape::Direct:     // plain arithmetic is well formed
        case Shape::RewrittenDirect:
            return;
        case Shape::Failure:
            add("unreadable-number", unreadable(node.text), here, true, top);
            return;
        case Shape::Number:
            if (!node.number.failure) return;
            if (node.text.find_first_not_of(u' ') == std::u16string_view::npos) {
                add("empty-text", "nothing to evaluate", here, true, top);
            } else {
                add("unreadable-number", unreadable(node.text), here, true, top);
            }
            return;
        default:
            break;
    }
    const Rewriting rewritten(node.text);
    const std::u16string_view t = rewritten.text;
    const bool inside =
        t.data() >= node.text.data() && t.data() <= node.text.data() + node.text.size();
    const std::uint32_t* origins =
        node.origins && inside ? node.origins + (t.data() - node.text.data()) : nullptr;
    scanned(node, t, origins, rewritten.leadingZero, here, top);
}

void Checker::scanned(const EvalNode& node, std::u16string_view t, const std::uint32_t* origins,
                      bool leadingZero, std::size_t here, bool top) {
    // The scan again, with where each character of its operand texts came from in t.
    std::pmr::vector<std::uint32_t> from;
    Scan scan(t.size());
    scan.origins = &from;
    const std::size_t first = leadingZero ? 1 : 0;  // the "0" it supplies comes from nowhere
    const Places at{origins, t.size(), here};
    try {
        scan.run(t, leadingZero);
    } catch (const std::exception& e) {
        scanFailure(e.what(), t, from, first, at, top);
        return;
    }
    if (top && strict_) {
        // Only the whole text shows every parenthesis; operands and arguments are parts of it.
        const Balance balance = balanceOf(t);
        for (std::size_t open : balance.unclosedOpen)
            add("unbalanced-parenthesis", "missing closing parenthesis", at(open), false, top);
        if (balance.surplusClose)
            add("unbalanced-parenthesis", "unmatched closing parenthesis",
                at(*balance.surplusClose), false, top);
    }
    std::vector<bool> read(t.size(), false);
    for (std::size_t j = first; j < from.size(); ++j) read[from[j]] = true;
    operators(t, read, at, leadingZero, top);

    auto operandAt = [&](int k) {
        const std::size_t start = scan.starts[static_cast<std::size_t>(k)];
        return start < from.size() ? at(from[start]) : here;
    };
    switch (node.shape) {
        case Shape::ScannedNumber:
            if (node.number.failure)
                add("unreadable-number", unreadable(scan.OperandText(0)), operandAt(0), true, top);
            return;
        case Shape::Negate:
        case Shape::Not:
            if (strict_) eval(*node.operand, here, false);
            return;
        case Shape::Name:
            name(*node.name, here, top);
            return;
        case Shape::Several:
            break;
        default:
            return;
    }
    for (std::size_t k = 0; k < node.operands.size(); ++k) {
        const compiled::Operand& operand = node.operands[k];
        const std::u16string_view text = scan.OperandText(static_cast<int>(k));
        if (operand.kind == compiled::Operand::Kind::Digits) {
            // An empty operand is an operator's missing operand, found above.
            if (operand.number.failure && !text.empty())
                add("unreadable-number", unreadable(text), operandAt(static_cast<int>(k)), true,
                    top);
        } else if (operand.kind == compiled::Operand::Kind::Nested && strict_) {
            eval(*operand.nested, operandAt(static_cast<int>(k)), false);
        }
    }
}

// The operators of a scanned text in order, the characters it skips, and every operator that
// stands where an operand was expected: read marks the characters appended to operand texts.
void Checker::operators(std::u16string_view t, const std::vector<bool>& read, Places at,
                        bool leadingZero, bool top) {
    // As the scan's AtOperandStart, which a sign leaves set; and whether the operand being
    // built has no character at all, so that Eval fails reading it.
    bool atStart = !leadingZero;
    bool operandEmpty = !leadingZero;
    std::optional<std::size_t> last;  // where the last operator stands
    std::string lastText;
    // Whether the operand after the last operator was found missing, and the finding kept.
    bool missingSeen = false;
    std::optional<std::size_t> missingIndex;
    auto missingAfter = [&](bool certain) {
        missingSeen = true;
        const std::size_t before = findings.size();
        add("missing-operand", "missing operand after " + lastText, at(*last), certain, top);
        missingIndex = findings.size() > before ? std::optional(before) : std::nullopt;
    };
    // The operand left empty: Eval cannot read it.
    auto certify = [&] {
        if (missingIndex) {
            findings[*missingIndex].certain = true;
        } else {
            missingAfter(true);
        }
    };
    auto recordOperator = [&](std::size_t i, std::u16string_view written, bool word) {
        // A word operator always starts a new operand, so the one before it stays as it is;
        // another operator starts none where an operand was expected.
        const bool certain = word && operandEmpty;
        const bool newOperand = word || !atStart;
        if (atStart && !missingSeen) {
            add("missing-operand", "missing operand before " + toUtf8(written), at(i), certain,
                top);
        } else if (certain) {
            certify();
        }
        last = i;
        lastText = toUtf8(written);
        missingSeen = false;
        missingIndex.reset();
        atStart = true;
        if (newOperand) operandEmpty = true;
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        const CharClass k = classOf(t[i]);
        if (read[i]) {
            operandEmpty = false;
            if (k != CharClass::Minus) atStart = false;  // a sign leaves the operand to come
            continue;
        }
        std::size_t end = i + 1;
        switch (k) {
            case CharClass::Close:
                // A group closed right after an operator leaves it without its right operand.
                if (operandEmpty && last && !missingSeen) missingAfter(false);
                break;
            case CharClass::Other:
                while (end < t.size() && !read[end] && classOf(t[end]) == CharClass::Other) ++end;
                add("stray-character",
                    (end - i == 1 ? "stray character \"" : "stray characters \"") +
                        toUtf8(t.substr(i, end - i)) + "\"",
                    at(i), false, top);
                break;
            case CharClass::Letter:
                while (end < t.size() && !read[end] && classOf(t[end]) == CharClass::Letter) ++end;
                recordOperator(i, toUpper(t.substr(i, end - i)), true);
                break;
            case CharClass::Compare: {
                bool pair = false;
                comparisonBase(t[i], i + 1 < t.size() ? t[i + 1] : u'\0', pair);
                if (pair) ++end;
                recordOperator(i, t.substr(i, end - i), false);
                break;
            }
            case CharClass::Add:
            case CharClass::Minus:
            case CharClass::Multiply:
            case CharClass::Divide:
            case CharClass::IntegerDivide:
            case CharClass::Power:
                recordOperator(i, t.substr(i, 1), false);
                break;
            default:  // spaces and grouping "("
                break;
        }
        i = end - 1;
    }
    // The last operand is empty. (A sign alone is an operand, which its own Eval finds wanting.)
    if (operandEmpty && last) certify();
}

void Checker::scanFailure(std::string_view failure, std::u16string_view t,
                          const std::pmr::vector<std::uint32_t>& from, std::size_t first, Places at,
                          bool top) {
    const Balance balance = balanceOf(t);
    // The scan stops on the character after the last it appended.
    const std::size_t after = from.size() > first ? std::size_t{from.back()} + 1 : 0;
    const std::size_t reached = after > 0 ? after - 1 : 0;
    if (failure == "missing closing quote" && balance.unclosedQuote) {
        add("unbalanced-quote", "missing closing quote", at(*balance.unclosedQuote), true, top);
    } else if (failure == "missing closing parenthesis") {
        const std::size_t open = std::min(t.find(u'(', after), t.size());
        add("unbalanced-parenthesis", "missing closing parenthesis", at(open), true, top);
    } else if (failure == "unbalanced parenthesis" && balance.surplusClose) {
        add("unbalanced-parenthesis", "unmatched closing parenthesis", at(*balance.surplusClose),
            true, top);
    } else if (failure == "operator letters split by operators") {
        add("split-operator", "operator letters split by an operator", at(reached), true, top);
    } else {
        const bool deep = failure == "parentheses nested too deep" && balance.tooDeep;
        add("limit", std::string(failure),
            at(deep ? *balance.tooDeep : std::min(after, t.size() - 1)), true, top);
    }
}

// Ffc's reading of a name operand: the name known or not, its arguments counted and checked.
void Checker::name(const NameNode& node, std::size_t fallback, bool top) {
    const std::size_t lead = std::min(node.text.find_first_not_of(u' '), node.text.size());
    const std::size_t here =
        node.origins && lead < node.text.size() ? node.origins[lead] : fallback;
    if (!node.call) {
        if (!node.builtin && !node.symbol)
            add("unknown-name", "unknown name " + shown(node.text), here, false, top);
        return;
    }
    const std::string name = shown(node.text);
    if (node.failure) {
        add("argument-count", name + " has more than eight arguments", here, true, top);
        return;
    }
    const std::size_t count = node.noArguments ? 0 : std::size_t{node.commaCount} + 1;
    std::optional<std::pair<std::size_t, std::size_t>> range;
    if (node.builtin) {
        range = argumentRange(node.builtin->slots);
    } else if (node.symbol) {
        range = {node.symbol->fewest, node.symbol->most};
    } else {
        add("unknown-name", "unknown function " + name, here, false, top);
    }
    if (range && (count < range->first || count > range->second)) {
        const std::string takes =
            range->first == range->second
                ? arguments(range->first)
                : std::to_string(range->first) + " to " + arguments(range->second);
        add("argument-count", name + " takes " + takes + ", not " + std::to_string(count), here,
            false, top);
    }
    if (!strict_) return;
    for (std::size_t i = 0; i < count; ++i) {
        const EvalNode& argument = *node.arguments[i];
        const std::size_t where = argument.origins ? argument.origins[0] : here;
        if (node.slots[i].find_first_not_of(u' ') == std::u16string_view::npos) {
            add("missing-argument",
                "argument " + std::to_string(i + 1) + " of " + name + " is empty", where, false,
                false);
        } else {
            eval(argument, where, false);
        }
    }
}

// Column counting from 1 in code points: a surrogate pair is one character.
std::size_t columnOf(std::u16string_view text, std::size_t offset) {
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (!(text[i] >= 0xDC00 && text[i] <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 &&
              text[i - 1] <= 0xDBFF))
            ++column;
    return column;
}

std::vector<Diagnostic> diagnose(const compiled::Program& program, Strictness strictness) {
    Checker checker(strictness == Strictness::Strict);
    checker.eval(*program.root, 0, true);
    auto& found = checker.findings;
    std::stable_sort(found.begin(), found.end(),
                     [](const Finding& a, const Finding& b) { return a.at < b.at; });
    // A problem that two readings of one place find is reported once.
    std::set<std::pair<std::size_t, std::string>> seen;
    std::vector<Diagnostic> out;
    for (Finding& f : found) {
        if (!seen.emplace(f.at, f.id).second) continue;
        const std::size_t offset = std::min(f.at, program.source.size());
        out.push_back(
            {std::move(f.id), std::move(f.message), offset, columnOf(program.source, offset)});
    }
    return out;
}

}  // namespace

std::vector<Diagnostic> check(std::u16string_view text, const Symbols* symbols,
                              Strictness strictness) {
    compiled::Program program;
    compiled::compileInto(program, text, symbols);
    return diagnose(program, strictness);
}

std::vector<Diagnostic> check(std::string_view text, const Symbols* symbols,
                              Strictness strictness) {
    const std::u16string utf16 = fromUtf8(text);
    std::vector<Diagnostic> found = check(std::u16string_view(utf16), symbols, strictness);
    // Where each UTF-16 unit began in the bytes: fromUtf8 reads each byte it cannot decode as
    // one U+FFFD.
    std::vector<std::size_t> byteAt(utf16.size() + 1);
    std::size_t bytes = 0;
    for (std::size_t i = 0; i < utf16.size();) {
        const std::size_t units = utf16[i] >= 0xD800 && utf16[i] <= 0xDBFF ? 2 : 1;
        const bool decoded =
            utf16[i] != 0xFFFD || text.substr(std::min(bytes, text.size()), 3) == "\xEF\xBF\xBD";
        for (std::size_t u = 0; u < units && i + u < utf16.size(); ++u) byteAt[i + u] = bytes;
        bytes += decoded ? toUtf8(std::u16string_view(utf16).substr(i, units)).size() : 1;
        i += units;
    }
    byteAt[utf16.size()] = bytes;
    for (Diagnostic& d : found) d.offset = byteAt[d.offset];
    return found;
}

std::vector<Diagnostic> check(const Expression& expression, Strictness strictness) {
    // Compiled for evaluation, an expression keeps no positions: read its text again with them.
    return check(expression.text(), compiledProgram(expression).symbols, strictness);
}

}  // namespace pelmora
