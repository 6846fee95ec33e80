#include "app/EnvSelect.h"

#include "app/DialogLook.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"

#include <cstdint>

namespace {

// Client area in pixels; the list above, the buttons in a row below.
constexpr int kWidth = 640, kHeight = 460;

}  // namespace

EnvSelect* EnvSelect::Window()
{
    auto* chooser = dynamic_cast<EnvSelect*>(dorv::Form::Get(QStringLiteral("EnvSelect")));
    if (chooser) chooser->Load();
    return chooser;
}

EnvSelect::EnvSelect() : dorv::Form(QStringLiteral("EnvSelect"))
{
    SetCaption(QStringLiteral("Dorv Zorazev Environment Selection"));
    QWidget* client = Client();
    ListView1 = new dorv::ListView(client, QStringLiteral("ListView1"));
    ListView1->SetIcons(&ImageList1);
    Command1 = new dorv::CommandButton(client, QStringLiteral("Command1"), QStringLiteral("Select"));
    Command2 = new dorv::CommandButton(client, QStringLiteral("Command2"), QStringLiteral("Load a file ..."));
    Command3 = new dorv::CommandButton(client, QStringLiteral("Command3"), QStringLiteral("Load worksheet ..."));
    // The settings show the worksheet button when they name a worksheet folder.
    Command3->SetVisible(false);

    ListView1->ItemClick = [this](int index) { ListView1_ItemClick(index); };
    ListView1->DblClick = [this] { ListView1_DblClick(); };
    Command1->Click = [this] { Command1_Click(); };
    Command2->Click = [this] { Command2_Click(); };
    Command3->Click = [this] { Command3_Click(); };

    SetDialogLook(*this, kWidth, kHeight, 12);
    // Big pictures, easy to hit.
    ListView1->SetIconSize(96);
    QFont bold = Command1->font();
    bold.setBold(true);
    Command1->setFont(bold);
    Command1->SetDefault(true);
    layout();
}

void EnvSelect::layout()
{
    // Twips: 15 to a pixel.
    const int32_t w = kWidth * 15, h = kHeight * 15;
    const int32_t margin = 240, buttonHeight = 690, gap = 180;
    const int32_t buttonsTop = h - margin - buttonHeight;
    ListView1->Move(margin, margin, w - 2 * margin, buttonsTop - gap - margin);
    Command2->Move(margin, buttonsTop, 2700, buttonHeight);
    Command3->Move(margin + 2700 + gap, buttonsTop, 2700, buttonHeight);
    Command1->Move(w - margin - 2400, buttonsTop, 2400, buttonHeight);
}

// ---- the list ----

void EnvSelect::ClearPictures() { ImageList1.Clear(); }

void EnvSelect::AddPicture(const QString& key, const QImage& picture)
{
    ImageList1.Add(picture, key);
    // An entry added before its picture shows it now.
    ListView1->SetIcons(&ImageList1);
}

void EnvSelect::ClearEntries()
{
    ListView1->Clear();
    rows_.clear();
}

void EnvSelect::AddEntry(const WindowPort::ListEntry& entry)
{
    ListView1->AddItem(entry.key, entry.text, entry.iconKey, entry.tag);
    rows_.push_back(entry.row);
}

void EnvSelect::LanguageChanged()
{
    for (int i = 1; i <= ListView1->Count(); ++i) ListView1->SetItemText(i, LangMod::GetEnvText(ListView1->ItemTag(i)));
}

// ---- showing ----

bool EnvSelect::go(dorv::Form* owner)
{
    for (int i = 1; i <= ListView1->Count(); ++i) ListView1->SetItemEnabled(i, true);
    // Nothing is chosen yet: Select waits for a click, and no entry looks
    // chosen while it waits.
    Command1->SetEnabled(false);
    ListView1->SelectNone();
    // The keys start in the list, whichever button had them when the
    // chooser went (a load button whose dialog came to nothing).
    ListView1->setFocus();
    chosen_ = false;
    // Shown for the main window, the chooser offers no minimise: minimised
    // while the main window is hidden, nothing would be left to bring it
    // back from.
    Show(dorv::vbModal, owner);
    return chosen_;
}

void EnvSelect::Form_Activate()
{
    Command1->SetEnabled(false);
    ListView1->SelectNone();
}

void EnvSelect::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}

void EnvSelect::Form_QueryUnload(int16_t& cancel, int unloadMode)
{
    // Closing the chooser, whatever closes it, ends the program there and
    // then: nothing is asked and nothing is saved.
    dorv::EndProgram();
}

// ---- handlers ----

void EnvSelect::ListView1_ItemClick(int index)
{
    Command1->SetEnabled(true);
    // The entry knows the row it stands for.
    if (index < 1 || index > static_cast<int>(rows_.size())) return;
    const int32_t row = rows_[static_cast<size_t>(index - 1)];
    if (row > 0 && row <= INT16_MAX) SelectedRow = static_cast<int16_t>(row);
}

void EnvSelect::ListView1_DblClick()
{
    if (Command1->Enabled()) Command1_Click();
}

void EnvSelect::Command1_Click()
{
    G.OpenFileChosen = false;
    G.EnvironmentIndex = SelectedRow;
    chosen_ = true;
    Hide();
}

void EnvSelect::chooseOpen(const QString& folder)
{
    G.OpenFileChosen = true;
    OpenFolder = folder;
    G.EnvironmentIndex = SelectedRow;
    chosen_ = true;
    Hide();
}

void EnvSelect::Command2_Click() { chooseOpen(G.UserDir); }

void EnvSelect::Command3_Click() { chooseOpen(G.WorksheetDir); }
