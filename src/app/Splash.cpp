#include "app/Splash.h"

#include "app/DialogLook.h"

#include "platform/AppInfo.h"
#include "platform/FileSystem.h"
#include "scene/CaptionTables.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"

#include <QKeyEvent>

namespace {

// The picture's size in pixels; the labels stand below it.
constexpr int kPictureWidth = 480, kPictureHeight = 320, kStrip = 28;

int32_t Px(int32_t pixels) { return pixels * dorv::TwipsPerPixelX(); }

}  // namespace

frmSplash* frmSplash::Window() { return dynamic_cast<frmSplash*>(dorv::Form::Get(QStringLiteral("frmSplash"))); }

frmSplash::frmSplash() : dorv::Form(QStringLiteral("frmSplash"))
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    QWidget* client = Client();
    Picture2 = new dorv::PictureBox(client, QStringLiteral("Picture2"), false);
    Picture2->SetScaleMode(dorv::vbPixels);
    Picture2->Move(0, 0, Px(kPictureWidth), Px(kPictureHeight));
    Picture2->Paint = [this] { Picture2_Paint(); };
    // A key pressed over the picture closes the splash as well.
    Picture2->KeyPress = [this](int& keyAscii) { Form_KeyPress(keyAscii); };
    lblCompany = new dorv::Label(client, QStringLiteral("lblCompany"), QStringLiteral("KelmoSoftware"));
    lblVersion = new dorv::Label(client, QStringLiteral("lblVersion"), QStringLiteral("Version"));
    lblForWindows = new dorv::Label(client, QStringLiteral("lblForWindows"), QStringLiteral("For Linux"));
    lblCompany->Move(Px(10), Px(kPictureHeight + 5), Px(150), Px(18));
    lblVersion->Move(Px(170), Px(kPictureHeight + 5), Px(140), Px(18));
    lblVersion->setAlignment(Qt::AlignCenter);
    lblForWindows->Move(Px(kPictureWidth - 160), Px(kPictureHeight + 5), Px(150), Px(18));
    lblForWindows->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Client()->SetBackColor(0xFFFFFF);
    // In the middle of the screen, at its own size.
    SetDialogLook(*this, kPictureWidth, kPictureHeight + kStrip, 9);
    Timer1.SetEnabled(false);
    Timer1.Tick = [this] { Timer1_Timer(); };
}

QString frmSplash::vsnstr()
{
    return QString::number(dorv::AppMajor()) + QLatin1Char('.') + QString::number(dorv::AppMinor()) +
           QLatin1Char('.') + QString::number(dorv::AppRevision()).rightJustified(3, QLatin1Char('0'));
}

void frmSplash::Form_Load()
{
    // A missing or unreadable picture leaves the window without one.
    Picture2->SetPicture(QImage(dorv::FindPath(dorv::AppPath() + QStringLiteral("\\Splash.jpg"))));
    ticks_ = 0;
}

void frmSplash::go()
{
    Load();
    // The splash shows before the language is applied to the windows: it
    // takes the caption of the language the program starts in itself.
    if (const char* text = LangMod::BuiltInCaption("frmSplash", "lblForWindows", G.UiLanguage))
        lblForWindows->SetCaption(QString::fromUtf8(text));
    lblVersion->SetCaption(LangMod::GetMessage(QStringLiteral("lang_Version")) + QLatin1Char(' ') + vsnstr());
    Timer1.SetInterval(50);
    Timer1.SetEnabled(true);
    Show(dorv::vbModal);
    Timer1.SetEnabled(false);
}

void frmSplash::Timer1_Timer()
{
    ++ticks_;
    if (ticks_ > 80) close();
}

void frmSplash::Form_KeyPress(int keyAscii) { close(); }

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    Form_KeyPress(event->text().isEmpty() ? 0 : event->text().at(0).unicode());
}

void frmSplash::close()
{
    Timer1.SetEnabled(false);
    Picture2->SetPicture(QImage());
    Hide();
    Unload(dorv::vbFormCode);
}

void frmSplash::Picture2_Paint()
{
    const int32_t w = static_cast<int32_t>(Picture2->ScaleWidth()), h = static_cast<int32_t>(Picture2->ScaleHeight());
    DrawMod::DrawBox(Picture2->hDC(), 1, 1, w - 2, h - 2, -1, 0, 1);
}
