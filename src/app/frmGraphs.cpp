#include "app/frmGraphs.h"

#include "platform/AppInfo.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"

#include <QDir>
#include <QImage>

namespace {
// Narrow enough to dock beside the chart on a small screen.
constexpr int kWidth = 232, kHeight = 262;  // client, pixels
constexpr int kButton = 44, kGap = 8, kAcross = 12;

// The chart buttons' tips; the area graph's button has none.
const char* const kTips[7] = {"Pie Chart",    "Bar Graph",    "Pictogram",   "Line Graph",
                              "3D Pie Chart", "3D Bar Graph", "3D Pictogram"};
// The message naming each kind of chart, by button index And 3.
const char* const kKindKeys[4] = {"lang_PieChart", "lang_BarChart", "lang_Pictogram", "lang_LineAreaGraph"};

// The option flags of the current kind, or nullptr while no chart is chosen.
bool* KindFlag(std::array<bool, kGraphKinds>& flags)
{
    const int kind = G.GraphKind;
    return kind >= 1 && kind <= kGraphKinds ? &flags[size_t(kind - 1)] : nullptr;
}
}  // namespace

frmGraphs* frmGraphs::Window()
{
    auto* f = dynamic_cast<frmGraphs*>(dorv::Form::Get(QStringLiteral("frmGraphs")));
    if (f) f->Load();
    return f;
}

frmGraphs::frmGraphs() : dorv::Form(QStringLiteral("frmGraphs"))
{
    // The English captions; the language menu sets them anew.
    SetCaption(QStringLiteral("Graph options"));
    makeControls();
    setFixedSize(kWidth, kHeight);
}

void frmGraphs::makeControls()
{
    QWidget* client = Client();
    const QString faces = dorv::AppPath() + QStringLiteral("/Pictures/Graphs/");
    for (int i = 0; i < 8; ++i) {
        auto* b = new dorv::PictureBox(client, QStringLiteral("Picture1(%1)").arg(i), false);
        b->SetScaleMode(dorv::vbPixels);
        const int x = 14 + (i % 4) * (kButton + kAcross), y = 10 + (i / 4) * (kButton + kGap);
        b->setGeometry(x, y, kButton, kButton);
        const QImage face(faces + QStringLiteral("%1.png").arg(i + 1, 2, 10, QLatin1Char('0')));
        if (!face.isNull()) b->SetPicture(face.scaled(kButton, kButton, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        if (i < 7) b->SetToolTipText(QLatin1String(kTips[i]));
        b->SetMousePointer(dorv::vbArrow);
        const int16_t index = static_cast<int16_t>(i);
        b->Click = [this, index] { Picture1_Click(index); };
        Picture1[size_t(i)] = b;
    }

    Frame2 = new QGroupBox(QStringLiteral("Pie Chart"), client);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(10, 114, kWidth - 20, kHeight - 124);
    QFont bold = Frame2->font();
    bold.setBold(true);
    Frame2->setFont(bold);
    // Each pair of options excludes only its partner.
    QWidget* pairs[2] = {new QWidget(Frame2), new QWidget(Frame2)};
    pairs[0]->setGeometry(10, 24, kWidth - 40, 52);
    pairs[1]->setGeometry(10, 80, kWidth - 40, 52);
    QFont plain = bold;
    plain.setBold(false);
    for (int i = 0; i < 2; ++i) {
        static const char* const kOption1[2] = {"Display number of items", "Display costs"};
        static const char* const kOption2[2] = {"Display item names", "Display items"};
        Option1[size_t(i)] = new dorv::OptionButton(pairs[0], QStringLiteral("Option1(%1)").arg(i), QLatin1String(kOption1[i]));
        Option2[size_t(i)] = new dorv::OptionButton(pairs[1], QStringLiteral("Option2(%1)").arg(i), QLatin1String(kOption2[i]));
        for (dorv::OptionButton* o : {Option1[size_t(i)], Option2[size_t(i)]}) {
            o->setGeometry(0, i * 26, kWidth - 40, 24);
            o->setFont(plain);
        }
        const int16_t index = static_cast<int16_t>(i);
        // The options act as soon as the button goes down.
        QObject::connect(Option1[size_t(i)], &QAbstractButton::pressed, this, [this, index] { Option1_MouseDown(index); });
        QObject::connect(Option2[size_t(i)], &QAbstractButton::pressed, this, [this, index] { Option2_MouseDown(index); });
        // Choosing with the keyboard brings no press.
        Option1[size_t(i)]->Click = [this, index] { Option1_MouseDown(index); };
        Option2[size_t(i)]->Click = [this, index] { Option2_MouseDown(index); };
    }
    ShowKindOptions();
}

void frmGraphs::Option1_MouseDown(int16_t index)
{
    if (bool* costs = KindFlag(G.GraphShowCosts)) *costs = index == 1;
    DrawMod::RedrawView();
}

void frmGraphs::Option2_MouseDown(int16_t index)
{
    if (bool* pictures = KindFlag(G.GraphShowPictures)) *pictures = index != 0;
    DrawMod::RedrawView();
}

void frmGraphs::Picture1_Click(int16_t index)
{
    if (index < 0 || index > 7) return;
    G.GraphKind = static_cast<int16_t>((index & 3) + 1);
    G.Graph3D[size_t(G.GraphKind - 1)] = index >= 4;
    ShowKindOptions();
    DrawMod::RedrawView();
}

void frmGraphs::ShowKindOptions()
{
    const bool* costs = KindFlag(G.GraphShowCosts);
    const bool* pictures = KindFlag(G.GraphShowPictures);
    if (!costs || !pictures) return;
    Frame2->setTitle(LangMod::GetMessage(QLatin1String(kKindKeys[G.GraphKind - 1])));
    Option1[0]->SetValue(!*costs);
    Option1[1]->SetValue(*costs);
    Option2[0]->SetValue(!*pictures);
    Option2[1]->SetValue(*pictures);
}

void frmGraphs::SetCostsAvailable(bool available)
{
    Option1[1]->SetEnabled(available);
    if (available) return;
    if (bool* costs = KindFlag(G.GraphShowCosts)) *costs = false;
    ShowKindOptions();
}

void frmGraphs::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}
