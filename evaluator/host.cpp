// The host's defaults: the program defines no names, and a call of an undeclared name is an
// ordinary failure.
#include <pelmora/conversions.h>
#include <pelmora/failure.h>
#include <pelmora/host.h>

namespace pelmora {

void Host::endProgram(std::u16string_view message) {
    throw EvalFailure(toUtf8(message));
}

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
    return UndeclaredCall::Fail;
}

}  // namespace pelmora
