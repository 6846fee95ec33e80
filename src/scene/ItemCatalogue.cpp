#include "scene/ItemCatalogue.h"

#include "platform/AppInfo.h"
#include "platform/FileSystem.h"
#include "platform/Rounding.h"
#include "scene/Environments.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/PlaceInfo.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace FileMod {

namespace {

// Short descriptions of what went wrong, shown under the item's name.
const char* const kCannotRead = "The file cannot be read.";
const char* const kTooLarge = "The file is too large.";
const char* const kOutsideFile = "The records run outside the file.";
const char* const kOutOfRange = "A number in the file is out of range.";

// The words of one file as the walks see them: the file's words at absolute
// indexes [base, count) and the zero word at count. Reading any other index
// is reading outside the file: it yields 0 and marks the reader failed.
class FileWords {
public:
    FileWords(const std::vector<int32_t>& words, int64_t base) : words_(words), base_(base) {}
    int32_t at(int64_t index)
    {
        const int64_t k = index - base_;
        if (k < 0 || k >= static_cast<int64_t>(words_.size())) {
            bad_ = true;
            return 0;
        }
        return words_[static_cast<size_t>(k)];
    }
    bool bad() const { return bad_; }

private:
    const std::vector<int32_t>& words_;
    int64_t base_;
    bool bad_ = false;
};

// Words a record's byte length steps over, halves to even.
int64_t Step(int32_t byteLength) { return dorv::RoundHalfEven(byteLength / 4.0); }

bool FitsLong(int64_t v)
{
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
}

// One exclamation box: the item's name (or, before the file gave one, the
// file's group and name), the warning's text when there is one, and the
// description of what went wrong.
bool Report(const QString& name, const char* warningKey, const char* description)
{
    QString text = QStringLiteral("Item:") + name + QLatin1Char('\n');
    if (warningKey) text += LangMod::GetMessage(QLatin1String(warningKey)) + QLatin1Char('\n');
    text += QLatin1Char('\n');
    if (description) text += QLatin1String(description);
    Windows().MsgBox(text, 48, dorv::AppTitle());
    return false;
}

// The item's name: the group folder's name, "\" and the file's name without
// its extension.
QString ItemName(const QString& path)
{
    QString name = GetLastTwoPathParts(path);
    name.replace(QLatin1Char('/'), QLatin1Char('\\'));
    name.chop(4);
    return name;
}

// The file as a teacher finds it: the group folder's name, "\" and the
// file's name.
QString FileLabel(const QString& path)
{
    QString label = GetLastTwoPathParts(path);
    label.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return label;
}

// The group's key in the environment texts: "<environment>\<group>".
QString GroupKey(const QString& folder)
{
    QString key = GetLastTwoPathParts(folder);
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return key;
}

}  // namespace

