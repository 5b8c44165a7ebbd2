#include "postingcodec.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace PostingCodec {
namespace {
constexpr char kGaps = 0;
constexpr char kBitmap = 1;
constexpr char kRice = 2;
}

namespace {
std::size_t varintBytes(std::uint64_t v)
{
    std::size_t n = 1;
    while (v >= 0x80) {
        v >>= 7;
        ++n;
    }
    return n;
}

void appendGaps(const std::uint32_t *ordinals, std::size_t count, std::string &out)
{
    out.push_back(kGaps);
    Varint::append(out, count);
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        Varint::append(out, ordinals[i] - previous);
        previous = ordinals[i];
    }
}
}

namespace {
// Rice coding of the gaps (each gap minus one, as a unary quotient of
// 2^shift and shift low bits): close to the entropy of gaps that are about
// 2^shift, where a varint spends whole bytes.
int riceShift(const std::uint32_t *ordinals, std::size_t count)
{
    const std::uint64_t span = std::uint64_t(ordinals[count - 1]) + 1;
    const std::uint64_t mean = std::max<std::uint64_t>(1, span / count);
    int shift = 0;
    while (shift < 31 && (std::uint64_t(1) << (shift + 1)) <= mean)
        ++shift;
    return shift;
}

std::size_t riceBits(const std::uint32_t *ordinals, std::size_t count, int shift)
{
    std::size_t bits = 0;
    std::uint64_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t gap = std::uint64_t(ordinals[i]) + 1 - previous; // >= 1
        bits += ((gap - 1) >> shift) + 1 + std::size_t(shift);
        previous = std::uint64_t(ordinals[i]) + 1;
    }
    return bits;
}

void appendRice(const std::uint32_t *ordinals, std::size_t count, int shift, std::string &out)
{
    out.push_back(kRice);
    Varint::append(out, count);
    out.push_back(char(shift));
    std::uint64_t buffer = 0;
    int filled = 0;
    const auto put = [&](std::uint64_t value, int bits) {
        while (bits > 0) {
            const int take = std::min(bits, 64 - filled);
            const std::uint64_t part = take == 64 ? value : value & ((std::uint64_t(1) << take) - 1);
            buffer |= part << filled;
            filled += take;
            value = take == 64 ? 0 : value >> take;
            bits -= take;
            while (filled >= 8) {
                out.push_back(char(buffer & 0xFF));
                buffer >>= 8;
                filled -= 8;
            }
        }
    };
    std::uint64_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t gap = std::uint64_t(ordinals[i]) + 1 - previous;
        for (std::uint64_t q = (gap - 1) >> shift; q > 0; q -= std::min<std::uint64_t>(q, 32))
            put((std::uint64_t(1) << std::min<std::uint64_t>(q, 32)) - 1, int(std::min<std::uint64_t>(q, 32)));
        put(0, 1);
        put((gap - 1) & ((std::uint64_t(1) << shift) - 1), shift);
        previous = std::uint64_t(ordinals[i]) + 1;
    }
    if (filled > 0)
        out.push_back(char(buffer & 0xFF));
}

std::optional<Roaring> decodeRice(const std::uint8_t *p, const std::uint8_t *end)
{
    std::uint64_t count = 0;
    if (!Varint::readWithin(p, end, count) || p >= end || count > std::uint64_t(end - p) * 8)
        return std::nullopt;
    const int shift = *p++;
    if (shift > 31)
        return std::nullopt;
    const std::uint64_t totalBits = std::uint64_t(end - p) * 8;
    std::uint64_t at = 0;
    const auto bit = [&] { return (p[at >> 3] >> (at & 7)) & 1; };
    std::vector<std::uint32_t> values;
    values.reserve(count);
    std::uint64_t previous = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t q = 0;
        while (at < totalBits && bit()) {
            ++q;
            ++at;
        }
        if (at + 1 + std::uint64_t(shift) > totalBits)
            return std::nullopt;
        ++at; // the closing zero
        std::uint64_t r = 0;
        for (int b = 0; b < shift; ++b, ++at)
            r |= std::uint64_t(bit()) << b;
        const std::uint64_t value = previous + (q << shift) + r; // ordinal = previous + gap - 1
        if (value > UINT32_MAX)
            return std::nullopt;
        values.push_back(std::uint32_t(value));
        previous = value + 1;
    }
    Roaring bitmap;
    bitmap.addMany(values.size(), values.data());
    return bitmap;
}
}

void encode(const std::uint32_t *ordinals, std::size_t count, std::string &out)
{
    if (count < kRiceFrom)
        return appendGaps(ordinals, count, out);
    // Rice-coded gaps, or a bitmap where that is smaller (dense lists).
    const int shift = riceShift(ordinals, count);
    const std::size_t riceBytes = 2 + varintBytes(count) + (riceBits(ordinals, count, shift) + 7) / 8;
    if (count < kBitmapFrom)
        return appendRice(ordinals, count, shift, out);
    Roaring bitmap;
    bitmap.addMany(count, ordinals);
    bitmap.runOptimize();
    const std::size_t bitmapBytes = bitmap.getSizeInBytes(true);
    if (riceBytes <= bitmapBytes + 1)
        return appendRice(ordinals, count, shift, out);
    const std::size_t at = out.size();
    out.push_back(kBitmap);
    out.resize(at + 1 + bitmapBytes);
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
    if (bytes[0] == kRice)
        return decodeRice(reinterpret_cast<const std::uint8_t *>(bytes + 1), reinterpret_cast<const std::uint8_t *>(bytes + size));
    if (bytes[0] != kGaps)
        return std::nullopt;
    const auto *p = reinterpret_cast<const std::uint8_t *>(bytes + 1);
    const auto *end = reinterpret_cast<const std::uint8_t *>(bytes + size);
    // A varint never runs past the list's last byte: its high bit is clear.
    if (static_cast<std::uint8_t>(bytes[size - 1]) & 0x80)
        return std::nullopt;
    std::uint64_t count = 0;
    if (!Varint::readWithin(p, end, count) || count > std::uint64_t(end - p))
        return std::nullopt;
    std::vector<std::uint32_t> values;
    values.reserve(count);
    std::uint64_t value = 0;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (p >= end)
            return std::nullopt;
        std::uint64_t gap = 0;
        if (!Varint::readWithin(p, end, gap))
            return std::nullopt;
        value += gap;
        if (value > UINT32_MAX)
            return std::nullopt;
        values.push_back(std::uint32_t(value));
    }
    Roaring bitmap;
    bitmap.addMany(values.size(), values.data());
    return bitmap;
}
}
