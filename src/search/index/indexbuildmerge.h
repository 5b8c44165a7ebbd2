#pragma once

#include "failure.h"
#include "indexbuildrunstore.h"
#include "postingsink.h"

#include <atomic>

// Merges the runs of a store (in ordinal order) into one posting list per
// key, handed to the sink in ascending key order on the calling thread. A
// key's list is its lists of the runs one after the other. With threads > 1
// that many threads merge ranges of keys ahead, a few ranges at a time.
// Failures (the reason only): a run could not be read, the sink refused,
// out of memory, or cancel became true.
Status mergeRuns(const RunStore &runs, PostingSink &sink, int threads, const std::atomic<bool> *cancel);
