// Long work (loads, imports, exports, extractions) tells how far it got
// through a callback that knows nothing of windows: done of total units
// (rows or bytes). The callback returns false to ask the work to stop.
#pragma once

#include "platform/Errors.h"

#include <cstdint>
#include <functional>

namespace orvane {

using ProgressFn = std::function<bool(std::int64_t done, std::int64_t total)>;

// Work stopped because its progress callback said so, after it put back
// what it had changed. Not a failure: nothing is shown for it.
class Cancelled : public OrvaneError {
  public:
    Cancelled() : OrvaneError(BiText("cancelled")) {} // never shown
};

// Reports to a callback every `step` units and at the last one, so that a
// loop over many rows pays for a call only now and then. Throws Cancelled
// when the callback answers false.
class ProgressSteps {
  public:
    ProgressSteps(const ProgressFn& report, std::int64_t total, std::int64_t step = 512)
        : report_(report), total_(total), step_(step), next_(step) {}
    void At(std::int64_t done) {
        if (!report_ || (done < next_ && done < total_)) return;
        next_ = done + step_;
        if (!report_(done, total_)) throw Cancelled();
    }

  private:
    const ProgressFn& report_;
    std::int64_t total_;
    std::int64_t step_;
    std::int64_t next_;
};

} // namespace orvane
