#pragma once

namespace tin::support {

/// How many helper threads (lanes, see LaneRingT) a large batch gets beside the calling
/// thread: two when three processors are the process's (the caller's and one per lane), one
/// with two, none on one processor. Tests force a number to run every path on any machine;
/// the result of a batch is the same whatever the number.
class LaneThreads {
public:
    /// 0, 1 or 2.
    static unsigned forBatch();
    /// Forces forBatch() to `threads` (0, 1 or 2); negative goes back to the processor count.
    static void setForTests(int threads);
};

} // namespace tin::support
