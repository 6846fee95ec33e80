// The file commands of the main window: the save question that guards every
// command that would drop a modified scene, Open, Examples, Save, Save As and
// Export, and what opening a scene loads besides the scene itself.
#include "app/Budget.h"
#include "app/Colours.h"
#include "app/Floors.h"
#include "app/ItemGroups.h"
#include "app/Main.h"

#include "platform/AppInfo.h"
#include "platform/FileSystem.h"
#include "platform/InputControls.h"
#include "scene/Environments.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/PlaceInfo.h"
#include "scene/SceneExport.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "views/Graphs.h"
#include "views/ViewRender.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QString kSceneFilter = QStringLiteral("Dorv scenes|*.dvp");

QString Message(const char* key) { return LangMod::GetMessage(QLatin1String(key)); }

// True when the user keeps an existing file rather than replacing it.
bool KeepExistingFile(const QString& path)
{
    return FileMod::FileExists(path) &&
           dorv::MsgBox(Message("lang_FileExistsAlready"), dorv::vbOKCancel) == dorv::vbCancel;
}

void ReportNotSaved(const QString& path)
{
    QString text = Message("lang_FileNotSaved");
    dorv::MsgBox(text.replace(QLatin1Char('%'), FileMod::GetTrimmedFileName(path)),
                 dorv::vbOKOnly | dorv::vbExclamation);
}

// Writes the scene under G.SceneFileName (which takes the extension); a
// file that could not be written is reported and leaves the name as it was.
bool SaveScene()
{
    // A scene larger than Open accepts is not written: the file on disk
    // stays one that opens.
    if (FileMod::SceneTooLarge(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount)) {
        dorv::MsgBox(Message("lang_SceneTooLargeToSave"), dorv::vbOKOnly | dorv::vbExclamation);
        return false;
    }
    QString path = G.SceneFileName;
    if (!FileMod::SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room)) {
        ReportNotSaved(path);
        return false;
    }
    G.SceneFileName = path;
    return true;
}

}  // namespace

void Main::connectFileMenus()
{
    connectMenu(mnu_open, &Main::mnu_open_Click);
    connectMenu(mnu_examples, &Main::mnu_examples_Click);
    connectMenu(mnu_save, &Main::mnu_save_Click);
    connectMenu(mnu_saveas, &Main::mnu_saveas_Click);
    connectMenu(mnu_export, &Main::mnu_export_Click);
}

// ---- the budget and size texts as scene code reaches them ----

namespace {
dorv::TextBox* BudgetBox(int box)
{
    Budget* budget = Budget::Window();
    if (!budget) return nullptr;
    switch (box) {
    case 1: return budget->Text1;
    case 2: return budget->Text2;
    case 3: return budget->Text3;
    case 4: return budget->Text4;
    default: return nullptr;
    }
}
}  // namespace

QString Main::Port::BudgetText(int box)
{
    if (box < 1 || box > 4) return {};
    if (dorv::TextBox* t = BudgetBox(box)) return t->Text();
    return budgetTexts[static_cast<size_t>(box)];
}

void Main::Port::SetBudgetText(int box, const QString& text)
{
    if (box < 1 || box > 4) return;
    budgetTexts[static_cast<size_t>(box)] = text;
    if (dorv::TextBox* t = BudgetBox(box)) t->SetText(text);
}

void Main::Port::SetPlaceSizeText(int box, const QString& text)
{
    Floors* floors = Floors::Window();
    if (!floors) return;
    switch (box) {
    case 1: floors->Text1->SetText(text); break;
    case 2: floors->Text2->SetText(text); break;
    case 3: floors->Text3->SetText(text); break;
    default: break;
    }
}

// ---- dialogs ----

bool Main::ShowFileDialog(dorv::FileDialogRequest& dialog, bool save)
{
    dorv::FileDialogRequest shown = dialog;
    if (!shown.InitDir.isEmpty()) shown.InitDir = dorv::FindPath(shown.InitDir);
    const std::optional<dorv::FileDialogAnswer> answer =
        save ? dorv::Dialogs().ShowSave(shown) : dorv::Dialogs().ShowOpen(shown);
    if (!answer) return false;
    dialog.FileName = answer->FileName;
    dialog.FilterIndex = answer->FilterIndex;
    return true;
}

bool Main::AskToSaveChanges()
{
    if (G.CleanFlag) return false;
    QString question;
    if (!G.SceneFileName.isEmpty()) {
        question = Message("lang_DoYouWantToSave");
        question.replace(QLatin1Char('%'), FileMod::GetTrimmedFileName(G.SceneFileName));
    } else {
        question = Message("lang_DoYouWantToSaveYourWork");
    }
    const int answer = dorv::MsgBox(question, dorv::vbYesNoCancel | dorv::vbExclamation);
    if (answer == dorv::vbCancel) return true;
    if (answer == dorv::vbNo) return false;

    const QString oldName = G.SceneFileName;
    if (G.SceneFileName.isEmpty()) {
        CommonDialog1.Filter = QStringLiteral("*.dvp");
        CommonDialog1.InitDir = G.UserDir;
        // An untitled scene is a new file: a name left from an earlier use
        // would take the dialog to that file's folder and offer to replace it.
        CommonDialog1.FileName.clear();
        if (!ShowFileDialog(CommonDialog1, true)) return true;
        G.SceneFileName = CommonDialog1.FileName;
        if (!G.SceneFileName.isEmpty() && KeepExistingFile(FileMod::SceneFilePath(G.SceneFileName)))
            G.SceneFileName.clear();
    }
    // Unsaved work is never dropped: a scene that could not be written
    // cancels the command as the question's Cancel does. The name chosen is
    // the scene's only once the scene was written there, so the next
    // question offers the dialog again.
    if (G.SceneFileName.isEmpty()) return true;
    if (SaveScene()) return false;
    G.SceneFileName = oldName;
    return true;
}

