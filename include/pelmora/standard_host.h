/// @file
/// @brief StandardHost, a Host backed by the running process.
#pragma once

#include <pelmora/export.h>
#include <pelmora/host.h>
#include <pelmora/random.h>

namespace pelmora {

/// A host backed by the real process: the system clock, the environment and a seeded random
/// sequence. Formulas may read the whole environment (ENVIRON$); a program that evaluates what
/// others type wants SandboxHost. A call of an undeclared name fails (code 2), as Host's
/// default has it; a program derives from it to add its own names, or to end the program
/// there as the game does. One object serves one Evaluator and one thread at a time: each draw
/// changes its random sequence.
class PELMORA_API StandardHost : public Host {
  public:
    /// The system clock, the process environment, no command line, a sequence seeded from the
    /// clock.
    StandardHost();

    LocalTime now() override;
    std::optional<std::u16string> environmentVariable(std::u16string_view name) override;
    std::vector<std::u16string> environmentEntries() override;
    std::u16string commandLine() override { return commandLine_; }
    float random(std::optional<double> argument) override { return random_.next(argument); }

    /// Sets what commandLine (and so COMMAND$) returns.
    void setCommandLine(std::u16string text) { commandLine_ = std::move(text); }
    /// setCommandLine() of a UTF-8 text.
    void setCommandLine(std::string_view utf8);
    /// Fixes the clock at one reading (for repeatable runs); nothing means the system clock.
    void setFixedNow(std::optional<LocalTime> t) { fixedNow_ = t; }
    /// Restarts the random sequence from the seed (for repeatable runs).
    void seedRandom(std::uint64_t seed) { random_.reseed(seed); }

  private:
    std::u16string commandLine_;
    std::optional<LocalTime> fixedNow_;
    RandomSequence random_;
};

/// Joins argv[1..] with single spaces: the text for StandardHost::setCommandLine.
PELMORA_API std::u16string joinArguments(int argc, char** argv);

}  // namespace pelmora
