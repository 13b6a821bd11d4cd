#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dvw {

class TApptDocument;

// The longest code and description the category definition dialog takes, in characters.
inline constexpr std::size_t categoryCodeLimit = 4;
inline constexpr std::size_t categoryDescriptionLimit = 99;

// The definition line of a new category: "\C", a blank marker (not selected), the code and
// "=" with the description. The texts are taken as typed (an empty code or description
// stays empty), cut to their limits on whole characters.
std::string NewDefinitionLine(std::string_view code, std::string_view description);

// What the category selection dialog changes in a document while it is open. Its items
// are "all" (0), "default" (1), then the categories in table order. A change takes effect
// at once: the mode in memory, a category's "!" marker in its definition line (and the
// document's changed mark). cancel() puts back what the dialog found when it opened: the
// marker bytes of the definition lines, the tables scanned from them, the mode and the
// changed mark. A line that changed behind the dialog's back is left as it is.
class CategorySelection
{
public:
    static constexpr int allItem = 0;
    static constexpr int defaultItem = 1;
    static constexpr int firstCategoryItem = 2;

    explicit CategorySelection(TApptDocument &doc);

    int itemCount() const;
    bool isSelected(int item) const;
    // False, changing nothing, when the item is no longer there (the tables are stale).
    bool setSelected(int item, bool selected);
    void cancel();

private:
    struct TouchedLine
    {
        std::uint32_t line = 0;
        std::string before; // as the dialog found it
        std::string now; // as the dialog last wrote it
    };

    TApptDocument &m_doc;
    bool m_showAll;
    bool m_showDefault;
    bool m_changed;
    std::vector<TouchedLine> m_touched;
};

} // namespace dvw
