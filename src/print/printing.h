#pragma once

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QPrinter;

namespace dvw {

class TDVDecoratedMDIFrame;
class TPrintPreview;

// How the print commands reach the user and the printer; tests replace them.
struct PrintServices
{
    // Runs a dialog window-modal to the main window; true when it was accepted.
    std::function<bool(QDialog &dialog)> runDialog;
    // Shows the preview, modal to the main window, until it is closed.
    std::function<void(TPrintPreview &preview)> runPreview;
    // The system's default printer, or null when the system has none: printing then
    // writes a PDF file the user names.
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter;
    // The page set-up dialog on the printer.
    std::function<void(QPrinter &printer)> pageSetup;
};

// Registers Print Options, Print Preview, Print and Print Setup. The current document
// prints as month calendars when it shows its calendar view, else as its list (or wallet)
// when it shows the list; otherwise the four are disabled.
void InstallPrinting(TDVDecoratedMDIFrame &frame, PrintServices services = {});

} // namespace dvw
