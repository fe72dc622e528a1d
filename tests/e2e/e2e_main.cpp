// Runs the end-to-end tests inside one QApplication, set up as the program sets itself up.
#include <gtest/gtest.h>

#include <QApplication>

#include "app_resources.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();  // test discovery needs no display
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    veltaro::ui::SetUpApplicationLook();
    return RUN_ALL_TESTS();
}
