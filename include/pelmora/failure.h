// Failures inside the evaluator. Raised where they happen; the innermost Eval traps them.
#pragma once

#include <cstddef>
#include <stdexcept>

namespace pelmora {

// A String never grows past this many bytes; longer results fail like any other failure.
inline constexpr std::size_t kMaxStringBytes = std::size_t{64} << 20;

class EvalFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace pelmora
