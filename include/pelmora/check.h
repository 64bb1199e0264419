/// @file
/// @brief check(), the problems of an expression text, each with where it stands.
#pragma once

#include <pelmora/export.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

class Expression;
class Symbols;

/// One problem found in an expression text.
struct Diagnostic {
    /// What kind of problem, a stable identifier such as "unknown-name":
    /// - "unknown-name": a name neither built in nor declared in the Symbols;
    /// - "unbalanced-parenthesis": a "(" never closed, or a ")" that closes nothing;
    /// - "unbalanced-quote": a quote with no closing quote after it;
    /// - "missing-operand": an operator with no operand on one side;
    /// - "missing-argument": an empty argument of a call, as in "MID$(A$,,2)";
    /// - "argument-count": a call with more or fewer arguments than the function takes;
    /// - "stray-character": characters the language reads as nothing, such as a comma outside
    ///   an argument list, a tab or a full-width digit;
    /// - "unreadable-number": a number that cannot be read, as "1.2.3";
    /// - "empty-text": nothing to evaluate;
    /// - "split-operator": the letters of AND, OR, XOR or MOD split by an operator;
    /// - "limit": more operands, operators or nested parentheses than one text may hold.
    std::string id;
    /// A short English sentence naming the thing: "unknown name XX", "SIN takes 1 argument,
    /// not 2".
    std::string message;
    /// Where the problem stands: for the UTF-16 check, in UTF-16 units of the text given; for the
    /// UTF-8 check, in bytes of the UTF-8 text given.
    std::size_t offset = 0;
    /// The same place in characters (code points) from the start of the text, counted from 1.
    std::size_t column = 1;
};

/// How much a check reports.
enum class Strictness {
    /// Only what makes Evaluator::Eval of the text fail for certain (Empty, code 2; or the end
    /// of the program, when an operand before the problem calls an undeclared name): an unclosed
    /// quote, an argument list with no ")" after it, a ")" followed by
    /// more than closes, an operand left empty ("1+", "1 AND"), a number that cannot be read,
    /// the empty text, a call with more than eight arguments, the limits of one text. Every
    /// text that Eval evaluates without failing has no such problem.
    Lenient,
    /// Everything Lenient reports, and everything Eval reads without failing but most likely
    /// not as meant: unknown names, unbalanced parentheses, missing operands, empty arguments,
    /// argument counts, stray characters, in the text and in every argument and operand that
    /// Eval would evaluate on its own.
    Strict,
};

/// Checks an expression text the way Evaluator::Eval and Expression read it, and gives its
/// problems ordered by where they stand (none for a sound text).
///
/// Declared names are the built-ins and the Symbols given (or none). The Host's names cannot
/// be known without asking the Host, so a program that gives its names through the Host has
/// them reported as unknown in strict mode; declare them in Symbols to have them accepted. The
/// failures of operations (division by zero, a text in arithmetic) depend on the values and are
/// not reported; neither are the texts EVAL computes while evaluating.
PELMORA_API std::vector<Diagnostic> check(std::u16string_view text,
                                          const Symbols* symbols = nullptr,
                                          Strictness strictness = Strictness::Lenient);
/// Checks a UTF-8 text: the same, with offsets in bytes of that text. A byte that is not part
/// of UTF-8 reads as one character, U+FFFD, as everywhere in the library.
PELMORA_API std::vector<Diagnostic> check(std::string_view text, const Symbols* symbols = nullptr,
                                          Strictness strictness = Strictness::Lenient);
/// Checks a compiled expression against the Symbols it was compiled with, from the reading it
/// evaluates; offsets are in UTF-16 units of Expression::text().
PELMORA_API std::vector<Diagnostic> check(const Expression& expression,
                                          Strictness strictness = Strictness::Lenient);

}  // namespace pelmora
