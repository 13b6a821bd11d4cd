#pragma once

namespace dvw {

class TDVDecoratedMDIFrame;

// Makes every document the main window opens show its appointment list in slot 0, drawn
// with the application's fonts and colours, its commands going through the main window.
void InstallListViews(TDVDecoratedMDIFrame &frame);

} // namespace dvw
