#pragma once

#include "entryactions.h"

#include <memory>

namespace dvw {

class TApptDocument;
class TApptListView;
class TDVDecoratedMDIFrame;

// What the file view's commands use besides the main window; tests replace them.
struct FileViewServices
{
    std::shared_ptr<Beeper> beeper;
    std::shared_ptr<EntryClipboard> clipboard;
};

// Installs the file view: its factory (slot 1), View > File (open or close it), and its
// commands: archive and append, marks, sort, and its own meaning of the Edit and Search
// commands while it is the current view. Insert and Edit of a row come with the edit
// dialog.
void InstallFileView(TDVDecoratedMDIFrame &frame, FileViewServices services = {});
void SetFileViewServices(TDVDecoratedMDIFrame &frame, FileViewServices services);

// The document's file view, when one is open.
TApptListView *FileViewOf(TDVDecoratedMDIFrame &frame, const TApptDocument &doc);
// The file view of the current document, when it shows one.
TApptListView *CurrentFileView(TDVDecoratedMDIFrame &frame);

} // namespace dvw
