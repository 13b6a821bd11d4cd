#pragma once

#include <iosfwd>

namespace dvw {

struct CliOptions;

// `dayvane-cli config list | get NAME | set NAME VALUE | toggle NAME [--profile N]`.
// list prints every setting as NAME=value in the table's order, get one: the stored text,
// or the default's when nothing is stored (defaults that depend on the machine as for one
// without a screen or sound input). set and toggle apply the Configure menu's rule for
// NAME (settings/configrules.h), write that one value and print NAME=stored text; the
// menu's next-start notice goes to err. Exit status: 0 stored (or printed), 1 not written
// (the reason on err), 2 bad arguments, an unknown NAME or an unreadable value, 3 a value
// out of the accepted range (nothing written).
int runConfig(const CliOptions &options, std::ostream &out, std::ostream &err);

} // namespace dvw
