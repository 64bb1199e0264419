/// @file
/// @brief SandboxHost, a Host that shows formulas nothing of the process.
#pragma once

#include <pelmora/export.h>
#include <pelmora/host.h>
#include <pelmora/random.h>

#include <cstdint>
#include <optional>

namespace pelmora {

/// The host for formulas that someone else typed: the system clock and a seeded random
/// sequence, but no environment (ENVIRON$ gives "" for every name and number) and no command
/// line (COMMAND$ gives ""). A call of an undeclared name fails (code 2) with a message that
/// names it; nothing ends the program. A program derives from it to add its own variables and
/// functions. One object serves one Evaluator and one thread at a time: each draw changes its
/// random sequence.
class PELMORA_API SandboxHost : public Host {
  public:
    /// The system clock and a sequence seeded from the clock.
    SandboxHost();

    LocalTime now() override;
    /// Nothing, for every name.
    std::optional<std::u16string> environmentVariable(std::u16string_view name) override;
    /// None.
    std::vector<std::u16string> environmentEntries() override;
    /// The empty text.
    std::u16string commandLine() override;
    float random(std::optional<double> argument) override;

    /// Fixes the clock at one reading (for repeatable runs); nothing means the system clock.
    void setFixedNow(std::optional<LocalTime> t) { fixedNow_ = t; }
    /// Restarts the random sequence from the seed (for repeatable runs).
    void seedRandom(std::uint64_t seed) { random_.reseed(seed); }

  private:
    std::optional<LocalTime> fixedNow_;
    RandomSequence random_;
};

}  // namespace pelmora
