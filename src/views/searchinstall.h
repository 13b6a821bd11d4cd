#pragma once

#include "featureservices.h"

namespace dvw {

class TDVDecoratedMDIFrame;

// Registers Find, Next, Screen, Restore, the start date, the priority level, showing
// unprioritised entries and the two category commands, and keeps the texts and checks of
// their menu items (and of the view toggles) up to date. The filters are the
// application's: changing one rebuilds every open document.
void InstallSearch(TDVDecoratedMDIFrame &frame, const FeatureServices &services);

} // namespace dvw
