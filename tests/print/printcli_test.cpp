// dayvane-cli print as a user runs it: the PDF it writes holds the pages its layout
// records give, each item's first word where the layout puts it.
#include "pdfwords.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace dvw;

namespace {

struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// With a settings folder, the command reads its settings there.
CliRun cli(const QStringList &args, const QString &settings = {})
{
    QProcess process;
    if (!settings.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DAYVANE_CONFIG_DIR"), settings);
        process.setProcessEnvironment(env);
    }
    process.start(QStringLiteral(DVW_CLI), args);
    CliRun r;
    if (!process.waitForFinished(120000))
        return r;
    r.status = process.exitCode();
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

QString writeSample(const QTemporaryDir &dir)
{
    QByteArray text = "* Call the plumber about the kitchen tap\r\n";
    for (int d = 1; d <= 28; ++d) {
        const QByteArray date = "2/" + QByteArray::number(d) + "/2027";
        text += date + " Standup " + QByteArray::number(d) + "\r\n";
        text += date
            + " Write the report about everything that happened in the week and "
              "send it around\r\n";
        if (d % 5 == 0)
            text += "\\B" + date.left(date.size() - 4) + "1980 Kim (born 1980)\r\n";
    }
    const QString path = dir.filePath(QStringLiteral("N.APT"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text);
    return path;
}

TEST(PrintCli, ThePdfHoldsThePagesTheLayoutGives)
{
    QTemporaryDir dir;
    const QString file = writeSample(dir);
    struct Case
    {
        const char *what;
        QStringList options;
    };
    const std::vector<Case> cases = {
        {"list in two columns by end date",
         {"--layout", "list", "--columns", "2", "--through", "2027-02-28", "--notes"}},
        {"wallet", {"--layout", "wallet", "--pages", "3"}},
        {"list on letter paper, landscape",
         {"--layout", "list", "--columns", "3", "--pages", "2", "--paper", "letter",
          "--orientation", "landscape"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        const CliRun run
            = cli(QStringList {"print", file, "--today", "2027-02-01", "--pdf", pdf, "--json"}
                  + c.options);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const std::vector<QJsonObject> layout = test::JsonLinesOf(run.out);
        ASSERT_GE(layout.size(), 3u);
        const test::PdfText text = test::PdfWordsOf(pdf);
        ASSERT_TRUE(text.ok) << "pdftotext (poppler-utils) is needed";
        EXPECT_EQ(text.pages, layout.back().value(QStringLiteral("pages")).toInt());
        EXPECT_EQ(test::ItemsMissingFrom(text, layout, 2.0).join(u'\n').toStdString(), "");
    }
}

TEST(PrintCli, ExitStatusesAndAnUntouchedFileOnFailure)
{
    QTemporaryDir dir;
    const QString file = writeSample(dir);
    const QString kept = dir.filePath(QStringLiteral("kept.pdf"));
    {
        QFile f(kept);
        f.open(QIODevice::WriteOnly);
        f.write("old");
    }
    struct Case
    {
        const char *what;
        QStringList args;
        int status;
    };
    const std::vector<Case> cases = {
        {"no layout", {"print", file, "--json"}, 2},
        {"neither --pdf nor --json", {"print", file, "--layout", "list"}, 2},
        {"columns out of range",
         {"print", file, "--layout", "list", "--json", "--columns", "5"},
         2},
        {"pages out of range", {"print", file, "--layout", "list", "--json", "--pages", "0"}, 2},
        {"--pages with --through",
         {"print", file, "--layout", "list", "--json", "--pages", "2", "--through", "2027-02-03"},
         2},
        {"months the wrong way round",
         {"print", file, "--layout", "month", "--json", "--months", "2027-03..2027-01"},
         2},
        {"a missing file",
         {"print", dir.filePath("none.APT"), "--layout", "list", "--pdf", kept},
         1},
        {"bad arguments", {"print", file, "--layout", "list", "--pdf", kept, "--columns", "9"}, 2},
        {"a directory as the output", {"print", file, "--layout", "list", "--pdf", dir.path()}, 1},
        {"an output that cannot be written",
         {"print", file, "--layout", "list", "--pdf", dir.filePath("no/such/dir/x.pdf")},
         1},
        {"a page too small for one line: Won't fit.",
         {"print", file, "--layout", "list", "--json", "--char-width", "7", "--profile", "7"},
         4},
    };
    // Profile 7 leaves a tenth of an inch between the top and bottom margins.
    QFile settings(dir.filePath(QStringLiteral("DVW7.conf")));
    settings.open(QIODevice::WriteOnly);
    settings.write("[General]\nTOPMARGIN=5.80\nBOTTOMMARGIN=5.80\n");
    settings.close();
    for (const Case &c : cases) {
        const CliRun run = cli(c.args, dir.path());
        EXPECT_EQ(run.status, c.status) << c.what << ": " << run.err.toStdString();
    }
    QFile f(kept);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("old"));
}

} // namespace
