// The item summary, the comma-separated item list and the spreadsheet's page
// count.
#include "views/Graphs.h"

#include "platform/FileSystem.h"
#include "scene/LangMod.h"
#include "scene/SceneState.h"
#include "scene/UnitsMoney.h"
#include "scene/WindowPort.h"

#include <QLocale>

#include <algorithm>

namespace Graphs {

int32_t BuildItemSummary(const std::vector<ItemRecord>& items, int32_t count, std::vector<ItemSummary>& summary,
                         double& total)
{
    summary.clear();
    total = 0;
    const int32_t last = std::min<int64_t>(count, static_cast<int64_t>(items.size()));
    // While prices are in use and something has been paid for, unpriced
    // items are left out of the summary; but only while a placed item has a
    // price to show instead (one paid for and then made free leaves money
    // spent and nothing priced), so that a count of the items never comes
    // out empty.
    bool skipUnpriced = CommonMod::MoneySpent() && !G.PlanInfo.noprices;
    if (skipUnpriced) {
        skipUnpriced = false;
        for (int32_t i = std::max<int32_t>(0, G.Room.FirstRealItem); i < last && !skipUnpriced; ++i)
            skipUnpriced = items[static_cast<size_t>(i)].Price > 0;
    }
    for (int32_t i = std::max<int32_t>(0, G.Room.FirstRealItem); i < last; ++i) {
        const ItemRecord& item = items[static_cast<size_t>(i)];
        if (item.Price <= 0 && skipUnpriced) continue;
        auto group = std::find_if(summary.begin(), summary.end(),
                                  [&](const ItemSummary& s) { return s.Name == item.Name; });
        const float price = item.Price > 0 ? item.Price : 0.0f;
        if (group == summary.end()) {
            ItemSummary s;
            s.Name = item.Name;
            s.Count = 1;
            s.FirstItem = i;
            s.Value = CommonMod::AddMoney(0, price);
            summary.push_back(s);
        } else {
            ++group->Count;
            group->Value = CommonMod::AddMoney(group->Value, price);
        }
        total = CommonMod::AddMoney(total, price);
    }
    return static_cast<int32_t>(summary.size());
}

namespace {

// A text field of the list: quoted when it holds a comma, a double quote or
// a line end, with its quotes doubled, so that it stays one column.
QString CsvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// An amount of the list: always with a point, whatever the desktop's
// language, since a decimal comma would split it into two columns.
QString CsvAmount(double total)
{
    QString text = CommonMod::FormatTotal(total, 0);
    const QString point = QLocale().decimalPoint();
    if (!point.isEmpty()) text.replace(point, QStringLiteral("."));
    return text;
}

}  // namespace

QByteArray ItemListCsvText(const std::vector<ItemRecord>& items, int32_t count)
{
    std::vector<ItemSummary> summary;
    double total = 0;
    BuildItemSummary(items, count, summary, total);
    const QString crlf = QStringLiteral("\r\n");
    const QString comma = QStringLiteral(",");
    QString text = CsvField(LangMod::GetMessage(QStringLiteral("lang_Name"))) + comma +
                   CsvField(LangMod::GetMessage(QStringLiteral("lang_Number"))) + comma +
                   CsvField(LangMod::GetMessage(QStringLiteral("lang_Price"))) + comma +
                   CsvField(LangMod::GetMessage(QStringLiteral("lang_SubTotal"))) + crlf;
    for (const ItemSummary& s : summary) {
        const float price = items[static_cast<size_t>(s.FirstItem)].Price;
        // The count after one blank, the place of a sign.
        text += CsvField(LangMod::GetPlanInfoText(s.Name.str())) + QStringLiteral(",  ") + QString::number(s.Count) +
                comma + CsvAmount(CommonMod::AddMoney(0, price)) + comma +
                CsvAmount(CommonMod::AddMoney(0, price, s.Count)) + crlf;
    }
    text += QStringLiteral(",,") + CsvField(LangMod::GetMessage(QStringLiteral("lang_Total"))) + comma +
            CsvAmount(total) + crlf;
    // UTF-8, as every program of a Linux desktop reads text.
    return text.toUtf8();
}

bool ExportItemListCsv(const QString& path, const std::vector<ItemRecord>& items, int32_t count, QString* error)
{
    return dorv::WriteWholeFile(path, ItemListCsvText(items, count), error);
}

int32_t SpreadsheetRowsPerPage(bool showItems)
{
    return showItems ? 10 : 20;
}

int16_t GetSpreadsheetPageCount(const std::vector<ItemRecord>& items, int32_t count, bool showItems)
{
    std::vector<ItemSummary> summary;
    double total = 0;
    const int64_t groups = BuildItemSummary(items, count, summary, total);
    const int32_t rows = SpreadsheetRowsPerPage(showItems);
    const int64_t pages = (groups + rows - 1) / rows;
    return static_cast<int16_t>(std::clamp<int64_t>(pages, 1, INT16_MAX));
}

int16_t GetSpreadsheetPageCount(const std::vector<ItemRecord>& items, int32_t count)
{
    return GetSpreadsheetPageCount(items, count, Windows().SpreadsheetShowsItems());
}

}  // namespace Graphs
