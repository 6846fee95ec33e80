// The windowing layer: forms and their events, twips, controls, menus,
// mouse capture, timers, image lists and the dialog service.
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"

#include "support/Desktop.h"
#include "support/OutsidePrograms.h"
#include "support/QtPrint.h"
#include "support/TempDir.h"
#include "support/TestDialogs.h"
#include "support/WaitFor.h"

#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace dorv;

namespace {

// Shows a form and waits until it is on the screen and active: under a real
// X server both come back from the server, and an activation still on its
// way would otherwise arrive in a later step.
void showAndWait(Form& form)
{
    form.Show();
    WAIT_FOR(form.windowHandle()->isExposed() && QApplication::activeWindow() == &form);
}

// A form that writes down the events it hears.
class LoggingForm : public Form {
public:
    explicit LoggingForm(const QString& name) : Form(name) {}
    QStringList log;
    int16_t refuseUnload = 0;

protected:
    void Form_Load() override { log << "Load"; }
    void Form_Activate() override { log << "Activate"; }
    void Form_Resize() override { log << QStringLiteral("Resize %1").arg(WindowState()); }
    void Form_QueryUnload(int16_t& cancel, int mode) override
    {
        log << QStringLiteral("QueryUnload %1").arg(mode);
        cancel = refuseUnload;
    }
    void Form_Unload(int16_t&) override { log << "Unload"; }
};

class Windowing : public ::testing::Test {
protected:
    void TearDown() override { ResetEnding(); }
};

}  // namespace

TEST_F(Windowing, EventsComeInTheRuntimesOrder)
{
    LoggingForm form(QStringLiteral("OrderForm"));
    form.Move(0, 0, 4500, 3000);
    EXPECT_TRUE(form.log.isEmpty());  // made hidden, not yet loaded
    form.Show();
    WAIT_FOR(form.log.size() >= 3);
    EXPECT_EQ(form.log.mid(0, 3), QStringList({"Load", "Resize 0", "Activate"}));
    // Another of the program's windows takes the focus and gives it back:
    // activated again. Showing does not load twice.
    LoggingForm other(QStringLiteral("OtherForm"));
    showAndWait(other);
    form.log.clear();
    form.activateWindow();
    WAIT_FOR(QApplication::activeWindow() == &form);
    EXPECT_EQ(form.log.count("Activate"), 1) << other.log.join(",").toStdString();
    EXPECT_EQ(form.log.count("Load"), 0);
    other.Unload();
}

TEST_F(Windowing, QueryUnloadMayKeepTheFormAndAnUnloadedFormLoadsAfresh)
{
    LoggingForm keeper(QStringLiteral("KeeperForm"));
    LoggingForm form(QStringLiteral("UnloadForm"));
    keeper.Load();  // so that unloading `form` does not end the run
    form.Show();
    form.refuseUnload = 1;
    form.close();  // the window's close box
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_TRUE(form.log.contains("QueryUnload 0"));
    EXPECT_FALSE(form.log.contains("Unload"));

    form.refuseUnload = 0;
    form.log.clear();
    EXPECT_TRUE(form.Unload());
    EXPECT_EQ(form.log, QStringList({"QueryUnload 1", "Unload"}));
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_FALSE(Ending());
    form.log.clear();
    form.Show();
    EXPECT_EQ(form.log.value(0), "Load");
    form.Unload();
    keeper.Unload();
    EXPECT_TRUE(Ending());  // the last form went
}

TEST_F(Windowing, MinimisingAndRestoringAreHeardAsResizes)
{
    LoggingForm form(QStringLiteral("MinForm"));
    showAndWait(form);
    form.log.clear();
    form.SetWindowState(1);
    EXPECT_EQ(form.WindowState(), 1);
    EXPECT_TRUE(form.IsWindowVisible());
    form.SetWindowState(0);
    EXPECT_EQ(form.log, QStringList({"Resize 1", "Resize 0"}));
    form.Unload();
}

