// The main window's start-up: its pictures, the settings, the splash, the
// environments and languages, then the scene named on the command line or
// the new-place flow.
#include "app/Main.h"

#include "app/EnvSelect.h"
#include "app/ApplyLanguage.h"
#include "app/Splash.h"
#include "platform/AppInfo.h"
#include "platform/FileSystem.h"
#include "scene/Environments.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"

void Main::loadPictures()
{
    ImageList1.Clear();
    ImageList1.LoadFolder(dorv::AppPath() + QStringLiteral("\\Pictures\\ImageList1"));
    ImageList2.Clear();
    ImageList2.LoadFolder(dorv::AppPath() + QStringLiteral("\\Pictures\\ImageList2"));
    ImageList3.Clear();
    ImageList3.LoadFolder(dorv::AppPath() + QStringLiteral("\\Pictures\\ImageList3"));
    ImageList4.Clear();
    ImageList4.LoadFolder(dorv::AppPath() + QStringLiteral("\\Pictures\\ImageList4"));
    static const char* const toolbar[] = {"New", "Open", "Save", "Paste", "Copy", "Cut", "Print"};
    for (int i = 0; i < int(Picture7.size()); ++i)
        Picture7[i]->SetPicture(QImage(dorv::FindPath(dorv::AppPath() + QStringLiteral("\\Pictures\\Toolbar\\") +
                                                      QLatin1String(toolbar[i]) + QStringLiteral(".png"))));
    Picture3[12]->SetPicture(QImage(dorv::FindPath(dorv::AppPath() + QStringLiteral("\\Pictures\\Toolbar\\ResetZoom.png"))));
}

void Main::Form_Load()
{
    // The desktop's common controls need no setting up under Qt. The image
    // lists are the window's own, there before anything draws from them.
    loadPictures();
    G.LanguageName = QStringLiteral("english");
    ReadAdminSetup();
    LangMod::LoadMessages();
    if (frmSplash* splash = frmSplash::Window()) splash->go();
    if (dorv::Ending()) return;
    SetPaletteLayout(0);
    FileMod::BuildEnvironmentList(G.EnvironDir);
    LangMod::LoadEnvData();
    LangMod::LoadPlanWallInfo();
    LangMod::ApplyLanguage(G.UiLanguage, G.ItemLanguage);
    // Button faces: the raised face of each view button and tool button.
    for (int i = 0; i <= 4; ++i) Picture1[i]->SetPicture(ImageList1.Image(2 * i + 1));
    for (int i = 5; i <= 11; ++i) Picture3[i]->SetPicture(ImageList1.Image(2 * i + 1));
    PositionToolWindows();
    mnu_printPreview->SetVisible(false);
    DisablePrintingWithoutPrinter();
    // A tool window the program does not have yet cannot be toggled.
    mnu_showItemGroups->SetEnabled(dorv::Form::Known(QStringLiteral("ItemGroups")));
    mnu_showBudgetInfo->SetEnabled(dorv::Form::Known(QStringLiteral("Budget")));
    mnu_changeColours->SetEnabled(dorv::Form::Known(QStringLiteral("Colours")));
    // The command line names a scene to open, or the new-place flow runs.
    CommandLineScene = SceneFromCommandLine(dorv::CommandLine());
    if (CommandLineScene) {
        ResetScene();
        G.EnvironmentIndex = -1;
        G.PlaceSetupResult = -1;
        // Opened as Open opens it, with the item groups the new-place flow
        // ends with. A scene that cannot be opened leaves nothing to show:
        // the child sets up a new place instead.
        if (OpenSceneFile(*CommandLineScene))
            ShowItemGroups();
        else
            StartNewPlace();
    } else {
        StartNewPlace();
    }
}

std::optional<QString> Main::SceneFromCommandLine(const QString& commandLine)
{
    if (commandLine.size() <= 4) return std::nullopt;
    QString path = commandLine;
    if (path.startsWith(QLatin1Char('"'))) path.remove(0, 1);
    if (path.endsWith(QLatin1Char('"'))) path.chop(1);
    return path;
}

void Main::ReadAdminSetup()
{
    WorksheetButtonState = ReadAdminSetupFile(dorv::AppPath() + QStringLiteral("\\AdminSetup.txt"), G, dorv::AppPath(),
                                              FindSpecialFolder::GetSpecialFolderPath(5));
    if (WorksheetButtonState != WorksheetButton::AsMade)
        if (EnvSelect* chooser = EnvSelect::Window())
            chooser->Command3->SetVisible(WorksheetButtonState == WorksheetButton::Shown);
}

void Main::SetPaletteLayout(int16_t mode)
{
    G.PaletteLayout = mode;
    if (mode == 0) {
        VScroll1->SetVisible(true);
        HScroll1->SetVisible(false);
    }
}
