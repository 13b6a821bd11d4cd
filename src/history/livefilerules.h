#pragma once

#include "store/fileio.h"

#include <optional>

namespace dvw {

// What a look at an open document's file finds, after the file system reported a change.
struct LiveFileFacts
{
    // The file now; none when it is gone.
    std::optional<FileIdentity> onDisk;
    // The version the document read or saved last.
    std::optional<FileIdentity> known;
    // The version the user chose to keep their changes over ("Keep mine").
    std::optional<FileIdentity> keptOver;
    bool unsavedChanges = false;
    bool goneReported = false;
    // A modal step (a dialog, a message box, a popup menu) is open.
    bool modalStep = false;
};

enum class LiveFileAction {
    Nothing, // our own save, or a version already dealt with
    Wait, // look again when the modal step has ended
    Reload, // no unsaved changes: read the file again at once
    OfferReload, // unsaved changes: ask whether to reload or keep them
    ReportGone, // the file disappeared: say so, keep the lines
};

// The one decision of a live file. A reload never runs inside a modal step: the step
// captured its target before it opened and must find the lines as they were.
LiveFileAction DecideLiveFile(const LiveFileFacts &facts);

} // namespace dvw
