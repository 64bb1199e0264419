// Compiling a text: Eval's reading of it, done once and kept as a tree of nodes.
#include <pelmora/failure.h>
#include "evaluator/builtins.h"
#include "evaluator/compiled.h"
#include "evaluator/engine.h"
#include "evaluator/symbol_table.h"

#include <algorithm>
#include <array>
#include <exception>
#include <new>

namespace pelmora::compiled {

namespace {

using namespace reading;

// What compiling may copy in all: past it, texts are left to Eval at run time, which bounds
// nested texts by its work budget.
constexpr std::size_t kCompileBudget = std::size_t{16} << 20;

class Compiler {
  public:
    Compiler(Program& program) : p_(program) {}

    const EvalNode* eval(std::u16string_view text, const std::uint32_t* origins, int depth);

  private:
    const NameNode* name(std::u16string_view text, const std::uint32_t* origins, int depth);
    void scanned(EvalNode& node, std::u16string_view t, const std::uint32_t* origins,
                 bool leadingZero, int depth);
    const EvalNode* interpret(std::u16string_view text, const std::uint32_t* origins);
    const EvalNode* emptyText();

    // Keeps a text (and where its characters came from) for the program's life.
    std::u16string_view keep(std::u16string_view text) { return p_.texts.emplace_back(text); }
    const char* keepMessage(const char* what) { return p_.messages.emplace_back(what).c_str(); }
    const std::uint32_t* keepOrigins(std::pmr::vector<std::uint32_t>&& origins) {
        return p_.origins.emplace_back(std::move(origins)).data();
    }

