#include "app/installall.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/messageboxprompter.h"
#include "shell/commandline.h"
#include "shell/dvwaboutdlg.h"
#include "shell/dvwapp.h"
#include "shell/screenprobe.h"
#include "shell/tdvdecoratedmdiframe.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include <cstring>
#include <iostream>

namespace {

// How long the start file waits for the main window to be placed on the screen.
constexpr int kExposeTries = 40;
constexpr int kExposeTryMs = 25;

// Opens the start file once the window system shows the main window (or gave up after a
// second, as for a minimised start), so that a message about the file opens over the
// window where it stands rather than where it was before it was placed.
void openStartFileWhenShown(dvw::TDVDecoratedMDIFrame &frame, int tries = kExposeTries)
{
    const QWindow *window = frame.windowHandle();
    if (tries <= 0 || !window || window->isExposed()) {
        frame.openStartFile();
        return;
    }
    QTimer::singleShot(kExposeTryMs, &frame,
                       [&frame, tries] { openStartFileWhenShown(frame, tries - 1); });
}

// `dayvane --version`: the version and the help book this program would show, printed
// without opening a window (so it also answers without a display).
int printVersion(int argc, char **argv)
{
    QCoreApplication core(argc, argv);
    std::cout << dvw::dvwAboutDlg::versionLine().simplified().toStdString() << "\n"
              << "help book: " << dvw::dvwApp::defaultHelpDirectory().toStdString() << "\n";
    return std::cout.flush() ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
        return printVersion(argc, argv);
    QApplication qapp(argc, argv);
    // QApplication has taken its own options out of argv.
    const std::vector<std::string> args(argv, argv + argc);

    dvw::MessageBoxPrompter prompter(nullptr, dvw::dvwApp::name());
    dvw::DialogFileChooser files;
    dvw::SystemClock clock;
    dvw::ScreenProbe probe;
    dvw::dvwApp app(dvw::ParseCommandLine(args),
                    {prompter, files, clock, probe, dvw::dvwApp::defaultHelpDirectory()});
    dvw::TDVDecoratedMDIFrame frame(app);
    prompter.setParent(&frame);
    files.setParent(&frame);
    dvw::InstallAll(frame);
    frame.showAtStart();
    QTimer::singleShot(0, &frame, [&frame] { openStartFileWhenShown(frame); });
    return qapp.exec();
}
