#pragma once

#include "apptform.h"
#include "tapptdialog.h"
#include "views/featureservices.h"

#include <optional>
#include <string>

namespace dvw {

class TApptDocument;
class TDVDecoratedMDIFrame;

// The line an edit works on, taken before the dialog runs: while it is open the clock may
// rebuild the document (midnight), so the line must still hold this text afterwards.
// line -1: a new line.
struct EditTarget
{
    int line = -1;
    std::string text;
};

// The target of the entry at a display position, or nothing when the position holds no
// entry (a heading, a blank line, outside the index).
std::optional<EditTarget> TargetAt(const TApptDocument &doc, int position);

// What the dialog needs of a document: its reading context, today and its categories.
FormDocument FormDocumentOf(TApptDocument &doc);

// Puts what the dialog closed with into the document: a new line is added when OK gave a
// line; an edited line is replaced when OK changed it and the line still holds the text it
// was opened with. The document is marked changed only when a line changed. Whether it
// changed; false also when the target no longer matches.
bool StoreEditedLine(TApptDocument &doc, const EditTarget &target, bool accepted,
                     const ApptForm &form);

// The edit dialog as the views open it: on a list or calendar entry and on a file view row,
// run through the services' dialog runner. The views get it through their services.
EditDialogs editDialogsOf(TDVDecoratedMDIFrame &frame, const FeatureServices &services);
// Registers Insert, Insert with date, Edit and Paste of the appointment list with the main
// window.
void InstallEdit(TDVDecoratedMDIFrame &frame, const FeatureServices &services);

} // namespace dvw
