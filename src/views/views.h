#pragma once

namespace dvw {

struct FeatureServices;
class TDVDecoratedMDIFrame;

// Installs this layer in the main window: the factory of every view slot it fills (the
// appointment list in slot 0, which each document opens with, and the current-appointment
// pane) and the commands that open and close them. The views hear their document through
// the document manager's per-document signals and ask the main window for everything else
// through one ViewHost per document, which the services fill in.
void InstallViews(TDVDecoratedMDIFrame &frame, const FeatureServices &services);

} // namespace dvw
