#include "memorysource.h"

#include "filerules.h"

#include <algorithm>

namespace dvw {

MemorySource::MemorySource(DateTextSettings settings)
    : m_settings(settings)
{ }

void MemorySource::loadBytes(std::string_view bytes)
{
    m_lines.clear();
    for (std::string &text : SplitFileText(bytes))
        m_lines.emplace_back(std::move(text));
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
    m_categories.scan(m_lines);
}

std::string_view MemorySource::categoryDescription(int position) const
{
    if (position < 0 || static_cast<std::size_t>(position) >= categories().size())
        return {};
    const CatStruct &category = categories()[static_cast<std::size_t>(position)];
    if (category.line >= m_lines.size())
        return {};
    const std::string &text = m_lines[category.line].text;
    return std::string_view(text).substr(
        std::min<std::size_t>(text.size(), category.descriptionPos));
}

int MemorySource::FindCategory(std::uint32_t code) const
{
    return m_categories.find(code);
}

bool MemorySource::IsShown(std::uint32_t code) const
{
    if (m_all)
        return true;
    if (code == 0)
        return m_default;
    const int at = FindCategory(code);
    return at >= 0 && categories()[static_cast<std::size_t>(at)].selected != 0;
}

bool MemorySource::categoryColour(std::uint32_t code, std::uint8_t &colour) const
{
    return m_categories.colourOf(code, colour);
}

} // namespace dvw
