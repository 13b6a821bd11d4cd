#pragma once

// The one place that knows every feature: the program, the screenshot program and the
// widget tests install the same set. It lives with the executables because only they may
// see all the feature layers, which are siblings of each other.
#include "alarm/alarms.h"
#include "config/configure.h"
#include "edit/edit.h"
#include "exchange/exchange.h"
#include "print/printing.h"
#include "shell/livefiles.h"
#include "shell/recoverycopies.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "shell/undohistories.h"
#include "views/entryinstall.h"
#include "views/searchinstall.h"
#include "views/views.h"

#include <utility>

namespace dvw {

// Teaches the main window every feature's views and commands. Call once, before the
// first document opens. A program that answers the print dialogs or the preview itself
// (the screenshot program) passes its own print services.
inline void InstallAll(TDVDecoratedMDIFrame &frame, PrintServices printing = {})
{
    InstallViews(frame);
    InstallSearch(frame);
    InstallEdit(frame);
    InstallAlarms(frame);
    InstallConfigure(frame);
    InstallEntryOps(frame);
    InstallPrinting(frame, std::move(printing));
    InstallIcalExchange(frame);
    InstallLiveFiles(frame, InstallUndo(frame));
    InstallRecovery(frame);
}

} // namespace dvw
