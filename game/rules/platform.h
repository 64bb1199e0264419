// The game's doors to the outside world besides the evaluator's Host: the clock, message
// boxes and the program itself. The window supplies real ones, tests hand-written fakes.
#pragma once

#include <string_view>

namespace pelmora::game {

// Seconds on a monotonic clock: never jumps back, never restarts at midnight.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual double seconds() = 0;
};

// Modal messages to the player.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void showMessage(std::u16string_view text) = 0;
};

// What the rules may ask of the running program.
class ProgramControl {
  public:
    virtual ~ProgramControl() = default;
    virtual bool anotherInstanceRunning() = 0;
    // Ends the program. Returns to the caller, which must do nothing more; the program ends
    // once control is back in the event loop (or at once, before the window is shown).
    virtual void endProgram() = 0;
};

// The clock of the running program (std::chrono::steady_clock).
class SteadyClock : public Clock {
  public:
    double seconds() override;
};

}  // namespace pelmora::game
