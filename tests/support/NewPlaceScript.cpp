#include "support/NewPlaceScript.h"

#include "app/EnvSelect.h"
#include "app/Floors.h"
#include "app/Main.h"
#include "platform/AppInfo.h"
#include "scene/SceneState.h"
#include "support/TestDialogs.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QTest>

void Settle()
{
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

void Activate(dorv::Form& form)
{
    // As a user, only a window on the screen can be activated (one shown
    // without taking the keyboard refuses it until then).
    WAIT_FOR(form.windowHandle() && form.windowHandle()->isExposed());
    form.activateWindow();
    // Under a real X server the activation comes back from the server, and
    // on a busy machine only after a while: the form's activation handler
    // (which sets the dialog's first state) must have run before the script
    // types, or it would undo what was typed.
    (void)QTest::qWaitForWindowActive(&form, 5000);
    Settle();
}

void ClickEntry(dorv::ListView& list, int index, bool doubleClick)
{
    list.doItemsLayout();
    const QPoint at = list.ItemRect(index).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    if (doubleClick) QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
}

void ClickButton(QWidget& button) { QTest::mouseClick(&button, Qt::LeftButton); }

void ExpectChoice(int entry)
{
    TestDialogs().ExpectModal("EnvSelect", [entry](dorv::Form& f) {
        auto& chooser = dynamic_cast<EnvSelect&>(f);
        Activate(chooser);
        ClickEntry(*chooser.ListView1, entry);
        ClickButton(*chooser.Command1);
    });
}

void ExpectPlaceDialog(std::function<void(Floors&)> script)
{
    TestDialogs().ExpectModal("Floors", [script](dorv::Form& f) {
        auto& floors = dynamic_cast<Floors&>(f);
        Activate(floors);
        if (script)
            script(floors);
        else
            ClickButton(*floors.Command1[0]);
    });
}

void ExpectNewPlace(int entry)
{
    ExpectChoice(entry);
    ExpectPlaceDialog();
}

void CloseProgram(std::unique_ptr<Main>& main)
{
    main.reset();
    dorv::Form::DestroyAll();
    dorv::ResetEnding();
    dorv::SetAppPath(QString());
    G = SceneState();
}
