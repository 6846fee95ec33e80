#pragma once
// The controls the windows are made of: picture boxes (drawing surfaces that
// also serve as buttons and containers), scroll bars, command buttons, timers,
// menus and image lists. Positions and sizes are in twips within the
// container; a picture box's inner scale is twips or pixels. Events are
// handlers the window sets: Click, DblClick, MouseDown(button, shift, x, y),
// Change, Timer, ...
//
// Mouse capture: the control on which a button is pressed receives the moves
// and the release until the release, also while the pointer is over other
// controls, with coordinates in its own scale (which may then lie outside it).

#include "platform/DeviceContext.h"
#include "platform/Forms.h"

#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace dorv {

// Mouse buttons and shift states of the mouse and key events.
constexpr int vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4;
constexpr int vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4;
// Mouse pointers.
constexpr int vbDefault = 0, vbArrow = 1, vbCrosshair = 2, vbSizeAll = 5, vbHourglass = 11, vbCustom = 99;

// Geometry and the common properties of a control, over its widget.
class Control {
public:
    explicit Control(QWidget* self) : self_(self) {}
    virtual ~Control() = default;
    int32_t Left() const;
    int32_t Top() const;
    int32_t Width() const;
    int32_t Height() const;
    void SetLeft(int32_t twips);
    void SetTop(int32_t twips);
    void SetWidth(int32_t twips);
    void SetHeight(int32_t twips);
    void Move(int32_t left, int32_t top, int32_t width, int32_t height);
    // The control's own visibility (true also while its window is hidden).
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    QString ToolTipText() const;
    void SetToolTipText(const QString& text);
    QWidget* Widget() const { return self_; }

private:
    QWidget* self_;
};

class PictureBox : public SurfaceWidget, public Control {
public:
    // A picture box in `container` (a form's client or another picture box).
    // With a border it has a 1-pixel frame, which its inner scale excludes.
    PictureBox(QWidget* container, const QString& name, bool border = true);
    const QString& Name() const { return name_; }
    // The inner size in the picture box's scale mode (twips or pixels).
    float ScaleWidth() const;
    float ScaleHeight() const;
    int ScaleMode() const { return scaleMode_; }
    void SetScaleMode(int mode) { scaleMode_ = mode; }
    void Refresh() { repaint(); }
    // vbDefault, vbArrow, vbCrosshair, vbSizeAll (the four-way arrow),
    // vbHourglass, or vbCustom with MouseIcon.
    void SetMousePointer(int pointer);
    int MousePointer() const { return pointer_; }
    // The custom cursor's picture and its hot spot (the picture's centre
    // when none is given).
    void SetMouseIcon(const QImage& icon, QPoint hotSpot = QPoint(-1, -1));

    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int button, int shift, float x, float y)> MouseDown;
    std::function<void(int button, int shift, float x, float y)> MouseMove;
    std::function<void(int button, int shift, float x, float y)> MouseUp;
    std::function<void(int& keyCode, int shift)> KeyDown;
    std::function<void(int& keyCode, int shift)> KeyUp;
    std::function<void(int& keyAscii)> KeyPress;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void mouse(const std::function<void(int, int, float, float)>& handler, QMouseEvent* event, bool release);
    void applyCursor();
    QString name_;
    bool border_;
    int scaleMode_ = vbTwips;
    int pointer_ = vbDefault;
    QImage icon_;
    QPoint hotSpot_;
    int pressed_ = 0;  // buttons held since a press on this control
};

