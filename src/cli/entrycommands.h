#pragma once

#include "clioptions.h"

#include <functional>
#include <iosfwd>

namespace dvw {

// done, delete and edit: change one line of a file and save it as add does. Exit status 0
// saved (or printed with --stdout), 1 not saved, 2 bad arguments, 3 the file changed on
// disk meanwhile, 4 nothing to change (nothing saved). beforeSave runs between loading
// and saving (tests change the file there).
int runDone(const CliOptions &o, std::ostream &out, std::ostream &err,
            const std::function<void()> &beforeSave = {});
int runDelete(const CliOptions &o, std::ostream &out, std::ostream &err,
              const std::function<void()> &beforeSave = {});
int runEdit(const CliOptions &o, std::ostream &out, std::ostream &err,
            const std::function<void()> &beforeSave = {});

} // namespace dvw
