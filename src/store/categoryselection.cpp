#include "categoryselection.h"

#include "tapptdocument.h"
#include "textmatch.h"

#include <algorithm>

namespace dvw {

std::string NewDefinitionLine(std::string_view code, std::string_view description)
{
    return "\\C " + CutToCharacters(code, categoryCodeLimit) + "="
        + CutToCharacters(description, categoryDescriptionLimit);
}

CategorySelection::CategorySelection(TApptDocument &doc)
    : m_doc(doc)
    , m_showAll(doc.showsAllCategories())
    , m_showDefault(doc.showsDefaultCategory())
    , m_changed(doc.isChanged())
{ }

int CategorySelection::itemCount() const
{
    return firstCategoryItem + static_cast<int>(m_doc.categories().size());
}

bool CategorySelection::isSelected(int item) const
{
    if (item == allItem)
        return m_doc.showsAllCategories();
    if (item == defaultItem)
        return m_doc.showsDefaultCategory();
    const auto position = static_cast<std::size_t>(item - firstCategoryItem);
    return item >= firstCategoryItem && position < m_doc.categories().size()
        && m_doc.categories()[position].selected != 0;
}

bool CategorySelection::setSelected(int item, bool selected)
{
    if (item == allItem) {
        m_doc.setShowAllCategories(selected);
        return true;
    }
    if (item == defaultItem) {
        m_doc.setShowDefaultCategory(selected);
        return true;
    }
    const int position = item - firstCategoryItem;
    if (position < 0 || static_cast<std::size_t>(position) >= m_doc.categories().size())
        return false;
    const std::uint32_t line = m_doc.categories()[static_cast<std::size_t>(position)].line;
    const std::string before = line < m_doc.lines().size() ? m_doc.lines()[line].text : "";
    if (!m_doc.SetCategorySelected(position, selected))
        return false;
    const std::string &now = m_doc.lines()[line].text;
    auto touched = std::find_if(m_touched.begin(), m_touched.end(),
                                [line](const TouchedLine &t) { return t.line == line; });
    if (touched == m_touched.end())
        m_touched.push_back({line, before, now});
    else
        touched->now = now;
    return true;
}

void CategorySelection::cancel()
{
    std::vector<TimeString> &lines = m_doc.lineTable();
    bool allRestored = true;
    for (const TouchedLine &t : m_touched) {
        if (t.line < lines.size() && lines[t.line].text == t.now)
            lines[t.line].text = t.before;
        else
            allRestored = false;
    }
    m_touched.clear();
    m_doc.ScanCategories();
    m_doc.setShowAllCategories(m_showAll);
    m_doc.setShowDefaultCategory(m_showDefault);
    if (allRestored)
        m_doc.setChanged(m_changed);
}

} // namespace dvw
