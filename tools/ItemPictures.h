#pragma once
// Compiled items read back through the program's own item loader and drawn
// with its picture engine, for the pictures the build makes of them (group
// and environment pictures, the splash) and for the contact sheet.

#include "platform/DeviceContext.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"
#include "scene/WindowPort.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

namespace ItemTool {

// While it lives, the loaders' message boxes are written to standard error
// and counted, so a tool fails where the program would complain.
class ConsoleWindows : public WindowPort {
public:
    ConsoleWindows() { SetWindows(this); }
    ~ConsoleWindows() override { SetWindows(nullptr); }
    int MsgBox(const QString& prompt, int style, const QString& title) override;
    int messages = 0;
};

struct CompiledItem {
    ShapeStream shapes;
    int32_t count = 0;
    ItemRecord item;
};

// Loads an item file as the program does; false when it would not load
// there (the loader's message goes to the installed window port).
bool LoadCompiledItem(const QString& path, CompiledItem& out);

// The size in units of a picture (mode 0 from above, 1 in 3D) of a view.
QSizeF PictureSize(const CompiledItem& c, int16_t mode, int16_t view);

// Draws the picture fitted into `box` (device pixels), centred.
void DrawFitted(dorv::DeviceContext& dc, const CompiledItem& c, int16_t mode, int16_t view, const QRectF& box);

// Draws the picture with its lower-left corner at `lowerLeft` (device
// pixels), `scale` pixels to the unit.
void DrawAt(dorv::DeviceContext& dc, const CompiledItem& c, int16_t mode, int16_t view, QPointF lowerLeft,
            float scale);

}  // namespace ItemTool
