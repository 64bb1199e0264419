// The host's defaults for names the program defines: none, and an undeclared call ends the
// program.
#include <pelmora/failure.h>
#include <pelmora/host.h>

namespace pelmora {

std::optional<Value> Host::variable(std::u16string_view) {
    return std::nullopt;
}

bool Host::hasFunction(std::u16string_view) {
    return false;
}

Value Host::callFunction(std::u16string_view, std::span<const Value>) {
    throw EvalFailure("the host defines no function of that name");
}

Host::UndeclaredCall Host::undeclaredCall() {
    return UndeclaredCall::EndProgram;
}

}  // namespace pelmora
