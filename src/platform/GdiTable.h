#pragma once
// The process's table of drawing objects, shared by the device-context back
// ends. Handles carry a generation, so a handle of a freed object is never
// taken for the object that later reuses its slot.

#include "platform/DeviceContext.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QPen>

#include <memory>

namespace dorv::gdi {

struct Entry {
    GdiObjectInfo info;
    QPen pen;                              // pens: ready for QPainter
    QBrush brush;                          // brushes
    QFont font;                            // fonts
    std::unique_ptr<QFontMetrics> metrics; // fonts
    std::unique_ptr<QImage> image;         // bitmaps (a stable address for painters)
    int selected = 0;                      // contexts it is selected into
    bool deletePending = false;
    bool live = false;
    uint16_t generation = 0;
};

// The live object of a handle, or nullptr.
Entry* Find(GdiObject object);

// The objects a new context starts with.
GdiObject StockPen();     // black, 1 pixel
GdiObject StockBrush();   // white
GdiObject StockFont();    // Arial, 16 pixels
GdiObject StockBitmap();  // 1 x 1, held by a memory context before its own bitmap

// Selection counts: an object deleted while selected is freed when its last
// context lets it go.
void Selected(GdiObject object);
void Deselected(GdiObject object);

}  // namespace dorv::gdi
