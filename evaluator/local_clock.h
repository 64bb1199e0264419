// The system clock as local time, for the hosts the library offers.
#pragma once

#include <pelmora/host.h>

#include <cstdint>

namespace pelmora {

// The current local date and time, to the second, in the process's time zone.
LocalTime localClockNow();

// A seed for a host's random sequence, from the clock.
std::uint64_t clockSeed();

}  // namespace pelmora
