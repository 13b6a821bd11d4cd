#pragma once

#include "entryactions.h"

#include <functional>
#include <memory>

class QDialog;

namespace dvw {

class TDVDecoratedMDIFrame;

// What the search and filter commands use; tests replace them.
struct SearchServices
{
    std::shared_ptr<Beeper> beeper;
    // Runs a dialog window-modal to the main window; true when it was accepted.
    std::function<bool(QDialog &dialog)> runDialog;
};

// Registers Find, Next, Screen, Restore, the start date, the priority level, showing
// unprioritised entries and the two category commands, and keeps the texts and checks of
// their menu items (and of the view toggles) up to date. The filters are the
// application's: changing one rebuilds every open document.
void InstallSearch(TDVDecoratedMDIFrame &frame, SearchServices services = {});

} // namespace dvw
