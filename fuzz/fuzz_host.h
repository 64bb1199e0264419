// A host for the fuzz targets: the same answers for every input (a fixed clock, a small fixed
// environment, a random sequence restarted from one seed), and an end of the program that
// unwinds back to the harness instead of ending the fuzzer.
#pragma once

#include <pelmora/host.h>
#include <pelmora/random.h>

#include <chrono>

namespace pelmora::fuzzing {

struct ProgramEnded {};

class FuzzHost : public Host {
  public:
    LocalTime now() override {
        return std::chrono::local_days{std::chrono::year{2026} / 12 / 5} + std::chrono::hours{21};
    }
    std::optional<std::u16string> environmentVariable(std::u16string_view name) override {
        if (name == u"HOME") return u"/home/player";
        if (name == u"LANG") return u"ja_JP.UTF-8";
        return std::nullopt;
    }
    std::vector<std::u16string> environmentEntries() override {
        return {u"HOME=/home/player", u"LANG=ja_JP.UTF-8"};
    }
    std::u16string commandLine() override { return u"-x 1"; }
    float random(std::optional<double> argument) override { return sequence_.next(argument); }
    [[noreturn]] void endProgram(std::u16string_view) override { throw ProgramEnded{}; }

  private:
    RandomSequence sequence_{1};
};

}  // namespace pelmora::fuzzing