bool LoadItemDefinitionData(ShapeStream& shapes, int32_t& wordCount, const QByteArray& bytes,
                            const QString& path, ItemRecord& item)
{
    const FixedText<32> blank;
    const QString file = FileLabel(path);
    const int64_t base = wordCount;
    if (base < 0) return Report(file, nullptr, kCannotRead);
    const int64_t n = bytes.size() / 4 + 1;
    // The new count, and one word past it, must stay addressable.
    if (bytes.size() > kMaxItemFileBytes || base + n + 1 > std::numeric_limits<int32_t>::max())
        return Report(file, nullptr, kTooLarge);
    const int64_t count = base + n;

    // The file's words (a last partial word filled with zeros), the zero word
    // past the file, and the zero word the table keeps past its count.
    std::vector<int32_t> words(static_cast<size_t>(n + 1), 0);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        words[static_cast<size_t>(i / 4)] |= static_cast<int32_t>(static_cast<uint32_t>(b[i]) << (8 * (i % 4)));
    FileWords w(words, base);

    ItemRecord r = item;
    r.Name = blank;

    // The first shape record.
    int64_t p = base + 10, step = 1;
    while (w.at(p) != Shapes::kShape && p < count && step >= 1) {
        step = Step(w.at(p + 1));
        p += step;
    }
    if (w.bad()) return Report(file, nullptr, kOutsideFile);
    const int64_t firstShape = p;

    r.Name.set(ItemName(path));

    // The footprint is the record after the first shape.
    const int64_t footprint = firstShape + Step(w.at(firstShape + 1));

    // The first group begins the views.
    p = firstShape;
    step = 1;
    while (w.at(p) != Shapes::kGroup && p < count && step >= 1) {
        step = Step(w.at(p + 1));
        p += step;
    }
    const int64_t shapeStart = p;
    if (w.bad()) return Report(r.Name.str(), nullptr, kOutsideFile);

    if (w.at(footprint) != Shapes::kShape) {
        if (w.bad()) return Report(r.Name.str(), nullptr, kOutsideFile);
        return Report(r.Name.str(), "lang_WarningFootprintNotFound", nullptr);
    }
    if (w.at(shapeStart) != Shapes::kGroup) return Report(r.Name.str(), "lang_WarningFirstPlanShouldBeGroup", nullptr);

    // The groups of the whole top-level walk: two per view.
    p = base + 10;
    step = 1;
    int64_t groups = 0;
    while (p < count && step >= 1) {
        step = Step(w.at(p + 1));
        if (w.at(p) == Shapes::kGroup) ++groups;
        p += step;
    }
    if (w.bad()) return Report(r.Name.str(), nullptr, kOutsideFile);
    if (groups % 2 != 0) return Report(r.Name.str(), "lang_WarningOddNumberOfGroups", nullptr);
    const int64_t shapeEnd = p;
    // A walk that stepped back before the file or past its end, or a run that
    // ends before it begins, leaves the item's pictures outside its words.
    if (shapeEnd < shapeStart || shapeEnd > count) return Report(r.Name.str(), nullptr, kOutsideFile);
    if (groups / 2 > std::numeric_limits<int16_t>::max()) return Report(r.Name.str(), nullptr, kOutOfRange);

    const int32_t fx0 = w.at(footprint + 2), fy0 = w.at(footprint + 3);
    const int32_t fx1 = w.at(footprint + 4), fy1 = w.at(footprint + 5);
    const int32_t flagsWord = w.at(footprint + 6), priceWord = w.at(footprint + 7);
    const int32_t top = w.at(firstShape + 5), bottom = w.at(firstShape + 3);
    if (w.bad()) return Report(r.Name.str(), nullptr, kOutsideFile);
    const int64_t width = int64_t(fx1) - fx0, depth = int64_t(fy1) - fy0, height = int64_t(top) - bottom;
    if (!FitsLong(width) || !FitsLong(depth) || !FitsLong(height)) return Report(r.Name.str(), nullptr, kOutOfRange);

    r.FirstShape = static_cast<int32_t>(firstShape);
    r.FootprintShape = static_cast<int32_t>(footprint);
    r.ShapeStart = static_cast<int32_t>(shapeStart);
    r.ShapeEnd = static_cast<int32_t>(shapeEnd);
    r.ViewCount = static_cast<int16_t>(groups / 2);
    r.FootMinX = fx0;
    r.FootMinY = fy0;
    r.FootWidth = static_cast<int32_t>(width);
    r.FootDepth = static_cast<int32_t>(depth);
    r.Height = static_cast<int32_t>(height);
    r.HeightMm = static_cast<float>(r.Height / 36.288);
    r.WidthMm = static_cast<float>(r.FootWidth / 36.288);
    r.DepthMm = static_cast<float>(r.FootDepth / 36.288);
    // Flags in bits 8 to 11 and the price in hundredths in bits 8 to 31, each
    // rounded from the exact quotient, so a low byte of 128 or more can add
    // one step.
    r.Price = static_cast<float>((dorv::RoundHalfEven(priceWord / 256.0) & 0xFFFFFF) / 100.0);
    r.Flags = dorv::RoundHalfEven(flagsWord / 256.0) & 15;

    // Only now is the table touched: the file's words and one zero word.
    if (static_cast<int64_t>(shapes.size()) < count + 1) shapes.resize(static_cast<size_t>(count + 1));
    std::copy(words.begin(), words.begin() + n, shapes.begin() + base);
    shapes[static_cast<size_t>(count)] = 0;
    wordCount = static_cast<int32_t>(count);
    item = r;
    return true;
}

