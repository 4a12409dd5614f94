// Shared main of the test programs: sets up the per-process environment, then the Qt
// application object the program needs (DAYLOOM_TEST_APP: 1 core, 2 gui, 3 widgets).
#include "support/TestEnv.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#if DAYLOOM_TEST_APP == 3
#include <QApplication>
#endif

int main(int argc, char **argv)
{
    TestEnv::setUpProcess();
#if DAYLOOM_TEST_APP == 3
    QApplication app(argc, argv);
#elif DAYLOOM_TEST_APP == 2
    QGuiApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
