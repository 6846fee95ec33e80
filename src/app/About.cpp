#include "app/About.h"

#include "app/DialogLook.h"
#include "app/Splash.h"
#include "platform/AppInfo.h"
#include "platform/FileSystem.h"
#include "scene/UnitsMoney.h"
#include "views/ViewRender.h"

#include <QAbstractButton>
#include <QFont>
#include <QLabel>
#include <QUrl>

namespace {

constexpr int kWidth = 460, kHeight = 400;

int32_t Px(int32_t pixels) { return pixels * dorv::TwipsPerPixelX(); }

}  // namespace

QString MakerWebPage()
{
    // There is no site on the web: the page ships with the program.
    return QUrl::fromLocalFile(dorv::FindPath(dorv::AppPath() + QStringLiteral("\\Dorv.html"))).toString();
}

void OpenMakerWebPage() { CommonMod::OpenWithShell(MakerWebPage()); }

wAbout::wAbout() : dorv::Form(QStringLiteral("wAbout"))
{
    dorv::Form::SetCaption(QStringLiteral("nAboutTitle"));
    QWidget* client = Client();
    Label1 = new dorv::Label(client, QStringLiteral("Label1"), QStringLiteral("nAbout1Title"));
    Label2 = new dorv::Label(client, QStringLiteral("Label2"), QStringLiteral("nAbout1"));
    Label3 = new dorv::Label(client, QStringLiteral("Label3"), QStringLiteral("nAbout2Title"));
    Label4 = new dorv::Label(client, QStringLiteral("Label4"), QStringLiteral("nAbout2"));
    Label5 = new dorv::Label(client, QStringLiteral("Label5"), QStringLiteral("nAbout3Title"));
    version = new dorv::Label(client, QStringLiteral("version"), QStringLiteral("version"));
    Label9 = new dorv::Label(client, QStringLiteral("Label9"), QStringLiteral("nAbout3"));
    PushButton1 = new dorv::CommandButton(client, QStringLiteral("PushButton1"), QStringLiteral("nCloseWindow"));
    captioned_ = {Label1, Label2, Label3, Label4, Label5, version, Label9, PushButton1};

    SetDialogLook(*this, kWidth, kHeight, 11);
    for (dorv::Label* title : {Label1, Label3, Label5}) {
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
    }
    for (dorv::Label* text : {Label2, Label4}) text->setWordWrap(true);
    Label1->Move(Px(20), Px(16), Px(420), Px(22));
    Label2->Move(Px(20), Px(40), Px(420), Px(72));
    Label3->Move(Px(20), Px(120), Px(420), Px(22));
    Label4->Move(Px(20), Px(144), Px(420), Px(72));
    Label5->Move(Px(20), Px(226), Px(420), Px(22));
    Label9->Move(Px(20), Px(250), Px(420), Px(22));
    version->Move(Px(20), Px(300), Px(200), Px(22));
    PushButton1->Move(Px(kWidth - 140), Px(kHeight - 52), Px(120), Px(34));
    // The address reads as a link.
    Label9->setStyleSheet(QStringLiteral("color: #0000C0; text-decoration: underline;"));
    Label9->setCursor(Qt::PointingHandCursor);
    Label9->Click = [this] { Label9_Click(); };
    PushButton1->Click = [this] { PushButton1_Click(); };
    // Escape closes the box, as it does every other dialog.
    PushButton1->SetCancel(true);
}

void wAbout::Form_Load()
{
    LangMod::TranslateFormCaptions(*this);
    version->SetCaption(frmSplash::vsnstr());
}

void wAbout::Form_Paint()
{
    int32_t top = 0, bottom = 0;
    DrawMod::PaintFormBackground(hDC(), Client()->width(), Client()->height(), dorv::GetSysColor(19),
                                 dorv::GetSysColor(3), top, bottom, 4);
}

void wAbout::Label9_Click() { OpenMakerWebPage(); }

void wAbout::PushButton1_Click() { Hide(); }

int wAbout::CaptionCount() const { return static_cast<int>(captioned_.size()); }

QString wAbout::Caption(int control) const
{
    if (control < 0 || control >= CaptionCount()) return QString();
    QWidget* w = captioned_[static_cast<size_t>(control)];
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return QString();
}

void wAbout::SetCaption(int control, const QString& text)
{
    if (control < 0 || control >= CaptionCount()) return;
    QWidget* w = captioned_[static_cast<size_t>(control)];
    if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
    if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(text);
}

QString wAbout::WindowCaption() const { return dorv::Form::Caption(); }

void wAbout::SetWindowCaption(const QString& text) { dorv::Form::SetCaption(text); }
