// The spreadsheet view: one page of the item summary, a row per group with
// its picture (when shown), name, count, price and subtotal, the total on
// the last page and the page number on every page.
#include "views/Graphs.h"

#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "views/GraphsCommon.h"
#include "views/PictureEngine.h"

namespace Graphs {

using namespace Detail;

void DrawSpreadsheet(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                     float centreY, int32_t width, int32_t height, int16_t page, bool showItems)
{
    if (width <= 0 || height <= 0) return;
    std::vector<ItemSummary> summary;
    double total = 0;
    const int32_t groups = BuildItemSummary(items, count, summary, total);
    const int32_t rows = SpreadsheetRowsPerPage(showItems);
    const int32_t pages = GetSpreadsheetPageCount(items, count, showItems);

    const double w = width, h = height, cx = centreX, cy = centreY;
    const double u = w / 20, r = h / (rows + 3), T = cy - h / 2;
    const double left = cx - w / 2 + u, right = cx + w / 2 - u;

    dc.SetBkMode(dorv::TRANSPARENT);
    ChartFont font(dc, static_cast<float>(w));

    DrawMod::DrawGradientRect(dc, kLightBlue, kWhite, R(left), R(T + 0.3 * r), R(right), R(T + r), 1);
    DrawTextAligned(dc, R(cx - w / 2 + 1.2 * u), R(T + 0.6 * r), LangMod::GetMessage(QStringLiteral("lang_DorvSpreadSheet")),
                    QStringLiteral("L"));

    const int32_t headY = R(T + 1.2 * r);
    if (showItems) {
        DrawTextAligned(dc, R(cx - 8 * u), headY, LangMod::GetMessage(QStringLiteral("lang_Item")), QStringLiteral("L"));
        DrawTextAligned(dc, R(cx - 5 * u), headY, LangMod::GetMessage(QStringLiteral("lang_Name")), QStringLiteral("C"));
    } else {
        DrawTextAligned(dc, R(cx - 8 * u), headY, LangMod::GetMessage(QStringLiteral("lang_Name")), QStringLiteral("L"));
    }
    DrawTextAligned(dc, R(cx - 1.7 * u), headY, LangMod::GetMessage(QStringLiteral("lang_Number")), QStringLiteral("C"));
    DrawTextAligned(dc, R(cx + 1.5 * u), headY, LangMod::GetMessage(QStringLiteral("lang_Price")), QStringLiteral("C"));
    DrawTextAligned(dc, R(cx + 6.2 * u), headY, LangMod::GetMessage(QStringLiteral("lang_SubTotal")), QStringLiteral("C"));

    // The page's groups; a page past the end (the preview's second page of
    // the last page) shows the first rows again.
    int64_t first = int64_t(page) * rows;
    if (first < 0 || first >= groups) first = 0;
    const int64_t end = std::min<int64_t>(first + rows, groups);

    int32_t shown = 0;
    for (int64_t g = first; g < end; ++g, ++shown) {
        const ItemSummary& s = summary[static_cast<size_t>(g)];
        const ItemRecord& item = items[static_cast<size_t>(s.FirstItem)];
        const double top = T + (1.5 + shown) * r;
        const int32_t frameTop = R(top), frameBottom = R(top + r - 4);
        const int32_t middle = R(top + 0.5 * r);
        auto cell = [&](double x1, double x2) {
            DrawMod::DrawBox(dc, R(x1), frameTop, R(x2), frameBottom, -1, kGrey, 1);
        };
        const QString name = LangMod::GetPlanInfoText(item.Name.str());
        if (showItems) {
            cell(left, cx - 6 * u - 5);
            DrawMod::DrawItemIcon(dc, G.SceneShapes, G.SceneShapeCount, item, kPicture3D, 0,
                                  static_cast<float>(cx - 0.49 * w + u), static_cast<float>(-(top + r)),
                                  static_cast<float>(w / 10), static_cast<float>(h / 15), 0);
            cell(cx - 6 * u, cx - 2.5 * u - 5);
            // A long name is cut to its cell.
            DrawTextAligned(dc, R(cx - 5.7 * u), middle, FitText(dc, name, R(cx - 2.5 * u - 8) - R(cx - 5.7 * u)),
                            QStringLiteral("L"));
        } else {
            cell(left, cx - 2.5 * u - 5);
            DrawTextAligned(dc, R(cx - 0.49 * w + u), middle,
                            FitText(dc, name, R(cx - 2.5 * u - 8) - R(cx - 0.49 * w + u)), QStringLiteral("L"));
        }
        cell(cx - 2.5 * u, cx - u - 5);
        DrawTextAligned(dc, R(cx - 1.9 * u), middle, SignedNumber(s.Count), QStringLiteral("C"));
        cell(cx - u, cx + 3 * u - 5);
        DrawTextAligned(dc, R(cx + 2 * u), middle, CommonMod::FormatMoney(item.Price, 1), QStringLiteral("R"));
        cell(cx + 3 * u, right);
        const double subtotal = CommonMod::AddMoney(0, item.Price, s.Count);
        DrawTextAligned(dc, R(cx + 7 * u), middle, CommonMod::FormatTotal(subtotal, 1), QStringLiteral("R"));
    }

    const double y = T + (1.5 + shown) * r;
    DrawMod::DrawGradientRect(dc, kWhite, kLightBlue, R(left), R(y), R(right), R(y + 0.5 * r), 1);
    if (page == pages - 1) {
        // The sum over every group, not only this page's.
        double sheetTotal = 0;
        for (const ItemSummary& s : summary)
            sheetTotal = CommonMod::AddMoney(sheetTotal, items[static_cast<size_t>(s.FirstItem)].Price, s.Count);
        DrawTextAligned(dc, R(cx + 7 * u), R(y + 0.3 * r),
                        LangMod::GetMessage(QStringLiteral("lang_Total")) + QLatin1Char(' ') +
                            CommonMod::FormatTotal(sheetTotal, 1),
                        QStringLiteral("R"));
    }
    DrawTextAligned(dc, R(cx - 8 * u), R(y + 0.3 * r),
                    LangMod::GetMessage(QStringLiteral("lang_Page")) + QLatin1Char(' ') + QString::number(page + 1) +
                        QLatin1Char(' ') + LangMod::GetMessage(QStringLiteral("lang_of")) + QLatin1Char(' ') +
                        QString::number(pages),
                    QStringLiteral("L"));
    DrawMod::DrawBox(dc, R(left - 3), R(T + 0.3 * r - 3), R(right + 3), R(y + 0.5 * r + 3), -1, kGrey, 1);
}

}  // namespace Graphs
