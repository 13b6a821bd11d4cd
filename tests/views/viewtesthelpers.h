#pragma once

#include "store/tapptdocument.h"
#include "testdocuments.h"

#include <memory>
#include <string>
#include <vector>

namespace dvw::test {

// A document over 7 December 2026 and the 30 days after it, every category shown, built
// from these lines (continuations joined with CR LF, as loading joins them).
inline std::unique_ptr<TApptDocument> documentOf(const std::vector<std::string> &lines)
{
    return documentOf(lines, TDate(7, 12, 2026), 30, true);
}

// The display-index position of the first entry of this line, or -1.
inline int positionOfLine(TApptDocument &doc, int line)
{
    const std::vector<IndexTy> &index = doc.engine().index();
    for (std::size_t i = 0; i < index.size(); ++i) {
        if ((index[i].kind == DatedEntry || index[i].kind == NoteEntry) && index[i].value == line)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace dvw::test

#include <QString>

#include <ostream>

// Failing comparisons of texts print the text.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
