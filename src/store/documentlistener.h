#pragma once

#include "core/tdate.h"

namespace dvw {

// What the views of a document are told after the document placed a new line: show
// this date, then select this display-index position.
class DocumentListener
{
public:
    virtual ~DocumentListener() = default;

    virtual void goToDate(const TDate &date) = 0;
    virtual void selectPosition(int position) = 0;
};

} // namespace dvw
