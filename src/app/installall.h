#pragma once

// The one place that knows every feature: the program, the screenshot program and the
// widget tests install the same set. It lives with the executables because only they may
// see all the feature layers, which are siblings of each other.
#include "alarm/alarms.h"
#include "edit/edit.h"
#include "history/livefiles.h"
#include "history/undohistories.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "views/entryinstall.h"
#include "views/searchinstall.h"
#include "views/views.h"

namespace dvw {

// Teaches the main window every feature's views and commands. Call once, before the
// first document opens.
inline void InstallAll(TDVDecoratedMDIFrame &frame)
{
    InstallViews(frame);
    InstallSearch(frame);
    InstallEdit(frame);
    InstallAlarms(frame);
    InstallEntryOps(frame);
    InstallLiveFiles(frame, InstallUndo(frame));
}

} // namespace dvw
