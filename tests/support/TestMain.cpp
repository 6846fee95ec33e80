// Shared main of the test programs: one QApplication (offscreen under CTest)
// so that tests of windows, fonts and images can run.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
