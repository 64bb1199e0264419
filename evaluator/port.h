// The input port routine behind INP. No port is ever wired up, so every read gives 0.
#pragma once

#include <pelmora/value.h>

#include <cstdint>

namespace pelmora {

// Reads the given port: always the Integer 0, whatever the port.
Value portInput(std::int16_t port);

}  // namespace pelmora
