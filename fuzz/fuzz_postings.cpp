// Posting lists read from an index file: any bytes in our own list forms decode to a list or to
// "damaged", never read past their end, and a list that decodes encodes
// back to bytes that decode to the same list.

#include "postingcodec.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_postings: %s\n", what);
        std::abort();
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A bitmap's body is CRoaring's own format, read by its own checked
    // reader; the target is after the gaps and Rice codes of ours.
    if (size > 0 && data[0] == 1)
        return 0;
    // The bytes are copied so that a read past them is a sanitizer report.
    const std::vector<char> bytes(data, data + size);
    const std::optional<Roaring> list = PostingCodec::decode(bytes.data(), bytes.size());
    if (!list || list->isEmpty() || list->cardinality() > (1u << 20))
        return 0;
    std::vector<std::uint32_t> ordinals(list->cardinality());
    list->toUint32Array(ordinals.data());
    std::string again;
    PostingCodec::encode(ordinals.data(), ordinals.size(), again);
    const std::optional<Roaring> back = PostingCodec::decode(again.data(), again.size());
    check(back && *back == *list, "a decoded list does not survive encoding");
    return 0;
}
