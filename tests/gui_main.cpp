// The one main of every widget test: a QApplication around the gtest run. ctest sets
// QT_QPA_PLATFORM=offscreen, so no display is needed. No test reads or writes the
// settings or the recovery copies of the user who runs it: unless a test names its own
// folder, they live in an empty folder that goes with the run.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery at build time only lists names; it runs without the offscreen
    // platform, so it must not open a display.
    QTemporaryDir settingsDir;
    if (qEnvironmentVariableIsEmpty("DAYVANE_CONFIG_DIR"))
        qputenv("DAYVANE_CONFIG_DIR", settingsDir.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", (settingsDir.path() + QStringLiteral("/state")).toLocal8Bit());
    std::unique_ptr<QApplication> app;
    if (!GTEST_FLAG_GET(list_tests))
        app = std::make_unique<QApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
