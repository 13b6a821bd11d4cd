#pragma once

#include "entryactions.h"
#include "featureservices.h"

class QWidget;

namespace dvw {

class TDVDecoratedMDIFrame;

// Registers mark done/undone, delete and copy on the current document's appointment list.
// Paste is registered by the edit dialog it opens.
void InstallEntryOps(TDVDecoratedMDIFrame &frame, const FeatureServices &services);
// What the entry commands of this main window work with on the document, its dialogs
// asking over parent.
EntryContext entryContextOf(const FeatureServices &services, TDVDecoratedMDIFrame &frame,
                            TApptDocument &doc, QWidget *parent);

} // namespace dvw
