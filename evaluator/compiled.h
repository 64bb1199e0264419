// A compiled expression: what Eval works out from a text alone, worked out once. Each EvalNode
// stands for one Eval of one text and each NameNode for one Ffc; running them repeats what
// depends on the moment (the limits, the host, the program's storage) in Eval's order, so a
// compiled text gives exactly what Eval of it gives.
#pragma once

#include <pelmora/value.h>
#include "evaluator/scan.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

struct BuiltinEntry;
struct Symbol;
class Symbols;

namespace compiled {

struct EvalNode;
struct NameNode;

// A number read from the text, or the failure reading it met.
struct Reading {
    double value = 0;
    const char* failure = nullptr;  // kept in the program's texts
};

// One operand of several.
struct Operand {
    enum class Kind : std::uint8_t { Digits, Short, Nested } kind;
    Reading number;                    // Digits, Short
    std::uint32_t length = 0;          // Short: its characters, as a nested Eval scans them
    const EvalNode* nested = nullptr;  // Short (when the limits are near) and Nested
};

// One operator applied: the slot it writes, the slot it reads, its operator base.
struct Step {
    std::uint8_t left;
    std::uint8_t right;
    std::int32_t base;
};

// One Ffc of a name operand.
struct NameNode {
    std::u16string_view text;                // upper-cased; for a call, its name
    const std::uint32_t* origins = nullptr;  // where each character of the whole text came from
    bool call = false;
    const char* failure = nullptr;  // the split of the arguments failed
    const BuiltinEntry* builtin = nullptr;
    const Symbol* symbol = nullptr;
    // A call's argument slots as Ffc splits them, and their compiled texts.
    std::array<std::u16string_view, 8> slots{};
    std::array<const EvalNode*, 8> arguments{};
    std::uint8_t commaCount = 0;
    bool noArguments = false;
};

// One Eval of one text. Its tables come from the program's arena.
struct EvalNode {
    using allocator_type = std::pmr::polymorphic_allocator<>;
    explicit EvalNode(const allocator_type& arena) : operands(arena), steps(arena) {}

    enum class Shape : std::uint8_t {
        Interpret,        // left to Eval at run time
        Direct,           // plain arithmetic, computed; near the limits Eval goes on
        Failure,          // the rewriting fails
        Number,           // one number, or the failure reading it
        RewrittenDirect,  // plain arithmetic once rewritten; near the limits the scan goes on
        ScanFailure,      // the scan fails
        ScannedNumber,    // one number operand, or the failure reading it
        EmptyText,        // the empty String
        Text,             // a quoted text
        Negate,           // "-" and an operand
        Not,              // NOT and an operand
        Name,             // one name operand
        Several,          // several operands and their operators
    };
    Shape shape = Shape::Interpret;
    std::u16string_view text;                // as Eval receives it
    const std::uint32_t* origins = nullptr;  // where each character of text came from
    std::size_t scanUnits = 0;
    reading::DirectReading direct;  // Direct
    int directDepth = 2;
    bool enclosed = false;
    reading::DirectReading rewrittenDirect;  // RewrittenDirect
    std::u16string_view rewritten;
    bool leadingZero = false;
    bool countMismatch = false;          // fewer operands than operators: code 3
    const char* failure = nullptr;       // Failure, ScanFailure
    std::size_t failureAt = 0;           // ScanFailure: the place in text the scan had reached
    Reading number;                      // Number
    Value quoted;                        // Text
    const EvalNode* operand = nullptr;   // Negate, Not
    const NameNode* name = nullptr;      // Name
    std::pmr::vector<Operand> operands;  // Several
    std::pmr::vector<Step> steps;
    std::size_t slots = 0;
};

// A text made only of numbers, the program's bound doubles, "+ - * / ^", signs and numeric
// built-ins, run over doubles in one pass. It stands for the whole tree only while nothing
// fails and nothing meets a limit: then the tree's steps would have done the same, charged the
// same work and left the same codes. Anything else (a failure, a result that is no Double)
// sends the evaluation back to the tree, which nothing has touched.
struct NumericStep {
    // Add to Power combine the target with the right operand, as the operators do.
    enum class Op : std::uint8_t {
        Constant,
        Load,
        Negate,
        Builtin,
        Add,
        Subtract,
        Multiply,
        Divide,
        Power
    };
    NumericStep(Op o, std::uint8_t t, std::uint8_t s = 0, std::uint8_t n = 0)
        : op(o), target(t), source(s), count(n) {}
    Op op;
    std::uint8_t target;
    std::uint8_t source;  // Add to Power: the right operand; Builtin: the first argument
    std::uint8_t count;   // Builtin: its arguments
    // Add to Power: where the right operand comes from.
    enum class From : std::uint8_t { Register, Constant, Storage } operand = From::Register;
    double constant = 0;
    const double* storage = nullptr;
    const BuiltinEntry* builtin = nullptr;
    std::u16string_view name;  // Builtin: the name called (a range entry reads it)
};

struct NumericProgram {
    static constexpr std::size_t kMaxRegisters = 32;
    explicit NumericProgram(std::pmr::memory_resource* arena) : steps(arena) {}
    std::pmr::vector<NumericStep> steps;
    std::size_t work = 0;  // what the tree's steps charge in all
    int depth = 0;         // how deep the tree's calls go, with the directs' nested reads
};

// Everything one compiled text owns, in one arena that starts inside it: a short text
// compiles with one allocation.
struct Program {
    Program() {}  // user-provided: the buffer is not zeroed first
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

  private:
    alignas(std::max_align_t) std::byte buffer_[4096];

  public:
    std::pmr::monotonic_buffer_resource arena{buffer_, sizeof buffer_};
    std::pmr::u16string source{&arena};
    const Symbols* symbols = nullptr;
    const EvalNode* root = nullptr;
    std::optional<NumericProgram> numeric;  // when the whole text is numeric
    std::pmr::deque<EvalNode> evalNodes{&arena};
    std::pmr::deque<NameNode> nameNodes{&arena};
    std::pmr::deque<std::pmr::u16string> texts{&arena};
    std::pmr::deque<std::pmr::vector<std::uint32_t>> origins{&arena};
    std::pmr::deque<std::pmr::string> messages{&arena};
};

// Compiles a text once into an empty program; the symbols must outlive the program.
// With positions, every node knows where its characters came from in the text (for the check).
void compileInto(Program& program, std::u16string_view text, const Symbols* symbols,
                 bool positions = true);

}  // namespace compiled

class Expression;
// The compiled form of an expression.
const compiled::Program& compiledProgram(const Expression& expression);

}  // namespace pelmora
