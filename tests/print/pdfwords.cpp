#include "pdfwords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>

#include <cmath>

namespace dvw::test {

namespace {

constexpr double pointsPerUnit = 72.0 / 96.0;

QString unescaped(QString text)
{
    return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

} // namespace

PdfText PdfWordsOf(const QString &path)
{
    PdfText out;
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return out;
    out.ok = true;
    static const QRegularExpression word(
        QString::fromLatin1("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" "
                            "yMax=\"[0-9.]+\">(.*)</word>"));
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines) {
        if (line.contains(QStringLiteral("<page "))) {
            ++out.pages;
            continue;
        }
        const QRegularExpressionMatch m = word.match(line);
        if (m.hasMatch())
            out.words.push_back({out.pages, m.captured(1).toDouble(), m.captured(2).toDouble(),
                                 unescaped(m.captured(3))});
    }
    return out;
}

std::vector<QJsonObject> JsonLinesOf(const QByteArray &output)
{
    std::vector<QJsonObject> records;
    for (const QByteArray &line : output.split('\n')) {
        if (!line.trimmed().isEmpty())
            records.push_back(QJsonDocument::fromJson(line).object());
    }
    return records;
}

QStringList ItemsMissingFrom(const PdfText &pdf, const std::vector<QJsonObject> &layout,
                             double slack)
{
    QStringList missing;
    for (const QJsonObject &item : layout) {
        if (!item.contains(QStringLiteral("kind")))
            continue;
        const QString first = item.value(QStringLiteral("text")).toArray().first().toString();
        const QString word = first.split(u' ', Qt::SkipEmptyParts).value(0);
        if (word.isEmpty())
            continue;
        const int page = item.value(QStringLiteral("page")).toInt();
        const double x = item.value(QStringLiteral("x")).toInt() * pointsPerUnit;
        const double y = item.value(QStringLiteral("y")).toInt() * pointsPerUnit;
        bool found = false;
        for (const PdfWord &w : pdf.words)
            found = found
                || (w.page == page && w.text == word && std::abs(w.x - x) <= slack
                    && std::abs(w.y - y) <= slack);
        if (!found)
            missing << QStringLiteral("page %1 at %2,%3: %4").arg(page).arg(x).arg(y).arg(word);
    }
    return missing;
}

} // namespace dvw::test
