#pragma once

#include <iosfwd>

namespace dvw {

struct CliOptions;

// `dayvane-cli when TEXT`: the days TEXT, read as one line of a document, shows on in the
// ten years from --from, at most --count of them. Returns the exit status.
int runWhen(const CliOptions &options, std::ostream &out, std::ostream &err);

} // namespace dvw
