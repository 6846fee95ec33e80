#include "ItemPreview.h"

#include "scene/ShapeStream.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ItemTool {

bool LoadItemWords(const QByteArray& bytes, LoadedItem& out, QString* error)
{
    out = LoadedItem();
    const int n = static_cast<int>(bytes.size() / 4);
    out.words.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData() + 4 * i);
        out.words[static_cast<size_t>(i)] =
            static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    }
    const Shapes::Table t = Shapes::Used(out.words, n);
    Shapes::RecordWalker walk(t, std::min(10, n), n);
    Shapes::Record r;
    while (walk.next(r))
        if (r.isGroup()) out.groups.push_back(r.index);
    if (out.groups.empty() || out.groups.size() % 2 != 0) {
        if (error) *error = QStringLiteral("the file holds %1 picture groups").arg(out.groups.size());
        return false;
    }
    return true;
}

namespace {

QColor ToQColor(int32_t word)
{
    const int32_t c = Shapes::ShiftedLongToColour(word);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void PaintRecords(QPainter& p, const Shapes::Table& t, Shapes::RecordWalker walk, const QTransform& m)
{
    Shapes::Record r;
    while (walk.next(r)) {
        if (r.isGroup()) {
            PaintRecords(p, t, Shapes::RecordWalker::Children(t, r), m);
            continue;
        }
        if (!r.isShape()) continue;
        const int32_t fill = Shapes::FillWord(t, r), line = Shapes::LineWord(t, r);
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        Shapes::PathReader reader(t, r);
        Shapes::PathOp op;
        QPointF start;
        while (reader.next(op)) {
            switch (op.kind) {
            case Shapes::PathOp::MoveTo:
                start = m.map(QPointF(op.p[0]));
                path.moveTo(start);
                break;
            case Shapes::PathOp::LineTo: path.lineTo(m.map(QPointF(op.p[0]))); break;
            case Shapes::PathOp::Close: path.lineTo(start); break;
            case Shapes::PathOp::Curve:
                path.cubicTo(m.map(QPointF(op.p[0])), m.map(QPointF(op.p[1])), m.map(QPointF(op.p[2])));
                break;
            }
        }
        if (fill != Shapes::kNoColour) p.fillPath(path, ToQColor(fill));
        if (line != Shapes::kNoColour) {
            p.setPen(QPen(ToQColor(line), 1.0));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        }
    }
}

}  // namespace

double PaintGroup(QPainter& p, const LoadedItem& item, int group, const QRectF& target, double unitsPerPixel)
{
    if (group < 0 || group >= static_cast<int>(item.groups.size())) return 0;
    const Shapes::Table t = Shapes::Used(item.words, static_cast<int32_t>(item.words.size()));
    Shapes::RecordWalker top(t, item.groups[static_cast<size_t>(group)], t.count);
    Shapes::Record g;
    if (!top.next(g) || !g.isGroup()) return 0;
    const Shapes::Box b = Shapes::RecordBox(t, g);
    const double w = std::max(1, b.maxX - b.minX), h = std::max(1, b.maxY - b.minY);
    const double s = unitsPerPixel > 0 ? 1.0 / unitsPerPixel : std::min(target.width() / w, target.height() / h);
    const double left = target.center().x() - w * s / 2, bottom = target.center().y() + h * s / 2;
    // y up inside the picture, down on the image.
    const QTransform m(s, 0, 0, -s, left - b.minX * s, bottom + b.minY * s);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    PaintRecords(p, t, Shapes::RecordWalker::Children(t, g), m);
    p.restore();
    return s;
}

}  // namespace ItemTool
