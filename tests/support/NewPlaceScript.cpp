#include "support/NewPlaceScript.h"

#include "app/EnvSelect.h"
#include "app/Floors.h"
#include "app/Main.h"
#include "platform/AppInfo.h"
#include "scene/SceneState.h"
#include "support/TestDialogs.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QWindow>
#include <QTest>

void StartProgram(Main& main)
{
    main.Show();
    if (dorv::Ending() || !main.isVisible()) return;
    WAIT_FOR(main.windowHandle()->isExposed() && QApplication::activeWindow() == &main);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != &main && w->isVisible()) WAIT_FOR(w->windowHandle() && w->windowHandle()->isExposed());
    // The main window lays out the column of docked windows once their
    // showing is in, through an event it posts to itself.
    QCoreApplication::sendPostedEvents();
}

void Activate(dorv::Form& form)
{
    // As a user, only a window on the screen can be activated (one shown
    // without taking the keyboard refuses it until then; shown again, it
    // may still count as on the screen from before).
    const QWindow* window = form.windowHandle();
    WAIT_FOR(window && window->isExposed() && !(window->flags() & Qt::WindowDoesNotAcceptFocus));
    form.activateWindow();
    // A window hidden with the keyboard and shown again before another window
    // took the keyboard is still the window system's focus window, for which
    // no activation comes back: the application is told here.
    if (QGuiApplication::focusWindow() == form.windowHandle() && !QApplication::activeWindow())
        QApplication::setActiveWindow(&form);
    // Under a real X server the activation comes back from the server, late
    // on a busy machine. The form's activation handler (which sets a dialog's
    // first state) has run once the form is the active window.
    WAIT_FOR(QApplication::activeWindow() == &form);
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
