#include <pelmora/standard_host.h>

#include "evaluator/text.h"

#include <chrono>
#include <ctime>

extern char** environ;

namespace pelmora {

StandardHost::StandardHost()
    : random_(
          static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())) {
}

LocalTime StandardHost::now() {
    if (fixedNow_) return *fixedNow_;
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    using namespace std::chrono;
    local_days day{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday};
    return day + hours{local.tm_hour} + minutes{local.tm_min} + seconds{local.tm_sec};
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

std::u16string joinArguments(int argc, char** argv) {
    std::u16string joined;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) joined.push_back(u' ');
        joined += fromUtf8(argv[i]);
    }
    return joined;
}

}  // namespace pelmora
