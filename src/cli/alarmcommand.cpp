#include "alarmcommand.h"

#include "alarm/alarmrules.h"
#include "clisettings.h"
#include "json.h"
#include "store/tapptdocument.h"

#include <memory>
#include <ostream>
#include <vector>

namespace dvw {

namespace {

// Looking back further than this is taken for a mistake: every day of the span is expanded.
constexpr std::int64_t maxSinceDays = 366;

bool twoDigits(const std::string &text, std::size_t at, int high, int &value)
{
    const char a = text[at], b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return false;
    value = (a - '0') * 10 + (b - '0');
    return value <= high;
}

int usageError(std::ostream &err, const std::string &problem)
{
    err << "dayvane-cli: " << problem << "\n";
    return 2;
}

std::int64_t localMinuteOf(const LocalMoment &m)
{
    return static_cast<std::int64_t>(m.date.dayNumber) * minutesPerDay + m.minute;
}

} // namespace

std::optional<LocalMoment> parseLocalMoment(const std::string &text)
{
    if (text.size() != 16 || text[10] != 'T' || text[13] != ':')
        return std::nullopt;
    const std::optional<TDate> date = parseIsoDate(text.substr(0, 10));
    int hour = 0, minute = 0;
    if (!date || !twoDigits(text, 11, 23, hour) || !twoDigits(text, 14, 59, minute))
        return std::nullopt;
    return LocalMoment {*date, hour * 60 + minute};
}

int runAlarms(const CliOptions &o, std::ostream &out, std::ostream &err)
{
    if (o.positional.empty())
        return usageError(err, "alarms needs a FILE");
    if (!o.at)
        return usageError(err, "alarms needs --at YYYY-MM-DDTHH:MM");
    const std::optional<LocalMoment> at = parseLocalMoment(*o.at);
    if (!at)
        return usageError(err, "--at takes YYYY-MM-DDTHH:MM, not '" + *o.at + "'");
    std::int64_t from = localMinuteOf(*at);
    if (o.since) {
        const std::optional<LocalMoment> since = parseLocalMoment(*o.since);
        if (!since)
            return usageError(err, "--since takes YYYY-MM-DDTHH:MM, not '" + *o.since + "'");
        from = localMinuteOf(*since) + 1;
        if (localMinuteOf(*at) - from >= maxSinceDays * minutesPerDay)
            return usageError(err, "--since lies more than a year before --at");
    }

    const CliSettings settings = loadCliSettings(o);
    DocumentSettings d;
    d.dateText = settings.dateText;
    d.allCategories = settings.allCategories;
    d.unimportant = settings.unimportant;
    d.today = at->date;
    d.start = at->date;
    d.days = settings.days;
    d.nag = settings.nag;
    std::vector<std::unique_ptr<TApptDocument>> docs;
    std::vector<AlarmDocument> open;
    for (const std::string &path : o.positional) {
        docs.push_back(std::make_unique<TApptDocument>(d, path));
        const LoadLinesResult load = docs.back()->LoadLines();
        if (!load.ok || load.startedNew) {
            err << "dayvane-cli: " << (load.ok ? path + ": no such appointment file" : load.reason)
                << "\n";
            return 1;
        }
        open.push_back({docs.back().get(), docs.size(), false});
    }

    const std::int64_t now = localMinuteOf(*at);
    for (const Alarm &a : AlarmsBetween(open, settings.advance, from, now, now)) {
        out << JsonObject()
                   .addInt("file", static_cast<std::int64_t>(a.document))
                   .addInt("line", a.line)
                   .addDate("date", a.date)
                   .addInt("time", a.time)
                   .addInt("alarmMinute", a.alarmMinute)
                   .addBool("late", a.late)
                   .addString("text", a.text)
                   .str()
            << "\n";
    }
    return 0;
}

} // namespace dvw
