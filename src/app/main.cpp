#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/messageboxprompter.h"
#include "shell/commandline.h"
#include "shell/dvwapp.h"
#include "shell/screenprobe.h"
#include "shell/tdvdecoratedmdiframe.h"
#include "views/shellviews.h"
#include "views/views.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication qapp(argc, argv);
    // QApplication has taken its own options out of argv.
    const std::vector<std::string> args(argv, argv + argc);

    dvw::MessageBoxPrompter prompter;
    dvw::DialogFileChooser files;
    dvw::SystemClock clock;
    dvw::ScreenProbe probe;
    dvw::dvwApp app(dvw::ParseCommandLine(args),
                    {prompter, files, clock, probe, dvw::dvwApp::defaultHelpDirectory()});
    dvw::TDVDecoratedMDIFrame frame(app);
    prompter.setParent(&frame);
    files.setParent(&frame);
    dvw::InstallViews(frame);
    dvw::InstallListViews(frame);
    frame.showAtStart();
    frame.openStartFile();
    return qapp.exec();
}
