#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <vector>

namespace dvw::test {

// One word of a PDF page as pdftotext -bbox finds it, in points from the top left.
struct PdfWord
{
    int page = 0; // from 1
    double x = 0;
    double y = 0;
    QString text;
};

struct PdfText
{
    bool ok = false; // pdftotext ran
    int pages = 0;
    std::vector<PdfWord> words;
};

// Runs poppler's pdftotext -bbox over the file.
PdfText PdfWordsOf(const QString &path);

// The records of `dayvane-cli print --json`, one object per line.
std::vector<QJsonObject> JsonLinesOf(const QByteArray &output);

// The items (not the headers, pages or the end) whose first line is not empty, each with
// the page it stands on, where that line starts (page units) and its first word; checks
// that the PDF has a word of that text within `slack` points of where the layout puts it.
// Returns the items that have no such word.
QStringList ItemsMissingFrom(const PdfText &pdf, const std::vector<QJsonObject> &layout,
                             double slack);

} // namespace dvw::test
