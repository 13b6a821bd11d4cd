#pragma once

#include "core/timestring.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace dvw {

// What the order of instances needs of a line. The first sixteen bytes of its free text
// are packed so that most comparisons never reach the text.
struct OrderKey
{
    std::uint64_t prefix = 0; // bytes 0..7 of the free text
    std::uint64_t prefix2 = 0; // bytes 8..15
    std::uint32_t category = 0;
    std::uint32_t time = 0; // unsigned: no time (-1) comes after every time
    bool note = false;
    bool shortText = false; // the free text ends within the sixteen packed bytes
    std::string_view rest; // the free text behind the packed bytes, in the line's own text
};

OrderKey orderKeyOf(const TimeString &line);

// The order of a day cell and of the notes list: whether an instance of line a goes
// before one of line b. When either is a note and their categories differ, the smaller
// category code; else the earlier time (untimed last); else the smaller free text, its
// bytes compared as signed values. In a day cell (no notes) this is a strict weak order;
// in the notes list, where notes and reminders of other categories mix, it is not
// transitive, so entries there are placed by walking in from the end.
bool keyPrecedes(const OrderKey &a, const OrderKey &b);

// Lines with the same key in the order the keys give; equal keys keep the order in which
// they came.
class InstanceOrder
{
public:
    struct Item
    {
        std::int32_t line; // position in the line table
        std::int32_t tag; // anything the caller wants back in order
    };

    // Keys for the lines named; the others get empty keys. The keys read the lines' texts,
    // which must outlive them.
    void makeKeys(const std::vector<TimeString> &lines, const std::vector<std::int32_t> &which);
    const OrderKey &key(std::int32_t line) const { return m_keys[static_cast<std::size_t>(line)]; }
    bool precedes(std::int32_t a, std::int32_t b) const { return keyPrecedes(key(a), key(b)); }

    // The items sorted by the keys of their lines, stably; none may be a note (notes would
    // make the order intransitive). Returns their tags in that order.
    std::vector<std::int32_t> sortedTags(const std::vector<Item> &items) const;

private:
    std::vector<OrderKey> m_keys;
};

} // namespace dvw
