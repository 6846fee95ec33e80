#include "platform/Forms.h"

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/PainterDc.h"
#include "platform/Rounding.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <vector>

namespace dorv {

// ---- units ----

namespace {

int twipsPerPixel(bool across)
{
    int dpi = 96;
    if (QGuiApplication::primaryScreen()) {
        qreal d = across ? QGuiApplication::primaryScreen()->logicalDotsPerInchX()
                         : QGuiApplication::primaryScreen()->logicalDotsPerInchY();
        if (d >= 24 && d <= 1440) dpi = RoundHalfEven(d);
    }
    return std::max(1, RoundHalfEven(1440.0 / dpi));
}

// Twips in one unit of a scale mode; 0 for an unknown mode.
double twipsPer(int mode, bool across)
{
    switch (mode) {
    case vbTwips: return 1;
    case vbPoints: return 20;
    case vbPixels: return across ? TwipsPerPixelX() : TwipsPerPixelY();
    case vbInches: return 1440;
    case vbMillimeters: return 1440 / 25.4;
    case vbCentimeters: return 1440 / 2.54;
    default: return 0;
    }
}

int toPixelsX(int32_t twips) { return RoundHalfEven(double(twips) / TwipsPerPixelX()); }
int toPixelsY(int32_t twips) { return RoundHalfEven(double(twips) / TwipsPerPixelY()); }

}  // namespace

int TwipsPerPixelX() { return twipsPerPixel(true); }
int TwipsPerPixelY() { return twipsPerPixel(false); }

double ScaleX(double value, int fromMode, int toMode)
{
    double from = twipsPer(fromMode, true), to = twipsPer(toMode, true);
    return from > 0 && to > 0 ? value * from / to : value;
}

double ScaleY(double value, int fromMode, int toMode)
{
    double from = twipsPer(fromMode, false), to = twipsPer(toMode, false);
    return from > 0 && to > 0 ? value * from / to : value;
}

// ---- the run ----

namespace {
QString& commandLineText()
{
    static QString text;
    return text;
}
bool ending = false;
}  // namespace

QString CommandLine() { return commandLineText(); }
void SetCommandLine(const QString& text) { commandLineText() = text; }

void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void EndProgram()
{
    ending = true;
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QCoreApplication::exit(0);
}

bool Ending() { return ending; }
void ResetEnding() { ending = false; }

// ---- surfaces ----

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    remake(QSize(1, 1));
}

SurfaceWidget::~SurfaceWidget() = default;

void SurfaceWidget::remake(QSize size)
{
    dc_.reset();
    surface_ = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    int dpm = RoundHalfEven(logicalDpiY() / 0.0254);
    surface_.setDotsPerMeterX(dpm);
    surface_.setDotsPerMeterY(dpm);
    Cls();
}

void SurfaceWidget::fit()
{
    QSize inner = contentsRect().size().expandedTo(QSize(1, 1));
    if (inner != surface_.size()) remake(inner);
}

const QImage& SurfaceWidget::Surface()
{
    fit();
    return surface_;
}

DeviceContext& SurfaceWidget::hDC()
{
    fit();
    if (!dc_) dc_ = std::make_unique<ImageDc>(&surface_, logicalDpiY());
    if (!painting_) update();
    return *dc_;
}

void SurfaceWidget::Cls()
{
    dc_.reset();  // no painter may hold the picture while it is filled
    surface_.fill(QColor(backColour_ & 255, (backColour_ >> 8) & 255, (backColour_ >> 16) & 255));
    if (!picture_.isNull()) {
        QPainter p(&surface_);
        p.drawImage(0, 0, picture_);
    }
    // Inside the paint handler the picture reaches the screen at the end of
    // this paint; asking for another would repaint for ever.
    if (!painting_) update();
}

void SurfaceWidget::SetBackColor(ColorRef colour)
{
    backColour_ = colour & 0xFFFFFF;
    Cls();
}

void SurfaceWidget::SetPicture(const QImage& picture)
{
    picture_ = picture;
    Cls();
}

void SurfaceWidget::resizeEvent(QResizeEvent*)
{
    fit();
    if (Resized) Resized();
}

void SurfaceWidget::paintEvent(QPaintEvent*)
{
    fit();
    if (Paint) {
        painting_ = true;
        Paint();
        painting_ = false;
    }
    QPainter p(this);
    p.drawImage(contentsRect().topLeft(), surface_);
}

