#pragma once

namespace dvw {

// What the other views of a document read from its list view: the cursor's display line.
class ListCursor
{
public:
    virtual ~ListCursor() = default;
    virtual int cursorLine() const = 0;
};

} // namespace dvw
