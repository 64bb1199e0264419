/// @file
/// @brief RandomSequence, the random numbers behind RND and the standard host.
#pragma once

#include <pelmora/export.h>

#include <cstdint>
#include <optional>

namespace pelmora {

/// A repeatable sequence of values in [0, 1) with the argument rules of Host::random, for a
/// host to draw from. One object belongs to one thread at a time.
class PELMORA_API RandomSequence {
  public:
    /// A sequence that starts from the seed.
    explicit RandomSequence(std::uint64_t seed = 0) { reseed(seed); }

    /// Starts again from the seed.
    void reseed(std::uint64_t seed);
    /// The next value, under the argument rules of Host::random.
    float next(std::optional<double> argument = std::nullopt);

  private:
    std::uint64_t state_ = 0;
    float last_ = 0;
};

}  // namespace pelmora