TEST_F(Windowing, GeometryIsInTwips)
{
    ASSERT_EQ(TwipsPerPixelX(), 15);  // the offscreen screen has 96 dots per inch
    LoggingForm form(QStringLiteral("TwipsForm"));
    form.Move(1500, 750, 6000, 4500);
    EXPECT_EQ(form.Left(), 1500);
    EXPECT_EQ(form.Top(), 750);
    EXPECT_EQ(form.Width(), 6000);
    EXPECT_EQ(form.Height(), 4500);
    EXPECT_EQ(form.geometry().width(), 400);
    // A length that is no whole number of pixels is rounded to one.
    form.SetWidth(6010);
    EXPECT_EQ(form.Width(), 6015);

    EXPECT_DOUBLE_EQ(ScaleX(1440, vbTwips, vbInches), 1.0);
    EXPECT_DOUBLE_EQ(ScaleX(1, vbInches, vbMillimeters), 25.4);
    EXPECT_DOUBLE_EQ(ScaleX(30, vbPixels, vbTwips), 450);
    EXPECT_DOUBLE_EQ(ScaleY(72, vbPoints, vbInches), 1.0);
    EXPECT_DOUBLE_EQ(ScaleX(12, vbTwips, 99), 12);  // unknown mode: unchanged
}

TEST_F(Windowing, FormsAreMadeByNameOnFirstUse)
{
    int made = 0;
    Form::Register(QStringLiteral("LateForm"), [&made] {
        ++made;
        return new LoggingForm(QStringLiteral("LateForm"));
    });
    EXPECT_EQ(Form::Existing(QStringLiteral("lateform")), nullptr);
    Form* f = Form::Get(QStringLiteral("LateForm"));
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(f->isVisible());
    EXPECT_FALSE(f->IsLoaded());
    EXPECT_EQ(Form::Get(QStringLiteral("lateform")), f);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(Form::Get(QStringLiteral("NoSuchForm")), nullptr);
}

TEST_F(Windowing, ModalShowReturnsOnceTheFormIsHidden)
{
    LoggingForm dialog(QStringLiteral("Floors"));
    bool shownDuringScript = false;
    TestDialogs().ExpectModal(QStringLiteral("Floors"), [&](Form& f) {
        shownDuringScript = f.isVisible();
        f.Hide();
    });
    dialog.Show(vbModal);
    EXPECT_TRUE(shownDuringScript);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.log.value(0), "Load");
    EXPECT_EQ(TestDialogs().Pending(), 0);
    EXPECT_EQ(TestDialogs().Asked(), QStringList({"Modal Floors"}));
}

// A window shown with an owner is told to the desktop as a tool window of
// that owner, which the window manager keeps above it: clicking the owner
// does not bury its tool windows. The owner itself stays an ordinary window.
TEST_F(Windowing, AnOwnedWindowIsAToolWindowOfItsOwner)
{
    LoggingForm owner(QStringLiteral("Owner")), tool(QStringLiteral("Tool"));
    // Which window appears when.
    struct Shows : QObject {
        QStringList seen;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Show) seen << o->objectName();
            return false;
        }
    } shows;
    owner.setObjectName(QStringLiteral("owner"));
    tool.setObjectName(QStringLiteral("tool"));
    owner.installEventFilter(&shows);
    tool.installEventFilter(&shows);
    // Shown before its owner is on the screen, as the item groups are at
    // start-up, it waits and appears once with the owner, so that the
    // desktop learns whose it is; where it was put it stays.
    tool.setGeometry(300, 200, 160, 120);
    tool.Show(vbModeless, &owner);
    EXPECT_FALSE(tool.isVisible());
    owner.Show();
    EXPECT_EQ(shows.seen, QStringList({"owner", "tool"}));
    EXPECT_EQ(tool.geometry(), QRect(300, 200, 160, 120));
    owner.Hide();
    owner.Show();
    EXPECT_EQ(shows.seen.size(), 3);  // only the owner again
    ASSERT_TRUE(tool.windowHandle() && owner.windowHandle());
    EXPECT_TRUE(tool.isVisible());
    EXPECT_EQ(tool.windowHandle()->type(), Qt::Tool);
    EXPECT_EQ(tool.windowHandle()->transientParent(), owner.windowHandle());
    EXPECT_EQ(owner.windowHandle()->type(), Qt::Window);
    // Minimised with its owner (as the desktop does to an owner's tool
    // windows) and hidden, it comes back shown, not minimised: a minimised
    // tool window would take its owner down with it again.
    tool.setWindowState(Qt::WindowMinimized);
    tool.Hide();
    tool.Show(vbModeless, &owner);
    EXPECT_TRUE(tool.isVisible());
    EXPECT_EQ(tool.WindowState(), 0);
    EXPECT_EQ(tool.windowHandle()->type(), Qt::Tool);
    EXPECT_EQ(tool.windowHandle()->transientParent(), owner.windowHandle());
}

