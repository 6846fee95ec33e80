#include "platform/DeviceContext.h"

#include "platform/GdiTable.h"
#include "platform/PainterDc.h"
#include "platform/Rounding.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <unordered_map>
#include <vector>

namespace dorv {

namespace gdi {
namespace {

constexpr uint32_t kIndexBits = 20;
constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr uint32_t kMaxObjects = kIndexMask - 1;

struct Table {
    std::vector<std::unique_ptr<Entry>> entries;  // stable addresses
    std::vector<uint32_t> freeSlots;
    std::vector<GdiObserver*> observers;
    int live = 0;
    GdiObject stockPen = 0, stockBrush = 0, stockFont = 0, stockBitmap = 0;
};

Table& table()
{
    // Never destroyed: objects may still be referenced while static objects
    // of the program are torn down, after the application object is gone.
    static Table* t = new Table;
    return *t;
}

GdiObject handleOf(uint32_t index, uint16_t generation)
{
    return ((uint32_t(generation) & 0xFFF) << kIndexBits) | (index + 1);
}

// Makes a new entry; returns its handle (0 when the table is full).
GdiObject allocate(Entry** out)
{
    Table& t = table();
    uint32_t index;
    if (!t.freeSlots.empty()) {
        index = t.freeSlots.back();
        t.freeSlots.pop_back();
    } else {
        if (t.entries.size() >= kMaxObjects) return 0;
        index = uint32_t(t.entries.size());
        t.entries.push_back(std::make_unique<Entry>());
    }
    Entry& e = *t.entries[index];
    e.live = true;
    e.selected = 0;
    e.deletePending = false;
    *out = &e;
    return handleOf(index, e.generation);
}

void announceCreated(GdiObject h, const Entry& e)
{
    Table& t = table();
    if (!e.info.stock) ++t.live;
    for (GdiObserver* o : t.observers) o->ObjectCreated(h, e.info);
}

void release(GdiObject h, Entry& e)
{
    Table& t = table();
    // Only what the object's kind used: a pen and a brush are made and freed
    // for every shape drawn, and a fresh QFont costs a look at the
    // application's font.
    switch (e.info.kind) {
    case GdiKind::Pen:
    case GdiKind::Brush: break;
    case GdiKind::Font:
        e.font = QFont();
        e.metrics.reset();
        e.info.face = QString();
        break;
    case GdiKind::Bitmap: e.image.reset(); break;
    case GdiKind::None: break;
    }
    // The rest of the description field by field: only a font has a face.
    e.info.kind = GdiKind::None;
    e.info.style = e.info.width = e.info.colour = e.info.height = 0;
    e.info.escapement = e.info.orientation = e.info.weight = 0;
    e.info.stock = false;
    e.live = false;
    e.deletePending = false;
    e.generation = uint16_t((e.generation + 1) & 0xFFF);
    t.freeSlots.push_back((h & kIndexMask) - 1);
    --t.live;
}

QColor toQColor(ColorRef c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

QPen buildPen(int32_t width, ColorRef colour)
{
    QPen p(toQColor(colour));
    if (width <= 1) {
        // One device pixel on every device, its last pixel left out as the
        // line convention wants (a flat cap ends exactly at the end point).
        p.setWidth(1);
        p.setCosmetic(true);
        p.setCapStyle(Qt::FlatCap);
        p.setJoinStyle(Qt::MiterJoin);
    } else {
        p.setWidth(width);
        p.setCapStyle(Qt::RoundCap);
        p.setJoinStyle(Qt::RoundJoin);
    }
    return p;
}

// Pens and brushes by width and colour. Kept for the whole run, as the
// table is (see table()); a drawing of very many colours starts it again.
template <typename T>
class SharedCache {
public:
    template <typename Make>
    const T& get(uint64_t key, Make make)
    {
        auto it = map_.find(key);
        if (it != map_.end()) return it->second;
        if (map_.size() >= kLimit) map_.clear();
        return map_.emplace(key, make()).first->second;
    }

private:
    static constexpr size_t kLimit = 4096;
    std::unordered_map<uint64_t, T> map_;
};

QFont makeFont(int32_t height, int32_t weight, const QString& face)
{
    QFont f(face);
    f.setKerning(false);  // widths add up character by character, as measured
    if (weight <= 0) weight = FW_NORMAL;
    f.setWeight(QFont::Weight(std::clamp(weight, 1, 1000)));
    int px;
    if (height < 0) {
        px = height == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -height;
    } else if (height == 0) {
        px = 16;
    } else {
        // A cell height: scale the em so that ascent plus descent match it.
        QFont probe(f);
        probe.setPixelSize(100);
        qreal cell = QFontMetricsF(probe).height();
        px = cell > 0 ? RoundHalfEven(height * 100.0 / cell) : height;
    }
    f.setPixelSize(std::clamp(px, 1, 4096));
    return f;
}

GdiObject makeStock(GdiObjectInfo info)
{
    Entry* e;
    GdiObject h = allocate(&e);
    info.stock = true;
    e->info = info;
    switch (info.kind) {
    case GdiKind::Pen:
    case GdiKind::Brush: break;
    case GdiKind::Font:
        e->font = makeFont(info.height, info.weight, info.face);
        e->metrics = std::make_unique<QFontMetrics>(e->font);
        break;
    case GdiKind::Bitmap:
        e->image = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
        e->image->fill(Qt::white);
        break;
    case GdiKind::None: break;
    }
    announceCreated(h, *e);
    return h;
}

}  // namespace

Entry* Find(GdiObject object)
{
    if (object == 0) return nullptr;
    uint32_t index = (object & kIndexMask) - 1;
    Table& t = table();
    if (index >= t.entries.size()) return nullptr;
    Entry* e = t.entries[index].get();
    if (!e->live || handleOf(index, e->generation) != object) return nullptr;
    return e;
}

const QPen& PainterPen(int32_t width, ColorRef colour)
{
    static auto* pens = new SharedCache<QPen>;
    width = std::max(width, 1);
    colour &= 0xFFFFFF;
    return pens->get((uint64_t(uint32_t(width)) << 24) | uint32_t(colour),
                     [&] { return buildPen(width, colour); });
}

const QBrush& PainterBrush(ColorRef colour)
{
    static auto* brushes = new SharedCache<QBrush>;
    colour &= 0xFFFFFF;
    return brushes->get(uint32_t(colour), [&] { return QBrush(toQColor(colour)); });
}

GdiObject StockPen()
{
    Table& t = table();
    if (!t.stockPen) {
        GdiObjectInfo i;
        i.kind = GdiKind::Pen;
        i.style = PS_SOLID;
        i.width = 1;
        t.stockPen = makeStock(i);
    }
    return t.stockPen;
}

GdiObject StockBrush()
{
    Table& t = table();
    if (!t.stockBrush) {
        GdiObjectInfo i;
        i.kind = GdiKind::Brush;
        i.colour = 0xFFFFFF;
        t.stockBrush = makeStock(i);
    }
    return t.stockBrush;
}

GdiObject StockFont()
{
    Table& t = table();
    if (!t.stockFont) {
        GdiObjectInfo i;
        i.kind = GdiKind::Font;
        i.height = -16;
        i.weight = FW_NORMAL;
        i.face = QStringLiteral("Arial");
        t.stockFont = makeStock(i);
    }
    return t.stockFont;
}

GdiObject StockBitmap()
{
    Table& t = table();
    if (!t.stockBitmap) {
        GdiObjectInfo i;
        i.kind = GdiKind::Bitmap;
        i.width = 1;
        i.height = 1;
        t.stockBitmap = makeStock(i);
    }
    return t.stockBitmap;
}

void Selected(GdiObject object)
{
    if (Entry* e = Find(object)) ++e->selected;
}

void Deselected(GdiObject object)
{
    Entry* e = Find(object);
    if (!e) return;
    if (e->selected > 0) --e->selected;
    if (e->selected == 0 && e->deletePending) release(object, *e);
}

}  // namespace gdi

using gdi::Entry;

GdiObject CreatePen(int32_t style, int32_t width, ColorRef colour)
{
    Entry* e;
    GdiObject h = gdi::allocate(&e);
    if (!h) return 0;
    e->info.kind = GdiKind::Pen;
    e->info.style = style;
    e->info.width = width;
    e->info.colour = colour & 0xFFFFFF;
    gdi::announceCreated(h, *e);
    return h;
}

GdiObject CreateSolidBrush(ColorRef colour)
{
    Entry* e;
    GdiObject h = gdi::allocate(&e);
    if (!h) return 0;
    e->info.kind = GdiKind::Brush;
    e->info.colour = colour & 0xFFFFFF;
    gdi::announceCreated(h, *e);
    return h;
}

GdiObject CreateFontA(int32_t height, int32_t escapement, int32_t orientation, int32_t weight,
                      const QString& face)
{
    Entry* e;
    GdiObject h = gdi::allocate(&e);
    if (!h) return 0;
    e->info.kind = GdiKind::Font;
    e->info.height = height;
    e->info.escapement = escapement;
    e->info.orientation = orientation;
    e->info.weight = weight;
    e->info.face = face;
    e->font = gdi::makeFont(height, weight, face);
    e->metrics = std::make_unique<QFontMetrics>(e->font);
    gdi::announceCreated(h, *e);
    return h;
}

GdiObject CreateCompatibleBitmap(const DeviceContext& dc, int32_t width, int32_t height)
{
    if (width < 0 || height < 0) return 0;
    if (width == 0 || height == 0) width = height = 1;
    auto image = std::make_unique<QImage>(width, height, QImage::Format_RGB32);
    if (image->isNull()) return 0;
    image->fill(Qt::white);
    int dpm = RoundHalfEven(dc.LogPixelsY() / 0.0254);
    image->setDotsPerMeterX(dpm);
    image->setDotsPerMeterY(dpm);
    Entry* e;
    GdiObject h = gdi::allocate(&e);
    if (!h) return 0;
    e->info.kind = GdiKind::Bitmap;
    e->info.width = width;
    e->info.height = height;
    e->image = std::move(image);
    gdi::announceCreated(h, *e);
    return h;
}

bool DeleteObject(GdiObject object)
{
    Entry* e = gdi::Find(object);
    if (!e) return false;
    bool deleted = false;
    if (!e->info.stock) {
        if (e->selected > 0) {
            e->deletePending = true;
        } else {
            gdi::release(object, *e);
            deleted = true;
        }
    }
    for (GdiObserver* o : gdi::table().observers) o->ObjectDeleted(object, deleted);
    return true;
}

GdiObjectInfo DescribeGdiObject(GdiObject object)
{
    Entry* e = gdi::Find(object);
    return e ? e->info : GdiObjectInfo();
}

int LiveGdiObjectCount() { return gdi::table().live; }

const QImage* GdiBitmapImage(GdiObject bitmap)
{
    Entry* e = gdi::Find(bitmap);
    return e && e->info.kind == GdiKind::Bitmap ? e->image.get() : nullptr;
}

void AddGdiObserver(GdiObserver* observer)
{
    auto& v = gdi::table().observers;
    if (std::find(v.begin(), v.end(), observer) == v.end()) v.push_back(observer);
}

void RemoveGdiObserver(GdiObserver* observer)
{
    auto& v = gdi::table().observers;
    v.erase(std::remove(v.begin(), v.end(), observer), v.end());
}

int32_t MulDiv(int32_t number, int32_t numerator, int32_t denominator)
{
    if (denominator == 0) return -1;
    int64_t p = int64_t(number) * int64_t(numerator);
    int64_t d = denominator;
    bool negative = (p < 0) != (d < 0);
    uint64_t ap = p < 0 ? uint64_t(-p) : uint64_t(p);
    uint64_t ad = d < 0 ? uint64_t(-d) : uint64_t(d);
    uint64_t q = (ap + ad / 2) / ad;
    if (q > uint64_t(std::numeric_limits<int32_t>::max())) return -1;
    return negative ? -int32_t(q) : int32_t(q);
}

ColorRef GetSysColor(int index)
{
    QPalette pal = QGuiApplication::palette();
    QColor c;
    switch (index) {
    case 3: c = pal.color(QPalette::Inactive, QPalette::Highlight); break;
    case 5: c = pal.color(QPalette::Active, QPalette::Base); break;
    case 19: c = pal.color(QPalette::Inactive, QPalette::HighlightedText); break;
    default: return 0;
    }
    return RGB(c.red(), c.green(), c.blue());
}

// ---- the context's own state ----

DeviceContext::DeviceContext(int logPixelsY)
    : pen_(gdi::StockPen()), brush_(gdi::StockBrush()), font_(gdi::StockFont()),
      logPixelsY_(logPixelsY > 0 ? logPixelsY : 96)
{
    gdi::Selected(pen_);
    gdi::Selected(brush_);
    gdi::Selected(font_);
}

DeviceContext::~DeviceContext()
{
    gdi::Deselected(pen_);
    gdi::Deselected(brush_);
    gdi::Deselected(font_);
    gdi::Deselected(bitmap_);
}

GdiObject DeviceContext::SelectObject(GdiObject object)
{
    Entry* e = gdi::Find(object);
    if (!e) return 0;
    GdiObject* slot = nullptr;
    switch (e->info.kind) {
    case GdiKind::Pen: slot = &pen_; penChanged_ = true; break;
    case GdiKind::Brush: slot = &brush_; brushChanged_ = true; break;
    case GdiKind::Font: slot = &font_; fontChanged_ = true; break;
    case GdiKind::Bitmap:
        if (object == bitmap_) return object;
        if (!e->info.stock && e->selected > 0) return 0;  // in another context
        if (!AcceptBitmap(object)) return 0;
        slot = &bitmap_;
        break;
    case GdiKind::None: return 0;
    }
    GdiObject previous = *slot;
    if (previous == object) return previous;
    ++e->selected;
    *slot = object;
    gdi::Deselected(previous);
    return previous;
}

int DeviceContext::SetROP2(int mode)
{
    if (mode != R2_XORPEN && mode != R2_COPYPEN) return 0;
    int previous = rop2_;
    rop2_ = mode;
    return previous;
}

int DeviceContext::SetBkMode(int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    int previous = bkMode_;
    bkMode_ = mode;
    return previous;
}

ColorRef DeviceContext::SetTextColor(ColorRef colour)
{
    ColorRef previous = textColour_;
    textColour_ = colour & 0xFFFFFF;
    return previous;
}

QPoint DeviceContext::SetViewportOrgEx(int x, int y)
{
    QPoint previous = origin_;
    origin_ = QPoint(x, y);
    return previous;
}

QPoint DeviceContext::MoveToEx(int x, int y)
{
    QPoint previous = position_;
    position_ = QPoint(x, y);
    return previous;
}

int DeviceContext::GetDeviceCaps(int index) const
{
    return index == LOGPIXELSX || index == LOGPIXELSY ? logPixelsY_ : 0;
}

QSize DeviceContext::GetTextExtentPoint32A(const QString& text) const
{
    Entry* e = gdi::Find(font_);
    if (!e || !e->metrics) return QSize();
    return QSize(text.isEmpty() ? 0 : e->metrics->horizontalAdvance(text), e->metrics->height());
}

std::unique_ptr<DeviceContext> CreateCompatibleDC(const DeviceContext* dc)
{
    return std::make_unique<ImageDc>(dc ? dc->LogPixelsY() : 96);
}

bool DeleteDC(std::unique_ptr<DeviceContext>& dc)
{
    if (!dc) return false;
    dc.reset();
    return true;
}

bool BitBlt(DeviceContext& target, int x, int y, int w, int h, const DeviceContext& source, int sx,
            int sy, uint32_t rop)
{
    if (rop != SRCCOPY) return false;
    const QImage* image = source.Surface();
    if (!image) return false;
    if (w <= 0 || h <= 0) return true;
    // The source rectangle in the source's own device coordinates.
    QRect from(sx + source.origin_.x(), sy + source.origin_.y(), w, h);
    target.DrawSurface(x, y, *image, from);
    return true;
}

}  // namespace dorv
