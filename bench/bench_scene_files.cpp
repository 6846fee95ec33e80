// Opening and saving scenes of 1,000 and 10,000 placed items (the shipped
// items, placed at random) through the scene-file reader and writer, against
// reading and writing the very same bytes with plain file I/O in the same
// run. Prints the ratio of the two for each size and direction.
#include "platform/AppInfo.h"
#include "scene/ItemCatalogue.h"
#include "scene/RoomGeometry.h"
#include "scene/SceneFile.h"
#include "scene/SceneState.h"

#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString ScenePath(int n) { return Folder().path() + QStringLiteral("/scene%1.dvp").arg(n); }
QString PlainPath(int n) { return Folder().path() + QStringLiteral("/plain%1.bin").arg(n); }

// Every item of the shipped content, loaded once.
const std::vector<ItemRecord>& Catalogue(ShapeStream& shapes, int32_t& count)
{
    static std::vector<ItemRecord> items;
    static ShapeStream catalogueShapes;
    static int32_t catalogueCount = 0;
    if (items.empty()) {
        QDirIterator it(dorv::AppPath() + QStringLiteral("/Environments"), {QStringLiteral("*.dvo")}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList files;
        while (it.hasNext()) files << it.next();
        files.sort();
        for (const QString& f : files) {
            ItemRecord item;
            if (FileMod::LoadItemDefinition(catalogueShapes, catalogueCount, f, item)) items.push_back(item);
        }
    }
    shapes = catalogueShapes;
    count = catalogueCount;
    return items;
}

// Makes G a 40 x 40 m room with `n` items at random places, as placing them
// from the palette leaves them (each with its own copy of its pictures).
void BuildScene(int n)
{
    static int built = -1;
    if (built == n) return;
    G = SceneState();
    ShapeStream shapes;
    int32_t count = 0;
    const std::vector<ItemRecord>& catalogue = Catalogue(shapes, count);
    CommonMod::BuildRoomGeometry(G.Room, G.PlacedItems, G.PlacedItemCount, 40, 40, 2.5f, 0x70A0C8, 0xD0E4F8);
    std::mt19937 random(5);
    std::uniform_real_distribution<float> where(-700000, 700000);
    for (int k = 0; k < n && !catalogue.empty(); ++k) {
        ItemRecord item = catalogue[random() % catalogue.size()];
        Shapes::CopyItemRun(shapes, count, item, G.SceneShapes, G.SceneShapeCount);
        item.X = where(random);
        item.Y = where(random);
        G.PlacedItems.push_back(item);
        ++G.PlacedItemCount;
    }
    built = n;
}

// The scene's file, written once by the writer, and the same bytes.
QByteArray SceneBytes(int n)
{
    BuildScene(n);
    QString path = ScenePath(n);
    if (!QFile::exists(path))
        FileMod::SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount, G.Room);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void BM_OpenScene(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const QByteArray bytes = SceneBytes(n);
    std::vector<ItemRecord> items;
    ShapeStream words;
    int32_t itemCount = 0, wordCount = 0;
    RoomRecord room;
    for (auto _ : state) {
        int16_t environment = 0;
        if (!FileMod::LoadSceneFile(ScenePath(n), items, itemCount, words, wordCount, room, environment)) {
            state.SkipWithError("the scene was refused");
            break;
        }
        benchmark::DoNotOptimize(items.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

void BM_ReadPlain(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const QByteArray bytes = SceneBytes(n);
    {
        QFile f(PlainPath(n));
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    }
    for (auto _ : state) {
        QFile f(PlainPath(n));
        if (!f.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot read");
            break;
        }
        const QByteArray read = f.readAll();
        benchmark::DoNotOptimize(read.constData());
    }
}

void BM_SaveScene(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    SceneBytes(n);
    for (auto _ : state) {
        QString path = ScenePath(n);
        if (!FileMod::SaveSceneFile(path, G.PlacedItems, G.PlacedItemCount, G.SceneShapes, G.SceneShapeCount,
                                    G.Room)) {
            state.SkipWithError("cannot save");
            break;
        }
    }
}

void BM_WritePlain(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const QByteArray bytes = SceneBytes(n);
    for (auto _ : state) {
        QFile f(PlainPath(n));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
            state.SkipWithError("cannot write");
            break;
        }
        f.close();
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    // Each scene operation right beside its plain baseline, in three rounds,
    // the fastest of each kept.
    for (int n : {1000, 10000})
        for (int round = 0; round < 3; ++round) {
            benchmark::RegisterBenchmark("BM_OpenScene", BM_OpenScene)->Arg(n)->Unit(benchmark::kMillisecond)->MinTime(0.3);
            benchmark::RegisterBenchmark("BM_ReadPlain", BM_ReadPlain)->Arg(n)->Unit(benchmark::kMillisecond)->MinTime(0.3);
            benchmark::RegisterBenchmark("BM_SaveScene", BM_SaveScene)->Arg(n)->Unit(benchmark::kMillisecond)->MinTime(0.3);
            benchmark::RegisterBenchmark("BM_WritePlain", BM_WritePlain)->Arg(n)->Unit(benchmark::kMillisecond)->MinTime(0.3);
        }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (int n : {1000, 10000}) {
        const std::string arg = "/" + std::to_string(n);
        const double open = reporter.best["BM_OpenScene" + arg], read = reporter.best["BM_ReadPlain" + arg];
        const double save = reporter.best["BM_SaveScene" + arg], write = reporter.best["BM_WritePlain" + arg];
        if (open > 0 && read > 0) std::printf("%5d items: open / plain read   = %.2f\n", n, open / read);
        if (save > 0 && write > 0) std::printf("%5d items: save / plain write = %.2f\n", n, save / write);
    }
    benchmark::Shutdown();
    return 0;
}
