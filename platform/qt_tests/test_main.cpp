// The backend tests run inside one GUI application on the offscreen platform.
#include <gtest/gtest.h>

#include <QByteArray>

#include "platform/platform.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    if (!lekta::plat::init_gui(argc, argv)) return 2;
    return RUN_ALL_TESTS();
}
