// Shared main of the test programs: one QApplication (offscreen under CTest)
// so that tests of windows, fonts and images can run, with dialogs answered
// by script.
#include "platform/Forms.h"
#include "support/TestDialogs.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    InstallTestDialogs();
    int result = RUN_ALL_TESTS();
    dorv::Form::DestroyAll();
    return result;
}
