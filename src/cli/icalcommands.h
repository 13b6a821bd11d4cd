#pragma once

#include "clioptions.h"

#include <functional>
#include <iosfwd>

namespace dvw {

// export: FILE [--ics OUT.ics] [--expand] [WINDOW OPTIONS]. Prints the calendar, or writes
// it atomically to OUT. 0 done, 1 FILE unreadable or OUT not written (OUT untouched; an
// OUT that is FILE or its backup is refused), 2 bad arguments.
int runExport(const CliOptions &o, std::ostream &out, std::ostream &err);

// import: CAL.ics [--into FILE] [--dry-run] [--today DATE] [DATE OPTIONS]. Appends the
// calendar's lines to FILE (default APPTFILE) and saves it as add does, then prints what
// was imported; --dry-run prints the lines instead (in the file's form) and saves nothing.
// 0 done, 1 FILE not written, 2 bad arguments or a calendar that cannot be read (the
// message names its line), 3 FILE changed on disk meanwhile. Nothing is appended on any
// failure. beforeSave runs between loading and saving (tests change the file there).
int runImport(const CliOptions &o, std::ostream &out, std::ostream &err,
              const std::function<void()> &beforeSave = {});

} // namespace dvw
