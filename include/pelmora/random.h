// The random sequence behind RND and the game's dealing.
#pragma once

#include <cstdint>
#include <optional>

namespace pelmora {

class RandomSequence {
  public:
    explicit RandomSequence(std::uint64_t seed = 0) { reseed(seed); }

    void reseed(std::uint64_t seed);
    // The argument rules of Host::random.
    float next(std::optional<double> argument = std::nullopt);

  private:
    std::uint64_t state_ = 0;
    float last_ = 0;
};

}  // namespace pelmora
