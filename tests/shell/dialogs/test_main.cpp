#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // The dialogs are driven without a display, also when ctest lists the tests at build time.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
