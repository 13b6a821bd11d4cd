#pragma once

#include "store/tapptdocument.h"

#include <memory>
#include <string>
#include <vector>

namespace dvw::test {

// The settings of a document whose window starts today, on `start`, for `days` days.
inline DocumentSettings windowSettings(TDate start, int days, bool allCategories = false)
{
    DocumentSettings s;
    s.today = start;
    s.start = start;
    s.days = days;
    s.allCategories = allCategories;
    return s;
}

// A document of these lines (continuations joined with CR LF, as loading joins them),
// rebuilt for that window.
inline std::unique_ptr<TApptDocument> documentOf(std::vector<std::string> lines, TDate start,
                                                 int days, bool allCategories = false)
{
    auto doc = std::make_unique<TApptDocument>(windowSettings(start, days, allCategories));
    for (std::string &line : lines)
        doc->lineTable().emplace_back(std::move(line));
    doc->Rescan();
    return doc;
}

} // namespace dvw::test
