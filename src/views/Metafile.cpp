#include "views/Metafile.h"

#include "platform/AppInfo.h"
#include "platform/ByteIO.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Metafiles.h"
#include "platform/PainterDc.h"
#include "platform/RecordingDc.h"
#include "platform/Rounding.h"
#include "scene/LangMod.h"
#include "scene/PictureMeasure.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"
#include "views/PictureEngine.h"
#include "views/ViewRender.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <cmath>
#include <functional>

namespace Metafile {

namespace {

using Drawing = std::function<void(dorv::DeviceContext&)>;

QString clipboardDescription() { return dorv::AppTitle() + QString(5, QChar(0)); }

QString fileDescription(const QString& what)
{
    return dorv::AppTitle() + QChar(0) + what + QChar(0) + QChar(0);
}

void tell(const char* key, int style)
{
    dorv::MsgBox(LangMod::GetMessage(QString::fromLatin1(key)), style, dorv::AppTitle());
}

// The view fitted to the canvas's width: the zoom for the plan, 3D and wall
// views alike, with the pans at 0. A wall is fitted by the room's side, so
// that a wall holds the same picture on the clipboard and in a file.
// `zoom` gets the pixels per scene unit.
DrawMod::ViewDrawing FittedView(dorv::DeviceContext& dc, double& zoom)
{
    const QSizeF canvas = Windows().CanvasSize();
    Shapes::Box rect;
    CommonMod::GetItemsExtent(rect, G.ViewMode, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount);
    double width = canvas.width();
    if (G.ViewMode == 0 || G.ViewMode == 1) {
        width = double(rect.maxX) - rect.minX;
    } else if (G.ViewMode == 2) {
        if (G.WallIndex == 0 || G.WallIndex == 2)
            width = double(G.Room.ExtentX) + 96000;
        else if (G.WallIndex == 1 || G.WallIndex == 3)
            width = double(G.Room.ExtentY) + 96000;
    }
    // Nothing to measure (no items at all): draw at the scale of one.
    zoom = width > 0 ? canvas.width() / width : 1.0;
    DrawMod::ViewDrawing v = DrawMod::SceneViewDrawing(dc, static_cast<float>(canvas.width() / 2),
                                                       static_cast<float>(canvas.height() / 2),
                                                       static_cast<float>(canvas.height()));
    v.scale = 1.0;
    v.planScale = v.isoScale = v.wallScale = static_cast<float>(zoom);
    v.planPanX = v.planPanY = v.isoPanX = v.isoPanY = 0;
    v.dragged = v.wallDragged = -1;
    v.page = 1;
    v.selected = -1;
    v.singleItem = false;
    return v;
}

Drawing ViewDrawingOf(bool itemOnly, int32_t itemIndex, double* zoom)
{
    return [=](dorv::DeviceContext& dc) {
        double fit = 1.0;
        DrawMod::ViewDrawing v = FittedView(dc, fit);
        // The spreadsheet and the charts are laid out in the canvas's pixels,
        // with no scale of the room to measure them by.
        if (zoom) *zoom = G.ViewMode == 3 ? 0 : fit;
        if (itemOnly) {
            v.selected = itemIndex;
            v.singleItem = true;
        }
        DrawMod::DrawCurrentView(v);
    };
}

// The selected palette item fitted into the panel's box, centred along the
// axis with room to spare. `zoom` gets the pixels per scene unit.
bool ItemDrawing(QSizeF panel, Drawing& drawing, double* zoom)
{
    if (G.PaletteCount <= 0 || G.PaletteSelection < 0 || G.PaletteSelection >= G.PaletteCount ||
        G.PaletteSelection >= static_cast<int32_t>(G.Palette.size()))
        return false;
    const ItemRecord item = G.Palette[static_cast<size_t>(G.PaletteSelection)];
    const double boxW = panel.width(), boxH = panel.height() - 16;
    // Measured as the panel measures it: a hung wall item without the wall
    // below it.
    float w = 0, h = 0, insetX = 0, insetY = 0;
    int16_t shown = -1;
    DrawMod::GetItemDrawnSize(item, kPicture3D, G.CatalogueShapes, G.CatalogueShapeCount, 1.0f, w, h, insetX, insetY,
                              shown);
    double scale = 1.0, offX = 0, offY = 0;
    if (w > 0 && h > 0) {
        scale = std::min(boxW / w, boxH / h);
        if (boxW / w > boxH / h)
            offX = (boxW / scale - w) * 0.5;
        else
            offY = (boxH / scale - h) * 0.5;
    }
    if (zoom) *zoom = scale;
    const int32_t view = DrawMod::ReduceView(item, item.ViewIndex);
    drawing = [=](dorv::DeviceContext& dc) {
        DrawMod::DrawItemPicture(dc, G.CatalogueShapes, G.CatalogueShapeCount, item, kPicture3D, view,
                        static_cast<float>(offX - insetX), static_cast<float>(offY - insetY), 0,
                        static_cast<float>(boxH), static_cast<float>(scale), 0);
    };
    return true;
}

struct Recorded {
    QByteArray emf;
    std::vector<dorv::DcCall> calls;
};

Recorded Record(const Drawing& draw, const dorv::MetafileReference& reference, const QString& description)
{
    dorv::RecordingDc recorder(reference.dpiY);
    draw(recorder);
    Recorded r;
    r.calls = recorder.Calls();
    r.emf = dorv::EnhancedMetafileBytes(r.calls, reference, description);
    return r;
}

dorv::MetafileReference ReferenceOf(const dorv::DeviceContext* dc, QSizeF size)
{
    dorv::MetafileReference ref;
    const int dpi = dc ? dc->GetDeviceCaps(dorv::LOGPIXELSY) : DrawMod::CanvasLogPixelsY();
    ref.dpiX = ref.dpiY = dpi > 0 ? dpi : 96;
    if (dc && dc->Surface() && !dc->Surface()->isNull()) size = dc->Surface()->size();
    ref.widthPixels = std::max(1, dorv::RoundHalfEven(size.width()));
    ref.heightPixels = std::max(1, dorv::RoundHalfEven(size.height()));
    return ref;
}

// The largest clipboard picture, in pixels: a drawing that would need more
// (a long narrow room fitted by its width) is shrunk to it.
constexpr double kMaxPicturePixels = 4096.0 * 4096.0;

// Puts the metafile and an ordinary picture of the same drawing on the
// clipboard. The picture shows what the metafile shows: the box of what was
// drawn, whole, also where it reaches past the canvas (dimension lines, the
// tops of the walls in 3D). False when the picture could not be made.
bool ToClipboard(const Drawing& draw, const dorv::MetafileReference& ref)
{
    const Recorded r = Record(draw, ref, clipboardDescription());
    if (r.emf.isEmpty()) return false;
    QRect area = dorv::RecordedBounds(r.calls);
    if (area.isNull()) area = QRect(0, 0, ref.widthPixels, ref.heightPixels);
    const double pixels = double(area.width()) * area.height();
    const double shrink = pixels > kMaxPicturePixels ? std::sqrt(kMaxPicturePixels / pixels) : 1.0;
    QImage picture(std::max(1, dorv::RoundHalfEven(area.width() * shrink)),
                   std::max(1, dorv::RoundHalfEven(area.height() * shrink)), QImage::Format_RGB32);
    if (picture.isNull()) return false;
    picture.fill(Qt::white);
    {
        dorv::ImageDc dc(&picture, ref.dpiY);
        dc.ShowArea(area);
        draw(dc);
    }
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kEmfMimeType), r.emf);
    data->setImageData(picture);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        delete data;
        return false;
    }
    clipboard->clear();
    clipboard->setMimeData(data);
    return true;
}

