#include "instanceorder.h"

#include "core/apptkind.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace dvw {

namespace {

// Byte order as signed 8-bit values up to the first difference, the end of a text
// counting as a NUL; an embedded NUL ends the comparison as it would end a C string.
int compareText(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    for (; i < n && a[i] == b[i]; ++i) {
        if (a[i] == '\0')
            return 0;
    }
    const auto ca = static_cast<signed char>(i < a.size() ? a[i] : '\0');
    const auto cb = static_cast<signed char>(i < b.size() ? b[i] : '\0');
    return ca < cb ? -1 : (ca > cb ? 1 : 0);
}

// Eight bytes as one number whose unsigned order is the order of the bytes compared as
// signed values: read first byte most significant, with each top bit flipped.
std::uint64_t packSigned(const unsigned char *bytes)
{
    std::uint64_t packed;
    std::memcpy(&packed, bytes, sizeof packed);
    if constexpr (std::endian::native == std::endian::little)
        packed = __builtin_bswap64(packed);
    return packed ^ 0x8080808080808080u;
}

std::string_view freeText(const TimeString &line)
{
    const auto start
        = std::min(static_cast<std::size_t>(std::max(line.textStart, 0)), line.text.size());
    return std::string_view(line.text).substr(start);
}

// What the radix sort moves: a line's packed key and the caller's tag. Kept to 24 bytes:
// sorting moves these around many times.
struct SortItem
{
    std::uint64_t prefix;
    std::uint64_t prefix2;
    std::uint32_t time;
    std::int32_t at; // position in the items as given
};

bool packedLess(const SortItem &a, const SortItem &b)
{
    if (a.time != b.time)
        return a.time < b.time;
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix;
    return a.prefix2 < b.prefix2;
}

// Byte b of an item's key (time, prefix, prefix2), counting from the least significant.
std::size_t keyByte(const SortItem &item, int b)
{
    const std::uint64_t word = b < 8 ? item.prefix2 : (b < 16 ? item.prefix : item.time);
    return static_cast<std::size_t>((word >> (8 * (b % 8))) & 0xFFu);
}

// Sorts by time, then the packed bytes, keeping equal keys in the order they came in: a
// radix sort, one key byte at a time from the least significant. It makes no comparison
// (whose outcome a processor cannot guess), so tens of thousands of lines sort several
// times faster than by comparing; bytes that every item shares cost one look each.
void sortByPackedKey(std::vector<SortItem> &items)
{
    constexpr int keyBytes = 20;
    if (items.size() < 2)
        return;
    std::vector<std::array<std::size_t, 256>> counts(keyBytes);
    for (const SortItem &item : items) {
        for (int b = 0; b < keyBytes; ++b)
            ++counts[static_cast<std::size_t>(b)][keyByte(item, b)];
    }
    std::vector<SortItem> sorted(items.size());
    for (int b = 0; b < keyBytes; ++b) {
        std::array<std::size_t, 256> &next = counts[static_cast<std::size_t>(b)];
        if (next[keyByte(items.front(), b)] == items.size())
            continue;
        std::size_t start = 0;
        for (std::size_t &count : next) // counts become each byte value's first place
            start += std::exchange(count, start);
        for (const SortItem &item : items)
            sorted[next[keyByte(item, b)]++] = item;
        items.swap(sorted);
    }
}

} // namespace

OrderKey orderKeyOf(const TimeString &line)
{
    OrderKey key;
    key.note = line.kind == Note;
    key.category = line.category;
    key.time = static_cast<std::uint32_t>(line.time);
    const std::string_view text = freeText(line);
    // The first sixteen bytes, a NUL standing for the end and for everything after it.
    unsigned char bytes[16] = {};
    const std::size_t taken = std::min<std::size_t>(text.size(), 16);
    std::memcpy(bytes, text.data(), taken);
    const void *nul = std::memchr(bytes, 0, taken);
    const std::size_t length
        = nul ? static_cast<std::size_t>(static_cast<const unsigned char *>(nul) - bytes) : taken;
    std::fill(bytes + length, bytes + 16, 0);
    key.prefix = packSigned(bytes);
    key.prefix2 = packSigned(bytes + 8);
    key.shortText = length < 16;
    key.rest = key.shortText ? std::string_view() : text.substr(16);
    return key;
}

bool keyPrecedes(const OrderKey &a, const OrderKey &b)
{
    if ((a.note || b.note) && a.category != b.category)
        return a.category < b.category;
    if (a.time != b.time)
        return a.time < b.time;
    if (a.prefix != b.prefix)
        return a.prefix < b.prefix;
    if (a.prefix2 != b.prefix2)
        return a.prefix2 < b.prefix2;
    if (a.shortText)
        return false; // both texts ended at the same place within the packed bytes
    return compareText(a.rest, b.rest) < 0;
}

void InstanceOrder::makeKeys(const std::vector<TimeString> &lines,
                             const std::vector<std::int32_t> &which)
{
    m_keys.assign(lines.size(), OrderKey());
    for (const std::int32_t line : which)
        m_keys[static_cast<std::size_t>(line)] = orderKeyOf(lines[static_cast<std::size_t>(line)]);
}

std::vector<std::int32_t> InstanceOrder::sortedTags(const std::vector<Item> &items) const
{
    std::vector<SortItem> sorting;
    sorting.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const OrderKey &k = key(items[i].line);
        sorting.push_back({k.prefix, k.prefix2, k.time, static_cast<std::int32_t>(i)});
    }
    sortByPackedKey(sorting);
    // Runs that agree on the packed bytes and go on beyond them are ordered by the rest.
    const auto keyOf = [&](const SortItem &s) -> const OrderKey & {
        return key(items[static_cast<std::size_t>(s.at)].line);
    };
    std::vector<std::pair<std::string_view, std::int32_t>> run;
    for (std::size_t begin = 0; begin < sorting.size();) {
        std::size_t end = begin + 1;
        while (end < sorting.size() && !packedLess(sorting[begin], sorting[end]))
            ++end;
        if (end - begin > 1 && !keyOf(sorting[begin]).shortText) {
            run.clear();
            for (std::size_t i = begin; i < end; ++i)
                run.emplace_back(keyOf(sorting[i]).rest, sorting[i].at);
            std::sort(run.begin(), run.end(), [](const auto &a, const auto &b) {
                const int c = compareText(a.first, b.first);
                return c < 0 || (c == 0 && a.second < b.second);
            });
            for (std::size_t i = begin; i < end; ++i)
                sorting[i].at = run[i - begin].second;
        }
        begin = end;
    }
    std::vector<std::int32_t> tags;
    tags.reserve(sorting.size());
    for (const SortItem &s : sorting)
        tags.push_back(items[static_cast<std::size_t>(s.at)].tag);
    return tags;
}

} // namespace dvw
