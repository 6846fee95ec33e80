#pragma once
// A plain QPainter preview of item files, for the build's own pictures (the
// group icons) and for checking compiled items by eye: it replays the
// records of a picture group as the picture engine does (shapes in stream
// order, alternate fill, outlines one pixel wide), fitted into a rectangle.

#include <QByteArray>
#include <QColor>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <vector>

class QPainter;

namespace ItemTool {

struct LoadedItem {
    std::vector<int32_t> words;
    std::vector<int32_t> groups;  // top-level group records, in file order
    int views() const { return static_cast<int>(groups.size() / 2); }
};

// Reads the words of an item file and finds its view groups. False (with a
// reason) when the file holds no even, non-zero number of groups.
bool LoadItemWords(const QByteArray& bytes, LoadedItem& out, QString* error);

// Draws top-level group `group` (2v: view v from above, 2v + 1: its 3D
// picture) centred in `target`, scaled to fit, y pointing up. `unitsPerPixel`
// above 0 fixes the scale instead; the scale used is returned.
double PaintGroup(QPainter& p, const LoadedItem& item, int group, const QRectF& target, double unitsPerPixel = 0);

}  // namespace ItemTool
