#pragma once

#include "textkeys.h"

#include <cstddef>
#include <cstdint>

// Receives the finished postings of an index build, one key at a time, in
// strictly ascending key order (kContentKey last). The ordinals of a key
// are ascending, without repeats, and never empty.
class PostingSink {
public:
    virtual ~PostingSink() = default;
    // False stops the build (the sink could not keep the postings).
    virtual bool add(TextKeys::Key key, const std::uint32_t *ordinals, std::size_t count) = 0;
};
