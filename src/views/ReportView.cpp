// View mode 3: the spreadsheet or one of the charts, or the message that
// there is nothing (priced) to show yet.
#include "views/Graphs.h"

#include "platform/PainterDc.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "scene/WindowPort.h"

#include <algorithm>

namespace Graphs {

void DrawSheetOrGraphView(const DrawMod::ViewDrawing& v)
{
    if (!v.dc || !v.items) return;
    dorv::DeviceContext& dc = *v.dc;
    const QSizeF canvas = Windows().CanvasSize();
    const bool priced = CommonMod::MoneySpent();
    const bool printing = dynamic_cast<const dorv::PrinterDc*>(&dc) != nullptr;
    const int16_t kind = G.GraphKind;
    const bool showsMoney = kind == 0 || (kind >= 1 && kind <= kGraphKinds && G.GraphShowCosts[size_t(kind - 1)]);

    QString message;
    if (v.itemCount <= G.Room.FirstRealItem)
        message = LangMod::GetMessage(QStringLiteral("lang_NoItemsToDisplay"));
    else if (showsMoney && !priced)
        message = LangMod::GetMessage(QStringLiteral("lang_NoItemsWithPricesToDisplay"));
    if (!message.isEmpty()) {
        DrawTextAlignedSized(dc, dorv::RoundHalfEven(v.originX), dorv::RoundHalfEven(v.originY), message,
                             15 * DrawMod::GetPrintScale(dc), 0, static_cast<float>(canvas.width()),
                             QStringLiteral("Arial"), QStringLiteral("C"));
        return;
    }

    const int32_t width = v.areaWidth > 0 ? v.areaWidth : dorv::RoundHalfEven(canvas.width());
    const int32_t height = v.areaHeight > 0 ? v.areaHeight : dorv::RoundHalfEven(canvas.height());
    const std::vector<ItemRecord>& items = *v.items;
    switch (kind) {
    case 0: {
        // The printed page on the printer, else the panel's page box (a
        // number below 1 there shows the first page).
        const int32_t page = printing ? v.page : Windows().SpreadsheetPage();
        DrawSpreadsheet(dc, items, v.itemCount, v.originX, v.originY, width, height,
                        static_cast<int16_t>(std::clamp<int32_t>(page, 1, INT16_MAX) - 1),
                        Windows().SpreadsheetShowsItems());
        break;
    }
    case 1:
        DrawPieChart(dc, items, v.itemCount, v.originX, v.originY, width, height);
        break;
    case 2:
        DrawBarGraph(dc, items, v.itemCount, v.originX, v.originY, width, height);
        break;
    case 3:
        DrawPictogram(dc, items, v.itemCount, v.originX, v.originY, width, height);
        break;
    case 4:
        DrawLineGraph(dc, items, v.itemCount, v.originX, v.originY, width, height);
        break;
    default:
        break;
    }
}

}  // namespace Graphs
