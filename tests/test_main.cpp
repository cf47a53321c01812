// Test entry shared by every test program: a Qt application on the offscreen
// platform, so that windows can be built and driven without a display.
#include "platform/KeyedFile.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ven::initCipherLibrary();
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
