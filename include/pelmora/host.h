/// @file
/// @brief Host, the evaluator's one door to the outside world.
#pragma once

#include <pelmora/export.h>
#include <pelmora/value.h>

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

/// A local date and time, to the second.
using LocalTime = std::chrono::local_seconds;

/// The evaluator's one door to the outside world: the clock, the environment, the command line,
/// random numbers and the end of the program. Its owner (a program, a test) supplies it and
/// keeps it for the evaluator's whole life. The evaluator calls it only from the thread that is
/// running Evaluator::Eval; a host shared by evaluators on several threads must be safe to call
/// from all of them at once.
class PELMORA_API Host {
  public:
    virtual ~Host() = default;

    /// The current local date and time, to the second.
    virtual LocalTime now() = 0;

    /// The environment variable of that name, or nothing when it is not set.
    virtual std::optional<std::u16string> environmentVariable(std::u16string_view name) = 0;
    /// Every entry of the environment as NAME=value, in the order the process received them.
    virtual std::vector<std::u16string> environmentEntries() = 0;

    /// The program's arguments after its own name, joined by single spaces.
    virtual std::u16string commandLine() = 0;

    /// The shared random sequence: a value in [0, 1). No argument or one above 0 gives the
    /// next value, 0 repeats the last one, a negative argument gives a value fixed by it alone
    /// and restarts the sequence from there. RandomSequence follows these rules.
    virtual float random(std::optional<double> argument) = 0;

    /// Shows the message and ends the program, when undeclaredCall() asks for
    /// UndeclaredCall::EndProgram. Never returns to the evaluator; a host may throw an exception
    /// of its own (not an EvalFailure) instead, which leaves Evaluator::Eval. The default ends
    /// nothing: it throws EvalFailure with the message, an ordinary failure (code 2).
    [[noreturn]] virtual void endProgram(std::u16string_view message);

    /// @name Names the program defines
    /// Looked up after the built-in names and before the defaults. A host that keeps the
    /// defaults below, but for undeclaredCall(), which must then answer
    /// UndeclaredCall::EndProgram, gets the language exactly as the game has it.
    /// @{

    /// A variable of the program, asked for a bare name that is not built in, by its upper-cased
    /// text: its value, or nothing to keep the default (0, or "" for a name ending in "$").
    /// The default defines none.
    virtual std::optional<Value> variable(std::u16string_view name);

    /// Whether the program defines a function of that upper-cased name. Asked for a call that no
    /// built-in takes, before any of its arguments is evaluated. The default defines none.
    virtual bool hasFunction(std::u16string_view name);

    /// Calls a function for which hasFunction() said yes, with its arguments evaluated from left
    /// to right ("F()" has none; at most eight). A failure thrown as EvalFailure, or as any
    /// std::exception, fails the innermost Eval as a built-in's does (code 2).
    virtual Value callFunction(std::u16string_view name, std::span<const Value> arguments);

    /// What a call of a name that is neither built in nor the program's does, once its first
    /// argument has been evaluated.
    enum class UndeclaredCall {
        EndProgram,  ///< endProgram() with the undeclared-array message, as in the game.
        Fail,        ///< An ordinary failure: the innermost Eval gives Empty and code 2, and
                     ///< the message names the call ("undeclared name PRICE").
        Report,      ///< As Fail, and Evaluator::undeclaredName() keeps the name.
    };
    /// Asked at each such call. The default is UndeclaredCall::Fail: a typed formula never ends
    /// the program. The game's host asks for UndeclaredCall::EndProgram.
    virtual UndeclaredCall undeclaredCall();

    /// @}
};

}  // namespace pelmora
