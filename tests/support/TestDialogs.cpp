#include "support/TestDialogs.h"

#include "platform/Forms.h"

#include <QTest>
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
    // Every start of the main window shows the splash screen: a key closes it
    // at once, as a child impatient to begin would.
    d.AnswerAlways(QStringLiteral("frmSplash"), [](dorv::Form& splash) { QTest::keyClick(&splash, Qt::Key_Space); });
    dorv::SetDialogs(&d);
    ::testing::UnitTest::GetInstance()->listeners().Append(new DialogCheck);
}
