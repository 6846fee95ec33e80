#include "app/frmSpreadSht.h"

#include "platform/AppInfo.h"
#include "scene/SceneState.h"
#include "views/Graphs.h"
#include "views/ViewRender.h"

#include <QSignalBlocker>

#include <limits>

namespace {
// Narrow enough to dock beside the sheet on a small screen.
constexpr int kWidth = 232, kHeight = 100;  // client, pixels
}

frmSpreadSht* frmSpreadSht::Window()
{
    auto* f = dynamic_cast<frmSpreadSht*>(dorv::Form::Get(QStringLiteral("frmSpreadSht")));
    if (f) f->Load();
    return f;
}

frmSpreadSht::frmSpreadSht() : dorv::Form(QStringLiteral("frmSpreadSht"))
{
    // The English captions; the language menu sets them anew.
    SetCaption(QStringLiteral("Spread Sheet Options"));
    makeControls();
    setFixedSize(kWidth, kHeight);
}

void frmSpreadSht::makeControls()
{
    QWidget* client = Client();
    Label1 = new dorv::Label(client, QStringLiteral("Label1"), QStringLiteral("Page No"));
    Label1->setGeometry(8, 12, 84, 28);
    Command1[0] = new dorv::CommandButton(client, QStringLiteral("Command1(0)"), QStringLiteral("<"));
    Text1 = new dorv::TextBox(client, QStringLiteral("Text1"));
    Command1[1] = new dorv::CommandButton(client, QStringLiteral("Command1(1)"), QStringLiteral(">"));
    Command1[0]->setGeometry(94, 10, 34, 32);
    Text1->setGeometry(132, 10, 52, 32);
    Text1->setAlignment(Qt::AlignCenter);
    Command1[1]->setGeometry(188, 10, 34, 32);
    // The box carries its own caption; the label of the same words is kept
    // for the language tables but not shown twice.
    Check1 = new QCheckBox(QStringLiteral("Display Items"), client);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(8, 56, 170, 28);
    Check1->setChecked(true);
    Label2 = new dorv::Label(client, QStringLiteral("Label2"), QStringLiteral("Display items"));
    Label2->setGeometry(40, 56, 160, 28);
    Label2->setVisible(false);
    // The panel's picture: a spreadsheet.
    Picture1 = new dorv::PictureBox(client, QStringLiteral("Picture1(3)"), false);
    Picture1->setGeometry(kWidth - 48, 52, 40, 40);
    Picture1->SetToolTipText(QStringLiteral("Spreadsheet"));
    const QImage face(dorv::AppPath() + QStringLiteral("/Pictures/ImageList1/07.png"));
    if (!face.isNull()) Picture1->SetPicture(face);
    QFont font = Label1->font();
    font.setPointSize(11);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Text1, Command1[0], Command1[1], Check1})
        w->setFont(font);

    Text1->SetText(QStringLiteral("1"));
    for (int i = 0; i < 2; ++i) {
        const int16_t index = static_cast<int16_t>(i);
        Command1[size_t(i)]->Click = [this, index] { Command1_Click(index); };
    }
    Text1->Change = [this] { Text1_Change(); };
    QObject::connect(Check1, &QAbstractButton::clicked, this, [this] { Check1_Click(); });
}

int32_t frmSpreadSht::PageNumber() const
{
    const QString text = Text1->Text().trimmed();
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) negative = text[i++] == QLatin1Char('-');
    int64_t n = 0;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 128; ++i)
        n = std::min<int64_t>(n * 10 + (text[i].unicode() - '0'), std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(negative ? -n : n);
}

void frmSpreadSht::KeepPageInRange()
{
    const int32_t pages = Graphs::GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount);
    if (PageNumber() <= pages) return;
    const QSignalBlocker quiet(Text1);
    Text1->SetText(QString::number(pages));
}

void frmSpreadSht::Check1_Click()
{
    DrawMod::RedrawView();
}

void frmSpreadSht::Command1_Click(int16_t index)
{
    const int32_t page = PageNumber();
    if (index == 0 && page > 1) {
        Text1->SetText(QString::number(page - 1));
    } else if (index == 1 && page < Graphs::GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount)) {
        Text1->SetText(QString::number(page + 1));
    }
}

void frmSpreadSht::Text1_Change()
{
    const int32_t pages = Graphs::GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount);
    const int32_t page = PageNumber();
    if (page > pages) {
        // Raises the change again, which draws the last page.
        Text1->SetText(QString::number(pages));
    } else if (page > 0) {
        DrawMod::RedrawView();
    }
}

void frmSpreadSht::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}
