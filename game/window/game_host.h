// The evaluator's host in the running program: the process's clock, environment and command
// line; an undeclared name shows its message and ends the program.
#pragma once

#include <pelmora/standard_host.h>

namespace pelmora::game {

class GameHost : public StandardHost {
  public:
    UndeclaredCall undeclaredCall() override { return UndeclaredCall::EndProgram; }
    [[noreturn]] void endProgram(std::u16string_view message) override;
};

}  // namespace pelmora::game
