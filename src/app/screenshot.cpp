// Renders the main window as it looks after start, without a display, into a PNG file:
// the picture in the README. A fixed clock keeps the picture the same from run to run.
#include "app/commandline.h"
#include "app/dvwapp.h"
#include "app/platformprobe.h"
#include "app/tdvdecoratedmdiframe.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/scriptedprompter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication qapp(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: dayvane-screenshot OUTPUT.png [FILE.APT]\n");
        return 2;
    }
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    std::vector<std::string> args = {"dayvane"};
    if (argc >= 3)
        args.emplace_back(
            QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath().toStdString());

    // Started in an empty folder holding a few sample lines as NOTES.APT.
    QTemporaryDir workDir;
    QDir::setCurrent(workDir.path());
    QFile sample(QStringLiteral("NOTES.APT"));
    if (sample.open(QIODevice::WriteOnly)) {
        sample.write("* Buy milk\r\n*WORK Call back\r\n12/7/26 9:00 am Dentist\r\n"
                     "\\B3/5/60 Ann (  )\r\n!mon, wed 7:30 Gym\r\n?/15 Pay rent\r\n"
                     "!2W Team meeting\r\n\\2\\H12/25 +1 Christmas\r\n");
        sample.close();
    }

    dvw::ScriptedPrompter prompter;
    dvw::ScriptedFileChooser files;
    dvw::ManualClock clock(QDateTime(QDate(2026, 12, 7), QTime(9, 5)));
    // A wide screen with no sound devices, whatever this machine has; no stored settings.
    const dvw::FixedProbe probe(1280, 0);
    QTemporaryDir settingsDir;
    qputenv("DAYVANE_CONFIG_DIR", settingsDir.path().toLocal8Bit());
    dvw::dvwApp app(dvw::ParseCommandLine(args),
                    {prompter, files, clock, probe, dvw::dvwApp::defaultHelpDirectory()});
    dvw::TDVDecoratedMDIFrame frame(app);
    frame.resize(960, 640);
    frame.show();
    frame.openStartFile();
    QApplication::processEvents();
    if (!frame.grab().save(output)) {
        std::fprintf(stderr, "dayvane-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
