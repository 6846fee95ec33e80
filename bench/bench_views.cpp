// Rendering the plan and the 3D view of a room furnished with 100, 1000 and
// 5000 of the shipped items on a 1280 x 800 canvas, against drawing the very
// same polygons (recorded from one render) with QPainter directly. Prints the
// ratio of the two for each scene, measured in the same run.
#include "platform/AppInfo.h"
#include "platform/PainterDc.h"
#include "platform/RecordingDc.h"
#include "scene/ItemCatalogue.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneState.h"
#include "scene/Stacking.h"
#include "scene/WindowPort.h"
#include "views/ViewRender.h"

#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace {
constexpr int kWidth = 1280, kHeight = 800;
constexpr float kRoomMetres = 12;

struct Port : WindowPort {
    QSizeF CanvasSize() override { return {kWidth, kHeight}; }
};

QColor ToQColor(dorv::ColorRef c) { return QColor(c & 255, (c >> 8) & 255, (c >> 16) & 255); }

// One drawing call of a render, as QPainter draws it.
struct Op {
    enum Kind { Fill, Line, Box } kind = Fill;
    QColor colour;
    int width = 1;
    std::vector<QPoint> points;
    std::vector<int32_t> counts;
};

// The floor items of the shipped content, loaded once.
std::vector<ItemRecord>& Catalogue()
{
    static std::vector<ItemRecord> items = [] {
        std::vector<ItemRecord> v;
        QDirIterator it(dorv::AppPath() + QStringLiteral("/Environments"), {QStringLiteral("*.dvo")}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList files;
        while (it.hasNext()) files << it.next();
        files.sort();
        for (const QString& f : files) {
            ItemRecord item;
            if (FileMod::LoadItemDefinition(G.CatalogueShapes, G.CatalogueShapeCount, f, item) &&
                !(item.Flags & kItemOnWall))
                v.push_back(item);
        }
        return v;
    }();
    return items;
}

// Makes G a 12 x 12 m room holding `n` items at random places and turns,
// ordered for the 3D view, and returns the calls of one render of `mode`.
std::vector<Op> BuildScene(int n, int16_t mode)
{
    static int built = -1;
    const std::vector<ItemRecord>& catalogue = Catalogue();
    if (built != n) {
        const ShapeStream catalogueShapes = G.CatalogueShapes;
        const int32_t catalogueCount = G.CatalogueShapeCount;
        G = SceneState();
        G.CatalogueShapes = catalogueShapes;
        G.CatalogueShapeCount = catalogueCount;
        G.FloorColour = 0x70A0C8;
        G.WallColour = 0xD0E4F8;
        G.BackgroundColour = 0xFFFFFF;
        G.PlanScale = G.IsoScale = G.WallScale = 1.0f / 700;
        G.IsoPanX = G.IsoPanY = 0;
        G.CanvasCentreX = kWidth / 2.0f;
        G.CanvasCentreY = kHeight / 2.0f;
        CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, kRoomMetres, kRoomMetres, 2.5f,
                                     G.FloorColour, G.WallColour);
        std::mt19937 random(11);
        const float half = kRoomMetres * 36288 / 2 * 0.9f;
        std::uniform_real_distribution<float> where(-half, half);
        for (int k = 0; k < n && !catalogue.empty(); ++k) {
            ItemRecord item = catalogue[random() % catalogue.size()];
            Shapes::CopyItemRun(G.CatalogueShapes, G.CatalogueShapeCount, item, G.SceneShapes, G.SceneShapeCount);
            item.X = where(random);
            item.Y = where(random);
            item.ViewIndex = static_cast<int16_t>(random() % std::max<int16_t>(1, item.ViewCount));
            G.PlacedItems.push_back(item);
            ++G.PlacedItemCount;
        }
        FileMod::BuildOrderedItemList(G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.ViewList,
                                      G.ViewListCount);
        built = n;
    }

    // What one render draws, with the colours and widths in force.
    dorv::RecordingDc rec;
    G.ViewMode = mode;
    DrawMod::RenderView(mode, rec);
    std::unordered_map<dorv::GdiObject, dorv::GdiObjectInfo> objects;
    dorv::GdiObjectInfo pen, brush;
    std::vector<Op> ops;
    for (const dorv::DcCall& c : rec.Calls()) {
        switch (c.op) {
        case dorv::DcOp::CreatePen:
        case dorv::DcOp::CreateSolidBrush: objects[c.object] = dorv::DescribeGdiObject(c.object); break;
        case dorv::DcOp::SelectObject: {
            const auto it = objects.find(c.object);
            if (it == objects.end()) break;
            (it->second.kind == dorv::GdiKind::Pen ? pen : brush) = it->second;
            break;
        }
        case dorv::DcOp::PolyPolygon:
            ops.push_back({Op::Fill, ToQColor(brush.colour), 1, c.points, c.counts});
            break;
        case dorv::DcOp::PolyPolyline:
            ops.push_back({Op::Line, ToQColor(pen.colour), pen.width, c.points, c.counts});
            break;
        case dorv::DcOp::Rectangle:
            ops.push_back({Op::Box, ToQColor(brush.colour), 1, {QPoint(c.a, c.b), QPoint(c.c, c.d)}, {}});
            break;
        default: break;
        }
    }
    return ops;
}