bool LoadItemDefinition(ShapeStream& shapes, int32_t& wordCount, const QString& path, ItemRecord& item)
{
    if (!FileExists(path)) return false;
    bool ok = false;
    const QByteArray bytes = dorv::ReadWholeFile(path, &ok, kMaxItemFileBytes);
    if (!ok) {
        // Tell a file too large from one that could not be read. The item's
        // name is not known yet: the box names the file, as for every
        // failure before the first shape is found.
        const bool tooLarge = QFileInfo(dorv::FindPath(path)).size() > kMaxItemFileBytes;
        return Report(FileLabel(path), nullptr, tooLarge ? kTooLarge : kCannotRead);
    }
    return LoadItemDefinitionData(shapes, wordCount, bytes, path, item);
}

void LoadItemCatalogue(const QString& folder, ShapeStream& shapes, int32_t& wordCount,
                       std::vector<ItemRecord>& items, int32_t& itemCount)
{
    // No folder (an environment without groups for the view) gives an empty
    // catalogue, never the items of the current folder.
    const bool any = !folder.isEmpty();

    // The group's own items, with the prices the user changed.
    const QStringList files =
        any ? dorv::ListFolder(folder, dorv::ListKind::Files, QStringLiteral(".dvo")) : QStringList();
    items.assign(static_cast<size_t>(files.size()) + 1, ItemRecord());
    itemCount = 0;
    const int32_t overrides = std::clamp<int32_t>(G.PriceOverrideCount, 0, static_cast<int32_t>(G.PriceOverrides.size()));
    for (const QString& file : files) {
        // A file that fails leaves its slot to the next one.
        ItemRecord& item = items[static_cast<size_t>(itemCount)];
        if (!LoadItemDefinition(shapes, wordCount, folder + QLatin1Char('\\') + file, item)) continue;
        const QString name = item.Name.str();
        for (int32_t i = 0; i < overrides; ++i)
            if (G.PriceOverrides[static_cast<size_t>(i)].Name == name)
                item.Price = G.PriceOverrides[static_cast<size_t>(i)].Amount;
        ++itemCount;
    }

    // WallInfo.dvf is read over PlanInfo.dvf.
    if (any && FileExists(folder + QStringLiteral("\\PlanInfo.dvf")))
        ReadInfoFile(folder, QStringLiteral("\\PlanInfo.dvf"), G.PlanInfo);
    if (any && FileExists(folder + QStringLiteral("\\WallInfo.dvf")))
        ReadInfoFile(folder, QStringLiteral("\\WallInfo.dvf"), G.PlanInfo);

    // Add-on items of the same group in the environment's mirror folder, after
    // the group's own; their place information is read over the group's.
    const QString mirror = GroupPath.isEmpty() || !any ? QString() : GroupPath + GetTrimmedFileName(folder);
    if (!mirror.isEmpty() && dorv::IsFolder(mirror)) {
        const QStringList extra = dorv::ListFolder(mirror, dorv::ListKind::Files, QStringLiteral(".dvo"));
        items.resize(static_cast<size_t>(itemCount) + static_cast<size_t>(extra.size()) + 1);
        for (const QString& file : extra)
            if (LoadItemDefinition(shapes, wordCount, mirror + QLatin1Char('\\') + file,
                                   items[static_cast<size_t>(itemCount)]))
                ++itemCount;
        if (FileExists(mirror + QStringLiteral("\\PlanInfo.dvf")))
            ReadInfoFile(mirror, QStringLiteral("\\PlanInfo.dvf"), G.PlanInfo);
    }

    Windows().UpdateItemListScrollRange();

    QString caption = LangMod::GetMessage(QStringLiteral("lang_UsePrices"));
    caption.replace(QLatin1Char('%'), LangMod::GetEnvText(GroupKey(folder)));
    Windows().SetUsePricesCaption(caption);
    Windows().SetUsePricesTicked(G.PlanInfo.useprices);
}

}  // namespace FileMod