// A tool window shown without taking the keyboard takes it once it is on the
// screen and the user asks for it, also after it was shown again there (as a
// change of view does).
TEST_F(Windowing, AQuietToolWindowTakesTheKeyboardWhenAskedOnTheScreen)
{
    LoggingForm owner(QStringLiteral("Owner")), tool(QStringLiteral("Tool"));
    tool.setAttribute(Qt::WA_ShowWithoutActivating);
    showAndWait(owner);
    tool.Show(vbModeless, &owner);
    WAIT_FOR(tool.windowHandle()->isExposed() && !(tool.windowHandle()->flags() & Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(QApplication::activeWindow(), &owner);
    tool.Show(vbModeless, &owner);
    tool.activateWindow();
    WAIT_FOR(QApplication::activeWindow() == &tool);
}

TEST_F(Windowing, AnUnexpectedQuestionGetsTheCautiousAnswerAndIsReported)
{
    ScriptedDialogs own;  // not the test programs' own, which would fail the test
    QStringList reported;
    own.OnUnexpected = [&](const QString& q) { reported << q; };
    EXPECT_EQ(own.MsgBox("Save?", vbYesNoCancel | vbExclamation, QString()), vbCancel);
    EXPECT_EQ(own.MsgBox("Sure?", vbYesNo, QString()), vbNo);
    EXPECT_EQ(own.MsgBox("Done.", vbOKOnly, QString()), vbOK);
    EXPECT_EQ(own.InputBox("Heading", QString(), "x"), std::nullopt);
    EXPECT_EQ(own.ShowColor(0xFF), std::nullopt);
    LoggingForm stuck(QStringLiteral("Stuck"));
    own.RunModal(stuck);  // nobody closes it: it is hidden, never waited on
    EXPECT_FALSE(stuck.isVisible());
    EXPECT_EQ(reported.size(), 6);
    EXPECT_EQ(reported.value(0), "MsgBox 51: Save?");

    // Answers are taken in order and must match the question's kind.
    own.Reset();
    reported.clear();
    own.ExpectMsgBox(vbNo);
    own.ExpectSave(FileDialogAnswer{"/tmp/a.dvp", 1});
    EXPECT_EQ(own.ShowOpen(FileDialogRequest()), std::nullopt);  // a save was expected
    EXPECT_EQ(reported.size(), 1);
    EXPECT_EQ(own.MsgBox("Save?", vbYesNoCancel, QString()), vbNo);
    EXPECT_EQ(own.ShowSave(FileDialogRequest())->FileName, "/tmp/a.dvp");
    EXPECT_EQ(own.Pending(), 0);
}

// Dialogs are announced as dialogs of the window that asks, which the
// desktop keeps them above and the keyboard goes back to when they close;
// tool windows as tool windows of their owner; a dialog asked while no
// window of the program is on the screen (the chooser, the Open dialog of its
// load buttons) as a window of its own. None offers to be minimised: a
// minimised dialog leaves its window waiting for an answer nobody sees, and
// the desktop minimises an owner with its windows.
TEST_F(Windowing, TheDesktopFramesDialogsAndToolWindowsThatCannotBeMinimised)
{
    LoggingForm owner(QStringLiteral("Owner"));
    owner.setWindowModality(Qt::ApplicationModal);
    showAndWait(owner);
    QStringList seen;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->windowHandle() || !dialog->isVisible()) return;
        look.stop();
        seen << QString(dialog->metaObject()->className()) + " " +
                    Announced(*dialog, dialog->parentWidget() == &owner ? &owner : nullptr);
        dialog->reject();
        look.start(10);
    });
    look.start(10);
    TempDir dir;
    const FileDialogRequest open{QStringLiteral("Open"), QStringLiteral("Scenes|*.dvp"), 1, dir.path(), QString()};
    // A dialog's own event loop does not run once the program has ended (a
    // test before unloaded its last form) until the application's loop
    // starts anew: the questions are asked inside it.
    QTimer::singleShot(0, [&] {
        DesktopDialogs desktop;
        EXPECT_EQ(desktop.MsgBox(QStringLiteral("Please type a number bigger than 0."), vbOKCancel, QString()), vbCancel);
        EXPECT_EQ(desktop.ShowOpen(open), std::nullopt);
        owner.Hide();
        EXPECT_EQ(desktop.ShowOpen(open), std::nullopt);
        QCoreApplication::exit(0);
    });
    QCoreApplication::exec();
    look.stop();

    // The program's own windows, shown for the owner on the screen or not.
    LoggingForm dialog(QStringLiteral("Dialog")), tool(QStringLiteral("Tool"));
    TestDialogs().AnswerAlways(QStringLiteral("Dialog"), [&](Form& f) {
        seen << "Form " + Announced(f, &owner);
    });
    dialog.Show(vbModal, &owner);
    owner.setWindowModality(Qt::NonModal);
    showAndWait(owner);
    dialog.Show(vbModal, &owner);
    TestDialogs().AnswerAlways(QStringLiteral("Dialog"), nullptr);
    tool.Show(vbModeless, &owner);
    seen << "Form " + Announced(tool, &owner);
    EXPECT_EQ(seen, QStringList({"QMessageBox dialog for owner close | " + Granted(false),
                                 "QFileDialog dialog for owner close | " + Granted(false),
                                 "QFileDialog window close | " + Granted(true),
                                 "Form window close | " + Granted(true),
                                 "Form dialog for owner close | " + Granted(false),
                                 "Form tool for owner close | " + Granted(false)}));
}

