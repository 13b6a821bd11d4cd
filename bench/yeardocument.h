#pragma once

#include "store/tapptdocument.h"

#include <memory>

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

} // namespace dvw::bench
