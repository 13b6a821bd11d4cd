#pragma once

#include "store/memorysource.h"

#include <string>

namespace dvw {

// How the command-line tool opens an appointment file until it shares the desktop
// program's document: the file's bytes split into lines and its categories scanned.
struct CliLoad
{
    bool ok = false;
    std::string error; // a sentence naming the path and the reason
};

// Refuses anything that is not a regular file (directories, devices, FIFOs, sockets).
CliLoad loadAppointmentFile(const std::string &path, MemorySource &document);

} // namespace dvw