// Openbox offers to minimise any window, and minimises the window's owner and
// the owner's other windows with it. A tool window minimised through the
// desktop comes back at once and leaves its owner on the screen; the owner
// minimised while it has the keyboard goes as it should.
TEST_F(Windowing, TheDesktopMinimisesNoToolWindowNorItsOwnerWithIt)
{
    if (WindowManager().isEmpty()) GTEST_SKIP() << "no window manager to minimise through";
    NEED_OUTSIDE_PROGRAM("xdotool");
    LoggingForm owner(QStringLiteral("Owner")), tool(QStringLiteral("Tool"));
    showAndWait(owner);
    tool.Show(vbModeless, &owner);
    WAIT_FOR(tool.windowHandle()->isExposed());
    // The window manager's minimise button first gives its window the keyboard.
    tool.activateWindow();
    WAIT_FOR(QApplication::activeWindow() == &tool);
    struct Minimised : QObject {
        bool seen = false;
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::WindowStateChange && static_cast<QWidget*>(o)->isMinimized()) seen = true;
            return false;
        }
    } minimised;
    tool.installEventFilter(&minimised);
    MinimiseFromTheDesktop(tool);
    // Some window managers do not minimise a window that asks for no minimise
    // button at all; one that offers to does.
    if (Granted(false).contains("minimise")) WAIT_FOR(minimised.seen);
    WAIT_FOR(!tool.isMinimized() && !owner.isMinimized() && tool.windowHandle()->isExposed());
    EXPECT_TRUE(tool.isVisible());
    EXPECT_FALSE(owner.log.contains("Resize 1"));

    owner.activateWindow();
    WAIT_FOR(QApplication::activeWindow() == &owner);
    MinimiseFromTheDesktop(owner);
    WAIT_FOR(owner.isMinimized());
    EXPECT_TRUE(owner.log.contains("Resize 1"));
}

TEST_F(Windowing, FilterPairsBecomeQtFilters)
{
    EXPECT_EQ(QtFilterFromPairs("Scenes (*.dvp)|*.dvp|All files|*.*"), "Scenes (*.dvp) (*.dvp);;All files (*.*)");
    EXPECT_EQ(QtFilterFromPairs("Pictures|*.bmp;*.wmf"), "Pictures (*.bmp *.wmf)");
    EXPECT_EQ(QtFilterFromPairs("*.dvp"), "*.dvp");
}

