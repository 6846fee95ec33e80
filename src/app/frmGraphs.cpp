#include "app/frmGraphs.h"

#include "platform/AppInfo.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"

#include <QDir>
#include <QImage>

namespace {
constexpr int kWidth = 300, kHeight = 262;  // client, pixels
constexpr int kButton = 44, kGap = 8;

struct Caption {
    const char* english;
    const char* portuguese;
};
const Caption kWindow = {"Graph options", "Op\u00E7\u00F5es de Gr\u00E1fico"};
const Caption kFrame = {"Pie Chart", "Gr\u00E1fico de Pizza"};
const Caption kOption1[2] = {{"Display number of items", "Exibir quantidades"},
                             {"Display costs", "Exibir custos"}};
const Caption kOption2[2] = {{"Display item names", "Exibir nomes"}, {"Display items", "Exibir Itens"}};
// The chart buttons' tips; the area graph's button has none.
const Caption kTips[7] = {{"Pie Chart", "Gr\u00E1fico de Pizza"},
                          {"Bar Graph", "Gr\u00E1fico de Barras"},
                          {"Pictogram", "Pictograma"},
                          {"Line Graph", "Gr\u00E1fico de Linha"},
                          {"3D Pie Chart", "Gr\u00E1fico de Pizza (3D)"},
                          {"3D Bar Graph", "Gr\u00E1fico de Barras (3D)"},
                          {"3D Pictogram", "Pictograma (3D)"}};
// The message naming each kind of chart, by button index And 3.
const char* const kKindKeys[4] = {"lang_PieChart", "lang_BarChart", "lang_Pictogram", "lang_LineAreaGraph"};

QString Text(const Caption& c, int language) { return QString::fromUtf8(language == 1 ? c.portuguese : c.english); }

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
    makeControls();
    SetCaptions(0);
    setFixedSize(kWidth, kHeight);
}

void frmGraphs::makeControls()
{
    QWidget* client = Client();
    const QString faces = dorv::AppPath() + QStringLiteral("/Pictures/Graphs/");
    for (int i = 0; i < 8; ++i) {
        auto* b = new dorv::PictureBox(client, QStringLiteral("Picture1(%1)").arg(i), false);
        b->SetScaleMode(dorv::vbPixels);
        const int x = 16 + (i % 4) * (kButton + 28), y = 10 + (i / 4) * (kButton + kGap);
        b->setGeometry(x, y, kButton, kButton);
        b->SetPicture(QImage(faces + QStringLiteral("%1.png").arg(i + 1, 2, 10, QLatin1Char('0')))
                          .scaled(kButton, kButton, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        b->SetMousePointer(dorv::vbArrow);
        const int16_t index = static_cast<int16_t>(i);
        b->Click = [this, index] { Picture1_Click(index); };
        Picture1[size_t(i)] = b;
    }

    Frame2 = new QGroupBox(client);
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
        Option1[size_t(i)] = new dorv::OptionButton(pairs[0], QStringLiteral("Option1(%1)").arg(i));
        Option2[size_t(i)] = new dorv::OptionButton(pairs[1], QStringLiteral("Option2(%1)").arg(i));
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

void frmGraphs::SetCaptions(int language)
{
    if (language != 0 && language != 1) return;
    SetCaption(Text(kWindow, language));
    Frame2->setTitle(Text(kFrame, language));
    for (int i = 0; i < 2; ++i) {
        Option1[size_t(i)]->setText(Text(kOption1[i], language));
        Option2[size_t(i)]->setText(Text(kOption2[i], language));
    }
    for (int i = 0; i < 7; ++i) Picture1[size_t(i)]->SetToolTipText(Text(kTips[i], language));
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
    Frame2->setTitle(LangMod::GetMessage(QLatin1String(kKindKeys[index & 3])));
    DrawMod::RedrawView();
}

void frmGraphs::ShowKindOptions()
{
    const bool* costs = KindFlag(G.GraphShowCosts);
    const bool* pictures = KindFlag(G.GraphShowPictures);
    if (!costs || !pictures) return;
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
