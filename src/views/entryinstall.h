#pragma once

#include "entryactions.h"

#include <functional>
#include <memory>

class QWidget;

namespace dvw {

class TDVDecoratedMDIFrame;

// The clipboard of the desktop: plain text for other programs, and the line's exact bytes
// under a type of our own, which a paste prefers.
std::unique_ptr<EntryClipboard> SystemEntryClipboard();

// The services the entry commands use; tests replace them.
struct EntryServices
{
    std::shared_ptr<Beeper> beeper;
    std::shared_ptr<EntryClipboard> clipboard;
    std::function<std::optional<bool>(QWidget *parent)> chooseScope; // TDelDialog by default
};

// Registers mark done/undone, delete and copy on the current document's appointment list.
// Paste stays unregistered (and disabled) until the edit dialog it opens is installed.
void InstallEntryOps(TDVDecoratedMDIFrame &frame, EntryServices services = {});

} // namespace dvw
