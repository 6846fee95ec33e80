#pragma once
// Snapshots: the current view, a placed item or the selected palette item as
// pictures outside the program. On the clipboard an enhanced metafile
// (image/x-emf) goes together with an ordinary image of the same drawing, so
// that every program can paste it; as files, a bitmap (the view only), a
// placeable Windows metafile or an enhanced metafile. Every file is written
// whole or not at all, and a failure is told to the user.

#include "platform/DeviceContext.h"
#include "scene/ShapeStream.h"

#include <QByteArray>
#include <QImage>
#include <QSizeF>
#include <QString>

#include <cstdint>

namespace Metafile {

// The clipboard format of the enhanced metafile.
inline constexpr const char* kEmfMimeType = "image/x-emf";

// The whole current view (itemOnly false or itemIndex negative), or only the
// placed item itemIndex without its selection frame or dimension lines.
void CopyViewToClipboard(bool itemOnly, int32_t itemIndex);
// The selected palette item, fitted into the item panel's box of
// `panelSize` pixels (its caption's 16 pixels left out). Nothing happens
// when the palette is empty or nothing is selected.
void CopyItemToClipboard(QSizeF panelSize);
// A bitmap file (BMP) of `picture`. False, with the message shown, when the
// file could not be written.
bool SaveBitmapToFile(const QString& path, const QImage& picture);
// The current view as a placeable Windows metafile (asWmf) or an enhanced
// metafile, drawn for `reference` (its resolution; its picture's size when it
// has one, else the canvas's). False when nothing was written.
bool SaveViewMetafile(const QString& path, const dorv::DeviceContext& reference, bool asWmf);
// The selected palette item as a file, fitted into the item panel's box of
// `panelSize` pixels. Nothing happens when the palette is empty or nothing
// is selected.
bool SaveItemMetafile(const QString& path, const dorv::DeviceContext& reference, QSizeF panelSize, bool asWmf);
// Fills bytes 0 to 21 (the array must hold them) with the placeable header:
// key, bounds of `rect` (scene units) / 256 rounded, 180 units to the inch,
// and the checksum, the XOR of the ten words before it.
void BuildPlaceableWmfHeader(QByteArray& bytes, const Shapes::Box& rect);
// Writes the whole array to the file, replacing it whole, or nothing.
bool WriteBytesToFile(const QString& path, const QByteArray& bytes);

}  // namespace Metafile
