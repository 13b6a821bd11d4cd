#pragma once

#include "core/readcontext.h"
#include "core/timestring.h"

#include <cstdint>
#include <vector>

namespace dvw {

// What the occurrence engine needs from the document whose lines it expands: the line
// table, the reading context (date settings and category colours), and the category
// table's filter and lookup.
class EngineSource
{
public:
    virtual ~EngineSource() = default;

    virtual std::vector<TimeString> &lineTable() = 0;
    virtual ReadContext &readContext() = 0;
    // The category filter: whether lines of this packed code (0: none) are shown.
    virtual bool IsShown(std::uint32_t code) const = 0;
    // Position of the category in the category table, or -1 when it is not defined.
    virtual int FindCategory(std::uint32_t code) const = 0;
};

} // namespace dvw
