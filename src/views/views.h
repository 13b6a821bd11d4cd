#pragma once

namespace dvw {

class TDVDecoratedMDIFrame;

// Teaches the main window's document manager to make the views of this layer, and wires
// what they ask of the main window (commands, help, focus) to it.
void InstallViews(TDVDecoratedMDIFrame &frame);

} // namespace dvw