TEST_F(Windowing, MenusKeepTheirCheckMarksForTheProgramToSet)
{
    LoggingForm form(QStringLiteral("MenuForm"));
    Menu top(form.MenuBar(), QStringLiteral("mnu_options"), QStringLiteral("&Options"));
    auto* snap = new Menu(&top, QStringLiteral("mnu_snap"), QStringLiteral("Snap"));
    auto* hidden = new Menu(&top, QStringLiteral("mnu_hidden"), QStringLiteral("Hidden"));
    new Menu(&top, QStringLiteral("opt_div1"), QStringLiteral("-"));
    auto* sub = new Menu(&top, QStringLiteral("mnu_graph"), QStringLiteral("Graph"));
    auto* pie = new Menu(sub, QStringLiteral("mnu_pie"), QStringLiteral("Pie"));
    int clicks = 0, pies = 0;
    snap->Click = [&] { ++clicks; };
    pie->Click = [&] { ++pies; };
    hidden->Click = [&] { ++clicks; };
    snap->SetChecked(true);
    snap->Choose();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(snap->Checked());
    EXPECT_TRUE(snap->Action()->isChecked());  // choosing did not toggle it
    hidden->SetVisible(false);
    hidden->Choose();
    snap->SetEnabled(false);
    snap->Choose();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(top.Entry(QStringLiteral("MNU_PIE")), pie);
    EXPECT_EQ(top.Entries().size(), 4u);

    TestDialogs().ExpectPopup(QStringLiteral("mnu_pie"));
    Dialogs().PopupMenu(top);
    EXPECT_EQ(pies, 1);
    TestDialogs().ExpectPopup(QString());  // dismissed
    Dialogs().PopupMenu(top);
    EXPECT_EQ(pies, 1);
    EXPECT_EQ(TestDialogs().Pending(), 0);
}

TEST_F(Windowing, TheControlPressedKeepsTheMouseUntilTheRelease)
{
    LoggingForm form(QStringLiteral("CaptureForm"));
    form.Move(0, 0, 6000, 3000);
    PictureBox palette(form.Client(), QStringLiteral("Picture5"));
    PictureBox canvas(form.Client(), QStringLiteral("Picture2"));
    palette.SetScaleMode(vbPixels);
    canvas.SetScaleMode(vbPixels);
    palette.Move(0, 0, 1500, 1500);   // 100 x 100 pixels at (0, 0)
    canvas.Move(2250, 0, 1500, 1500); // at (150, 0)
    QStringList paletteLog, canvasLog;
    auto log = [](QStringList& l, const char* what) {
        return [&l, what](int button, int shift, float x, float y) {
            l << QStringLiteral("%1 %2 %3,%4").arg(what).arg(button).arg(x).arg(y);
        };
    };
    palette.MouseDown = log(paletteLog, "down");
    palette.MouseMove = log(paletteLog, "move");
    palette.MouseUp = log(paletteLog, "up");
    canvas.MouseDown = log(canvasLog, "down");
    canvas.MouseMove = log(canvasLog, "move");
    canvas.MouseUp = log(canvasLog, "up");
    showAndWait(form);
    QWindow* window = form.windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint offset = form.Client()->mapTo(&form, QPoint(0, 0));
    // Press on the palette (inside its 1-pixel border), drag over the canvas,
    // release there.
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, offset + QPoint(21, 31));
    QTest::mouseMove(window, offset + QPoint(181, 41));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, offset + QPoint(181, 41));
    EXPECT_TRUE(canvasLog.isEmpty()) << canvasLog.join("; ").toStdString();
    ASSERT_GE(paletteLog.size(), 3) << paletteLog.join("; ").toStdString();
    // (The pointer first arrives over the palette without a button.)
    paletteLog.removeAll("move 0 20,30");
    EXPECT_EQ(paletteLog.first(), "down 1 20,30");
    EXPECT_TRUE(paletteLog.contains("move 1 180,40")) << paletteLog.join("; ").toStdString();
    EXPECT_EQ(paletteLog.last(), "up 1 180,40");
    form.Unload();
}

