#pragma once

#include "entryactions.h"
#include "viewhost.h"

#include <functional>
#include <memory>

class QWidget;

namespace dvw {

class TDVDecoratedMDIFrame;

// The services the entry commands use; tests replace them.
struct EntryServices
{
    std::shared_ptr<Beeper> beeper;
    std::shared_ptr<EntryClipboard> clipboard;
    std::function<std::optional<bool>(QWidget *parent)> chooseScope; // TDelDialog by default
};

// Registers mark done/undone, delete and copy on the current document's appointment list
// and gives the views the entry commands of their own (the calendar's popup). Paste is
// registered by the edit dialog it opens.
void InstallEntryOps(TDVDecoratedMDIFrame &frame, EntryServices services = {});
// Replaces this main window's entry services (the system's by default); services left
// empty take the system's.
void SetEntryServices(TDVDecoratedMDIFrame &frame, EntryServices services);
// What the entry commands of this main window work with on the document, its dialogs
// asking over parent.
EntryContext EntryContextOf(TDVDecoratedMDIFrame &frame, TApptDocument &doc, QWidget *parent);
// Whether InstallEntryOps ran for this main window.
bool EntryOpsInstalled(TDVDecoratedMDIFrame &frame);

// How the views of this main window open the edit dialog, which they cannot include.
void SetEditDialogHook(TDVDecoratedMDIFrame &frame, EditDialogHook hook);
const EditDialogHook &EditDialogHookOf(TDVDecoratedMDIFrame &frame);

} // namespace dvw
