#pragma once

#include "core/timestring.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dvw {

// One defined category, taken from a "\C" definition line.
struct CatStruct
{
    std::array<char, 5> code {}; // upper case, blank padded, NUL terminated
    std::uint32_t packedCode = 0;
    std::uint32_t line = 0; // index of the definition line in the line table
    std::uint32_t colour = 0; // as written; 0 = none
    std::uint8_t selected = 0; // 1 when the definition carries the "!" marker
    std::uint32_t descriptionPos = 0; // offset of the description in the line's text
};

// The colour a category gives its lines.
struct CatColorStruct
{
    std::uint32_t packedCode = 0;
    std::uint8_t colour = 0;
};

// True when the text is a category definition line: it starts with "\C", upper case.
bool IsDefinitionText(const std::string &text);
// The packed code a definition line names (whether or not it has its "="), 0 for any
// other text. The file sort orders definitions by it.
std::uint32_t DefinitionCode(const std::string &text);
// Writes the selection marker of a definition line: "!" when selected, a blank when not.
// A hand-written definition whose code follows "\C" directly has no marker place, so
// selecting it inserts one rather than overwriting the code's first character. Returns
// the number of characters inserted (0 or 1). Any other text is left alone.
int SetDefinitionMarker(std::string &text, bool selected);

// The category table and the category colour table, both ordered by packed code with
// equal codes in line order.
class CategoryTables
{
public:
    // Rebuilds both tables from the definition lines. Marks each "\C" line as kind 0 and
    // records the packed code of each definition in its time (upper 16 bits) and alarm
    // advance (lower 16 bits).
    void scan(std::vector<TimeString> &lines);
    void clear();
    // A line that defines no category was taken out of the table at `line`: the
    // definitions behind it move up by one, as a scan of the shorter table would find them.
    void lineRemoved(std::uint32_t line);
    // A line that defines no category was put into the table at `line`.
    void lineInserted(std::uint32_t line);

    // Position in the category table, or -1. Of several definitions of one code, the
    // first in line order.
    int find(std::uint32_t packedCode) const;
    bool colourOf(std::uint32_t packedCode, std::uint8_t &colour) const;
    // The category filter: every line when showAll; a line without a category (code 0)
    // when showDefault; else a line whose category is defined and selected.
    bool isShown(std::uint32_t packedCode, bool showAll, bool showDefault) const;
    // The description of the category at this position in the definition line it came
    // from; empty when there is no such category.
    std::string_view description(int position, const std::vector<TimeString> &lines) const;

    const std::vector<CatStruct> &categories() const { return m_categories; }
    const std::vector<CatColorStruct> &colours() const { return m_colours; }
    // Null when there is no category at this position.
    CatStruct *at(int position)
    {
        const auto i = static_cast<std::size_t>(position);
        return position >= 0 && i < m_categories.size() ? &m_categories[i] : nullptr;
    }

private:
    std::vector<CatStruct> m_categories;
    std::vector<CatColorStruct> m_colours;
};

} // namespace dvw