TEST_F(Windowing, PictureBoxesDrawOnTheirInnerArea)
{
    LoggingForm form(QStringLiteral("PictureForm"));
    PictureBox box(form.Client(), QStringLiteral("Picture1"));
    box.SetScaleMode(vbPixels);
    box.Move(0, 0, 1500, 750);  // 100 x 50 pixels with a 1-pixel border
    EXPECT_FLOAT_EQ(box.ScaleWidth(), 98);
    EXPECT_FLOAT_EQ(box.ScaleHeight(), 48);
    box.SetScaleMode(vbTwips);
    EXPECT_FLOAT_EQ(box.ScaleWidth(), 98 * 15);
    box.SetScaleMode(vbPixels);
    box.SetBackColor(RGB(0, 0, 255));
    EXPECT_EQ(box.Surface().size(), QSize(98, 48));
    EXPECT_EQ(box.Surface().pixel(10, 10), qRgb(0, 0, 255));
    DeviceContext& dc = box.hDC();
    GdiObject brush = CreateSolidBrush(RGB(255, 0, 0));
    GdiObject old = dc.SelectObject(brush);
    dc.Rectangle(0, 0, 5, 5);  // black edge (the default pen), red inside
    dc.SelectObject(old);
    DeleteObject(brush);
    EXPECT_EQ(box.Surface().pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(box.Surface().pixel(2, 2), qRgb(255, 0, 0));
    // What is drawn shows on the screen at the next paint, inside the border.
    QImage shown = box.grab().toImage();
    EXPECT_EQ(shown.pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(128, 128, 128));
    box.Cls();
    EXPECT_EQ(box.Surface().pixel(0, 0), qRgb(0, 0, 255));
}

TEST_F(Windowing, ScrollBarsKeepToTheirRange)
{
    LoggingForm form(QStringLiteral("ScrollForm"));
    ScrollBar bar(form.Client(), QStringLiteral("HScroll2"), Qt::Horizontal);
    int changes = 0;
    bar.Change = [&] { ++changes; };
    bar.SetMin(-100);
    bar.SetMax(100);
    EXPECT_TRUE(bar.SetValue(-40));
    EXPECT_EQ(bar.Value(), -40);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(bar.SetValue(101));
    EXPECT_EQ(bar.Value(), -40);
    // A bar whose Min exceeds its Max runs the other way.
    bar.SetMin(50);
    bar.SetMax(-50);
    EXPECT_TRUE(bar.SetValue(30));
    EXPECT_EQ(bar.Value(), 30);
    EXPECT_TRUE(bar.invertedAppearance());
}

TEST_F(Windowing, TimersTickWhileEnabled)
{
    Timer timer;
    int ticks = 0;
    timer.Tick = [&] { ++ticks; };
    timer.SetInterval(5);
    WAIT_FOR(ticks >= 2);
    timer.SetEnabled(false);
    const int stopped = ticks;
    QTest::qWait(30);
    EXPECT_EQ(ticks, stopped);
    timer.SetEnabled(true);
    timer.SetInterval(0);  // 0 stops it too
    QTest::qWait(30);
    EXPECT_EQ(ticks, stopped);
}

TEST_F(Windowing, ImageListsAreNumberedByTheirFiles)
{
    TempDir dir;
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.save(dir.file("Pics/01.png"));
    QImage blue(2, 2, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    dir.mkdir("Pics");
    red.save(dir.file("Pics/01.png"));
    blue.save(dir.file("Pics/14.PNG"));
    dir.write("Pics/notes.txt", "not a picture");
    dir.write("Pics/02.png", "not a picture either");
    ImageList list;
    EXPECT_EQ(list.LoadFolder(dir.file("pics")), 2);
    EXPECT_EQ(list.Count(), 14);
    EXPECT_EQ(list.Image(1).size(), QSize(4, 4));
    EXPECT_TRUE(list.Image(2).isNull());
    EXPECT_EQ(list.Image(14).pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_TRUE(list.Image(0).isNull());
    EXPECT_TRUE(list.Image(15).isNull());
    EXPECT_EQ(list.Add(red, "key"), 15);
    EXPECT_EQ(list.Image(QStringLiteral("key")).size(), QSize(4, 4));
}

TEST_F(Windowing, TheCommandLineIsOneText)
{
    SetCommandLine(QStringLiteral("/home/ana/My Room.dvp"));
    EXPECT_EQ(CommandLine(), "/home/ana/My Room.dvp");
    SetCommandLine(QString());
}

TEST_F(Windowing, ADoubleClickClicksOnceThenDoubleClicks)
{
    // The second press of a double click brings DblClick and a release, but
    // no second Click: a handler that a double click repeats runs twice, not
    // three times.
    LoggingForm form(QStringLiteral("DoubleForm"));
    form.Move(0, 0, 3000, 3000);
    PictureBox button(form.Client(), QStringLiteral("Picture3"), false);
    button.SetScaleMode(vbPixels);
    button.Move(0, 0, 600, 600);
    QStringList log;
    button.MouseDown = [&](int b, int, float, float) { log << QStringLiteral("down %1").arg(b); };
    button.MouseUp = [&](int b, int, float, float) { log << QStringLiteral("up %1").arg(b); };
    button.Click = [&] { log << "Click"; };
    button.DblClick = [&] { log << "DblClick"; };
    showAndWait(form);
    QWindow* window = form.windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint at = button.mapTo(&form, QPoint(10, 10));
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(log, QStringList({"down 1", "up 1", "Click", "DblClick", "up 1"})) << log.join("; ").toStdString();
    form.Unload();
}
