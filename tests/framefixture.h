#pragma once

#include "app/installall.h"
#include "platform/clock.h"
#include "platform/filechooser.h"
#include "platform/scriptedprompter.h"
#include "settings/platformprobe.h"
#include "shell/commandline.h"
#include "shell/dvwapp.h"
#include "shell/tdvdecoratedmdiframe.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace dvw::test {

// A main window for one test: a fresh directory that is the current one while the test
// runs, its own settings folder, a scripted prompter and file chooser, a screen 1,024
// pixels wide without sound, and a clock stopped at 9:05 on 7 December 2026.
class FrameFixture : public ::testing::Test
{
protected:
    // settingsInWorkDir: the settings files live in the test's directory, where the test
    // reads and writes them itself.
    explicit FrameFixture(bool settingsInWorkDir = false)
        : clock(QDateTime(QDate(2026, 12, 7), QTime(9, 5)))
        , probe(1024, 0)
        , oldCurrent(QDir::currentPath())
    {
        QDir::setCurrent(dir.path());
        const QString settings = settingsInWorkDir ? dir.path() : settingsDir.path();
        qputenv("DAYVANE_CONFIG_DIR", settings.toLocal8Bit());
        // Recovery copies stay in the test's own folder, where no other run leaves any.
        qputenv("XDG_STATE_HOME", stateDir.path().toLocal8Bit());
    }
    ~FrameFixture() override
    {
        frame.reset();
        app.reset();
        QDir::setCurrent(oldCurrent);
    }

    // The application and its main window for these arguments, not shown yet.
    void makeFrame(const std::vector<std::string> &args)
    {
        app = std::make_unique<dvwApp>(
            ParseCommandLine(args),
            AppServices {prompter, files, clock, probe, QStringLiteral(DVW_HELP_SOURCE_DIR)});
        frame = std::make_unique<TDVDecoratedMDIFrame>(*app);
    }
    // Writes these bytes to a file of the test's directory (the current one).
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Every feature, as the program has them, with these services in place of the desktop's.
    // (Inline: the shell's own tests, which run
    // the main window without the features, never call it and need not link them.)
    void installAll(FeatureServices services = {}) { InstallAll(*frame, std::move(services)); }

    QTemporaryDir dir;
    QTemporaryDir settingsDir;
    QTemporaryDir stateDir;
    ScriptedPrompter prompter;
    ScriptedFileChooser files;
    ManualClock clock;
    FixedProbe probe;
    QString oldCurrent;
    std::unique_ptr<dvwApp> app;
    std::unique_ptr<TDVDecoratedMDIFrame> frame;
};

} // namespace dvw::test
