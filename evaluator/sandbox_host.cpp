#include <pelmora/sandbox_host.h>

#include "evaluator/local_clock.h"

namespace pelmora {

SandboxHost::SandboxHost() : random_(clockSeed()) {}

LocalTime SandboxHost::now() {
    return fixedNow_ ? *fixedNow_ : localClockNow();
}

std::optional<std::u16string> SandboxHost::environmentVariable(std::u16string_view) {
    return std::nullopt;
}

std::vector<std::u16string> SandboxHost::environmentEntries() {
    return {};
}

std::u16string SandboxHost::commandLine() {
    return {};
}

float SandboxHost::random(std::optional<double> argument) {
    return random_.next(argument);
}

}  // namespace pelmora
