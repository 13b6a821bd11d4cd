#include "categorytables.h"

#include "core/category.h"
#include "core/datetext.h"
#include "core/textcursor.h"

#include <algorithm>
#include <cassert>

namespace dvw {

namespace {

// The position just behind the marker place and the blanks after it: where the code
// begins. A line without a marker place reads as not selected.
TextCursor codeCursor(const std::string &text, bool &selected)
{
    TextCursor cursor {text, 2};
    selected = cursor.peek() == '!';
    if (selected)
        cursor.advance();
    cursor.skipBlanks();
    return cursor;
}

std::array<char, 5> codeText(std::uint32_t packedCode)
{
    std::array<char, 5> code {};
    for (std::size_t i = 0; i < 4; ++i)
        code[i] = static_cast<char>((packedCode >> (24 - 8 * i)) & 0xFFu);
    return code;
}

// A colour number of the settings (1..15) survives in the 8-bit colour table; anything
// else draws as colour 0. Kept out of the top bit, which marks a priority shade.
std::uint8_t tableColour(std::uint32_t colour)
{
    return colour <= 15 ? static_cast<std::uint8_t>(colour) : 0;
}

// Reads a definition; false when it defines nothing (no "=").
bool readDefinition(const std::string &text, CatStruct &cat)
{
    bool selected = false;
    TextCursor cursor = codeCursor(text, selected);
    const std::size_t codeAt = cursor.pos;
    std::size_t searchFrom = text.find_first_of("=,", codeAt);
    std::uint32_t colour = 0;
    if (searchFrom != std::string::npos && text[searchFrom] == ',') {
        TextCursor digits {text, searchFrom + 1};
        colour = ReadNumber(digits);
        searchFrom = digits.pos;
    }
    const std::size_t equals
        = searchFrom == std::string::npos ? searchFrom : text.find('=', searchFrom);
    if (equals == std::string::npos)
        return false;
    TextCursor description {text, equals + 1};
    description.skipBlanks();

    TextCursor code {text, codeAt};
    cat.packedCode = PackCategory(code);
    cat.code = codeText(cat.packedCode);
    cat.colour = colour;
    cat.selected = selected ? 1 : 0;
    cat.descriptionPos = static_cast<std::uint32_t>(description.pos);
    return true;
}

} // namespace

bool IsDefinitionText(const std::string &text)
{
    return text.size() >= 2 && text[0] == '\\' && text[1] == 'C';
}

std::uint32_t DefinitionCode(const std::string &text)
{
    if (!IsDefinitionText(text))
        return 0;
    bool selected = false;
    TextCursor cursor = codeCursor(text, selected);
    return PackCategory(cursor);
}

int SetDefinitionMarker(std::string &text, bool selected)
{
    if (!IsDefinitionText(text))
        return 0;
    const char marker = selected ? '!' : ' ';
    if (text.size() > 2 && (text[2] == '!' || text[2] == ' ')) {
        text[2] = marker;
        return 0;
    }
    if (!selected)
        return 0; // without a marker place the line already reads as not selected
    text.insert(2, 1, marker);
    return 1;
}

void CategoryTables::clear()
{
    m_categories.clear();
    m_colours.clear();
}

void CategoryTables::lineRemoved(std::uint32_t line)
{
    for (CatStruct &cat : m_categories) {
        assert(cat.line != line);
        if (cat.line > line)
            --cat.line;
    }
}

void CategoryTables::lineInserted(std::uint32_t line)
{
    for (CatStruct &cat : m_categories) {
        if (cat.line >= line)
            ++cat.line;
    }
}

void CategoryTables::scan(std::vector<TimeString> &lines)
{
    clear();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        TimeString &line = lines[i];
        if (!IsDefinitionText(line.text))
            continue;
        line.kind = CategoryLine;
        CatStruct cat;
        if (!readDefinition(line.text, cat))
            continue;
        cat.line = static_cast<std::uint32_t>(i);
        if (cat.colour != 0)
            m_colours.push_back({cat.packedCode, tableColour(cat.colour)});
        // The sorts order definition lines by these two halves.
        line.time = static_cast<std::int32_t>(cat.packedCode >> 16);
        line.alarmAdvance = static_cast<std::int32_t>(cat.packedCode & 0xFFFFu);
        m_categories.push_back(cat);
    }
    std::stable_sort(
        m_categories.begin(), m_categories.end(),
        [](const CatStruct &a, const CatStruct &b) { return a.packedCode < b.packedCode; });
    std::stable_sort(m_colours.begin(), m_colours.end(),
                     [](const CatColorStruct &a, const CatColorStruct &b) {
                         return a.packedCode < b.packedCode;
                     });
}

int CategoryTables::find(std::uint32_t packedCode) const
{
    const auto it = std::lower_bound(
        m_categories.begin(), m_categories.end(), packedCode,
        [](const CatStruct &cat, std::uint32_t code) { return cat.packedCode < code; });
    if (it == m_categories.end() || it->packedCode != packedCode)
        return -1;
    return static_cast<int>(it - m_categories.begin());
}

bool CategoryTables::colourOf(std::uint32_t packedCode, std::uint8_t &colour) const
{
    const auto it = std::lower_bound(
        m_colours.begin(), m_colours.end(), packedCode,
        [](const CatColorStruct &entry, std::uint32_t code) { return entry.packedCode < code; });
    if (it == m_colours.end() || it->packedCode != packedCode)
        return false;
    colour = it->colour;
    return true;
}

bool CategoryTables::isShown(std::uint32_t packedCode, bool showAll, bool showDefault) const
{
    if (showAll)
        return true;
    if (packedCode == 0)
        return showDefault;
    const int position = find(packedCode);
    return position >= 0 && m_categories[static_cast<std::size_t>(position)].selected != 0;
}

std::string_view CategoryTables::description(int position,
                                             const std::vector<TimeString> &lines) const
{
    if (position < 0 || static_cast<std::size_t>(position) >= m_categories.size())
        return {};
    const CatStruct &category = m_categories[static_cast<std::size_t>(position)];
    if (category.line >= lines.size())
        return {};
    const std::string &text = lines[category.line].text;
    return std::string_view(text).substr(
        std::min<std::size_t>(text.size(), category.descriptionPos));
}

} // namespace dvw
