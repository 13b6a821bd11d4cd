// The one main of every widget test: a QApplication around the gtest run. ctest sets
// QT_QPA_PLATFORM=offscreen, so no display is needed.
#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Test discovery at build time only lists names; it runs without the offscreen
    // platform, so it must not open a display.
    std::unique_ptr<QApplication> app;
    if (!GTEST_FLAG_GET(list_tests))
        app = std::make_unique<QApplication>(argc, argv);
    return RUN_ALL_TESTS();
}
