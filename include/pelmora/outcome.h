/// @file
/// @brief Outcome, what one evaluation came to: its value, its code, a message and a position.
#pragma once

#include <pelmora/value.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pelmora {

/// What one call of Evaluator::evaluate came to. It is plain data, owned by the caller.
///
/// The codes, as EvalErrorCode has them:
///
///     code  meaning                                              value
///     0     nothing went wrong                                   the result
///     2     a failure was trapped (division by zero, a text      Empty when the evaluation as
///           that is no number, an undeclared name, a failure     a whole failed; otherwise the
///           thrown by a program's function, a limit, ...)        result, see below
///     3     an operator stood where an operand was expected      the result ("+5" gives 5)
///           ("+5", "1++2"); evaluation went on
///     5     INPUT$ was given a second argument                   the result
///     10    a value could not be turned into text                the result, with "" there
///
/// A part of an expression is evaluated on its own, and a failure there gives that part Empty
/// (0 in arithmetic, "" in a concatenation) while the rest goes on, as the language has it.
/// So "2*1.2.3" gives the Double 0 with code 2: the operand "1.2.3" failed, the product did
/// not. "2/0" fails as a whole and gives Empty with code 2. A caller that wants only clean
/// results checks ok(); one that wants a number checks the code first, then reads
/// Value::toDouble().
struct Outcome {
    /// The result; Empty when the evaluation as a whole failed.
    Value value;
    /// The code of the latest failure in this evaluation (2, 3, 5 or 10), 0 when there was
    /// none. evaluate() starts every evaluation from 0.
    std::int32_t code = 0;
    /// What the code means here, in English (UTF-8): for code 2 the own message of the latest
    /// trapped failure, the one that set the code ("division by zero", "undeclared name PRICE",
    /// or the text of an exception thrown by the program's Host::callFunction); empty when the
    /// code is 0.
    std::string message;
    /// Where the part that failed begins in the text given to evaluate(), in its code units
    /// (UTF-16 units, or bytes for the UTF-8 overload), when that part is the text itself or a
    /// piece of it as written: 0 when the whole text failed. Nothing when the position is not
    /// known: for codes 3, 5 and 10, and for a failure inside an operand or a call's argument,
    /// which the evaluation reads from copies of the text (check() places the problems of a
    /// text before it is evaluated).
    std::optional<std::size_t> offset;

    /// Whether no code was recorded: the value is what the text says.
    bool ok() const { return code == 0; }
};

}  // namespace pelmora
