#include "game/rules/platform.h"

#include <chrono>

namespace pelmora::game {

double SteadyClock::seconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace pelmora::game