// ---- the collection of forms ----

namespace {

struct FormRegistry {
    QHash<QString, Form::Factory> factories;  // by lower-case name
    QHash<QString, Form*> existing;
    std::vector<Form*> owned;
    Form* lastActivated = nullptr;
};

FormRegistry& registry()
{
    static FormRegistry* r = new FormRegistry;  // outlives every form
    return *r;
}

}  // namespace

void Form::Register(const QString& name, Factory factory) { registry().factories.insert(name.toLower(), std::move(factory)); }

Form* Form::Existing(const QString& name) { return registry().existing.value(name.toLower(), nullptr); }

bool Form::Known(const QString& name)
{
    return Existing(name) || registry().factories.contains(name.toLower());
}

Form* Form::Get(const QString& name)
{
    if (Form* f = Existing(name)) return f;
    auto it = registry().factories.constFind(name.toLower());
    if (it == registry().factories.constEnd()) return nullptr;
    Form* f = (*it)();
    if (f) registry().owned.push_back(f);
    return f;
}

int Form::LoadedCount()
{
    int n = 0;
    for (Form* f : registry().existing) n += f->IsLoaded();
    return n;
}

void Form::DestroyAll()
{
    std::vector<Form*> owned;
    owned.swap(registry().owned);
    for (Form* f : owned) delete f;
}

// ---- forms ----

Form::Form(const QString& name) : QWidget(nullptr), name_(name)
{
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends when its forms unload
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    client_ = new SurfaceWidget(this);
    client_->Paint = [this] { Form_Paint(); };
    client_->Resized = [this] { clientResized(); };
    layout->addWidget(client_);
    // A size until the form sets its own (an empty window never shows).
    resize(320, 240);
    registry().existing.insert(name_.toLower(), this);
}

Form::~Form()
{
    FormRegistry& r = registry();
    if (r.existing.value(name_.toLower()) == this) r.existing.remove(name_.toLower());
    r.owned.erase(std::remove(r.owned.begin(), r.owned.end(), this), r.owned.end());
    if (r.lastActivated == this) r.lastActivated = nullptr;
}

QMenuBar* Form::MenuBar()
{
    if (!menuBar_) {
        menuBar_ = new QMenuBar(this);
        menuBar_->setNativeMenuBar(false);
        static_cast<QVBoxLayout*>(layout())->setMenuBar(menuBar_);
    }
    return menuBar_;
}

void Form::Load()
{
    if (loaded_ || loading_) return;
    loading_ = true;
    loaded_ = true;
    lastClientSize_ = QSize();
    Form_Load();
    loading_ = false;
}

void OfferCloseBoxOnly(QWidget& w, Qt::WindowType type)
{
    // Qt writes the kind as the window's type and the buttons as Motif hints,
    // which the window managers read to frame the window and to offer moving,
    // closing and (here not) minimising it.
    const Qt::WindowFlags flags = (w.windowFlags() & ~(Qt::WindowType_Mask | Qt::WindowMinMaxButtonsHint)) | type |
                                  Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (w.windowFlags() == flags) return;
    // New flags make the window anew; a client area placed stays put, one
    // never placed (a dialog) is still placed when shown.
    const QRect at = w.geometry();
    const bool placed = w.testAttribute(Qt::WA_Moved);
    w.setWindowFlags(flags);
    if (placed) w.setGeometry(at);
}

