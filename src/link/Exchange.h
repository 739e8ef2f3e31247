#pragma once
// One exchange at a time on the port. An exchange is everything that must reach the instrument
// unbroken: a command with its reply, a frame request with its block, a byte-by-byte frame, or a
// sequence of frames that belong together (the two frames of an analog Peltier step, the LED
// frames of one "Apply"). Some exchanges let window events run while they wait; a handler that
// runs then (a timer tick, a click) must not put its own bytes between theirs.
//
// An operation holds an Exchange for as long as its exchange lasts, yields included. Everything
// that runs at the same event-loop depth as the holder is part of its exchange and joins it;
// anything that runs deeper (inside one of its yields, or inside a modal box it shows) is another
// handler and is refused: it sends nothing. The serial layer refuses every port operation of a
// refused caller as well, so a sender that forgot to ask cannot split an exchange either.
// Closing the link is never refused: a transfer in progress stops at its next byte, as it always
// did, when it finds the link closed.

namespace tirmo::link {

class Console;

inline constexpr const char* kBusy = "Instrument busy: command not sent";

class Exchange {
public:
    // Timer work and callers with nobody to tell: refused quietly.
    Exchange();
    // A user's command: when refused, the console's status line says kBusy.
    explicit Exchange(Console& console);
    // The shutdown leaves the instrument at rest whatever it interrupted: it takes the port
    // even from an exchange in progress, which finds the link closed once it goes on.
    struct Takeover {};
    explicit Exchange(Takeover);
    ~Exchange();
    Exchange(const Exchange&) = delete;
    Exchange& operator=(const Exchange&) = delete;

    // Whether the caller holds the port (or is part of the exchange that does).
    explicit operator bool() const { return held_; }

private:
    bool held_ = false;
    bool takeover_ = false;
    int savedDepth_ = -1;
    int savedCount_ = 0;
};

// True when an exchange that the caller is not part of holds the port.
bool PortBusy();

}  // namespace tirmo::link
