#include "icalexport.h"

#include "core/category.h"
#include "core/linereader.h"
#include "eventplan.h"
#include "eventtext.h"
#include "icalsupport.h"
#include "store/tapptdocument.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace dvw {

namespace {

// Dayvane's priority 1 (most important) to 4 on iCalendar's 1 (highest) to 9.
int icalPriorityOf(int priority)
{
    return 2 * priority - 1;
}

// A line that a text property cannot carry unchanged: control characters other than a tab
// and the CR LF between the parts of a continued text, or blanks at either end (a reader
// trims them off a value).
bool needsBytes(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (!text.empty() && (blank(text.front()) || blank(text.back())))
        return true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        if ((c < 0x20 && c != '\t') || c == 0x7F)
            return true;
    }
    return false;
}

std::string hexOf(std::string_view bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        hex += digits[b >> 4];
        hex += digits[b & 15u];
    }
    return hex;
}

std::string withoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

icalproperty *xProperty(const char *name, const std::string &value)
{
    icalproperty *p = icalproperty_new_x(value.c_str());
    icalproperty_set_x_name(p, name);
    return p;
}

// A stable identifier: the line's text hashed (FNV-1a), and how many equal lines came
// before it, so the same file exports the same identifiers.
class UidMaker
{
public:
    std::string next(std::string_view text)
    {
        std::uint64_t hash = 14695981039346656037ull;
        for (const char c : text)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        char uid[64];
        std::snprintf(uid, sizeof uid, "%016llx-%d@dayvane", static_cast<unsigned long long>(hash),
                      m_seen[hash]++);
        return uid;
    }

private:
    std::unordered_map<std::uint64_t, int> m_seen;
};

class CalendarBuilder
{
public:
    CalendarBuilder(TApptDocument &doc, const ExportRequest &request)
        : m_doc(doc)
        , m_request(request)
        , m_window(ExportWindow::of(request.first, request.last))
        , m_stamp(icalDateTime(request.today.dayNumber, 0))
    {
        m_stamp.zone = icaltimezone_get_utc_timezone();
    }

    ComponentPtr componentOf(const TimeString &line, const ApptInfo &info, const LineDates &dates);

private:
    ComponentPtr event(const TimeString &line, const ApptInfo &info, const LineDates &dates);
    ComponentPtr todo(const TimeString &line, const ApptInfo &info);
    void addCommon(icalcomponent *c, const TimeString &line, int number);
    void addCategoryAndPriority(icalcomponent *c, const ApptInfo &info);
    void addDays(icalcomponent *c, const EventPlan &plan);
    void addAlarm(icalcomponent *c, const ApptInfo &info, const std::string &summary);
    std::string planNote(const EventPlan &plan) const;
    icaltimetype timeOf(std::int64_t day, int minutes) const
    {
        return minutes < 0 ? icalDate(day) : icalDateTime(day, minutes);
    }

    TApptDocument &m_doc;
    const ExportRequest &m_request;
    ExportWindow m_window;
    icaltimetype m_stamp;
    UidMaker m_uids;
};

ComponentPtr CalendarBuilder::componentOf(const TimeString &line, const ApptInfo &info,
                                          const LineDates &dates)
{
    if (info.kind == Note)
        return todo(line, info);
    if (info.kind >= MonthlyInYear && info.kind <= NthWeekdayOfMonth)
        return event(line, info, dates);
    // Category definitions and other text: nothing to show, only the line to carry.
    ComponentPtr journal(icalcomponent_new(ICAL_VJOURNAL_COMPONENT));
    addCommon(journal.get(), line, info.index);
    return journal;
}

void CalendarBuilder::addCommon(icalcomponent *c, const TimeString &line, int number)
{
    icalcomponent_add_property(c, icalproperty_new_uid(m_uids.next(line.text).c_str()));
    icalcomponent_add_property(c, icalproperty_new_dtstamp(m_stamp));
    icalproperty *carried = nullptr;
    if (needsBytes(line.text)) {
        carried = xProperty(lineProperty, hexOf(line.text));
        icalparameter *bytes = icalparameter_new_x("HEX");
        icalparameter_set_xname(bytes, lineBytesParameter);
        icalproperty_add_parameter(carried, bytes);
    } else {
        carried = xProperty(lineProperty, withoutCarriageReturns(Utf8Of(line.text)));
    }
    icalcomponent_add_property(c, carried);
    icalcomponent_add_property(c, xProperty(lineNumberProperty, std::to_string(number)));
}

void CalendarBuilder::addCategoryAndPriority(icalcomponent *c, const ApptInfo &info)
{
    if (info.category != 0) {
        std::string name(m_doc.categoryDescription(m_doc.FindCategory(info.category)));
        if (name.empty())
            name = UnpackCategory(info.category);
        if (!name.empty())
            icalcomponent_add_property(c, icalproperty_new_categories(Utf8Of(name).c_str()));
    }
    if (info.priority >= 1 && info.priority <= 4)
        icalcomponent_add_property(c, icalproperty_new_priority(icalPriorityOf(info.priority)));
}