void Form::Show(int style, Form* owner)
{
    Load();
    if (!loaded_ || Ending()) return;  // its load handler unloaded it, or ended the program
    if (owner && owner != this && style == vbModal && !owner->isVisible()) {
        // Nothing of the program is on the screen (the chooser and the place
        // dialog while the main window is hidden): a window of its own, which
        // the task bar and the window switcher list, so that whatever happens
        // to it on the desktop it can be brought back.
        OfferCloseBoxOnly(*this, Qt::Window);
        winId();
        windowHandle()->setTransientParent(nullptr);
    } else if (owner && owner != this) {
        // X11 window managers hear of the owner (and keep the window above
        // it) only for a tool window or a dialog; an ordinary window went
        // under the main window at the first click on it.
        OfferCloseBoxOnly(*this, style == vbModal ? Qt::Dialog : Qt::Tool);
        winId();
        owner->winId();
        if (windowHandle() && owner->windowHandle()) windowHandle()->setTransientParent(owner->windowHandle());
        // The desktop minimises an owner's windows with it; shown again one
        // comes back whole (minimised, it would take the owner down again).
        if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
        // The desktop reads the owner when the window appears, and an owner
        // not on the screen yet is no owner to it: the window waits for its
        // owner and appears with it, once.
        if (style != vbModal && !owner->isVisible()) {
            waitingFor_ = owner;
            return;
        }
    } else if (windowHandle()) {
        windowHandle()->setTransientParent(nullptr);
    }
    owner_ = owner != this ? owner : nullptr;
    waitingFor_ = nullptr;
    if (style == vbModal) {
        setWindowModality(Qt::ApplicationModal);
        Dialogs().RunModal(*this);
        setWindowModality(Qt::NonModal);
        return;
    }
    // The window that has the keyboard keeps it when this one should not
    // take it: some platforms activate every window they show.
    const bool quiet = testAttribute(Qt::WA_ShowWithoutActivating);
    QPointer<QWidget> active = quiet ? QApplication::activeWindow() : nullptr;
    // Some window managers (fluxbox) give the keyboard to the window they put
    // up, whatever it asks for: until it is on the screen, it takes none. (One
    // on the screen already is put up by nobody, and hears of no new exposure
    // that would let it take the keyboard again.)
    if (quiet && !isVisible() && windowHandle() && !(windowFlags() & Qt::WindowDoesNotAcceptFocus)) {
        windowHandle()->installEventFilter(this);
        windowHandle()->setFlags(windowHandle()->flags() | Qt::WindowDoesNotAcceptFocus);
    }
    show();
    raise();
    // An owned window stays above its owner. Window managers keep that for
    // transient windows; without one (a bare X server, a kiosk session)
    // nothing does, so the owned windows are raised over it here.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == this || !w->isVisible() || !w->windowHandle()) continue;
        if (!windowHandle() || w->windowHandle()->transientParent() != windowHandle()) continue;
        w->raise();
    }
    // The windows that waited for this one appear beside it now.
    std::vector<Form*> waiting;
    for (Form* f : registry().existing)
        if (f->waitingFor_ == this) waiting.push_back(f);
    for (Form* f : waiting) f->Show(vbModeless, this);
    if (!quiet) {
        activateWindow();
        return;
    }
    if (active && active != this && active->isVisible()) active->activateWindow();
}

void Form::Hide()
{
    waitingFor_ = nullptr;
    hide();
}

bool Form::Unload(int unloadMode)
{
    if (!loaded_ || unloading_) return true;
    unloading_ = true;
    int16_t cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel == 0) Form_Unload(cancel);
    unloading_ = false;
    if (cancel != 0) return false;
    loaded_ = false;
    waitingFor_ = nullptr;
    hide();
    if (registry().lastActivated == this) registry().lastActivated = nullptr;
    if (LoadedCount() == 0) EndProgram();
    return true;
}

int32_t Form::Left() const { return frameGeometry().x() * TwipsPerPixelX(); }
int32_t Form::Top() const { return frameGeometry().y() * TwipsPerPixelY(); }
int32_t Form::Width() const { return frameGeometry().width() * TwipsPerPixelX(); }
int32_t Form::Height() const { return frameGeometry().height() * TwipsPerPixelY(); }

void Form::SetLeft(int32_t twips) { Move(twips, Top(), Width(), Height()); }
void Form::SetTop(int32_t twips) { Move(Left(), twips, Width(), Height()); }
void Form::SetWidth(int32_t twips) { Move(Left(), Top(), twips, Height()); }
void Form::SetHeight(int32_t twips) { Move(Left(), Top(), Width(), twips); }

void Form::Move(int32_t left, int32_t top, int32_t width, int32_t height)
{
    // The frame around the client area (title bar, borders) stays as it is.
    QSize frame = frameGeometry().size() - geometry().size();
    QPoint offset = geometry().topLeft() - frameGeometry().topLeft();
    int w = std::max(1, toPixelsX(width) - frame.width());
    int h = std::max(1, toPixelsY(height) - frame.height());
    setGeometry(toPixelsX(left) + offset.x(), toPixelsY(top) + offset.y(), w, h);
}

float Form::ScaleWidth() const
{
    return float(ScaleX(client_->width(), vbPixels, scaleMode_));
}

float Form::ScaleHeight() const
{
    return float(ScaleY(client_->height(), vbPixels, scaleMode_));
}

