// Feeds arbitrary bytes, read as UTF-8, to Eval: nothing may crash, hang or overflow the stack.
// Each input gets a fresh evaluator and host, so no input depends on the ones before it.
#include <pelmora/conversions.h>
#include <pelmora/evaluator.h>
#include "fuzz/fuzz_host.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pelmora::fuzzing::FuzzHost host;
    pelmora::Evaluator evaluator(host);
    try {
        evaluator.Eval(pelmora::fromUtf8({reinterpret_cast<const char*>(data), size}));
    } catch (const pelmora::fuzzing::ProgramEnded&) {
        // The undeclared-array path ends the program; the window would close here.
    }
    return 0;
}
