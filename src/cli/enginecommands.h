#pragma once

#include "clioptions.h"
#include "clisettings.h"
#include "store/documentsettings.h"
#include "store/tapptdocument.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace dvw {

// The commands that run the occurrence engine over an appointment file. Each returns the
// exit status: 0 done, 1 the file could not be read, 2 bad arguments.
// The document settings and view filters that the options and the stored settings give.
DocumentSettings documentSettings(const CliOptions &o, const CliSettings &s);
ViewFilters viewFilters(const CliOptions &o);
// The system's date today.
TDate systemDate();

// The document, built for the window and the settings the options describe.
struct EngineRun
{
    EngineRun(const CliSettings &s, const DocumentSettings &d, std::string path);

    CliSettings settings;
    TApptDocument document;
};

// Loads the one FILE argument (or, when fileOptional, APPTFILE without one) and builds
// instances and index. Returns 0, or the exit status with its message on err.
int prepare(const CliOptions &o, std::unique_ptr<EngineRun> &run, bool fileOptional,
            std::ostream &err);

int runIndex(const CliOptions &options, std::ostream &out, std::ostream &err);
int runInstances(const CliOptions &options, std::ostream &out, std::ostream &err);
int runAgenda(const CliOptions &options, std::ostream &out, std::ostream &err);
// One month as the calendar view shows it: each day with its entries as the cell draws them.
int runMonth(const CliOptions &options, std::ostream &out, std::ostream &err);

} // namespace dvw
