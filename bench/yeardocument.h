#pragma once

#include "store/tapptdocument.h"

#include <memory>
#include <string>

namespace dvw::bench {

// An empty document whose window is the 365 days from 7 December 2026; each benchmark
// fills its own lines and rescans.
inline std::unique_ptr<TApptDocument> yearWindowDocument()
{
    DocumentSettings s;
    s.today = TDate(7, 12, 2026);
    s.start = s.today;
    s.days = 365;
    return std::make_unique<TApptDocument>(s);
}

// 178 lines on every weekday over that window: 64,970 entries, 730 headings and blanks.
inline std::unique_ptr<TApptDocument> everyDayDocument()
{
    auto doc = yearWindowDocument();
    for (int i = 0; i < 178; ++i)
        doc->lineTable().emplace_back("!sun,mon,tue,wed,thu,fri,sat " + std::to_string(i % 12 + 1)
                                      + ":00 pm Appointment number " + std::to_string(i)
                                      + " with a little more text");
    doc->Rescan();
    return doc;
}

} // namespace dvw::bench
