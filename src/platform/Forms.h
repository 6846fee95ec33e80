#pragma once
// Forms: the program's windows, with the life and the events its window code
// was designed around. A form is created hidden on first use and loaded then
// (Form_Load); showing it lays it out (Form_Resize) and activates it
// (Form_Activate); its client area is painted through Form_Paint; closing it
// asks Form_QueryUnload, which may keep it open, and unloading it runs
// Form_Unload. Positions and sizes are in twips (1440 to the inch, 15 to a
// pixel on a 96-dpi screen), the outer frame of the window for the form
// itself, the client area for its inner scale.
//
// Forms are known by name in one collection (as the window code refers to
// "ItemGroups" or "Budget"); a form class registers how it is made, and the
// first use of its name makes it.

#include "platform/DeviceContext.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QMenuBar;

namespace dorv {

class ImageDc;
class Menu;

// ---- units ----

// Twips in a pixel, across and down, from the screen's logical resolution.
int TwipsPerPixelX();
int TwipsPerPixelY();
// Scale modes of ScaleX.
constexpr int vbTwips = 1, vbPoints = 2, vbPixels = 3, vbInches = 5, vbMillimeters = 6, vbCentimeters = 7;
// Converts a length between scale modes (across the screen). An unknown
// mode leaves the value as it is.
double ScaleX(double value, int fromMode, int toMode);
double ScaleY(double value, int fromMode, int toMode);

// ---- the run ----

// The command line as one text: the arguments after the program's name,
// joined by blanks (the way the desktop passes a path with blanks whole).
QString CommandLine();
void SetCommandLine(const QString& text);  // main() and tests
// Runs the events waiting (a long handler lets the windows breathe).
void DoEvents();
// Ends the program: no form is shown any more and the event loop stops.
// Ending() tells main() not to start the loop at all when start-up ended it.
void EndProgram();
bool Ending();
void ResetEnding();  // for tests

// ---- surfaces ----

// A widget whose look is a picture kept off the screen: drawing goes through
// its device context onto the picture, and painting copies the picture to the
// screen, after the owner's paint handler had its say. The picture covers the
// widget's inner area (inside its contents margins). The client area of a
// form and a picture box are such surfaces.
class SurfaceWidget : public QWidget {
public:
    explicit SurfaceWidget(QWidget* parent);
    ~SurfaceWidget() override;
    // A context on the picture; what it draws shows at the next repaint,
    // which asking for it schedules.
    DeviceContext& hDC();
    const QImage& Surface();
    // Fills the picture with the background colour (and the background
    // picture, when there is one).
    void Cls();
    ColorRef BackColor() const { return backColour_; }
    void SetBackColor(ColorRef colour);
    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return picture_; }
    std::function<void()> Paint;
    // Told after the widget took a new size (its picture already remade).
    std::function<void()> Resized;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Remakes the picture when the inner area changed size (also while the
    // widget is hidden and hears of no resize).
    void fit();
    void remake(QSize size);
    QImage surface_;
    QImage picture_;
    std::unique_ptr<ImageDc> dc_;
    ColorRef backColour_ = 0xFFFFFF;
    bool painting_ = false;
};

// ---- forms ----

// Unload modes of Form_QueryUnload.
constexpr int vbFormControlMenu = 0;  // the user closed the window
constexpr int vbFormCode = 1;         // the program unloads it
constexpr int vbAppWindows = 2;       // the desktop session is ending
constexpr int vbAppTaskManager = 3;   // another program closes it
constexpr int vbFormOwner = 5;        // its owner is closing
// Show styles.
constexpr int vbModeless = 0;
constexpr int vbModal = 1;

// Makes the top-level window `w` a window of `type` (Qt::Tool, Qt::Dialog,
// Qt::Window) that offers a title and a close box only, neither minimise nor
// maximise: the desktop minimises an owner together with the windows it owns,
// a minimised modal window leaves its owner waiting for it, and there may be
// no task bar to bring either back from. Call it before the window is shown.
void OfferCloseBoxOnly(QWidget& w, Qt::WindowType type);

class Form : public QWidget {
public:
    explicit Form(const QString& name);
    ~Form() override;
    const QString& Name() const { return name_; }

    // Runs Form_Load unless the form is loaded already.
    void Load();
    bool IsLoaded() const { return loaded_; }
    // Loads when needed and shows the form. Modal: returns once the form is
    // hidden or unloaded (through the dialog service). An owner keeps the
    // form above it; nullptr shows it on its own. A form shown for an owner
    // not on the screen yet appears when its owner does (Hide cancels that).
    // A form with the attribute Qt::WA_ShowWithoutActivating appears without
    // taking the keyboard from the window that has it.
    void Show(int style = vbModeless, Form* owner = nullptr);
    void Hide();
    // Asks Form_QueryUnload, then runs Form_Unload and hides the form; false
    // when either kept it. The form loads afresh on its next use.
    bool Unload(int unloadMode = vbFormCode);
    // The window is shown (a minimised window counts as shown).
    bool IsWindowVisible() const { return isVisible(); }
    void setVisible(bool visible) override;

    // Outer frame in twips.
    int32_t Left() const;
    int32_t Top() const;
    int32_t Width() const;
    int32_t Height() const;
    void SetLeft(int32_t twips);
    void SetTop(int32_t twips);
    void SetWidth(int32_t twips);
    void SetHeight(int32_t twips);
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    // The client area (below the menu bar) in the form's scale mode.
    float ScaleWidth() const;
    float ScaleHeight() const;
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode) { scaleMode_ = mode; }
    // 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;
    void SetWindowState(int state);
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    QString Caption() const { return windowTitle(); }

    // Where controls live: the client area.
    SurfaceWidget* Client() const { return client_; }
    // The menu bar, made on first use.
    QMenuBar* MenuBar();
    // The form's client context (Form_Paint draws through it).
    DeviceContext& hDC() { return client_->hDC(); }

    // The forms known by name.
    using Factory = std::function<Form*()>;
    static void Register(const QString& name, Factory factory);
    // The form of that name, made (hidden, not yet loaded) on first use;
    // nullptr when no form of that name is known.
    static Form* Get(const QString& name);
    // The form of that name if it exists; never makes one.
    static Form* Existing(const QString& name);
    // Whether the program has a form of that name (made or makeable).
    static bool Known(const QString& name);
    // Forms loaded now.
    static int LoadedCount();
    // Deletes the forms made through Get (before the application object
    // goes: at the end of main() and of a test run).
    static void DestroyAll();

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_Paint() {}
    virtual void Form_QueryUnload(int16_t& cancel, int unloadMode) {}
    virtual void Form_Unload(int16_t& cancel) {}

    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Enter and Escape that no control took press the form's buttons.
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clientResized();
    QString name_;
    SurfaceWidget* client_;
    QMenuBar* menuBar_ = nullptr;
    bool loaded_ = false;
    bool loading_ = false;
    bool unloading_ = false;
    bool minimised_ = false;
    int scaleMode_ = vbTwips;
    QSize lastClientSize_;
    // Shown with an owner that was not on the screen yet: the window
    // appears when its owner does.
    QPointer<Form> waitingFor_;
    // The window it was last shown for.
    QPointer<Form> owner_;
    // Undoes a minimising that the desktop did against the window's flags;
    // false when the window stays minimised.
    bool keepsOffMinimised();
};

}  // namespace dorv
