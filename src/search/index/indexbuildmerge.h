#pragma once

#include "failure.h"
#include "indexbuildrun.h"
#include "postingsink.h"

#include <atomic>
#include <vector>

// Merges runs given in ordinal order into one posting list per key, handed
// to the sink in ascending key order. A key's list is its lists of the
// runs one after the other. Failures (the reason only): a run could not be
// read, the sink refused, or cancel became true.
Status mergeRuns(std::vector<RunCursor> &runs, PostingSink &sink, const std::atomic<bool> *cancel);
