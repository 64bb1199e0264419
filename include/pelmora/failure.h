/// @file
/// @brief EvalFailure, the failure the evaluator traps, and the longest String.
#pragma once

#include <pelmora/export.h>

#include <cstddef>
#include <stdexcept>

namespace pelmora {

/// A String never grows past this many bytes; longer results fail like any other failure.
inline constexpr std::size_t kMaxStringBytes = std::size_t{64} << 20;

/// A failure inside the evaluator, raised where it happens; the innermost Evaluator::Eval traps
/// it (code 2). A host may throw it too.
class PELMORA_API EvalFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace pelmora
