#pragma once

#include "apptinfo.h"
#include "apptkind.h"
#include "tdate.h"

#include <array>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

namespace dvw {

// The days the rules compute: 1 January of year 1 to 31 December of year 99999. No rule
// gives a date outside them, and the day-number arithmetic of TDate is exact inside.
inline constexpr std::int64_t firstRuleDay = 1721426;
inline constexpr std::int64_t lastRuleDay = 38245309;

// What a decoded line says about the dates it gives.
struct RecurrenceRule
{
    TDate mainDate;
    TDate startDate;
    TDate endDate;
    std::int32_t kind = Unscheduled;
    std::int32_t n = 0; // repeat count, or the ordinal of kind 12 (5 = last)
    std::int32_t month = 0; // kind 12: 1..12, 0 for every month
    std::int32_t weekday = 0; // kind 12: 0 = Sunday ... 6 = Saturday
    std::int32_t offset = 0; // kind 12: days after (+) or before (-) the computed date
    std::array<bool, 7> weekdays {}; // kind 11, Sunday first
    bool hasStart = false;
    bool hasEnd = false;

    static RecurrenceRule of(const ApptInfo &info);
};

// Inclusive day numbers.
struct DayRange
{
    std::int64_t lo;
    std::int64_t hi;
};

// Where the dates go: a callable taking a TDate, referred to, not copied, for the one call.
class DateSink
{
public:
    template<typename F, typename = std::enable_if_t<!std::is_same_v<std::decay_t<F>, DateSink>>>
    DateSink(F &&f) // NOLINT: converts from any callable on purpose
        : m_object(static_cast<const void *>(std::addressof(f)))
        , m_call([](const void *object, TDate date) {
            using Callable = std::remove_reference_t<F>;
            (*static_cast<Callable *>(const_cast<void *>(object)))(date);
        })
    { }

    void operator()(TDate date) const { m_call(m_object, date); }

private:
    const void *m_object;
    void (*m_call)(const void *, TDate);
};

// Calls sink with each date that the rule gives inside range, in ascending order: the
// day number, with LastDay set where a month series takes a month's last day. A line's
// start and end dates narrow the range; only days from firstRuleDay to lastRuleDay are
// computed, which bounds every loop. Notes, category definitions and unscheduled lines
// give nothing.
//
// A day count without a start date (every n days) counts from countFrom, and an nth
// weekday series without one starts in countFrom's month: a window passes its lead-in
// start. Yearly kinds give their date in every year of the range.
void forEachRuleDate(const RecurrenceRule &rule, DayRange range, std::int64_t countFrom,
                     DateSink sink);
// The same dates appended to dates, for a caller that handles very many: no call per date.
void appendRuleDates(const RecurrenceRule &rule, DayRange range, std::int64_t countFrom,
                     std::vector<TDate> &dates);

// Whether TDate can split this day number into its calendar date: the main dates of
// year-less lines lie a little below firstRuleDay, dates with wrapped years anywhere.
bool isSplittableDay(std::int64_t day);

} // namespace dvw
