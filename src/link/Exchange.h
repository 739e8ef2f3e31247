#pragma once
// One exchange at a time on the port. An exchange is everything that must reach the instrument
// unbroken: a command with its reply, a frame request with its block, a byte-by-byte frame, or a
// sequence of frames that belong together (the two frames of an analog Peltier step, the LED
// frames of one "Apply"). Exchanges let window events run while they wait for the instrument
// (and some between their bytes); a handler that runs then (a timer tick, a click) must not put
// its own bytes between theirs.
//
// An operation holds an Exchange for as long as its exchange lasts, yields included. Everything
// that runs at the same event-loop depth as the holder is part of its exchange and joins it;
// anything that runs deeper (inside one of its yields, or inside a modal box it shows) is another
// handler and is refused: it sends nothing. The serial layer refuses every port operation of a
// refused caller as well, so a sender that forgot to ask cannot split an exchange either.
// Closing the link is never refused: a transfer in progress stops at its next byte, as it always
// did, when it finds the link closed.
//
// The two rest sequences, the run's stop and the shutdown, are never refused: they take the port
// from whatever holds it (Takeover) and stop the operation they interrupted (StoppableOperation),
// so that STOP, the close box and a termination signal act while the instrument stays silent.

namespace tirmo::link {

class Console;

inline constexpr const char* kBusy = "Instrument busy: command not sent";

class Exchange {
public:
    // Timer work and callers with nobody to tell: refused quietly.
    Exchange();
    // A user's command: when refused, the console's status line says kBusy.
    explicit Exchange(Console& console);
    // A rest sequence: it leaves the instrument at rest whatever it interrupted. It takes the
    // port even from an exchange in progress, which holds it again afterwards (and finds the link
    // closed after the shutdown), and it stops every operation in progress. It waits for the
    // instrument only while it answers: once one of its reads has brought nothing, its later
    // reads return nothing at once, so a silent instrument holds it about half a second.
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
    bool savedRest_ = false;
    bool savedSilent_ = false;
};

// True when an exchange that the caller is not part of holds the port.
bool PortBusy();
// True when the caller holds the port (or is part of the exchange that does).
bool HoldsPort();

// An operation that a rest sequence ends even while it waits on the instrument: the run start
// with its autoreference round, and each acquisition tick. Once a rest sequence has begun since
// the operation did, everything the operation still asks of the port at its own event-loop
// depth is refused at once (quietly, Exchange included) and its waits end, so that it unwinds
// without waiting out the time-outs of a silent instrument and sends nothing after the
// instrument was put at rest.
class StoppableOperation {
public:
    StoppableOperation();
    ~StoppableOperation();
    StoppableOperation(const StoppableOperation&) = delete;
    StoppableOperation& operator=(const StoppableOperation&) = delete;
};
// True when the caller belongs to an operation that a rest sequence has stopped (never inside
// the rest sequence itself).
bool OperationStopped();

// What a wait for the instrument does after a read that brought nothing: the pause, then, when
// the caller holds the port, pending window events run, so that the window answers however long
// the instrument stays silent. False when the wait must end now: the caller's operation was
// stopped meanwhile, or a rest sequence found the instrument silent.
bool AfterEmptyRead(int pauseMs);

// The serial layer's part in a rest sequence: whether the caller is a rest sequence that found
// the instrument silent (it then neither waits for replies nor flushes, so that every frame it
// writes goes out whole), and that a read which waited brought nothing.
bool RestHeardNothing();
void ReadBroughtNothing();

}  // namespace tirmo::link
