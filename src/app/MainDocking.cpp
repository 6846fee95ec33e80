// The column of docked windows beside the canvas: the item groups, the
// budget and the colours one below the other, or the spreadsheet and graph
// panels, inside the main window and the screen; and the menu toggles of the
// tool windows.
#include "app/Main.h"

#include "app/ItemGroups.h"
#include "platform/Rounding.h"
#include "scene/SceneState.h"
#include "views/ViewRender.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace {

// Every window that docks in the column beside the canvas.
constexpr const char* kColumnWindows[] = {"ItemGroups", "Budget", "Colours", "frmSpreadSht", "frmGraphs"};

}  // namespace

dorv::Form* Main::toolWindow(const QString& name)
{
    dorv::Form* f = dorv::Form::Get(name);
    if (!f) return nullptr;
    f->Load();
    for (const char* docked : kColumnWindows) {
        if (name != QLatin1String(docked)) continue;
        f->installEventFilter(this);
        // A window of the column that appears (with a view, a new place, a
        // toggle) leaves the keyboard in the main window, where the menus'
        // keys and the canvas's keys work; a click still takes it there.
        f->setAttribute(Qt::WA_ShowWithoutActivating);
        // Where the menus' keys work as well, as in a tool palette.
        for (const auto& menu : menus_) menu->LendKeys(f);
    }
    return f;
}

int32_t Main::dockedWidth() const
{
    int32_t widest = 0;
    for (const char* name : kColumnWindows)
        if (const dorv::Form* f = dorv::Form::Existing(QLatin1String(name)))
            if (f->isVisible()) widest = std::max(widest, f->Width());
    return widest;
}

bool Main::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type t = event->type();
    if ((t == QEvent::Show || t == QEvent::Hide || t == QEvent::Resize) && !dockCheckPending_) {
        dockCheckPending_ = true;
        QTimer::singleShot(0, this, [this] { dockedWindowsChanged(); });
    }
    return dorv::Form::eventFilter(watched, event);
}

void Main::dockedWindowsChanged()
{
    dockCheckPending_ = false;
    if (exiting_ || !isVisible() || WindowState() == 1 || dockedWidth() == layoutDockWidth_) return;
    // The column changed its width: its windows stand anew, and the canvas
    // gives way to the same width.
    PositionToolWindows();
    layout();
    G.CanvasCentreX = Picture2->ScaleWidth() * 0.5f;
    G.CanvasCentreY = Picture2->ScaleHeight() * 0.5f;
    CreatePlanCanvas();
    DrawMod::RedrawView();
}