// ---- opening ----

bool Main::OpenScene(const QString& path)
{
    int16_t environment = 0;
    if (!FileMod::LoadSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room,
                                environment))
        return false;
    // What pointed at the items of the scene before points at nothing now,
    // and its history would act on other items.
    G.SelectedItem = -1;
    G.DragItem = -1;
    G.WallDragItem = -1;
    G.HitItem = -1;
    ClearUndoList();
    // The scene just read is as its file holds it, and nothing was bought
    // in it yet.
    G.CleanFlag = true;
    port_.SetBudgetText(4, QString());
    // The room is shown where a fresh start with the file shows it, not
    // where the last scene was panned or zoomed to, which may be out of its
    // sight; a known environment sets its own zoom below.
    ResetViewPlacement();
    // OK in the colours window would paint the last scene's colours over
    // this one's.
    if (auto* colours = dynamic_cast<Colours*>(dorv::Form::Existing(QStringLiteral("Colours"))))
        colours->ShowSceneColours();
    if (environment <= 0 || environment > static_cast<int32_t>(G.EnvironmentTable.size())) return true;

    G.EnvironmentIndex = environment;
    G.EnvFolder = G.EnvironmentTable[static_cast<size_t>(environment - 1)][0];
    const QString group = FileMod::LoadEnvironmentItemGroups(G.ViewMode, G.EnvFolder);
    if (ItemGroups* groups = ItemGroups::Window()) groups->LoadItemGroup(group);
    if (FileMod::FileExists(G.EnvFolder + QStringLiteral("\\PlanInfo.dvf")))
        FileMod::ReadInfoFile(G.EnvFolder, QStringLiteral("\\PlanInfo.dvf"), G.PlanInfo);
    // An environment without place information has no scale: 1.
    const float scale = G.PlanInfo.scale1 > 0 ? G.PlanInfo.scale1 : 1.0f;
    FileMod::SetPlanScale(scale / 50);
    ShowPlaceInCaption();
    return true;
}

bool Main::IsShippedScene(const QString& path)
{
    const QString file = QFileInfo(dorv::FindPath(path)).canonicalFilePath();
    for (const QString& shipped : {G.WorksheetDir, G.ExamplesDir}) {
        const QString folder = QFileInfo(dorv::FindPath(shipped)).canonicalFilePath();
        if (!folder.isEmpty() && file.startsWith(folder + QLatin1Char('/'))) return true;
    }
    return false;
}

void Main::OpenFrom(const QString& startFolder)
{
    if (ConfirmSaveChanges && ConfirmSaveChanges()) return;
    CommonDialog1.Filter = kSceneFilter;
    CommonDialog1.InitDir = startFolder;
    // The dialog starts in its own folder, not in that of the last file.
    CommonDialog1.FileName.clear();
    if (!ShowFileDialog(CommonDialog1, false)) return;
    OpenSceneFile(CommonDialog1.FileName);
}

bool Main::OpenSceneFile(const QString& chosen)
{
    // A file that was refused leaves the scene and its name as they were, so
    // that a later Save never writes the old scene over the file refused,
    // and ends the command there.
    if (chosen.isEmpty() || !OpenScene(chosen)) return false;
    // A worksheet, or an example found through Open, stays as it ships: the
    // child's work on it is saved under a name of their own.
    if (IsShippedScene(chosen))
        G.SceneFileName.clear();
    else
        G.SceneFileName = chosen;
    // The scene the environment chooser asked for is open, titled or not.
    G.OpenFileChosen = false;
    ShowPlace();
    DrawMod::RedrawView();
    return true;
}

void Main::mnu_open_Click() { OpenFrom(G.UserDir); }

void Main::mnu_examples_Click()
{
    if (ConfirmSaveChanges && ConfirmSaveChanges()) return;
    CommonDialog2.Filter = kSceneFilter;
    CommonDialog2.InitDir = G.ExamplesDir;
    CommonDialog2.FileName.clear();
    if (!ShowFileDialog(CommonDialog2, false)) return;
    if (CommonDialog2.FileName.isEmpty() || !OpenScene(CommonDialog2.FileName)) return;
    // An example is never written back to its own file: the child saves it
    // under a name of their own.
    G.SceneFileName.clear();
    G.CleanFlag = false;
    ShowPlace();
    DrawMod::RedrawView();
}

// ---- saving ----