ComponentPtr CalendarBuilder::todo(const TimeString &line, const ApptInfo &info)
{
    ComponentPtr c(icalcomponent_new(ICAL_VTODO_COMPONENT));
    const EventText text = EventTextOf(line, m_doc.dateSettings());
    icalcomponent_add_property(c.get(), icalproperty_new_summary(text.summary.c_str()));
    if (!text.details.empty())
        icalcomponent_add_property(c.get(), icalproperty_new_description(text.details.c_str()));
    if (info.completed) {
        icalcomponent_add_property(c.get(), icalproperty_new_status(ICAL_STATUS_COMPLETED));
        icalcomponent_add_property(c.get(), icalproperty_new_percentcomplete(100));
    }
    addCategoryAndPriority(c.get(), info);
    addCommon(c.get(), line, info.index);
    return c;
}

std::string CalendarBuilder::planNote(const EventPlan &plan) const
{
    const std::string range = IsoDay(m_window.first) + " to " + IsoDay(m_window.last);
    if (plan.form == EventPlan::Form::Nowhere)
        return "Dayvane shows this appointment on no day from " + range + ".";
    if (plan.form != EventPlan::Form::Listed)
        return {};
    return "Dayvane lists the days of this appointment from " + range + " one by one"
        + (m_request.listed ? std::string(".") : ": iCalendar cannot state how it repeats.");
}

void CalendarBuilder::addDays(icalcomponent *c, const EventPlan &plan)
{
    const bool timed = plan.time >= 0;
    icalcomponent_add_property(c, icalproperty_new_dtstart(timeOf(plan.first, plan.time)));
    if (!timed && plan.spanDays > 1)
        icalcomponent_add_property(c, icalproperty_new_dtend(icalDate(plan.first + plan.spanDays)));
    if (plan.rule)
        icalcomponent_add_property(c, icalproperty_new_rrule(icalRecurrenceOf(*plan.rule, timed)));
    for (const std::int64_t day : plan.moreDays) {
        icaldatetimeperiodtype rdate {};
        rdate.time = timeOf(day, plan.time);
        rdate.period = icalperiodtype_null_period();
        icalcomponent_add_property(c, icalproperty_new_rdate(rdate));
    }
    for (const std::int64_t day : plan.leftOut)
        icalcomponent_add_property(c, icalproperty_new_exdate(timeOf(day, plan.time)));
}

// A timed appointment sounds its alarm its own advance (held to a day) or ADVANCE minutes
// before its time.
void CalendarBuilder::addAlarm(icalcomponent *c, const ApptInfo &info, const std::string &summary)
{
    if (info.time < 0)
        return;
    const std::uint32_t own = static_cast<std::uint32_t>(info.alarmAdvance);
    const int advance = info.alarmAdvance == -1
        ? std::clamp(m_request.advance, 0, 1440)
        : static_cast<int>(std::min<std::uint32_t>(own, 1440));
    icalcomponent *alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icaltriggertype trigger {};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-60 * advance);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
    icalcomponent_add_component(c, alarm);
}

ComponentPtr CalendarBuilder::event(const TimeString &line, const ApptInfo &info,
                                    const LineDates &dates)
{
    ComponentPtr c(icalcomponent_new(ICAL_VEVENT_COMPONENT));
    const EventText text = EventTextOf(line, m_doc.dateSettings());
    const EventPlan plan = PlanEvent(info, dates, m_window, m_request.listed);
    icalcomponent_add_property(c.get(), icalproperty_new_summary(text.summary.c_str()));
    std::string description = text.details;
    const std::string note = planNote(plan);
    if (!note.empty())
        description += (description.empty() ? "" : "\n\n") + note;
    if (!description.empty())
        icalcomponent_add_property(c.get(), icalproperty_new_description(description.c_str()));
    addDays(c.get(), plan);
    addCategoryAndPriority(c.get(), info);
    addCommon(c.get(), line, info.index);
    if (plan.form != EventPlan::Form::Nowhere)
        addAlarm(c.get(), info, text.summary);
    return c;
}

} // namespace

std::string ExportCalendar(TApptDocument &doc, const ExportRequest &request)
{
    quietIcalErrors();
    ComponentPtr calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//Dayvane//Dayvane " DVW_VERSION "//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    CalendarBuilder builder(doc, request);
    const std::vector<TimeString> &lines = doc.lines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].text.empty() && lines[i].text.front() == '~')
            continue; // deleted: the next save drops it
        TimeString line(lines[i].text);
        ApptInfo info(static_cast<std::int32_t>(i));
        LineDates dates;
        ReadAppt(info, doc, line, dates);
        icalcomponent_add_component(calendar.get(),
                                    builder.componentOf(line, info, dates).release());
    }
    return takeIcalString(icalcomponent_as_ical_string_r(calendar.get()));
}

} // namespace dvw
