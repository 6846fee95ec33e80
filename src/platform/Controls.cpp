#include "platform/Controls.h"

#include "platform/FileSystem.h"
#include "platform/Rounding.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace dorv {

namespace {

int toPixelsX(int32_t twips) { return RoundHalfEven(double(twips) / TwipsPerPixelX()); }
int toPixelsY(int32_t twips) { return RoundHalfEven(double(twips) / TwipsPerPixelY()); }

int shiftState(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? vbShiftMask : 0) | (m & Qt::ControlModifier ? vbCtrlMask : 0) |
           (m & Qt::AltModifier ? vbAltMask : 0);
}

int buttonBits(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? vbLeftButton : 0) | (b & Qt::RightButton ? vbRightButton : 0) |
           (b & Qt::MiddleButton ? vbMiddleButton : 0);
}

// The key codes of the key events: letters and digits as their upper-case
// character, the others as the desktop's virtual key numbers.
int keyCode(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    default: return 0;
    }
}

}  // namespace

// ---- Control ----

int32_t Control::Left() const { return self_->x() * TwipsPerPixelX(); }
int32_t Control::Top() const { return self_->y() * TwipsPerPixelY(); }
int32_t Control::Width() const { return self_->width() * TwipsPerPixelX(); }
int32_t Control::Height() const { return self_->height() * TwipsPerPixelY(); }
void Control::SetLeft(int32_t twips) { self_->move(toPixelsX(twips), self_->y()); }
void Control::SetTop(int32_t twips) { self_->move(self_->x(), toPixelsY(twips)); }
void Control::SetWidth(int32_t twips) { self_->resize(std::max(0, toPixelsX(twips)), self_->height()); }
void Control::SetHeight(int32_t twips) { self_->resize(self_->width(), std::max(0, toPixelsY(twips))); }

void Control::Move(int32_t left, int32_t top, int32_t width, int32_t height)
{
    self_->setGeometry(toPixelsX(left), toPixelsY(top), std::max(0, toPixelsX(width)), std::max(0, toPixelsY(height)));
}

bool Control::Visible() const { return !self_->isHidden(); }
void Control::SetVisible(bool visible) { self_->setVisible(visible); }
bool Control::Enabled() const { return self_->isEnabled(); }
void Control::SetEnabled(bool enabled) { self_->setEnabled(enabled); }
QString Control::ToolTipText() const { return self_->toolTip(); }
void Control::SetToolTipText(const QString& text) { self_->setToolTip(text); }

// ---- PictureBox ----

PictureBox::PictureBox(QWidget* container, const QString& name, bool border)
    : SurfaceWidget(container), Control(this), name_(name), border_(border)
{
    setObjectName(name);
    setFocusPolicy(Qt::ClickFocus);
    setMouseTracking(true);
    if (border_) setContentsMargins(1, 1, 1, 1);
}

float PictureBox::ScaleWidth() const
{
    return float(ScaleX(contentsRect().width(), vbPixels, scaleMode_));
}

