#include <pelmora/standard_host.h>

#include "evaluator/local_clock.h"
#include "evaluator/text.h"

extern char** environ;

namespace pelmora {

StandardHost::StandardHost() : random_(clockSeed()) {}

LocalTime StandardHost::now() {
    return fixedNow_ ? *fixedNow_ : localClockNow();
}

std::optional<std::u16string> StandardHost::environmentVariable(std::u16string_view name) {
    std::string wanted = toUtf8(name) + "=";
    for (char** e = environ; e && *e; ++e) {
        std::string_view entry(*e);
        if (entry.starts_with(wanted)) return fromUtf8(entry.substr(wanted.size()));
    }
    return std::nullopt;
}

std::vector<std::u16string> StandardHost::environmentEntries() {
    std::vector<std::u16string> entries;
    for (char** e = environ; e && *e; ++e) entries.push_back(fromUtf8(*e));
    return entries;
}

void StandardHost::setCommandLine(std::string_view utf8) {
    commandLine_ = fromUtf8(utf8);
}

std::u16string joinArguments(int argc, char** argv) {
    std::u16string joined;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) joined.push_back(u' ');
        joined += fromUtf8(argv[i]);
    }
    return joined;
}

}  // namespace pelmora
