#pragma once
// The splash screen of start-up: the program's picture with its version,
// shown on its own for about four seconds (81 ticks of 50 ms) or until a key
// is pressed, while the main window is not yet shown.

#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/InputControls.h"

class frmSplash : public dorv::Form {
public:
    frmSplash();

    // The splash of the run, made on first use; nullptr when the program has
    // none.
    static frmSplash* Window();

    dorv::PictureBox* Picture2;  // Splash.jpg
    dorv::Label* lblCompany;
    dorv::Label* lblVersion;
    dorv::Label* lblForWindows;  // the system Dorv is built for
    dorv::Timer Timer1;

    // Shows the splash modally; returns once it has closed.
    void go();
    // The version as "major.minor.revision", the revision in three digits.
    static QString vsnstr();
    // The ticks counted since the splash was loaded.
    int32_t Ticks() const { return ticks_; }

    // ---- handlers ----
    void Timer1_Timer();
    void Form_KeyPress(int keyAscii);
    void Picture2_Paint();

protected:
    void Form_Load() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Lets the picture go and unloads the splash, which ends its showing.
    void close();
    int32_t ticks_ = 0;
};
