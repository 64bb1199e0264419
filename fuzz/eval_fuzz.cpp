// Feeds arbitrary UTF-8 to Eval: nothing may crash, hang or overflow the stack. The
// undeclared-array path ends the program, which the fuzzer host turns into an exception.
#include "evaluator/evaluator.h"
#include "evaluator/standard_host.h"
#include "evaluator/text.h"

#include <cstddef>
#include <cstdint>

namespace {

struct Ended {};

class FuzzHost : public pelmora::StandardHost {
  public:
    FuzzHost() { setFixedNow(pelmora::LocalTime{}); }
    [[noreturn]] void endProgram(std::u16string_view) override { throw Ended{}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzHost host;
    pelmora::Evaluator evaluator(host);
    try {
        evaluator.Eval(pelmora::fromUtf8({reinterpret_cast<const char*>(data), size}));
    } catch (const Ended&) {
    }
    return 0;
}
