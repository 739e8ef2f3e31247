#include "link/Exchange.h"

#include <vector>

#include "link/Protocol.h"
#include "platform/Clock.h"

namespace tirmo::link {
namespace {

// How many steps of the exchange that holds the port hold it at once (they nest: a sequence
// holds it, each command in it holds it again; 0 when the port is free), and the event-loop
// depth they run at.
int holderDepth = -1;
int holdCount = 0;
// Whether the holder is a rest sequence, and whether one of its reads has brought nothing.
bool holderRests = false;
bool restSilent = false;

// Rest sequences begun so far, and the stoppable operations in progress (innermost last) with
// the count when each began.
long restsBegun = 0;
struct Operation {
    int depth;
    long restsAtStart;
};
std::vector<Operation> operations;

bool take()
{
    const int depth = platform::EventDepth();
    if (holdCount > 0 && depth != holderDepth) return false;
    // A stopped operation gets the port no more: its commands end before their pacing pauses.
    if (OperationStopped()) return false;
    if (holdCount == 0) holderRests = false;
    holderDepth = depth;
    ++holdCount;
    return true;
}

bool inRest() { return holderRests && HoldsPort(); }

}  // namespace

Exchange::Exchange() : held_(take()) {}

Exchange::Exchange(Console& console) : held_(take())
{
    if (!held_ && !OperationStopped()) console.SetStatus(kBusy);
}

Exchange::Exchange(Takeover)
    : held_(true), takeover_(true), savedDepth_(holderDepth), savedCount_(holdCount), savedRest_(holderRests),
      savedSilent_(restSilent)
{
    holderDepth = platform::EventDepth();
    holdCount = 1;
    holderRests = true;
    restSilent = false;
    ++restsBegun;
}

Exchange::~Exchange()
{
    if (!held_) return;
    if (takeover_) {
        // The interrupted exchange, if any, holds the port again when it resumes.
        holderDepth = savedDepth_;
        holdCount = savedCount_;
        holderRests = savedRest_;
        restSilent = savedSilent_;
        return;
    }
    --holdCount;
}

bool PortBusy() { return holdCount > 0 && platform::EventDepth() != holderDepth; }

bool HoldsPort() { return holdCount > 0 && platform::EventDepth() == holderDepth; }

StoppableOperation::StoppableOperation() { operations.push_back({platform::EventDepth(), restsBegun}); }

StoppableOperation::~StoppableOperation() { operations.pop_back(); }

bool OperationStopped()
{
    if (inRest()) return false;
    const int depth = platform::EventDepth();
    for (auto it = operations.rbegin(); it != operations.rend(); ++it)
        if (it->depth == depth) return it->restsAtStart != restsBegun;
    return false;
}

bool AfterEmptyRead(int pauseMs)
{
    platform::Sleep(pauseMs);
    // A rest sequence lets nothing else run: its waits are short or none.
    if (inRest()) return !restSilent;
    if (HoldsPort()) platform::DoEvents();
    return !OperationStopped();
}

bool RestHeardNothing() { return inRest() && restSilent; }

void ReadBroughtNothing()
{
    if (inRest()) restSilent = true;
}

}  // namespace tirmo::link
