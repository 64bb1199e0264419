// The evaluator's one door to the outside world. Its owner (the window, a tool, a test)
// supplies it and keeps it for the evaluator's whole life.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora {

using LocalTime = std::chrono::local_seconds;

class Host {
  public:
    virtual ~Host() = default;

    // The current local date and time, to the second.
    virtual LocalTime now() = 0;

    // The environment variable of that name, or nothing when it is not set.
    virtual std::optional<std::u16string> environmentVariable(std::u16string_view name) = 0;
    // Every entry of the environment as NAME=value, in the order the process received them.
    virtual std::vector<std::u16string> environmentEntries() = 0;

    // The program's arguments after its own name, joined by single spaces.
    virtual std::u16string commandLine() = 0;

    // The shared random sequence: a value in [0, 1). No argument or one above 0 gives the next
    // value, 0 repeats the last one, a negative argument gives a value fixed by it alone and
    // restarts the sequence from there.
    virtual float random(std::optional<double> argument) = 0;

    // Shows the message and ends the program. Never returns to the evaluator; a test host may
    // throw an exception of its own (not an EvalFailure) instead.
    [[noreturn]] virtual void endProgram(std::u16string_view message) = 0;
};

}  // namespace pelmora