namespace {

// The frame the desktop put around a window: its title bar and borders.
QMargins FrameMargins(const QWidget& w)
{
    const QRect inner = w.geometry(), outer = w.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

}  // namespace

std::array<QRect, 3> Main::DockColumn(QPoint topLeft, int bottom, int gap, const std::array<QSize, 3>& clients,
                                      const std::array<QMargins, 3>& frames, int leastGroups)
{
    auto outerHeight = [&](size_t i, int clientHeight) { return clientHeight + frames[i].top() + frames[i].bottom(); };
    int used = 0;
    for (size_t i = 0; i < 3; ++i)
        if (!clients[i].isEmpty()) used += (used > 0 ? gap : 0) + outerHeight(i, clients[i].height());
    int groupsHeight = clients[0].height();
    const int over = topLeft.y() + used - bottom;
    if (over > 0) groupsHeight = std::max(std::min(leastGroups, groupsHeight), groupsHeight - over);
    std::array<QRect, 3> placed;
    int y = topLeft.y();
    for (size_t i = 0; i < 3; ++i) {
        if (clients[i].isEmpty()) continue;
        const QMargins& m = frames[i];
        const int height = i == 0 ? groupsHeight : clients[i].height();
        placed[i] = QRect(topLeft.x() + m.left(), y + m.top(), clients[i].width(), height);
        y = placed[i].bottom() + 1 + m.bottom() + gap;
    }
    return placed;
}

void Main::PositionToolWindows()
{
    dorv::Form* groups = toolWindow(QStringLiteral("ItemGroups"));
    dorv::Form* budget = toolWindow(QStringLiteral("Budget"));
    dorv::Form* colours = toolWindow(QStringLiteral("Colours"));
    dorv::Form* sheet = toolWindow(QStringLiteral("frmSpreadSht"));
    dorv::Form* graphs = toolWindow(QStringLiteral("frmGraphs"));
    // Every window counts with its frame: the one the desktop put around it,
    // or, before it first shows, one like the main window's.
    const QMargins mainFrame = FrameMargins(*this);
    auto frameOf = [&](const dorv::Form* f) {
        const QMargins m = f ? FrameMargins(*f) : QMargins();
        return f && m.isNull() ? mainFrame : m;
    };
    const auto toPixels = [](int32_t twips) { return dorv::RoundHalfEven(double(twips) / dorv::TwipsPerPixelY()); };
    const QRect outer = frameGeometry();
    const int top = toPixels(500), right = outer.right() + 1 - toPixels(kDockMargin);
    // Down the right edge: item groups, the budget below them, the colours
    // below that, 50 twips apart, all inside the main window and the screen;
    // the item groups give up height for the others.
    int bottom = outer.bottom() + 1;
    if (const QScreen* s = screen()) bottom = std::min(bottom, s->availableGeometry().bottom() + 1);
    const std::array<dorv::Form*, 3> column{groups, budget, colours};
    std::array<QSize, 3> clients;
    std::array<QMargins, 3> frames;
    for (size_t i = 0; i < 3; ++i) {
        if (!column[i]) continue;
        clients[i] = column[i]->geometry().size();
        frames[i] = frameOf(column[i]);
    }
    if (groups) clients[0].setHeight(ItemGroups::kClientHeight);
    // The column is as wide as its widest window shown, the width the canvas
    // gives way to: the budget and the colours keep to the canvas's side when
    // the item groups, widened for every environment, narrow again or are
    // withdrawn by the spreadsheet and the charts.
    int width = 0;
    for (size_t i = 0; i < 3; ++i)
        if (column[i] && column[i]->isVisible())
            width = std::max(width, clients[i].width() + frames[i].left() + frames[i].right());
    if (width == 0 && groups) width = groups->width() + frames[0].left() + frames[0].right();
    const int left = right - width;
    const std::array<QRect, 3> placed =
        DockColumn(QPoint(left, top), bottom, toPixels(50), clients, frames, ItemGroups::kLeastClientHeight);
    for (size_t i = 0; i < 3; ++i)
        if (column[i]) column[i]->setGeometry(placed[i]);
    // The spreadsheet and graph panels take the item groups' place at the
    // top of the column (their views withdraw the item groups): over the
    // canvas's lower part they hid the chart's labels and the sheet's rows.
    for (dorv::Form* panel : {sheet, graphs}) {
        if (!panel) continue;
        const QMargins m = frameOf(panel);
        panel->setGeometry(QRect(QPoint(right - m.right() - panel->width(), top + m.top()), panel->size()));
    }
}

bool Main::toggleToolWindow(const QString& name)
{
    dorv::Form* f = toolWindow(name);
    if (!f) return false;
    if (f->IsWindowVisible()) {
        f->Hide();
        return false;
    }
    f->Show(dorv::vbModeless, this);
    return true;
}

void Main::mnu_showItemGroups_Click()
{
    if (!toolWindow(QStringLiteral("ItemGroups"))) return;
    mnu_showItemGroups->SetChecked(toggleToolWindow(QStringLiteral("ItemGroups")));
}

void Main::mnu_showBudgetInfo_Click()
{
    if (!toolWindow(QStringLiteral("Budget"))) return;
    mnu_showBudgetInfo->SetChecked(toggleToolWindow(QStringLiteral("Budget")));
}

void Main::mnu_changeColours_Click() { toggleToolWindow(QStringLiteral("Colours")); }
