#include "memorysource.h"

#include "core/category.h"
#include "core/textcursor.h"

#include <algorithm>

namespace dvw {

MemorySource::MemorySource(DateTextSettings settings)
    : m_settings(settings)
{ }

void MemorySource::loadBytes(std::string_view bytes)
{
    m_lines.clear();
    m_lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        std::size_t end = bytes.find('\n', begin);
        const bool ended = end != std::string_view::npos;
        if (!ended)
            end = bytes.size();
        std::size_t stop = end;
        if (ended && stop > begin && bytes[stop - 1] == '\r')
            --stop;
        const std::string_view line = bytes.substr(begin, stop - begin);
        begin = ended ? end + 1 : end;
        if (line.empty())
            continue;
        if (m_lines.empty() || line.front() != '&') {
            m_lines.emplace_back(std::string(line));
        } else {
            std::string &text = m_lines.back().text;
            text += "\r\n";
            text.append(line.substr(1));
        }
    }
    if (!m_lines.empty() && !m_lines.back().text.empty() && m_lines.back().text.back() == '\x1a')
        m_lines.back().text.pop_back();
}

void MemorySource::setLines(const std::vector<std::string> &texts)
{
    m_lines.clear();
    for (const std::string &text : texts)
        m_lines.emplace_back(text);
}

void MemorySource::appendText(std::string text)
{
    m_lines.emplace_back(std::move(text));
}

void MemorySource::setSelectionMode(bool all, bool withDefault)
{
    m_all = all;
    m_default = withDefault;
}

void MemorySource::ScanCategories()
{
    m_categories.clear();
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        TimeString &line = m_lines[i];
        if (line.text.compare(0, 2, "\\C") != 0)
            continue;
        line.kind = 0;
        Category category;
        category.line = static_cast<std::int32_t>(i);
        TextCursor cursor {line.text, 2};
        category.selected = cursor.peek() == '!';
        if (category.selected)
            cursor.advance();
        cursor.skipBlanks();
        const std::size_t codeAt = cursor.pos;
        while (!cursor.atEnd() && cursor.peek() != '=' && cursor.peek() != ',')
            cursor.advance();
        if (cursor.peek() == ',') {
            cursor.advance();
            while (isDigit(cursor.peek())) {
                category.colour
                    = category.colour * 10 + static_cast<std::uint32_t>(cursor.peek() - '0');
                cursor.advance();
            }
        }
        const std::size_t equals = line.text.find('=', cursor.pos);
        if (equals == std::string::npos)
            continue; // a definition without "=" defines nothing
        cursor.pos = equals + 1;
        cursor.skipBlanks();
        category.descriptionStart = static_cast<std::int32_t>(cursor.pos);
        TextCursor codeCursor {line.text, codeAt};
        category.code = PackCategory(codeCursor);
        // The file sort reads a definition's code from these two fields.
        line.time = static_cast<std::int32_t>(category.code >> 16);
        line.alarmAdvance = static_cast<std::int32_t>(category.code & 0xFFFF);
        m_categories.push_back(category);
    }
    std::stable_sort(m_categories.begin(), m_categories.end(),
                     [](const Category &a, const Category &b) { return a.code < b.code; });
}

std::string_view MemorySource::categoryDescription(int position) const
{
    if (position < 0 || static_cast<std::size_t>(position) >= m_categories.size())
        return {};
    const Category &category = m_categories[static_cast<std::size_t>(position)];
    const std::string &text = m_lines[static_cast<std::size_t>(category.line)].text;
    return std::string_view(text).substr(
        std::min(text.size(), static_cast<std::size_t>(category.descriptionStart)));
}

int MemorySource::FindCategory(std::uint32_t code) const
{
    const auto it
        = std::lower_bound(m_categories.begin(), m_categories.end(), code,
                           [](const Category &c, std::uint32_t value) { return c.code < value; });
    if (it == m_categories.end() || it->code != code)
        return -1;
    return static_cast<int>(it - m_categories.begin());
}

bool MemorySource::IsShown(std::uint32_t code) const
{
    if (m_all)
        return true;
    if (code == 0)
        return m_default;
    const int at = FindCategory(code);
    return at >= 0 && m_categories[static_cast<std::size_t>(at)].selected;
}

bool MemorySource::categoryColour(std::uint32_t code, std::uint8_t &colour) const
{
    // The first definition of the code that gives a colour decides.
    for (auto it
         = std::lower_bound(m_categories.begin(), m_categories.end(), code,
                            [](const Category &c, std::uint32_t value) { return c.code < value; });
         it != m_categories.end() && it->code == code; ++it) {
        if (it->colour != 0) {
            colour = static_cast<std::uint8_t>(it->colour);
            return true;
        }
    }
    return false;
}

} // namespace dvw
