// The main of the test programs that need a QApplication: widgets, dialogs, the window.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Driven without a display, also when ctest lists the tests at build time.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
