#include <pelmora/random.h>

#include <bit>

namespace pelmora {

namespace {

// SplitMix64: a full-period 64-bit walk with a strong output mix.
constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ULL;

std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

// 24 bits fit a float's mantissa exactly, so the value is exact and stays below 1.
float toUnit(std::uint64_t bits) {
    return static_cast<float>(bits >> 40) * (1.0f / 16777216.0f);
}

}  // namespace

void RandomSequence::reseed(std::uint64_t seed) {
    state_ = mix(seed);
    last_ = 0;
}

float RandomSequence::next(std::optional<double> argument) {
    if (argument && *argument == 0) return last_;
    if (argument && *argument < 0) {
        // The state comes from the argument alone, so the same argument always gives the same
        // value and the same sequence after it.
        state_ = mix(std::bit_cast<std::uint64_t>(*argument) ^ kGolden);
    }
    state_ += kGolden;
    last_ = toUnit(mix(state_));
    return last_;
}

}  // namespace pelmora
