// Arbitrary bytes as one appointment line, read, written, read again under every date
// setting. The written line must mean what the original meant (apart from what writing
// legitimately normalises), keep the free text byte for byte, and write itself again
// unchanged.
#include "core/apptmeaning.h"
#include "core/linereader.h"
#include "core/linewriter.h"
#include "fuzzsettings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string meaningOf(const dvw::ApptInfo &info, const dvw::TimeString &line,
                      const dvw::LineDates &dates)
{
    return dvw::DescribeMeaning(info, line, dates.done, dates.excluded);
}

[[noreturn]] void fail(const char *what, const std::string &a, const std::string &b)
{
    std::fprintf(stderr, "%s\n  first:  %s\n  second: %s\n", what, a.c_str(), b.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the settings, the rest is the line.
    const dvw::DateTextSettings settings = dvw::fuzz::dateSettingsFromByte(data[0]);
    dvw::SimpleReadContext doc(settings);

    dvw::TimeString line(std::string(reinterpret_cast<const char *>(data + 1), size - 1));
    dvw::ApptInfo info;
    dvw::LineDates dates;
    dvw::ReadAppt(info, doc, line, dates);
    if (info.kind == dvw::CategoryLine)
        return 0;
    const std::string original = meaningOf(info, line, dates);

    dvw::WriteAppt(info, dates, doc, line);
    const std::string written = line.text;
    dvw::ApptInfo again;
    dvw::LineDates datesAgain;
    dvw::ReadAppt(again, doc, line, datesAgain);
    const std::string reread = meaningOf(again, line, datesAgain);
    if (reread != original)
        fail(("meaning changed, written as: " + written).c_str(), original, reread);

    dvw::WriteAppt(again, datesAgain, doc, line);
    if (line.text != written)
        fail("writing is not idempotent", written, line.text);
    return 0;
}