void BM_RenderView(benchmark::State& state)
{
    const int16_t mode = static_cast<int16_t>(state.range(0));
    BuildScene(static_cast<int>(state.range(1)), mode);
    if (Catalogue().empty()) {
        state.SkipWithError("no item files in the content folder");
        return;
    }
    G.ViewMode = mode;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    dorv::ImageDc dc(&image, 96);
    for (auto _ : state) {
        DrawMod::RenderView(mode, dc);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["items"] = static_cast<double>(G.PlacedItemCount - G.Room.FirstRealItem);
}

void BM_QPainterSamePolygons(benchmark::State& state)
{
    const std::vector<Op> ops = BuildScene(static_cast<int>(state.range(1)), static_cast<int16_t>(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    for (auto _ : state) {
        for (const Op& op : ops) {
            const QPoint* part = op.points.data();
            switch (op.kind) {
            case Op::Box:
                painter.fillRect(QRect(op.points[0], op.points[1]), op.colour);
                break;
            case Op::Fill:
                painter.setPen(Qt::NoPen);
                painter.setBrush(op.colour);
                for (int32_t k : op.counts) {
                    painter.drawPolygon(part, k, Qt::OddEvenFill);
                    part += k;
                }
                break;
            case Op::Line:
                painter.setPen(QPen(op.colour, op.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                for (int32_t k : op.counts) {
                    painter.drawPolyline(part, k);
                    part += k;
                }
                break;
            }
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["calls"] = static_cast<double>(ops.size());
}


}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    Port port;
    SetWindows(&port);
    // Each render right beside its QPainter baseline, so that both see the
    // same load on the machine; three rounds of the pairs, the fastest of
    // each kept, so that a burst of load on a shared machine moves neither.
    for (int n : {100, 1000, 5000})
        for (int round = 0; round < 3; ++round)
            for (int mode : {0, 1}) {
                benchmark::RegisterBenchmark("BM_RenderView", BM_RenderView)
                    ->Args({mode, n})
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(0.3);
                benchmark::RegisterBenchmark("BM_QPainterSamePolygons", BM_QPainterSamePolygons)
                    ->Args({mode, n})
                    ->Unit(benchmark::kMillisecond)
                    ->MinTime(0.3);
            }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (int mode : {0, 1})
        for (int n : {100, 1000, 5000}) {
            const std::string args = std::to_string(mode) + "/" + std::to_string(n);
            const double ours = reporter.best["BM_RenderView/" + args];
            const double direct = reporter.best["BM_QPainterSamePolygons/" + args];
            if (ours > 0 && direct > 0)
                std::printf("%s, %5d items: render / QPainter = %.2f\n", mode == 0 ? "plan" : "3D  ", n,
                            ours / direct);
        }
    SetWindows(nullptr);
    benchmark::Shutdown();
    return 0;
}