// Scroll bars keep the whole-number range of a 16-bit value; Min may exceed
// Max (the bar then runs the other way). Change follows every new value, by
// the user or by the program; Scroll follows the thumb while it is dragged.
class ScrollBar : public QScrollBar, public Control {
public:
    ScrollBar(QWidget* container, const QString& name, Qt::Orientation orientation);
    const QString& Name() const { return name_; }
    int16_t Min() const { return min_; }
    int16_t Max() const { return max_; }
    int16_t Value() const;
    int16_t SmallChange() const { return int16_t(singleStep()); }
    int16_t LargeChange() const { return int16_t(pageStep()); }
    void SetMin(int16_t v);
    void SetMax(int16_t v);
    // A value outside Min..Max is refused (the bar keeps its value): false.
    bool SetValue(int16_t v);
    void SetSmallChange(int16_t v) { setSingleStep(v); }
    void SetLargeChange(int16_t v) { setPageStep(v); }
    std::function<void()> Change;
    std::function<void()> Scroll;

private:
    void applyRange();
    QString name_;
    int16_t min_ = 0, max_ = 32767;
};

class CommandButton : public QPushButton, public Control {
public:
    CommandButton(QWidget* container, const QString& name, const QString& caption = QString());
    const QString& Name() const { return name_; }
    void SetCaption(const QString& caption) { setText(caption); }
    QString Caption() const { return text(); }
    // The button that Enter presses in its form (drawn as its default), and
    // the one that Escape presses; a button with the keyboard's focus takes
    // Enter itself.
    bool Default() const { return isDefault(); }
    void SetDefault(bool value) { setDefault(value); }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    std::function<void()> Click;

private:
    QString name_;
    bool cancel_ = false;
};

class Timer {
public:
    Timer();
    int Interval() const { return interval_; }
    // 0 stops it.
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    std::function<void()> Tick;

private:
    void apply();
    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = true;
};

// A menu entry: a command, a separator (caption "-") or a submenu holding
// entries. Checked, Enabled and Visible are the program's to set; choosing
// the entry runs Click and leaves the check mark alone.
class Menu {
public:
    // A top-level menu of `bar`, or an entry of `parent`.
    Menu(QMenuBar* bar, const QString& name, const QString& caption);
    Menu(Menu* parent, const QString& name, const QString& caption);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;
    const QString& Name() const { return name_; }
    QString Caption() const;
    void SetCaption(const QString& caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    // "Ctrl+N", "Del", ... (Qt's key sequence text).
    void SetShortcut(const QString& keys);
    // The entries of a submenu, in order.
    const std::vector<Menu*>& Entries() const { return entries_; }
    Menu* Entry(const QString& name) const;
    QMenu* Submenu();
    QAction* Action() const { return action_; }
    // Runs the entry as if the user chose it (when enabled and visible).
    void Choose();
    // The keys of this entry and of every entry under it (their shortcuts,
    // and for a menu of the bar Alt with its access key, which opens it)
    // work also while `window`, a tool window of the menu's window, is the
    // active window; not while a modal window shuts it off, and not a key
    // that the control with the keyboard there takes for itself (a text box
    // keeps Ctrl+Z).
    void LendKeys(QWidget* window);
    std::function<void()> Click;

private:
    void triggered();
    QString name_;
    QAction* action_ = nullptr;
    // A menu of the bar: opens it at Alt with its access key in the windows
    // its keys are lent to (in its own window the bar does that itself).
    QAction* opener_ = nullptr;
    QMenu* submenu_ = nullptr;
    Menu* parent_ = nullptr;
    std::vector<Menu*> entries_;
    bool checked_ = false;
    bool enabled_ = true;
};

// Pictures numbered from 1, optionally with a key. A number may be left
// empty (a null image).
class ImageList {
public:
    int Add(const QImage& image, const QString& key = QString());
    // Puts a picture at number `index`, growing the list as needed.
    void Set(int index, const QImage& image);
    // Reads the pictures of a folder whose files are named by their number
    // ("01.png", "14.png"); other files are left alone. Returns how many
    // pictures were read.
    int LoadFolder(const QString& folder);
    int Count() const { return int(images_.size()); }
    // The picture of number `index` (1-based) or `key`; a null image when
    // there is none.
    QImage Image(int index) const;
    QImage Image(const QString& key) const;
    void Clear();

private:
    std::vector<QImage> images_;
    std::vector<QString> keys_;
};

}  // namespace dorv
