#pragma once
// The children's number work: the placed items grouped by kind with how many
// there are and what they cost (the item summary), written as a
// comma-separated list, drawn as a spreadsheet page by page, and drawn as a
// pie chart, bar graph, pictogram or line/area graph. Also the two aligned
// text painters that the charts, the spreadsheet and the views share.
//
// Every routine here rebuilds the summary from the items it is given and
// keeps nothing between calls. Drawing goes through the device-context layer
// only, so the same routine serves the canvas, the preview and the printer.
// Fonts are "Arial", sized in points against the view canvas's vertical
// resolution and scaled by the drawing width over 600 pixels.

#include "platform/DeviceContext.h"
#include "scene/Records.h"
#include "views/ViewRender.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace Graphs {

// One group of placed items with the same 32-character name.
struct ItemSummary {
    FixedText<32> Name;      // as stored, trailing blanks included
    int32_t Count = 0;       // items counted in the group (at least 1)
    int32_t FirstItem = 0;   // index of the group's first counted item
    double Value = 0;        // sum of the positive prices, base currency, to the cent shown
};

// Groups the real items (from the room's first real item up to count - 1;
// floor and wall sections never count) by name in the order each name first
// occurs. While prices are in use and money has been spent, an item priced 0
// or less is left out altogether. Returns the number of groups; `total` is
// the sum of the positive prices counted. Values and total add the prices as
// they show (CommonMod::AddMoney).
int32_t BuildItemSummary(const std::vector<ItemRecord>& items, int32_t count, std::vector<ItemSummary>& summary,
                         double& total);

// The item list as UTF-8 text with CR LF line ends: a heading line,
// one line per group (display name, ", ", the count after one blank, the
// first item's price and that price times the count), and the total line.
QByteArray ItemListCsvText(const std::vector<ItemRecord>& items, int32_t count);
// Writes that text to `path`, whole or not at all. False, with the reason in
// `error`, when the file could not be written.
bool ExportItemListCsv(const QString& path, const std::vector<ItemRecord>& items, int32_t count,
                       QString* error = nullptr);

// Rows on one spreadsheet page: 10 with the items' pictures, 20 without.
int32_t SpreadsheetRowsPerPage(bool showItems);
// The pages the spreadsheet needs for every group (at least 1).
int16_t GetSpreadsheetPageCount(const std::vector<ItemRecord>& items, int32_t count, bool showItems);
// The same with the spreadsheet panel's Display Items setting.
int16_t GetSpreadsheetPageCount(const std::vector<ItemRecord>& items, int32_t count);

// Draws page `page` (from 0) of the spreadsheet in a width x height area
// centred on (centreX, centreY). A page past the last shows the first rows.
void DrawSpreadsheet(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                     float centreY, int32_t width, int32_t height, int16_t page, bool showItems);

// The charts of the summary in a width x height area centred on (centreX,
// centreY), with the options G.GraphShowCosts, G.GraphShowPictures and
// G.Graph3D of their kind. With no groups nothing is drawn; with nothing to
// plot (a sum or largest value of 0) only the frame, title and legend.
void DrawPieChart(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                  float centreY, int32_t width, int32_t height);
void DrawBarGraph(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                  float centreY, int32_t width, int32_t height);
void DrawPictogram(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                   float centreY, int32_t width, int32_t height);
// The line graph, or the area graph when the line graph's 3D option is set.
void DrawLineGraph(dorv::DeviceContext& dc, const std::vector<ItemRecord>& items, int32_t count, float centreX,
                   float centreY, int32_t width, int32_t height);

// An axis-parallel ellipse of 180 points, filled; lineColour -1 draws no
// outline.
void DrawFilledEllipse(dorv::DeviceContext& dc, int32_t centreX, int32_t centreY, int32_t radiusX,
                       int32_t radiusY, int32_t fillColour, int32_t lineColour);

// Text in the dc's current font, y being its middle line and x its left
// edge ("L"), centre ("C") or right edge ("R"); the code is read in either
// case, and any other code draws nothing.
void DrawTextAligned(dorv::DeviceContext& dc, int32_t x, int32_t y, const QString& text, const QString& align);
// The same in a font of its own: pointSize points on a 600-pixel-wide
// reference, scaled by widthRef / 600, turned by `angle` degrees
// counter-clockwise. The font lives for the call.
void DrawTextAlignedSized(dorv::DeviceContext& dc, int32_t x, int32_t y, const QString& text, float pointSize,
                          float angle, float widthRef, const QString& fontName, const QString& align);

// The font height (negative: the character height in pixels) of `points`
// points on a drawing `widthRef` pixels wide: -MulDiv(points, the canvas's
// LOGPIXELSY, 600 / widthRef x 72 rounded). A width that is no positive
// number counts as 600.
int32_t ChartFontHeight(float points, float widthRef);

// The spreadsheet or the chart of G.GraphKind for the view drawing `v`, or
// the message that there is nothing (priced) to show. DrawCurrentView calls
// it in view mode 3.
void DrawSheetOrGraphView(const DrawMod::ViewDrawing& v);

}  // namespace Graphs
