#pragma once
// Item definition files (".dvo") and the catalogue of an item group.
//
// An item file is a run of little-endian 32-bit words: ten header words,
// then picture records back to back. The record after the first shape is the
// footprint, whose two colour words carry the item's flags and price; from the
// first group on come two groups per rotation view. A file is appended whole
// to a picture table and described by an ItemRecord whose indexes point into
// that table.

#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace FileMod {

// Item files are a few kilobytes; a file beyond this is refused.
constexpr qint64 kMaxItemFileBytes = 8 * 1024 * 1024;

// Appends the item file at `path` to `shapes` from index `wordCount` on,
// advances `wordCount` past it and describes the item in `item`. A missing
// file returns false and changes nothing, silently. A file that cannot be
// read, is too large, whose records run outside it, or that breaks the
// layout above is reported in one message box naming the item and returns
// false, leaving `shapes`, `wordCount` and `item` exactly as they were.
// The table always keeps one zero word just past `wordCount`.
bool LoadItemDefinition(ShapeStream& shapes, int32_t& wordCount, const QString& path, ItemRecord& item);

// The same over the bytes of a file already read from `path` (the path only
// names the item).
bool LoadItemDefinitionData(ShapeStream& shapes, int32_t& wordCount, const QByteArray& bytes,
                            const QString& path, ItemRecord& item);

// Loads the item group in `folder` (no trailing separator): every "*.dvo" in
// the order a file list shows them, then the group's own PlanInfo.dvf and
// WallInfo.dvf into G.PlanInfo, then the items and PlanInfo.dvf of the
// group's add-on folder under GroupPath. Files that fail are reported and
// left out without leaving a gap. Price overrides (G.PriceOverrides) apply to
// the group's own items. Sets the item-groups window's "Use Prices" caption
// and box. Callers pass the catalogue with its word count set to 0.
void LoadItemCatalogue(const QString& folder, ShapeStream& shapes, int32_t& wordCount,
                       std::vector<ItemRecord>& items, int32_t& itemCount);

}  // namespace FileMod