int Form::WindowState() const
{
    if (windowState() & Qt::WindowMinimized) return 1;
    if (windowState() & Qt::WindowMaximized) return 2;
    return 0;
}

void Form::SetWindowState(int state)
{
    Qt::WindowStates s = state == 1 ? Qt::WindowMinimized : state == 2 ? Qt::WindowMaximized : Qt::WindowNoState;
    setWindowState(s);
}

void Form::clientResized()
{
    if (!loaded_ || WindowState() == 1) return;
    if (client_->size() == lastClientSize_) return;
    lastClientSize_ = client_->size();
    Form_Resize();
}

bool Form::keepsOffMinimised()
{
    // Some window managers (openbox) offer to minimise any window, and
    // minimise a window's owner and the owner's other windows with it. A
    // tool window is not minimised: it comes back at once. Its owner, gone
    // with it while the tool window had the keyboard (the user minimised the
    // tool window, not the owner), comes back too.
    QWindow* ownerWindow = windowHandle() ? windowHandle()->transientParent() : nullptr;
    if (windowType() == Qt::Tool && ownerWindow) {
        QTimer::singleShot(0, this, [this] {
            QWindow* owner = windowHandle() ? windowHandle()->transientParent() : nullptr;
            if (isVisible() && (windowState() & Qt::WindowMinimized) && owner &&
                !(owner->windowStates() & Qt::WindowMinimized))
                setWindowState(windowState() & ~Qt::WindowMinimized);
        });
        return true;
    }
    const Form* last = registry().lastActivated;
    if (last && last != this && last->isVisible() && last->windowType() == Qt::Tool && last->windowHandle() &&
        windowHandle() && last->windowHandle()->transientParent() == windowHandle()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        return true;
    }
    return false;
}

void Form::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && loaded_ && event->spontaneous() &&
        (windowState() & Qt::WindowMinimized) && keepsOffMinimised())
        return QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && loaded_) {
        // Minimising and restoring leave the client's size alone; the
        // window code still hears of them as a resize, once each (the
        // desktop may confirm a change the program made).
        bool minimised = windowState() & Qt::WindowMinimized;
        if (minimised != minimised_) {
            minimised_ = minimised;
            lastClientSize_ = minimised ? QSize() : client_->size();
            Form_Resize();
        }
    }
    QWidget::changeEvent(event);
}

bool Form::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && loaded_) {
        // Only a change from another of the program's windows activates a
        // form, not a return from another program.
        if (registry().lastActivated != this) {
            registry().lastActivated = this;
            Form_Activate();
        }
    }
    return QWidget::event(event);
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    // On the screen, a window shown quietly takes the keyboard when clicked.
    QWindow* window = windowHandle();
    if (event->type() == QEvent::Expose && watched == window && window->isExposed() &&
        (window->flags() & Qt::WindowDoesNotAcceptFocus) && !(windowFlags() & Qt::WindowDoesNotAcceptFocus))
        window->setFlags(window->flags() & ~Qt::WindowDoesNotAcceptFocus);
    return QWidget::eventFilter(watched, event);
}

void Form::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if ((enter || key == Qt::Key_Escape) && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter on a button with the focus presses that button, as Space
        // does; otherwise the form's default button, and Escape its cancel
        // button.
        QPushButton* button = enter ? qobject_cast<QPushButton*>(focusWidget()) : nullptr;
        if (!button)
            for (CommandButton* b : findChildren<CommandButton*>())
                if (b->window() == this && b->isVisible() && (enter ? b->Default() : b->Cancel())) {
                    button = b;
                    break;
                }
        if (button) {
            // A default button that waits for a choice leaves Enter without
            // effect.
            if (button->isEnabled()) button->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void Form::setVisible(bool visible)
{
    // A window that goes with the keyboard hands it to the window it was
    // shown for, whatever hid it. Without a window manager nothing else
    // would: the keys would go to the desktop until the child clicked.
    const bool handBack = !visible && isVisible() && QApplication::activeWindow() == this && owner_ &&
                          owner_->isVisible() && !(owner_->windowState() & Qt::WindowMinimized);
    QWidget::setVisible(visible);
    if (handBack) owner_->activateWindow();
}

void Form::closeEvent(QCloseEvent* event)
{
    // The window's close box asks the form; unloading hides the window.
    event->ignore();
    if (loaded_) Unload(vbFormControlMenu);
    else hide();
}

}  // namespace dorv