// The placeable header's bounds: the rectangle of what was drawn, turned
// from pixels back into scene units, so that a reader shows the picture with
// the drawing's own shape and at the scene's size. A drawing without a scale
// of the room (`pixelsPerUnit` 0) keeps the size it has on the reference
// device: its pixels at the reference's resolution in the header's 180 units
// to the inch, each of which stands for 256 scene units.
Shapes::Box DrawnBounds(const std::vector<dorv::DcCall>& calls, double pixelsPerUnit,
                        const dorv::MetafileReference& ref)
{
    const QRect drawn = dorv::RecordedBounds(calls);
    if (!(pixelsPerUnit > 0)) pixelsPerUnit = ref.dpiX / (180.0 * 256);
    if (drawn.isNull() || !(pixelsPerUnit > 0)) return {};
    auto units = [&](double pixels) {
        return dorv::RoundHalfEven(std::clamp(pixels / pixelsPerUnit, double(INT32_MIN), double(INT32_MAX)));
    };
    return {units(drawn.left()), units(drawn.top()), units(drawn.right() + 1.0), units(drawn.bottom() + 1.0)};
}

// `pixelsPerUnit` is read once the drawing has been made, which may set it;
// 0 for a drawing without a scale of the room.
bool ToFile(const QString& path, const Drawing& draw, const dorv::MetafileReference& ref, const QString& what,
            bool asWmf, const double& pixelsPerUnit)
{
    const Recorded r = Record(draw, ref, fileDescription(what));
    if (r.emf.isEmpty()) {
        tell("lang_MetafileNotCreated", dorv::vbOKOnly);
        return false;
    }
    if (!asWmf) {
        if (WriteBytesToFile(path, r.emf)) return true;
        tell("lang_MetafileNotCreated", dorv::vbOKOnly);
        return false;
    }
    const QByteArray bits = dorv::WindowsMetafileBits(r.calls);
    if (bits.isEmpty()) {
        tell("lang_CouldntSaveWMF", dorv::vbExclamation);
        return false;
    }
    QByteArray bytes(22, '\0');
    bytes.append(bits);
    BuildPlaceableWmfHeader(bytes, DrawnBounds(r.calls, pixelsPerUnit, ref));
    if (WriteBytesToFile(path, bytes)) return true;
    tell("lang_MetafileNotCreated", dorv::vbOKOnly);
    return false;
}

}  // namespace

