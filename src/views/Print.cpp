#include "views/Print.h"

#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "scene/CaptionTables.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "views/Graphs.h"
#include "views/ViewRender.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace {
// The printer's context while a print-out is being made.
dorv::PrinterDc* activeDc = nullptr;
}  // namespace

namespace Print {

namespace {

QPrinter* printer = nullptr;
int16_t copies = 1;

void freePrinter()
{
    delete printer;
    printer = nullptr;
    copies = 1;
}

}  // namespace

QPrinter& CurrentPrinter()
{
    if (!printer) {
        // The system's default printer, at its own resolution.
        printer = new QPrinter(QPrinter::HighResolution);
        qAddPostRoutine(freePrinter);
    }
    return *printer;
}

int16_t Copies() { return copies; }

bool ShowPrintDialog(dorv::PrintPages& pages)
{
    QPrinter& p = CurrentPrinter();
    p.setCopyCount(copies);
    const bool chosen = dorv::Dialogs().ShowPrintDialog(p, pages);
    // Each copy is a print-out of its own: the printer must not repeat each
    // of them again.
    copies = static_cast<int16_t>(std::clamp(p.copyCount(), 1, 999));
    p.setCopyCount(1);
    return chosen;
}

void ShowPageSetupDialog()
{
    if (!PrinterAvailable()) return;
    dorv::Dialogs().ShowPageSetupDialog(CurrentPrinter());
}

bool PrinterAvailable()
{
    if (G.PrinterCount >= 0) return G.PrinterCount > 0;
    const qsizetype count = QPrinterInfo::availablePrinterNames().size();
    G.PrinterCount = static_cast<int16_t>(std::min<qsizetype>(count, INT16_MAX));
    return G.PrinterCount > 0;
}

dorv::PrinterDc* GetPrinterHdc() { return activeDc; }

}  // namespace Print

