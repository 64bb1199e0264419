// Feeds arbitrary bytes, read as UTF-8, to Eval and to a compiled expression of the same text:
// any difference in value, kind, codes, current error or calls to the host and the program is
// a finding, and so is a crash, a hang or a sanitizer report in either.
#include <pelmora/conversions.h>
#include "fuzz/differential.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = pelmora::fromUtf8({reinterpret_cast<const char*>(data), size});
    const std::string difference = pelmora::fuzzing::difference(text);
    if (!difference.empty()) {
        std::fprintf(stderr, "compiled and Eval differ on %s\n%s", pelmora::toUtf8(text).c_str(),
                     difference.c_str());
        std::abort();
    }
    return 0;
}
