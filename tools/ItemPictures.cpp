#include "ItemPictures.h"

#include "scene/ItemCatalogue.h"
#include "scene/PictureMeasure.h"
#include "views/PictureEngine.h"

#include <cstdio>

namespace ItemTool {

int ConsoleWindows::MsgBox(const QString& prompt, int, const QString&)
{
    ++messages;
    std::fprintf(stderr, "%s\n", qPrintable(QString(prompt).replace(QLatin1Char('\r'), QLatin1Char(' '))));
    return 1;
}

bool LoadCompiledItem(const QString& path, CompiledItem& out)
{
    out = CompiledItem();
    return FileMod::LoadItemDefinition(out.shapes, out.count, path, out.item);
}

QSizeF PictureSize(const CompiledItem& c, int16_t mode, int16_t view)
{
    float w = 0, h = 0;
    DrawMod::GetItemPictureSize(c.item, mode, c.shapes, c.count, 1.0f, w, h, view);
    return QSizeF(w, h);
}

void DrawFitted(dorv::DeviceContext& dc, const CompiledItem& c, int16_t mode, int16_t view, const QRectF& box)
{
    DrawMod::DrawItemIcon(dc, c.shapes, c.count, c.item, mode, view, static_cast<float>(box.left()),
                          static_cast<float>(-box.bottom()), static_cast<float>(box.width()),
                          static_cast<float>(box.height()), 0);
}

void DrawAt(dorv::DeviceContext& dc, const CompiledItem& c, int16_t mode, int16_t view, QPointF lowerLeft,
            float scale)
{
    DrawMod::DrawItemPicture(dc, c.shapes, c.count, c.item, mode, view, static_cast<float>(lowerLeft.x()) / scale,
                             static_cast<float>(-lowerLeft.y()) / scale, 0, 0, scale, 0);
}

}  // namespace ItemTool
