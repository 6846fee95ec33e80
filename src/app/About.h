#pragma once
// The About box of the Help menu, and the page about Dorv. Its captions are
// message keys, translated into the interface language when it loads, so it
// follows whatever language the message file offers.

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/InputControls.h"
#include "scene/LangMod.h"

#include <vector>

class wAbout : public dorv::Form, public LangMod::CaptionedWindow {
public:
    wAbout();

    dorv::Label* Label1;  // "nAbout1Title"
    dorv::Label* Label2;  // "nAbout1"
    dorv::Label* Label3;  // "nAbout2Title"
    dorv::Label* Label4;  // "nAbout2"
    dorv::Label* Label5;  // "nAbout3Title"
    dorv::Label* version;
    dorv::Label* Label9;  // "nAbout3": the link to the page about Dorv
    dorv::CommandButton* PushButton1;  // "nCloseWindow"

    // ---- handlers ----
    void Label9_Click();
    void PushButton1_Click();

    // Captions as message keys (LangMod::CaptionedWindow).
    int CaptionCount() const override;
    QString Caption(int control) const override;
    void SetCaption(int control, const QString& text) override;
    QString WindowCaption() const override;
    void SetWindowCaption(const QString& text) override;

protected:
    void Form_Load() override;
    void Form_Paint() override;

private:
    // The captioned controls in the order they are translated.
    std::vector<QWidget*> captioned_;
};

// The page the Help menu and the About box open: Dorv.html in the program
// folder, about the program, its version and the content that ships with it.
QString MakerWebPage();
// Opens that page with the desktop's default handler; a failure is not
// reported.
void OpenMakerWebPage();
