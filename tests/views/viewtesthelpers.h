#pragma once

#include "store/tapptdocument.h"

#include <memory>
#include <string>
#include <vector>

namespace dvw::test {

// A document over 7 December 2026 and the 30 days after it, every category shown, built
// from these lines (continuations joined with CR LF, as loading joins them).
inline std::unique_ptr<TApptDocument> documentOf(const std::vector<std::string> &lines)
{
    DocumentSettings s;
    s.today = TDate(7, 12, 2026);
    s.start = s.today;
    s.days = 30;
    s.allCategories = true;
    auto doc = std::make_unique<TApptDocument>(s);
    for (const std::string &line : lines)
        doc->lineTable().emplace_back(line);
    doc->Rescan();
    return doc;
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
