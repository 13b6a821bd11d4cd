#pragma once

#include <iosfwd>

namespace dvw {

struct CliOptions;

// `dayvane-cli print`: lays out the list, wallet or month printout of FILE and writes it as
// a PDF file (atomically) and/or as JSON Lines of the layout. Returns 0 laid out (also when
// printing by end date stopped at the page limit, with a note on err), 1 FILE unreadable
// or the PDF not written (its file untouched), 2 bad arguments, 4 a column could not take
// even its first item ("Won't fit."; the PDF holds the pages laid out until then).
int runPrint(const CliOptions &options, std::ostream &out, std::ostream &err);

} // namespace dvw