    Program& p_;
    std::size_t spent_ = 0;
    const EvalNode* empty_ = nullptr;
};

Reading readNumber(std::u16string_view text, Program& program) {
    // Every call leaves its missing arguments empty: read the empty text once for all.
    static const std::string emptyFailure = [] {
        try {
            parseNumberText(u"");
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string();
    }();
    if (text.empty() && !emptyFailure.empty()) return {0, emptyFailure.c_str()};
    try {
        return {parseNumberText(text), nullptr};
    } catch (const std::exception& e) {
        return {0, program.messages.emplace_back(e.what()).c_str()};
    }
}

const EvalNode* Compiler::interpret(std::u16string_view text, const std::uint32_t* origins) {
    EvalNode& node = p_.evalNodes.emplace_back();
    node.shape = EvalNode::Shape::Interpret;
    node.text = keep(text);
    node.origins = origins;
    return &node;
}

const EvalNode* Compiler::emptyText() {
    if (!empty_) empty_ = eval(u"", nullptr, 1);
    return empty_;
}

const EvalNode* Compiler::eval(std::u16string_view text, const std::uint32_t* origins, int depth) {
    spent_ += text.size() * Engine::kScanCost + 1;
    if (depth > Evaluator::kMaxEvalDepth || spent_ > kCompileBudget)
        return interpret(text, origins);
    EvalNode& node = p_.evalNodes.emplace_back();
    node.text = text;
    node.origins = origins;
    node.scanUnits = text.size() * Engine::kScanCost;

    const bool enclosed = isEnclosed(text);
    node.direct = readDirect(text, !enclosed, text.starts_with(u'-'));
    node.directDepth = enclosed ? 1 : 2;
    if (node.direct.value) {
        // Near the limits Eval goes on from the rewriting, at run time.
        node.shape = EvalNode::Shape::Direct;
        node.enclosed = enclosed;
        return &node;
    }
    try {
        Rewriting rewritten(text);
        std::u16string_view t = rewritten.text;
        const std::uint32_t* tOrigins = origins;
        if (!rewritten.hexText.empty() && t.data() == rewritten.hexText.data()) {
            t = keep(t);  // a written-out "&H" number: its characters come from the whole text
            tOrigins = nullptr;
        } else if (origins) {
            tOrigins = origins + (t.data() - text.data());
        }
        if (rewritten.number) {
            node.shape = EvalNode::Shape::Number;
            node.number = readNumber(t, p_);
            return &node;
        }
        if (enclosed && t.find(u'-') != std::u16string_view::npos) {
            node.rewrittenDirect = readDirect(t, true, rewritten.leadingZero);
            if (node.rewrittenDirect.value) {
                node.shape = EvalNode::Shape::RewrittenDirect;
                node.rewritten = t;
                node.leadingZero = rewritten.leadingZero;
                return &node;
            }
        }
        scanned(node, t, tOrigins, rewritten.leadingZero, depth);
    } catch (const std::exception& e) {
        node.shape = EvalNode::Shape::Failure;
        node.failure = keepMessage(e.what());
    }
    return &node;
}

void Compiler::scanned(EvalNode& node, std::u16string_view t, const std::uint32_t* origins,
                       bool leadingZero, int depth) {
    std::pmr::vector<std::uint32_t> scannedFrom(&p_.arena);
    Scan scan(t.size());
    if (origins) scan.origins = &scannedFrom;  // only the check asks where things are
    try {
        scan.run(t, leadingZero);
    } catch (const std::exception& e) {
        node.shape = EvalNode::Shape::ScanFailure;
        node.failure = keepMessage(e.what());
        node.failureAt = scannedFrom.empty() ? 0 : scannedFrom.back();
        return;
    }
    node.countMismatch = scan.OperandIndex != scan.OperatorCount;
    // The operand texts, kept once, and where each character came from in the text.
    const std::u16string_view chars = keep(std::u16string_view(&scan.chars[0], scan.size));
    if (origins)
        for (auto& from : scannedFrom) from = origins[from];
    const std::uint32_t* charsFrom = origins ? keepOrigins(std::move(scannedFrom)) : nullptr;
    auto operand = [&](int k) {
        std::u16string_view o = scan.OperandText(k);
        return chars.substr(static_cast<std::size_t>(o.data() - &scan.chars[0]), o.size());
    };
    auto from = [&](std::u16string_view o) {
        return charsFrom ? charsFrom + (o.data() - chars.data()) : nullptr;
    };

    if (scan.OperandIndex == 0) {
        std::u16string_view o = operand(0);
        if (onlyNumberCharacters(o)) {
            if (t.empty()) {
                node.shape = EvalNode::Shape::EmptyText;
            } else {
                node.shape = EvalNode::Shape::ScannedNumber;
                node.number = readNumber(o, p_);
            }
        } else if (isQuoted(o)) {
            node.shape = EvalNode::Shape::Text;
            node.quoted = Value::string(quotedText(o));
        } else if (o.starts_with(u'-')) {
            node.shape = EvalNode::Shape::Negate;
            node.operand = eval(o.substr(1), from(o.substr(1)), depth + 1);
        } else if (startsWithNot(t)) {
            node.shape = EvalNode::Shape::Not;
            std::u16string_view rest = keep(t.substr(3));
            node.operand = eval(rest, origins ? origins + 3 : nullptr, depth + 1);
        } else {
            node.shape = EvalNode::Shape::Name;
            std::u16string_view upper = keep(toUpper(t));
            node.name = name(upper, upper.size() == t.size() ? origins : nullptr, depth);
        }
        return;
    }

    node.shape = EvalNode::Shape::Several;
    const auto operators = static_cast<std::size_t>(scan.OperatorCount);
    std::array<std::uint8_t, kMaxOperators> order;
    sortApplyOrder(order, scan.OperatorCode, operators);
    std::array<bool, kMaxOperators + 1> used{};
    applyInOrder(order, used, operators, [&](std::size_t left, std::size_t right, std::size_t k) {
        node.steps.push_back({static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(right),
                              scan.OperatorCode[k] % 256});
    });
    node.slots = operators + 1;
    for (int k = 0; k <= scan.OperandIndex; ++k) {
        std::u16string_view o = operand(k);
        Operand& entry = node.operands.emplace_back();
        if (onlyDigits(o)) {
            entry.kind = Operand::Kind::Digits;
            try {
                entry.number = {digitsValue(o), nullptr};
            } catch (const std::exception& e) {
                entry.number = {0, keepMessage(e.what())};
            }
        } else if (isShortOperand(o)) {
            entry.kind = Operand::Kind::Short;
            entry.length = static_cast<std::uint32_t>(o.size());
            entry.number =
                o[0] == u'-' ? Reading{0.0 - digitsValue(o.substr(1)), nullptr} : readNumber(o, p_);
            entry.nested = interpret(o, from(o));
        } else {
            entry.kind = Operand::Kind::Nested;
            entry.nested = eval(o, from(o), depth + 1);
        }
    }
}

// Ffc's reading of a name operand.
const NameNode* Compiler::name(std::u16string_view text, const std::uint32_t* origins, int depth) {
    NameNode& node = p_.nameNodes.emplace_back();
    node.text = text;
    node.origins = origins;
    if (!isCallText(text)) {
        for (const auto& entry : bareNameTable())
            if (entry.matches(text)) {
                node.builtin = &entry;
                return &node;
            }
        node.symbol = SymbolsAccess::findVariable(p_.symbols, text);
        return &node;
    }
    node.call = true;
    const std::size_t open = text.find(u'(');
    node.text = keep(toUpper(text.substr(0, open)));
    const std::u16string_view arguments = text.substr(open + 1, text.size() - open - 2);
    node.noArguments = arguments.empty();
    try {
        node.commaCount = splitArgumentText(arguments, node.slots);
    } catch (const std::exception& e) {
        node.failure = keepMessage(e.what());
        return &node;
    }
    for (const auto& entry : builtinTable())
        if (entry.matches(node.text)) {
            node.builtin = &entry;
            break;
        }
    if (!node.builtin) node.symbol = SymbolsAccess::findFunction(p_.symbols, node.text);
    for (std::size_t i = 0; i < node.slots.size(); ++i) {
        if (i > node.commaCount) {
            node.arguments[i] = emptyText();
            continue;
        }
        const std::u16string_view slot = node.slots[i];
        node.arguments[i] =
            eval(slot, origins ? origins + (slot.data() - text.data()) : nullptr, depth + 1);
    }
    return &node;
}

// Builds the numeric program of a tree, when the whole tree is numeric.
class NumericCompiler {
  public:
    explicit NumericCompiler(NumericProgram& program) : p_(program) {}

    // Code that leaves the value of node in register target; false when the node is not
    // numeric. depth is the node's Eval depth, 1 for the outermost.
    bool node(const EvalNode& node, std::size_t target, int depth) {
        using Shape = EvalNode::Shape;
        if (target >= NumericProgram::kMaxRegisters) return false;
        reach(depth);
        p_.work += node.scanUnits;
        switch (node.shape) {
            case Shape::Direct:
                if (node.direct.failure) return false;
                p_.work += node.direct.nestedReads * Engine::kScanCost;
                reach(depth + node.directDepth);
                return constant(*node.direct.value, target);
            case Shape::RewrittenDirect:
                if (node.rewrittenDirect.failure) return false;
                p_.work += node.rewrittenDirect.nestedReads * Engine::kScanCost;
                reach(depth + 2);
                return constant(*node.rewrittenDirect.value, target);
            case Shape::Number:
                return !node.number.failure && constant(node.number.value, target);
            default:
                break;
        }
        if (node.countMismatch) return false;
        switch (node.shape) {
            case Shape::ScannedNumber:
                return !node.number.failure && constant(node.number.value, target);
            case Shape::Negate:
                if (!this->node(*node.operand, target, depth + 1)) return false;
                p_.steps.emplace_back(NumericStep::Op::Negate, reg(target));
                return true;
            case Shape::Name:
                return name(*node.name, target, depth);
            case Shape::Several:
                return several(node, target, depth);
            default:
                return false;
        }
    }

  private:
    void reach(int depth) { p_.depth = std::max(p_.depth, depth); }
    static std::uint8_t reg(std::size_t r) { return static_cast<std::uint8_t>(r); }

    bool constant(double value, std::size_t target) {
        NumericStep step(NumericStep::Op::Constant, reg(target));
        step.constant = value;
        p_.steps.push_back(step);
        return true;
    }

    bool several(const EvalNode& node, std::size_t target, int depth) {
        if (target + node.slots > NumericProgram::kMaxRegisters) return false;
        // An operand that is one number or one load waits until a step uses it: as the right
        // operand it is read by the step itself. Nothing in a numeric text has side effects,
        // so the order of the reads does not matter.
        std::array<std::optional<NumericStep>, kMaxOperands> waiting;
        for (std::size_t k = 0; k < node.operands.size(); ++k) {
            const Operand& operand = node.operands[k];
            const std::size_t before = p_.steps.size();
            if (operand.kind == Operand::Kind::Nested) {
                if (!this->node(*operand.nested, target + k, depth + 1)) return false;
            } else {
                if (operand.number.failure) return false;
                if (operand.kind == Operand::Kind::Short) {
                    p_.work += operand.length * Engine::kScanCost;
                    reach(depth + 1);
                }
                constant(operand.number.value, target + k);
            }
            const NumericStep& last = p_.steps.back();
            if (p_.steps.size() == before + 1 &&
                (last.op == NumericStep::Op::Constant || last.op == NumericStep::Op::Load)) {
                waiting[k] = last;
                p_.steps.pop_back();
            }
        }
        for (const Step& step : node.steps) {
            NumericStep::Op op;
            switch (step.base) {
                case kAdd:
                    op = NumericStep::Op::Add;
                    break;
                case kSubtract:
                    op = NumericStep::Op::Subtract;
                    break;
                case kMultiply:
                    op = NumericStep::Op::Multiply;
                    break;
                case kDivide:
                    op = NumericStep::Op::Divide;
                    break;
                case kPower:
                    op = NumericStep::Op::Power;
                    break;
                default:
                    return false;
            }
            if (waiting[step.left]) {
                p_.steps.push_back(*waiting[step.left]);
                waiting[step.left].reset();
            }
            NumericStep combine(op, reg(target + step.left), reg(target + step.right));
            if (const auto& right = waiting[step.right]) {
                combine.operand = right->op == NumericStep::Op::Load ? NumericStep::From::Storage
                                                                     : NumericStep::From::Constant;
                combine.constant = right->constant;
                combine.storage = right->storage;
            }
            p_.steps.push_back(combine);
        }
        return true;
    }

    bool name(const NameNode& name, std::size_t target, int depth) {
        if (!name.call) {
            if (name.builtin || !name.symbol) return false;
            if (name.symbol->kind == Symbol::Kind::Double) {
                NumericStep load(NumericStep::Op::Load, reg(target));
                load.storage = name.symbol->number;
                p_.steps.push_back(load);
                return true;
            }
            const Value& c = name.symbol->constant;
            return name.symbol->kind == Symbol::Kind::Constant && c.is(Kind::Double) &&
                   constant(c.asDouble(), target);
        }
        // A numeric built-in whose result is a Double for Double arguments.
        const BuiltinEntry* b = name.builtin;
        if (name.failure || !b || b->family != Family::Numeric ||
            (b->result != "Double" && b->result != "kind of x"))
            return false;
        const std::size_t count = std::size_t{name.commaCount} + 1;
        if (target + count > NumericProgram::kMaxRegisters) return false;
        for (std::size_t i = 0; i < count; ++i)
            if (!node(*name.arguments[i], target + i, depth + 1)) return false;
        NumericStep call(NumericStep::Op::Builtin, reg(target), reg(target),
                         static_cast<std::uint8_t>(count));
        call.builtin = b;
        call.name = name.text;
        p_.steps.push_back(call);
        return true;
    }

    NumericProgram& p_;
};

}  // namespace

void compileInto(Program& out, std::u16string_view text, const Symbols* symbols, bool positions) {
    Program* program = &out;
    program->source = text;
    program->symbols = symbols;
    Compiler compiler(*program);
    const std::uint32_t* origins = nullptr;
    if (positions) {
        auto& identity = program->origins.emplace_back(text.size());
        for (std::size_t i = 0; i < identity.size(); ++i)
            identity[i] = static_cast<std::uint32_t>(i);
        origins = identity.data();
    }
    program->root = compiler.eval(program->source, origins, 1);
    NumericProgram numeric(&program->arena);
    if (NumericCompiler(numeric).node(*program->root, 0, 1) &&
        numeric.depth <= Evaluator::kMaxEvalDepth && numeric.work <= Evaluator::kWorkBudget)
        program->numeric = std::move(numeric);
}

}  // namespace pelmora::compiled
