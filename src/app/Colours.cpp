#include "app/Colours.h"

#include "app/Main.h"
#include "platform/Dialogs.h"
#include "scene/Colours.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"

namespace {

int32_t Px(int32_t pixels) { return pixels * dorv::TwipsPerPixelX(); }

}  // namespace

Colours* Colours::Window()
{
    auto* colours = dynamic_cast<Colours*>(dorv::Form::Get(QStringLiteral("Colours")));
    if (colours) colours->Load();
    return colours;
}

Colours::Colours() : dorv::Form(QStringLiteral("Colours"))
{
    SetCaption(QStringLiteral("Select Colours"));
    SetScaleMode(dorv::vbPixels);
    QWidget* client = Client();
    const char* const captions[] = {"Floor", "Walls", "OK", "Cancel"};
    for (int i = 0; i < 4; ++i) {
        Command1[i] = new dorv::CommandButton(client, QStringLiteral("Command1(%1)").arg(i), QLatin1String(captions[i]));
        Command1[i]->Click = [this, i] { Command1_Click(i); };
    }
    for (int i = 0; i < 2; ++i) {
        Picture1[i] = new dorv::PictureBox(client, QStringLiteral("Picture1(%1)").arg(i));
        Picture1[i]->Move(Px(8), Px(8 + 34 * i), Px(52), Px(28));
        Command1[i]->Move(Px(68), Px(8 + 34 * i), Px(76), Px(28));
    }
    Command1[2]->Move(Px(8), Px(80), Px(64), Px(26));
    Command1[3]->Move(Px(80), Px(80), Px(64), Px(26));
    Move(0, 0, 2400, 2280);
}

void Colours::ShowSceneColours()
{
    Picture1[0]->SetBackColor(G.FloorColour);
    Picture1[1]->SetBackColor(G.WallColour);
}

void Colours::showEvent(QShowEvent* event)
{
    // A choice that was cancelled is forgotten. Taken on showing, not on
    // activation: the window appears without taking the keyboard, and a
    // pick must survive a click in the main window before OK.
    ShowSceneColours();
    dorv::Form::showEvent(event);
}

void Colours::Command1_Click(int index)
{
    switch (index) {
    case 0:
    case 1:
        if (auto colour = dorv::Dialogs().ShowColor(Picture1[index]->BackColor())) Picture1[index]->SetBackColor(*colour);
        break;
    case 2:
        G.FloorColour = static_cast<int32_t>(Picture1[0]->BackColor());
        G.WallColour = static_cast<int32_t>(Picture1[1]->BackColor());
        CommonMod::ApplyFloorWallColours(G.PlacedItems, G.PlacedItemCount, G.FloorColour, G.WallColour, G.SceneShapes,
                                         G.SceneShapeCount);
        G.BufferDirty = true;
        if (Main* main = MainWindow()) main->Picture2->Refresh();
        G.CleanFlag = false;
        break;
    case 3: Hide(); break;
    default: break;
    }
}

void Colours::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}

void Colours::Form_QueryUnload(int16_t& cancel, int unloadMode)
{
    // The window goes; the next toggle makes it anew.
    if (Main* main = MainWindow())
        if (main->mnu_changeColours) main->mnu_changeColours->SetChecked(false);
}
