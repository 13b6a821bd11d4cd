#pragma once

#include "tdate.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace dvw {

// A sorted list of dates in ascending day-number order; a new date goes behind any equal
// ones, and duplicates are kept.
class DateList
{
public:
    void insert(const TDate &date)
    {
        m_dates.insert(std::upper_bound(m_dates.begin(), m_dates.end(), date), date);
    }
    void clear() { m_dates.clear(); }
    bool empty() const { return m_dates.empty(); }
    std::size_t size() const { return m_dates.size(); }
    const TDate &operator[](std::size_t i) const { return m_dates[i]; }
    bool contains(const TDate &date) const
    {
        return std::binary_search(m_dates.begin(), m_dates.end(), date);
    }
    const std::vector<TDate> &dates() const { return m_dates; }

private:
    std::vector<TDate> m_dates;
};

// The done ("\\D") and excluded ("\\X") dates of one line, as its reader found them. The
// caller of the reader owns them; nothing else keeps the dates of a line.
struct LineDates
{
    DateList done;
    DateList excluded;

    void clear()
    {
        done.clear();
        excluded.clear();
    }
    bool empty() const { return done.empty() && excluded.empty(); }
};

} // namespace dvw
