#pragma once

#include "shell/commandtable.h"
#include "shell/dvdocmanager.h"

#include <vector>

namespace dvw {

struct FeatureServices;
class TApptDocument;
class TDVDecoratedMDIFrame;

// Installs this layer in the main window: the factory of every view slot it fills (the
// appointment list in slot 0, which each document opens with, and the current-appointment
// pane) and the commands that open and close them. The views hear their document through
// the document manager's per-document signals and ask the main window for everything else
// through one ViewHost per document, which the services fill in.
void InstallViews(TDVDecoratedMDIFrame &frame, const FeatureServices &services);

// The file view and the calendar take the document's window alone: the slot's view opens
// with its menu and the other views close after it (so the document never loses its last
// window on the way). Called while it is open, the list comes back, which opens its panes.
void toggleSoleView(TDVDecoratedMDIFrame &frame, TApptDocument &doc, ViewSlot slot,
                    std::vector<MenuEntry> menu);

} // namespace dvw
