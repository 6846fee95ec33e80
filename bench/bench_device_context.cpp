// Drawing a few thousand item-sized polygons through a device context, as the
// picture engine does (a brush made, selected, used and freed per shape, the
// null pen), against the same polygons drawn with QPainter directly. Prints
// the ratio of the two, measured in the same run.
#include "platform/DeviceContext.h"
#include "platform/PainterDc.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include "RatioReporter.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace dorv;

namespace {

struct Shape {
    std::vector<QPoint> points;
    std::vector<int32_t> counts;
    ColorRef colour;
};

const std::vector<Shape>& shapes()
{
    static const std::vector<Shape> all = [] {
        std::vector<Shape> v;
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> x(0, 1180), y(0, 880), size(8, 40), sides(4, 12), parts(1, 2),
            colour(0, 0xFFFFFF);
        for (int i = 0; i < 4000; ++i) {
            Shape s;
            s.colour = colour(rng);
            int cx = x(rng), cy = y(rng), r = size(rng), n = sides(rng), p = parts(rng);
            for (int part = 0; part < p; ++part) {
                int radius = part == 0 ? r : r / 2;
                for (int k = 0; k < n; ++k) {
                    double a = 2 * M_PI * k / n;
                    s.points.emplace_back(cx + int(radius * std::cos(a)), cy + int(radius * std::sin(a)));
                }
                s.counts.push_back(n);
            }
            v.push_back(std::move(s));
        }
        return v;
    }();
    return all;
}

void BM_QPainterDirect(benchmark::State& state)
{
    QImage image(1200, 900, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(Qt::NoPen);
        for (const Shape& s : shapes()) {
            painter.setBrush(QColor(s.colour & 255, (s.colour >> 8) & 255, (s.colour >> 16) & 255));
            const QPoint* part = s.points.data();
            for (int32_t n : s.counts) {
                painter.drawPolygon(part, n, Qt::OddEvenFill);
                part += n;
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_DeviceContext(benchmark::State& state)
{
    QImage image(1200, 900, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        ImageDc dc(&image, 96);
        GdiObject nullPen = CreatePen(PS_NULL, 0, 0);
        GdiObject oldPen = dc.SelectObject(nullPen);
        for (const Shape& s : shapes()) {
            GdiObject brush = CreateSolidBrush(s.colour);
            GdiObject oldBrush = dc.SelectObject(brush);
            dc.PolyPolygon(s.points.data(), s.counts.data(), int(s.counts.size()));
            dc.SelectObject(oldBrush);
            DeleteObject(brush);
        }
        dc.SelectObject(oldPen);
        DeleteObject(nullPen);
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_QPainterDirect)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_DeviceContext)->Unit(benchmark::kMillisecond)->MinTime(0.5);


}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double direct = reporter.best["BM_QPainterDirect"], through = reporter.best["BM_DeviceContext"];
    if (direct > 0 && through > 0)
        std::printf("device context / QPainter: %.2f (%zu shapes, brush per shape, null pen)\n", through / direct,
                    shapes().size());
    benchmark::Shutdown();
    return 0;
}
