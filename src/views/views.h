#pragma once

namespace dvw {

class TDVDecoratedMDIFrame;

// Installs this layer in the main window: the factory of every view slot it fills (the
// appointment list in slot 0, which each document opens with, and the current-appointment
// pane) and the commands that open and close them. The views hear their document through
// the document manager's per-document signals and ask the main window for everything else
// through one ViewHost per document.
void InstallViews(TDVDecoratedMDIFrame &frame);

} // namespace dvw
