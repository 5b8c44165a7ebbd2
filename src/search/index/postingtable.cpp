#include "postingtable.h"

#include <algorithm>

namespace {
struct OwnedArrays {
    std::vector<TextKeys::Key> keys;
    std::vector<std::uint64_t> offsets;
    std::vector<std::uint8_t> blob;
};
}

PostingTable::PostingTable(const TextKeys::Key *keys, const std::uint64_t *offsets, std::size_t keyCount,
                           const std::uint8_t *blob, std::shared_ptr<const void> owner)
    : m_keys(keys), m_offsets(offsets), m_count(keyCount), m_blob(blob), m_owner(std::move(owner))
{
}

PostingTable PostingTable::fromVectors(std::vector<TextKeys::Key> keys, std::vector<std::uint64_t> offsets,
                                       std::vector<std::uint8_t> blob)
{
    auto owned = std::make_shared<OwnedArrays>(OwnedArrays{std::move(keys), std::move(offsets), std::move(blob)});
    const std::size_t count = owned->keys.size();
    return PostingTable(owned->keys.data(), owned->offsets.data(), count, owned->blob.data(), owned);
}

std::ptrdiff_t PostingTable::find(TextKeys::Key key) const
{
    const TextKeys::Key *end = m_keys + m_count;
    const TextKeys::Key *at = std::lower_bound(m_keys, end, key);
    return at != end && *at == key ? at - m_keys : -1;
}

RowSet PostingTable::rows(std::size_t i) const
{
    RowSet out;
    const std::uint8_t *p = m_blob + m_offsets[i];
    const std::uint8_t *end = m_blob + m_offsets[i + 1];
    std::uint64_t row = 0;
    while (p < end) {
        row += Varint::read(p);
        out.push_back(std::int64_t(row));
    }
    return out;
}
