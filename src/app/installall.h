#pragma once

// The one place that knows every feature: the program, the screenshot program and the
// widget tests install the same set. It lives with the executables because only they may
// see all the feature layers, which are siblings of each other.
#include "alarm/alarms.h"
#include "config/configure.h"
#include "edit/edit.h"
#include "exchange/exchange.h"
#include "history/livefiles.h"
#include "history/undohistories.h"
#include "print/printing.h"
#include "shell/recoverycopies.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "views/entryinstall.h"
#include "views/featureservices.h"
#include "views/searchinstall.h"
#include "views/views.h"

#include <utility>

namespace dvw {

// Teaches the main window every feature's views and commands, each given the same
// services: those passed (a test's fakes), the desktop's for the rest, the undo histories
// and the edit dialog. Call once, before the first document opens. A program that answers
// the print dialogs or the preview itself (the screenshot program) passes its own print
// services.
inline void InstallAll(TDVDecoratedMDIFrame &frame, FeatureServices services = {},
                       PrintServices printing = {})
{
    UndoHistories &undo = InstallUndo(frame);
    services.undo = &undo;
    services = completeServices(frame, std::move(services));
    services.edit = editDialogsOf(frame, services);
    InstallViews(frame, services);
    InstallSearch(frame, services);
    InstallEdit(frame, services);
    InstallAlarms(frame, services);
    InstallConfigure(frame, services);
    InstallEntryOps(frame, services);
    InstallPrinting(frame, std::move(printing));
    InstallIcalExchange(frame);
    InstallLiveFiles(frame, undo);
    InstallRecovery(frame);
}

} // namespace dvw
