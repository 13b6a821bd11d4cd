#pragma once

#include "featureservices.h"

namespace dvw {

class TApptDocument;
class TFileView;
class TDVDecoratedMDIFrame;

// Installs the file view: its factory (slot 1) and View > File (open or close it). Each
// file view answers its own commands while it is the active view: archive and append,
// marks, sort, its Delete, Copy, Paste, Find and Next on raw lines, the appointment view
// (back to the list), and Insert and Edit of a row through the services' edit dialog.
void InstallFileView(TDVDecoratedMDIFrame &frame, const FeatureServices &services);

// The document's file view, when one is open.
TFileView *fileViewOf(TDVDecoratedMDIFrame &frame, const TApptDocument &doc);

} // namespace dvw