float PictureBox::ScaleHeight() const
{
    return float(ScaleY(contentsRect().height(), vbPixels, scaleMode_));
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    SurfaceWidget::paintEvent(event);
    if (border_) {
        // The frame covers the picture's outermost pixels, as a window's
        // border covers its edge.
        QPainter p(this);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBox::SetMousePointer(int pointer)
{
    pointer_ = pointer;
    applyCursor();
}

void PictureBox::SetMouseIcon(const QImage& icon, QPoint hotSpot)
{
    icon_ = icon;
    hotSpot_ = hotSpot.x() < 0 ? QPoint(icon.width() / 2, icon.height() / 2) : hotSpot;
    applyCursor();
}

void PictureBox::applyCursor()
{
    switch (pointer_) {
    case vbArrow: setCursor(Qt::ArrowCursor); break;
    case vbCrosshair: setCursor(Qt::CrossCursor); break;
    case vbSizeAll: setCursor(Qt::SizeAllCursor); break;
    case vbHourglass: setCursor(Qt::WaitCursor); break;
    case vbCustom:
        if (!icon_.isNull()) {
            setCursor(QCursor(QPixmap::fromImage(icon_), hotSpot_.x(), hotSpot_.y()));
            break;
        }
        [[fallthrough]];
    default: unsetCursor(); break;
    }
}

void PictureBox::mouse(const std::function<void(int, int, float, float)>& handler, QMouseEvent* event, bool release)
{
    if (!handler) return;
    // Coordinates in the inner scale, measured from the inner area's corner.
    QPointF p = event->position() - QPointF(contentsRect().topLeft());
    float x = float(ScaleX(p.x(), vbPixels, scaleMode_));
    float y = float(ScaleY(p.y(), vbPixels, scaleMode_));
    int button = release ? buttonBits(event->button()) : buttonBits(event->buttons());
    if (!release && event->type() == QEvent::MouseButtonPress) button = buttonBits(event->button());
    handler(button, shiftState(event->modifiers()), x, y);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    pressed_ |= buttonBits(event->button());
    mouse(MouseDown, event, false);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) { mouse(MouseMove, event, false); }

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    bool wasPressed = pressed_ & buttonBits(event->button());
    pressed_ &= ~buttonBits(event->button());
    mouse(MouseUp, event, true);
    if (wasPressed && rect().contains(event->position().toPoint()) && Click) Click();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent*)
{
    // The second press of a double click: DblClick, and its release brings
    // MouseUp but no second Click (MouseDown, MouseUp, Click, DblClick,
    // MouseUp).
    if (DblClick) DblClick();
}

void PictureBox::keyPressEvent(QKeyEvent* event)
{
    int code = keyCode(event->key());
    if (KeyDown && code) KeyDown(code, shiftState(event->modifiers()));
    if (KeyPress && !event->text().isEmpty()) {
        int ascii = event->text().at(0).unicode();
        KeyPress(ascii);
    }
}

void PictureBox::keyReleaseEvent(QKeyEvent* event)
{
    int code = keyCode(event->key());
    if (KeyUp && code) KeyUp(code, shiftState(event->modifiers()));
}

// ---- ScrollBar ----

ScrollBar::ScrollBar(QWidget* container, const QString& name, Qt::Orientation orientation)
    : QScrollBar(orientation, container), Control(this), name_(name)
{
    setObjectName(name);
    setTracking(false);
    applyRange();
    connect(this, &QScrollBar::valueChanged, this, [this] {
        if (Change) Change();
    });
    connect(this, &QScrollBar::sliderMoved, this, [this] {
        if (Scroll) Scroll();
    });
}

void ScrollBar::applyRange()
{
    bool inverted = min_ > max_;
    setInvertedAppearance(inverted);
    // The wheel and the arrow keys move the thumb the way they turn or
    // point: Qt's scroll bar has its controls inverted for that, and a bar
    // that runs the other way turns them back.
    setInvertedControls(!inverted);
    setRange(std::min(min_, max_), std::max(min_, max_));
}

int16_t ScrollBar::Value() const { return int16_t(value()); }

void ScrollBar::SetMin(int16_t v)
{
    min_ = v;
    applyRange();
}

void ScrollBar::SetMax(int16_t v)
{
    max_ = v;
    applyRange();
}

bool ScrollBar::SetValue(int16_t v)
{
    if (v < minimum() || v > maximum()) return false;
    setValue(v);
    return true;
}

// ---- CommandButton ----

CommandButton::CommandButton(QWidget* container, const QString& name, const QString& caption)
    : QPushButton(caption, container), Control(this), name_(name)
{
    setObjectName(name);
    connect(this, &QPushButton::clicked, this, [this] {
        if (Click) Click();
    });
}

// ---- Timer ----

Timer::Timer()
{
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (Tick) Tick();
    });
}

void Timer::SetInterval(int milliseconds)
{
    interval_ = std::max(0, milliseconds);
    apply();
}

void Timer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    apply();
}

