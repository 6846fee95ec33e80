#include "support/TestDialogs.h"

#include <gtest/gtest.h>

dorv::ScriptedDialogs& TestDialogs()
{
    static dorv::ScriptedDialogs dialogs;
    return dialogs;
}

namespace {

class DialogCheck : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { TestDialogs().Reset(); }
    void OnTestEnd(const ::testing::TestInfo&) override { TestDialogs().Reset(); }
};

}  // namespace

void InstallTestDialogs()
{
    dorv::ScriptedDialogs& d = TestDialogs();
    d.OnUnexpected = [](const QString& question) {
        ADD_FAILURE() << "unexpected dialog: " << question.toStdString();
    };
    dorv::SetDialogs(&d);
    ::testing::UnitTest::GetInstance()->listeners().Append(new DialogCheck);
}