namespace CommonMod {

namespace {

// The page's drawing size in the printer's pixels (its printable area).
QSizeF PageSize(QPrinter& printer) { return QSizeF(printer.width(), printer.height()); }

dorv::GdiObject HeadingFont(dorv::PrinterDc& dc)
{
    return dorv::CreateFontA(-dorv::MulDiv(10, dc.GetDeviceCaps(dorv::LOGPIXELSY), 72), 0, 0, dorv::FW_NORMAL,
                             QStringLiteral("Arial"));
}

// The heading's lines: the title as typed, or, where it is too long for
// one line of the page (`width` pixels, the same margin kept at both ends),
// broken between words, and within a word only where the word alone is too
// long, so that none of it runs off the paper.
struct Heading {
    QStringList lines;
    int lineHeight = 0;
    QRectF box;  // where it stands, its rim included
};

Heading LayOutHeading(dorv::PrinterDc& dc, const QString& title, double width)
{
    Heading heading;
    const dorv::GdiObject font = HeadingFont(dc);
    const dorv::GdiObject oldFont = dc.SelectObject(font);
    const double room = width - 2 * 17;
    auto fits = [&](const QString& text) { return dc.GetTextExtentPoint32A(text).width() <= room; };
    QString rest = title;
    while (!rest.isEmpty()) {
        if (fits(rest)) {
            heading.lines << rest;
            break;
        }
        // The longest start of the rest that fits (one character at least),
        // cut back to its last space where it has one.
        qsizetype lo = 1, hi = rest.size();
        while (hi - lo > 1) {
            const qsizetype mid = (lo + hi) / 2;
            (fits(rest.left(mid)) ? lo : hi) = mid;
        }
        qsizetype end = rest.lastIndexOf(QLatin1Char(' '), lo);
        if (end <= 0 || rest.left(end).trimmed().isEmpty()) end = lo;
        QString line = rest.left(end);
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        heading.lines << line;
        rest = rest.mid(end);
        while (rest.startsWith(QLatin1Char(' '))) rest.remove(0, 1);
    }
    int widest = 0;
    for (const QString& line : heading.lines) {
        const QSize extent = dc.GetTextExtentPoint32A(line);
        widest = std::max(widest, extent.width());
        heading.lineHeight = extent.height();
    }
    dc.SelectObject(oldFont);
    dorv::DeleteObject(font);
    heading.box = QRectF(15, 12, widest + 4, heading.lineHeight * heading.lines.size() + 4);
    return heading;
}

// The heading in the page's upper left corner: black, with a white rim two
// pixels wide, in 10-point Arial; the rims of all its lines first, so that
// none covers the line above.
void DrawHeading(dorv::PrinterDc& dc, const Heading& heading)
{
    const dorv::GdiObject font = HeadingFont(dc);
    const dorv::GdiObject oldFont = dc.SelectObject(font);
    const int oldMode = dc.SetBkMode(dorv::TRANSPARENT);
    const dorv::ColorRef oldColour = dc.SetTextColor(0xFFFFFF);
    for (int i = 0; i < heading.lines.size(); ++i) {
        const int y = i * heading.lineHeight;
        dc.TextOutA(15, 12 + y, heading.lines[i]);
        dc.TextOutA(19, 12 + y, heading.lines[i]);
        dc.TextOutA(19, 16 + y, heading.lines[i]);
        dc.TextOutA(15, 16 + y, heading.lines[i]);
    }
    dc.SetTextColor(0);
    for (int i = 0; i < heading.lines.size(); ++i) dc.TextOutA(17, 14 + i * heading.lineHeight, heading.lines[i]);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
    dorv::DeleteObject(font);
}

// The largest scale up to `most` at which `fits` holds; 0 when none does.
template <class Fits>
double LargestFit(double most, Fits&& fits)
{
    if (fits(most)) return most;
    double lo = 0, hi = most;
    for (int step = 0; step < 40; ++step) {
        const double mid = (lo + hi) / 2;
        (fits(mid) ? lo : hi) = mid;
    }
    return lo;
}

// The plan with its dimension lines: the floor and the lines left of it and
// below it fit the page's `area` together, clear of its edges by the lines'
// own offset, in the middle of it. `scale` comes in as the floor's own fit
// of its `w` x `h` units.
void FitPlanWithDimensions(dorv::DeviceContext& dc, double w, double h, const QRectF& area, double& scale,
                           QPointF& centre)
{
    if (!(w > 0) || !(h > 0)) return;
    const double rim = 5.0 * DrawMod::GetPrintScale(dc);
    DrawMod::PlanDimensionsReach reach;
    // A line too short to hold its label has it further out: fitted again
    // until the reach stays as it was.
    for (int pass = 0; pass < 4; ++pass) {
        reach = DrawMod::PlanDimensionsBeside(dc, static_cast<float>(scale));
        const double sx = (area.width() - 2 * rim - reach.left) / (w + reach.units);
        const double sy = (area.height() - 2 * rim - reach.below) / (h + reach.units);
        const double fitted = std::max(0.0, std::min(sx, sy));
        if (fitted == scale) break;
        scale = fitted;
    }
    const double left = reach.units * scale + reach.left, below = reach.units * scale + reach.below;
    centre = area.topLeft() + QPointF(area.width() + left, area.height() - below) / 2;
}

// A wall is fitted by its width; where its height would then run off the
// page's `area` (a high wall on paper turned sideways), by its height: the
// frame, and with the dimension lines the wall's name above it and its length
// below.
void FitWallHeight(dorv::DeviceContext& dc, bool showDims, const QRectF& area, double& scale)
{
    const double half = area.height() / 2 - 5.0 * DrawMod::GetPrintScale(dc);
    // A shorter length line may have its label further out: fitted again
    // until the drawing stays inside.
    for (int pass = 0; pass < 4 && scale > 0; ++pass) {
        const DrawMod::WallDrawingReach r = DrawMod::WallViewReach(dc, showDims, static_cast<float>(scale));
        if (!(r.unitsAbove > 0) || !(r.unitsBelow > 0)) return;
        const double fitted = std::min((half - r.pixelsAbove) / r.unitsAbove, (half - r.pixelsBelow) / r.unitsBelow);
        if (fitted >= scale) return;
        scale = std::max(fitted, 0.0);
    }
}

// The room in 3D with its dimension lines: the room's `w` x `h` units and
// the lines, labels and arrowheads included, fit the page together, clear of
// its edges, in the middle of the page's `area`. `v` holds the view's pans.
void FitIsoWithDimensions(DrawMod::ViewDrawing v, double w, double h, const QRectF& area, double& scale,
                          QPointF& centre)
{
    const double rim = 5.0 * DrawMod::GetPrintScale(*v.dc);
    v.originX = v.originY = 0;
    v.scale = 1.0;
    auto drawn = [&](double s) {
        v.isoScale = static_cast<float>(s);
        return DrawMod::IsoDimensionsBox(v) | QRectF(-w * s / 2, -h * s / 2, w * s, h * s);
    };
    scale = LargestFit(scale, [&](double s) {
        const QRectF box = drawn(s);
        return box.width() <= area.width() - 2 * rim && box.height() <= area.height() - 2 * rim;
    });
    centre = area.center() - drawn(scale).center();
}

// A wall that would stand on the picture of the room (the `taken` boxes in
// the upper left of `within`, the part of the page the drawing may take)
// moves beside or below them, into whichever part of `within` left free holds
// it largest, shrunk no more than it must be, in the middle of that part.
void PlaceWallClear(dorv::DeviceContext& dc, bool showDims, const QRectF& within, const std::vector<QRectF>& taken,
                    double& scale, QPointF& centre)
{
    const double rim = 5.0 * DrawMod::GetPrintScale(dc);
    auto drawn = [&](double s) {
        const DrawMod::WallDrawingReach r = DrawMod::WallViewReach(dc, showDims, static_cast<float>(s));
        return QRectF(QPointF(-r.unitsLeft * s, -(r.unitsAbove * s + r.pixelsAbove)),
                      QPointF(r.unitsRight * s, r.unitsBelow * s + r.pixelsBelow));
    };
    auto clear = [&](const QRectF& box) {
        for (const QRectF& t : taken)
            if (box.intersects(t.adjusted(-rim, -rim, rim, rim))) return false;
        return true;
    };
    if (!(scale > 0) || drawn(scale).isEmpty() || clear(drawn(scale).translated(centre))) return;
    // The parts left free reach to its lower right: below everything taken,
    // right of it, or right of one box and below those that reach further
    // right.
    const QRectF area = within.adjusted(rim, rim, -rim, -rim);
    std::vector<QPointF> corners;
    double right = area.left(), bottom = area.top();
    for (const QRectF& t : taken) {
        right = std::max(right, t.right() + rim);
        bottom = std::max(bottom, t.bottom() + rim);
        double below = area.top();
        for (const QRectF& u : taken)
            if (u.right() > t.right()) below = std::max(below, u.bottom() + rim);
        corners.emplace_back(t.right() + rim, below);
    }
    corners.emplace_back(area.left(), bottom);
    corners.emplace_back(right, area.top());
    double best = 0;
    QPointF bestCentre = centre;
    for (const QPointF& corner : corners) {
        const QRectF part(corner, area.bottomRight());
        if (part.isEmpty()) continue;
        const double fitted = LargestFit(scale, [&](double s) {
            const QRectF box = drawn(s);
            return box.width() <= part.width() && box.height() <= part.height();
        });
        if (fitted > best) {
            best = fitted;
            bestCentre = part.center() - drawn(fitted).center();
        }
    }
    if (best > 0) {
        scale = best;
        centre = bestCentre;
    }
}

// The print job's name, which print queues and PDF printers show: the
// program's name and the view, as the View menu names it in the interface
// language ("Dorv - Plan View"; the charts by their own names).
QString JobName(int16_t viewMode)
{
    const char* entry = nullptr;
    switch (viewMode) {
    case 0: entry = "mnu_planView"; break;
    case 1: entry = "mnu_3DView"; break;
    case 2: entry = "mnu_wallView"; break;
    case 3: {
        static const char* const kinds[] = {"mnu_showSheet", "mnu_showPieChart", "mnu_showBargraph",
                                            "mnu_showPictogram", "mnu_showLinegraph"};
        if (G.GraphKind >= 0 && G.GraphKind <= 4) entry = kinds[G.GraphKind];
        break;
    }
    default: break;
    }
    const int language = G.UiLanguage == 1 ? 1 : 0;
    if (entry)
        for (const LangMod::CaptionText& row : LangMod::BuiltInCaptions())
            if (!row.toolTip && qstrcmp(row.window, "Main") == 0 && qstrcmp(row.control, entry) == 0)
                return dorv::AppTitle() + QStringLiteral(" - ") +
                       QString::fromUtf8(row.text[language]).remove(QLatin1Char('&'));
    return dorv::AppTitle();
}

}  // namespace

void PrintCurrentView()
{
    dorv::PrintPages pages;
    // The spreadsheet prints a range of its pages; every other view one page.
    int16_t count = 1;
    if (G.ViewMode == 3 && G.GraphKind == 0)
        count = std::max<int16_t>(1, Graphs::GetSpreadsheetPageCount(G.PlacedItems, G.PlacedItemCount));
    pages.MinPage = 1;
    pages.MaxPage = pages.ToPage = count;
    pages.FromPage = 0;
    if (!Print::ShowPrintDialog(pages)) return;
    const QString title = dorv::InputBox(LangMod::GetMessage(QStringLiteral("lang_EnterPrintTitle")),
                                         LangMod::GetMessage(QStringLiteral("lang_PrintHeading")), QString());
    for (int16_t copy = 0; copy < Print::Copies(); ++copy)
        if (!PrintViewPage(G.ViewMode, title, pages)) break;
}

bool PrintViewPage(int16_t viewMode, const QString& title, const dorv::PrintPages& pages)
{
    QPrinter& printer = Print::CurrentPrinter();
    const QSizeF page = PageSize(printer);
    Box box;
    GetItemsExtent(box, viewMode, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount);

    // The size of what is drawn, in units (the page's pixels for the
    // spreadsheet and charts, which are drawn at scale 1).
    double w = 0, h = 0, isoPanY = 0;
    const RoomRecord& room = G.Room;
    switch (viewMode) {
    case 0:
        w = double(box.maxX) - box.minX;
        h = double(box.maxY) - box.minY;
        break;
    case 1:
        w = double(box.maxX) - box.minX;
        h = double(box.maxY) - box.minY;
        isoPanY = -(room.ExtentZ / 2.0) / 512;
        if (room.ExtentZ > 0) {
            w = (double(room.ExtentX) + room.ExtentY) * 0.866025404;
            h = (double(room.ExtentX) + room.ExtentY) * 0.5 + room.ExtentZ + 10000;
        }
        break;
    case 2:
        // A wall is fitted by its width alone.
        if (G.WallIndex == 0 || G.WallIndex == 2)
            w = double(room.ExtentX) + 96000;
        else if (G.WallIndex == 1 || G.WallIndex == 3)
            w = double(room.ExtentY) + 96000;
        break;
    default:
        w = page.width();
        h = page.height();
        break;
    }
    double scale = 1.0, top = 0;
    QPointF centre;

    // Without a range chosen every page is printed.
    int first = pages.FromPage, last = pages.ToPage;
    if (first <= 0) {
        first = std::max(pages.MinPage, 1);
        last = std::max(pages.MaxPage, first);
    }
    last = std::max(last, first);

    printer.setDocName(JobName(viewMode));
    std::unique_ptr<dorv::PrinterDc> dc;
    for (int number = first; number <= last; ++number) {
        if (!dc) {
            dc = std::make_unique<dorv::PrinterDc>(&printer);
            if (!dc->IsActive()) {
                dorv::MsgBox(LangMod::GetMessage(QStringLiteral("lang_CouldntPrint")), dorv::vbExclamation);
                return false;
            }
        } else {
            dc->NewPage();
        }
        activeDc = dc.get();
        DrawMod::ViewDrawing v = DrawMod::SceneViewDrawing(*dc, 0, 0, 0);
        v.planPanX = v.planPanY = v.isoPanX = 0;
        v.isoPanY = static_cast<float>(isoPanY);
        const Heading heading = title.isEmpty() ? Heading() : LayOutHeading(*dc, title, page.width());
        if (!title.isEmpty()) v.clearTop = static_cast<float>(heading.box.bottom());
        // The room's picture in the wall view stays where the page puts it.
        v.locatorCentreX = static_cast<float>(page.width() / 2);
        if (number == first) {
            // The plan, the room in 3D and a wall are fitted into the page
            // below the heading, as it is printed, so that it never stands on
            // them; the spreadsheet and the charts fill the page, below the
            // further lines of a heading too long for one.
            QRectF area(QPointF(0, 0), page);
            if (!title.isEmpty() && viewMode <= 2)
                area.setTop(std::min(area.bottom(), heading.box.bottom() + 5.0 * DrawMod::GetPrintScale(*dc)));
            else if (!title.isEmpty())
                area.setTop(top = std::min(area.bottom(), double(heading.lineHeight) * (heading.lines.size() - 1)));
            const double sx = w > 0 ? area.width() / w : 0, sy = h > 0 ? area.height() / h : 0;
            scale = std::min(sx, sy);
            if (sx == 0 || sy == 0) scale = sx == 0 ? sy : sx;
            if (sx == 0 && sy == 0) scale = 1.0;
            centre = area.center();
            // The lines' labels are measured on the printer.
            if (viewMode == 0 && v.showDims) FitPlanWithDimensions(*dc, w, h, area, scale, centre);
            if (viewMode == 1 && v.showDims) FitIsoWithDimensions(v, w, h, area, scale, centre);
            if (viewMode == 2) {
                FitWallHeight(*dc, v.showDims, area, scale);
                std::vector<QRectF> taken;
                const QRectF picture = DrawMod::WallLocatorBox(*dc, v.locatorCentreX, v.clearTop);
                if (!picture.isEmpty()) taken.push_back(picture);
                PlaceWallClear(*dc, v.showDims, area, taken, scale, centre);
            }
        }
        v.originX = static_cast<float>(centre.x());
        v.originY = static_cast<float>(centre.y());
        v.scale = 1.0;
        v.dragged = v.wallDragged = -1;
        v.planScale = v.isoScale = v.wallScale = static_cast<float>(scale);
        v.singleItem = false;
        v.page = static_cast<int16_t>(number);
        v.areaWidth = static_cast<int32_t>(page.width());
        v.areaHeight = static_cast<int32_t>(page.height() - top);
        // The view drawn is the one asked for, whatever the screen shows.
        const int16_t shown = G.ViewMode;
        G.ViewMode = viewMode;
        DrawMod::DrawCurrentView(v);
        G.ViewMode = shown;
        if (!title.isEmpty()) DrawHeading(*dc, heading);
        activeDc = nullptr;
    }
    if (dc) dc->EndDoc();
    return true;
}

}  // namespace CommonMod
