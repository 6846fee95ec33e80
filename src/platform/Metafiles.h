#pragma once
// Metafiles made from recorded device calls: the enhanced metafile (EMF) and
// the Windows metafile (WMF) of a drawing, written record by record in the
// published layouts, so that other programs can open the snapshots.
//
// Both writers play the same calls: objects appear in the metafile when they
// are first selected (an object made before the recording began is made from
// what the recorder noted when it was selected), a deletion deletes it there
// too (deferred while it is still selected), the viewport origin is applied to
// the coordinates, and the mix mode, background mode and text colour go over
// as they are. Copied blocks of pictures (BitBlt) are not carried.

#include "platform/RecordingDc.h"

#include <QByteArray>
#include <QRect>
#include <QString>

#include <vector>

namespace dorv {

// The device the drawing was made for: its size in pixels and resolution.
struct MetafileReference {
    int32_t widthPixels = 0;
    int32_t heightPixels = 0;
    int32_t dpiX = 96;
    int32_t dpiY = 96;
};

// The smallest rectangle, in device pixels with right and bottom inclusive,
// that holds everything the calls draw (a pen's half width round lines, a
// text's cell). Empty (isNull) when nothing is drawn.
QRect RecordedBounds(const std::vector<DcCall>& calls);

// A whole enhanced-metafile file. `description` (which may hold NULs) is
// stored as the header's description in UTF-16.
QByteArray EnhancedMetafileBytes(const std::vector<DcCall>& calls, const MetafileReference& reference,
                                 const QString& description);

// The records of a Windows metafile (a memory metafile's header, no
// placeable header) in the anisotropic mapping mode: its window is the
// recorded bounds, so that a player stretches the drawing over the picture's
// frame. Coordinates beyond 16 bits are clamped. Empty when nothing is drawn.
QByteArray WindowsMetafileBits(const std::vector<DcCall>& calls);

// Record types and functions the writers use, for readers and tests.
namespace emr {
constexpr uint32_t Header = 1, Polygon = 3, Polyline = 4, PolyPolyline = 7, PolyPolygon = 8, Eof = 14,
                   SetBkMode = 18, SetRop2 = 20, SetTextColor = 24, MoveToEx = 27, SelectObject = 37,
                   CreatePen = 38, CreateBrushIndirect = 39, DeleteObject = 40, Rectangle = 43, LineTo = 54,
                   ExtCreateFontIndirectW = 82, ExtTextOutW = 84;
constexpr uint32_t Signature = 0x464D4520;  // " EMF"
}  // namespace emr
namespace meta {
constexpr uint16_t Eof = 0x0000, SetBkMode = 0x0102, SetMapMode = 0x0103, SetRop2 = 0x0104,
                   SetTextColor = 0x0209, SetWindowOrg = 0x020B, SetWindowExt = 0x020C, LineTo = 0x0213,
                   MoveTo = 0x0214, SelectObject = 0x012D, DeleteObject = 0x01F0, Polygon = 0x0324,
                   Polyline = 0x0325, Rectangle = 0x041B, TextOut = 0x0521, PolyPolygon = 0x0538,
                   CreatePenIndirect = 0x02FA, CreateFontIndirect = 0x02FB, CreateBrushIndirect = 0x02FC;
}  // namespace meta

}  // namespace dorv
