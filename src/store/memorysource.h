#pragma once

#include "categorytables.h"
#include "core/readcontext.h"
#include "enginesource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dvw {

// A stand-in document held in memory: the line table, the category definitions found in
// it and the reading context. It lets the engine run without the file document, for
// tests, fuzzing, benchmarks and the command-line tool.
class MemorySource : public EngineSource, public ReadContext
{
public:
    explicit MemorySource(DateTextSettings settings = {});

    // Splits a file's bytes into lines as the document reads a file.
    void loadBytes(std::string_view bytes);
    void setLines(const std::vector<std::string> &texts);
    void appendText(std::string text);
    // Rebuilds the category table and the colour lookup from the definition lines.
    void ScanCategories();
    // "All" shows every line; "default" shows lines without a category.
    void setSelectionMode(bool all, bool withDefault);

    const std::vector<CatStruct> &categories() const { return m_categories.categories(); }
    std::string_view categoryDescription(int position) const;

    std::vector<TimeString> &lineTable() override { return m_lines; }
    ReadContext &readContext() override { return *this; }
    bool IsShown(std::uint32_t code) const override;
    int FindCategory(std::uint32_t code) const override;

    const DateTextSettings &dateSettings() const override { return m_settings; }
    bool categoryColour(std::uint32_t code, std::uint8_t &colour) const override;

private:
    DateTextSettings m_settings;
    std::vector<TimeString> m_lines;
    CategoryTables m_categories;
    bool m_all = false;
    bool m_default = true;
};

} // namespace dvw