void Main::mnu_save_Click()
{
    const QString oldName = G.SceneFileName;
    if (G.SceneFileName.isEmpty()) {
        CommonDialog1.Filter = QStringLiteral("Dorv File|*.dvp");
        CommonDialog1.InitDir = G.UserDir;
        CommonDialog1.FileName.clear();
        if (!ShowFileDialog(CommonDialog1, true)) return;
        G.SceneFileName = CommonDialog1.FileName;
    }
    if (G.SceneFileName.isEmpty()) return;
    if (G.SceneFileName != oldName && KeepExistingFile(FileMod::SceneFilePath(G.SceneFileName))) {
        G.SceneFileName = oldName;
        return;
    }
    if (!SaveScene()) {
        G.SceneFileName = oldName;
        return;
    }
    G.CleanFlag = true;
}

void Main::mnu_saveas_Click()
{
    // The scene keeps its name until it is saved under another: a cancelled
    // dialog, a declined overwrite or a file that could not be written
    // leave the name the save question and Save go on using.
    const QString name = G.SceneFileName;
    G.SceneFileName.clear();
    mnu_save_Click();
    if (G.SceneFileName.isEmpty()) G.SceneFileName = name;
}

// ---- output files: Export and the snapshots ----

namespace {

// The extension of each type of a dialog filter, in order: ".csv" for
// "CSV file|*.csv".
QStringList FilterExtensions(const QString& filter)
{
    QStringList extensions;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 1; i < parts.size(); i += 2) {
        const QString pattern = parts[i].section(QLatin1Char(';'), 0, 0).trimmed();
        extensions << (pattern.startsWith(QLatin1String("*.")) ? pattern.mid(1) : QString());
    }
    return extensions;
}

// True when `folder` is, or lies in, a folder the program ships: its own
// folder, the examples or the worksheets.
bool IsProgramFolder(const QString& folder)
{
    const QString path = QFileInfo(dorv::FindPath(folder)).canonicalFilePath();
    if (path.isEmpty()) return false;
    for (const QString& own : {dorv::AppPath(), G.ExamplesDir, G.WorksheetDir}) {
        if (own.isEmpty()) continue;
        const QString shipped = QFileInfo(dorv::FindPath(own)).canonicalFilePath();
        if (!shipped.isEmpty() && (path == shipped || path.startsWith(shipped + QLatin1Char('/')))) return true;
    }
    return false;
}

}  // namespace

bool Main::ChooseOutputFile(const QString& filter, const QString& name)
{
    const QStringList extensions = FilterExtensions(filter);
    if (extensions.isEmpty()) return false;
    // Where the file dialogs were last used, never in what the program
    // ships; else the user's folder.
    QString folder = CommonDialog1.InitDir;
    if (QFileInfo(CommonDialog1.FileName).isAbsolute()) folder = QFileInfo(CommonDialog1.FileName).path();
    if (folder.isEmpty() || IsProgramFolder(folder)) folder = G.UserDir;
    CommonDialog1.Filter = filter;
    CommonDialog1.InitDir = folder;
    CommonDialog1.FilterIndex = std::clamp(CommonDialog1.FilterIndex, 1, int(extensions.size()));
    CommonDialog1.FileName = name.isEmpty() ? QString() : name + extensions[CommonDialog1.FilterIndex - 1];
    if (!ShowFileDialog(CommonDialog1, true) || CommonDialog1.FileName.isEmpty()) return false;

    // A name typed with a type's extension chooses that type; any other
    // name gets the extension of the type chosen, as scenes get ".dvp".
    QString path = CommonDialog1.FileName;
    int type = std::clamp(CommonDialog1.FilterIndex, 1, int(extensions.size()));
    const auto typed = std::find_if(extensions.begin(), extensions.end(), [&](const QString& e) {
        return !e.isEmpty() && path.endsWith(e, Qt::CaseInsensitive) && path.size() > e.size();
    });
    if (typed != extensions.end())
        type = int(typed - extensions.begin()) + 1;
    else
        path += extensions[type - 1];
    CommonDialog1.FileName = path;
    CommonDialog1.FilterIndex = type;
    // The question is about the file that will be written.
    return !KeepExistingFile(path);
}

void Main::mnu_export_Click()
{
    // The scene's own name, as the CSV list the menu entry names, whatever
    // type another dialog chose last: never the scene file itself.
    CommonDialog1.FilterIndex = 1;
    if (!ChooseOutputFile(QStringLiteral("CSV file|*.csv|Text file|*.txt|VRML world|*.wrl"),
                          QFileInfo(G.SceneFileName).completeBaseName()))
        return;
    const QString path = CommonDialog1.FileName;
    bool written = true;
    switch (CommonDialog1.FilterIndex) {
    case 1: written = Graphs::ExportItemListCsv(path, G.PlacedItems, G.PlacedItemCount); break;
    case 2: written = FileMod::ExportTextFile(path, G.PlacedItems, G.PlacedItemCount); break;
    case 3: written = FileMod::ExportVrmlFile(path, G.PlacedItems, G.PlacedItemCount); break;
    default: return;
    }
    if (!written) ReportNotSaved(path);
}
