// A host backed by the real process: system clock, environment and a seeded random sequence.
// How the program ends stays with the owner.
#pragma once

#include <pelmora/host.h>
#include <pelmora/random.h>

namespace pelmora {

class StandardHost : public Host {
  public:
    StandardHost();

    LocalTime now() override;
    std::optional<std::u16string> environmentVariable(std::u16string_view name) override;
    std::vector<std::u16string> environmentEntries() override;
    std::u16string commandLine() override { return commandLine_; }
    float random(std::optional<double> argument) override { return random_.next(argument); }

    void setCommandLine(std::u16string text) { commandLine_ = std::move(text); }
    // Fixes the clock at one reading (for repeatable runs); nothing means the system clock.
    void setFixedNow(std::optional<LocalTime> t) { fixedNow_ = t; }
    void seedRandom(std::uint64_t seed) { random_.reseed(seed); }

  private:
    std::u16string commandLine_;
    std::optional<LocalTime> fixedNow_;
    RandomSequence random_;
};

// Joins argv[1..] with single spaces.
std::u16string joinArguments(int argc, char** argv);

}  // namespace pelmora