void Timer::apply()
{
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

// ---- Menu ----

Menu::Menu(QMenuBar* bar, const QString& name, const QString& caption) : name_(name)
{
    submenu_ = new QMenu(caption, bar);
    submenu_->setObjectName(name);
    action_ = bar->addMenu(submenu_);
    action_->setObjectName(name);
    // Its access key follows the caption, however that is set (a language
    // sets the entries' texts itself).
    opener_ = new QAction(submenu_);
    opener_->setShortcut(QKeySequence::mnemonic(caption));
    QObject::connect(action_, &QAction::changed, opener_, [opener = opener_, menu = action_] {
        opener->setShortcut(QKeySequence::mnemonic(menu->text()));
    });
    QObject::connect(opener_, &QAction::triggered, bar, [bar, menu = action_] {
        if (menu->isVisible() && menu->isEnabled()) bar->setActiveAction(menu);
    });
}

Menu::Menu(Menu* parent, const QString& name, const QString& caption) : name_(name), parent_(parent)
{
    QMenu* host = parent->Submenu();
    if (caption == QLatin1String("-")) {
        action_ = host->addSeparator();
    } else {
        action_ = host->addAction(caption);
        QObject::connect(action_, &QAction::triggered, [this] { triggered(); });
    }
    action_->setObjectName(name);
    parent->entries_.push_back(this);
}

Menu::~Menu()
{
    for (Menu* e : entries_) {
        e->parent_ = nullptr;
        delete e;
    }
    if (parent_) {
        auto& siblings = parent_->entries_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    if (submenu_ && !parent_) {
        delete submenu_;  // a top-level menu: its action goes with it
    } else if (action_) {
        delete action_;
    }
}

QMenu* Menu::Submenu()
{
    if (!submenu_) {
        submenu_ = new QMenu(action_->text());
        submenu_->setObjectName(name_);
        QObject::connect(action_, &QObject::destroyed, submenu_, &QObject::deleteLater);
        action_->setMenu(submenu_);
    }
    return submenu_;
}

QString Menu::Caption() const { return action_->text(); }

void Menu::SetCaption(const QString& caption)
{
    action_->setText(caption);
    if (submenu_) submenu_->setTitle(caption);
}

void Menu::SetChecked(bool checked)
{
    checked_ = checked;
    if (checked) action_->setCheckable(true);
    action_->setChecked(checked);
}

// A hidden action reads as disabled in Qt; the entry keeps its own state.
bool Menu::Enabled() const { return enabled_; }
void Menu::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    action_->setEnabled(enabled);
}
bool Menu::Visible() const { return action_->isVisible(); }
void Menu::SetVisible(bool visible) { action_->setVisible(visible); }
void Menu::SetShortcut(const QString& keys) { action_->setShortcut(QKeySequence(keys)); }

Menu* Menu::Entry(const QString& name) const
{
    for (Menu* e : entries_) {
        if (e->name_.compare(name, Qt::CaseInsensitive) == 0) return e;
        if (Menu* inner = e->Entry(name)) return inner;
    }
    return nullptr;
}

void Menu::triggered()
{
    // The check mark is the program's: undo the toggle of a checkable action.
    if (action_->isCheckable()) action_->setChecked(checked_);
    if (Click) Click();
}

void Menu::LendKeys(QWidget* window)
{
    for (QAction* a : {opener_, action_})
        if (a && !a->isSeparator() && !window->actions().contains(a)) window->addAction(a);
    for (Menu* e : entries_) e->LendKeys(window);
}

void Menu::Choose()
{
    if (!action_->isEnabled() || !action_->isVisible() || action_->isSeparator()) return;
    action_->trigger();
}

// ---- ImageList ----

int ImageList::Add(const QImage& image, const QString& key)
{
    images_.push_back(image);
    keys_.push_back(key);
    return int(images_.size());
}

void ImageList::Set(int index, const QImage& image)
{
    if (index < 1 || index > 4096) return;
    if (index > int(images_.size())) {
        images_.resize(size_t(index));
        keys_.resize(size_t(index));
    }
    images_[size_t(index - 1)] = image;
}

int ImageList::LoadFolder(const QString& folder)
{
    int read = 0;
    const QString path = FindPath(folder);
    for (const QString& name : ListFolder(path, ListKind::Files)) {
        const QString stem = name.section(QLatin1Char('.'), 0, 0);
        bool number = false;
        int index = stem.toInt(&number);
        if (!number || index < 1 || index > 4096) continue;
        QImage image(path + QLatin1Char('/') + name);
        if (image.isNull()) continue;
        Set(index, image);
        ++read;
    }
    return read;
}

QImage ImageList::Image(int index) const
{
    if (index < 1 || index > int(images_.size())) return QImage();
    return images_[size_t(index - 1)];
}

QImage ImageList::Image(const QString& key) const
{
    for (size_t i = 0; i < keys_.size(); ++i)
        if (!key.isEmpty() && keys_[i] == key) return images_[i];
    return QImage();
}

void ImageList::Clear()
{
    images_.clear();
    keys_.clear();
}

}  // namespace dorv
