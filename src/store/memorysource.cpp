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
    return m_categories.description(position, m_lines);
}

int MemorySource::FindCategory(std::uint32_t code) const
{
    return m_categories.find(code);
}

bool MemorySource::IsShown(std::uint32_t code) const
{
    return m_categories.isShown(code, m_all, m_default);
}

bool MemorySource::categoryColour(std::uint32_t code, std::uint8_t &colour) const
{
    return m_categories.colourOf(code, colour);
}

} // namespace dvw