void CopyViewToClipboard(bool itemOnly, int32_t itemIndex)
{
    const bool item = itemOnly && itemIndex >= 0;
    const dorv::MetafileReference ref = ReferenceOf(Windows().CanvasDC(), Windows().CanvasSize());
    if (!ToClipboard(ViewDrawingOf(item, itemIndex, nullptr), ref))
        tell("lang_CouldntCreateEMF", dorv::vbOKOnly);
}

void CopyItemToClipboard(QSizeF panelSize)
{
    Drawing drawing;
    if (!ItemDrawing(panelSize, drawing, nullptr)) return;
    if (!ToClipboard(drawing, ReferenceOf(nullptr, panelSize))) tell("lang_CouldntCreateEMF", dorv::vbOKOnly);
}

bool SaveBitmapToFile(const QString& path, const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "BMP") || !WriteBytesToFile(path, bytes)) {
        tell("lang_MetafileNotCreated", dorv::vbOKOnly);
        return false;
    }
    return true;
}

bool SaveViewMetafile(const QString& path, const dorv::DeviceContext& reference, bool asWmf)
{
    // The drawing sets the zoom that the header's bounds are measured by.
    double zoom = 1.0;
    const dorv::MetafileReference ref = ReferenceOf(&reference, Windows().CanvasSize());
    return ToFile(path, ViewDrawingOf(false, -1, &zoom), ref, QStringLiteral("Drawing"), asWmf, zoom);
}

bool SaveItemMetafile(const QString& path, const dorv::DeviceContext& reference, QSizeF panelSize, bool asWmf)
{
    Drawing drawing;
    double zoom = 1.0;
    if (!ItemDrawing(panelSize, drawing, &zoom)) return false;
    return ToFile(path, drawing, ReferenceOf(&reference, panelSize), QStringLiteral("Item"), asWmf, zoom);
}

void BuildPlaceableWmfHeader(QByteArray& bytes, const Shapes::Box& rect)
{
    if (bytes.size() < 22) bytes.resize(22);
    auto bound = [](int32_t v) {
        return static_cast<int16_t>(std::clamp(dorv::RoundHalfEven(v / 256.0), -32768, 32767));
    };
    const uint16_t words[10] = {0xCDD7,
                                0x9AC6,
                                0,
                                uint16_t(bound(rect.minX)),
                                uint16_t(bound(rect.minY)),
                                uint16_t(bound(rect.maxX)),
                                uint16_t(bound(rect.maxY)),
                                180,
                                0,
                                0};
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i) {
        bytes[2 * i] = char(words[i] & 0xFF);
        bytes[2 * i + 1] = char(words[i] >> 8);
        checksum ^= words[i];
    }
    bytes[20] = char(checksum & 0xFF);
    bytes[21] = char(checksum >> 8);
}

bool WriteBytesToFile(const QString& path, const QByteArray& bytes) { return dorv::WriteWholeFile(path, bytes); }

}  // namespace Metafile
