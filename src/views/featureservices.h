#pragma once

#include "platform/beeper.h"
#include "platform/entryclipboard.h"
#include "viewhost.h"

#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace dvw {

class Prompter;
class TDVDecoratedMDIFrame;
class UndoHistories;

// Runs a dialog over the main window (window-modal); whether it was accepted.
using DialogRunner = std::function<bool(QDialog &dialog)>;

// What the features of one main window work with besides the window: the desktop's
// services and the links between features of sibling layers. The program makes one set
// (InstallAll) and gives it to every feature's install function; a test gives its fakes.
struct FeatureServices
{
    std::shared_ptr<Beeper> beeper;
    std::shared_ptr<EntryClipboard> clipboard;
    DialogRunner runDialog;
    // "This instance only or the entire cycle?" over parent: true for the cycle, none for
    // Cancel.
    std::function<std::optional<bool>(QWidget *parent)> chooseScope;
    Prompter *prompter = nullptr;
    // Null: a change made outside a command becomes no undo step.
    UndoHistories *undo = nullptr;
    // The edit dialog, which lives in a layer above the views; empty until it is installed.
    EditDialogs edit;
};

// The services, with the desktop's in place of those left empty: the system beep and
// clipboard, dialogs run window-modal, the delete dialog, the application's prompter.
FeatureServices completeServices(TDVDecoratedMDIFrame &frame, FeatureServices services);

} // namespace dvw
