#include "link/Exchange.h"

#include "link/Protocol.h"
#include "platform/Clock.h"

namespace tirmo::link {
namespace {

// How many steps of the exchange that holds the port hold it at once (they nest: a sequence
// holds it, each command in it holds it again; 0 when the port is free), and the event-loop
// depth they run at.
int holderDepth = -1;
int holdCount = 0;

bool take()
{
    const int depth = platform::EventDepth();
    if (holdCount > 0 && depth != holderDepth) return false;
    holderDepth = depth;
    ++holdCount;
    return true;
}

}  // namespace

Exchange::Exchange() : held_(take()) {}

Exchange::Exchange(Console& console) : held_(take())
{
    if (!held_) console.SetStatus(kBusy);
}

Exchange::Exchange(Takeover) : held_(true), takeover_(true), savedDepth_(holderDepth), savedCount_(holdCount)
{
    holderDepth = platform::EventDepth();
    holdCount = 1;
}

Exchange::~Exchange()
{
    if (!held_) return;
    if (takeover_) {
        // The interrupted exchange, if any, holds the port again when it resumes.
        holderDepth = savedDepth_;
        holdCount = savedCount_;
        return;
    }
    --holdCount;
}

bool PortBusy() { return holdCount > 0 && platform::EventDepth() != holderDepth; }

}  // namespace tirmo::link
