#pragma once

#include "core/tdate.h"

namespace dvw {

// What the views of a document are told: after the document placed a new line, show
// this date, then select this display-index position; and when one view moves its cursor,
// the position it selected.
class DocumentListener
{
public:
    virtual ~DocumentListener() = default;

    virtual void goToDate(const TDate &date) = 0;
    // A display-index position, or -1 when the index is empty.
    virtual void selectPosition(int position) = 0;
    // The document is going away: a listener that outlives it must not touch it again
    // (a closed window is deleted a moment after its document).
    virtual void documentClosed() { }
};

} // namespace dvw
