// Arbitrary bytes as the lines of a file (split at LF): the category scan, the marker
// rewrite and the file sort order. Every definition must point inside its line and name
// the code its text names; changing a selection must keep the code, colour and
// description; the sort comparison must be a strict weak ordering.
#include "core/linereader.h"
#include "store/categorytables.h"
#include "store/linesort.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr std::size_t maxLines = 32;
constexpr std::size_t maxSortedLines = 8; // the ordering check is cubic

std::vector<dvw::TimeString> splitLines(const std::uint8_t *data, std::size_t size)
{
    std::vector<dvw::TimeString> lines;
    const std::string all(reinterpret_cast<const char *>(data), size);
    std::size_t begin = 0;
    while (begin <= all.size() && lines.size() < maxLines) {
        std::size_t end = all.find('\n', begin);
        if (end == std::string::npos)
            end = all.size();
        lines.emplace_back(all.substr(begin, end - begin));
        begin = end + 1;
    }
    return lines;
}

void checkTables(const dvw::CategoryTables &tables, const std::vector<dvw::TimeString> &lines)
{
    const auto &cats = tables.categories();
    for (std::size_t i = 0; i < cats.size(); ++i) {
        const dvw::CatStruct &cat = cats[i];
        if (cat.line >= lines.size())
            std::abort();
        const std::string &text = lines[cat.line].text;
        if (!dvw::IsDefinitionText(text) || cat.descriptionPos > text.size())
            std::abort();
        if (dvw::DefinitionCode(text) != cat.packedCode || cat.code[4] != '\0')
            std::abort();
        if (i > 0 && cats[i - 1].packedCode > cat.packedCode)
            std::abort();
        if (tables.find(cat.packedCode) < 0)
            std::abort();
    }
}

void checkMarkerRewrite(const dvw::CategoryTables &tables, std::vector<dvw::TimeString> lines)
{
    for (const dvw::CatStruct &cat : tables.categories()) {
        std::string &text = lines[cat.line].text;
        const std::string description = text.substr(cat.descriptionPos);
        const bool select = cat.selected == 0;
        dvw::SetDefinitionMarker(text, select);
        dvw::CategoryTables after;
        after.scan(lines);
        bool found = false;
        for (const dvw::CatStruct &again : after.categories()) {
            if (again.line != cat.line)
                continue;
            found = true;
            if (again.packedCode != cat.packedCode || again.colour != cat.colour
                || (again.selected != 0) != select
                || text.substr(again.descriptionPos) != description)
                std::abort();
        }
        if (!found)
            std::abort();
    }
}

void checkOrdering(const std::vector<dvw::TimeString> &lines, dvw::SortMode mode)
{
    const std::size_t n = std::min(lines.size(), maxSortedLines);
    for (std::size_t a = 0; a < n; ++a) {
        if (dvw::LineBefore(lines[a], lines[a], mode))
            std::abort();
        for (std::size_t b = 0; b < n; ++b) {
            const int ab = dvw::CompareLines(lines[a], lines[b], mode);
            if (ab != -dvw::CompareLines(lines[b], lines[a], mode))
                std::abort();
            for (std::size_t c = 0; c < n; ++c) {
                const int bc = dvw::CompareLines(lines[b], lines[c], mode);
                const int ac = dvw::CompareLines(lines[a], lines[c], mode);
                if ((ab < 0 && bc < 0 && ac >= 0) || (ab == 0 && bc == 0 && ac != 0))
                    std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::vector<dvw::TimeString> lines = splitLines(data, size);
    dvw::SimpleReadContext context;
    for (dvw::TimeString &line : lines) {
        dvw::ApptInfo info;
        dvw::ReadAppt(info, context, line);
    }
    dvw::CategoryTables tables;
    tables.scan(lines);
    checkTables(tables, lines);
    checkMarkerRewrite(tables, lines);
    checkOrdering(lines, dvw::SortMode::ByDate);
    checkOrdering(lines, dvw::SortMode::ByCategory);
    return 0;
}
