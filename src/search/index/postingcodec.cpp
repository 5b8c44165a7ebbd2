#include "postingcodec.h"

#include <stdexcept>
#include <vector>

namespace PostingCodec {
namespace {
constexpr char kGaps = 0;
constexpr char kBitmap = 1;
}

void encode(const std::uint32_t *ordinals, std::size_t count, std::string &out)
{
    if (count < kBitmapFrom) {
        out.push_back(kGaps);
        Varint::append(out, count);
        std::uint32_t previous = 0;
        for (std::size_t i = 0; i < count; ++i) {
            Varint::append(out, ordinals[i] - previous);
            previous = ordinals[i];
        }
        return;
    }
    Roaring bitmap;
    bitmap.addMany(count, ordinals);
    bitmap.runOptimize();
    const std::size_t at = out.size();
    out.push_back(kBitmap);
    out.resize(at + 1 + bitmap.getSizeInBytes(true));
    bitmap.write(out.data() + at + 1, true);
}

std::optional<Roaring> decode(const char *bytes, std::size_t size)
{
    if (size == 0)
        return std::nullopt;
    if (bytes[0] == kBitmap) {
        try {
            return Roaring::readSafe(bytes + 1, size - 1);
        } catch (const std::exception &) {
            return std::nullopt;
        }
    }
    if (bytes[0] != kGaps)
        return std::nullopt;
    const auto *p = reinterpret_cast<const std::uint8_t *>(bytes + 1);
    const auto *end = reinterpret_cast<const std::uint8_t *>(bytes + size);
    // A varint never runs past the list's last byte: its high bit is clear.
    if (static_cast<std::uint8_t>(bytes[size - 1]) & 0x80)
        return std::nullopt;
    const std::uint64_t count = Varint::read(p);
    if (count > std::uint64_t(end - p))
        return std::nullopt;
    std::vector<std::uint32_t> values;
    values.reserve(count);
    std::uint64_t value = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (p >= end)
            return std::nullopt;
        value += Varint::read(p);
        if (value > UINT32_MAX)
            return std::nullopt;
        values.push_back(std::uint32_t(value));
    }
    Roaring bitmap;
    bitmap.addMany(values.size(), values.data());
    return bitmap;
}
}
