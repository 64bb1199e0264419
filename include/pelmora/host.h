/// @file
/// @brief Host, the evaluator's one door to the outside world.
#pragma once

#include <pelmora/export.h>

#include <chrono>
#include <optional>
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

    /// Shows the message and ends the program. Never returns to the evaluator; a host may throw
    /// an exception of its own (not an EvalFailure) instead, which leaves Evaluator::Eval.
    [[noreturn]] virtual void endProgram(std::u16string_view message) = 0;
};

}  // namespace pelmora
