#pragma once
// The readable description of one furniture item, as written in content/
// (*.item) and turned into an item file by dorv-itemc.
//
// One statement per line; "#" starts a comment. Lengths are centimetres in
// the item's own frame: x runs from its left side (0) to its right (width),
// y from its front (0) to its back (depth), z up from the floor (0) to its
// height. The front faces the viewer of the 3D view in the first view; a
// wall item's back (y = depth) lies against the wall. The colour is always
// the last word of a solid: a name set by `colour` or #RRGGBB.
//
//   size W D H                       width, depth, height (cm)
//   price 45.00                      in the base currency
//   flags stacks wall infront        any of them; none for plain floor items
//                                    (every item file also carries the flag
//                                    that marks an item read from a file)
//   views 1 | 2 | 4                  rotations (floor items; wall items get 5)
//   mount Z                          wall items: hangs with its bottom Z cm
//                                    above the floor. The solids are written
//                                    in the item's own frame as above and
//                                    raised by Z; the item then counts from
//                                    the floor up (its height is Z + H), so
//                                    that its pictures stand at that height
//                                    where the program places wall items, on
//                                    the floor line.
//   colour NAME #RRGGBB
//   box x0 y0 z0 x1 y1 z1 C          an upright block
//   cylinder cx cy z0 z1 r [rtop] C  upright, round; rtop 0 makes a cone
//   wedge x0 y0 z0 x1 y1 z1 SIDE [zlow] C
//                                    a block whose top slopes down from z1 at
//                                    SIDE (n, s, e or w) to zlow (default z0)
//                                    at the opposite side
//   ball cx cy cz r C                a sphere
//   flat z x y x y x y ... C         a flat horizontal shape (rugs, paper)
//   disc z cx cy r C                 a flat horizontal circle
//   panel y x z x z x z ... C        a flat upright shape facing the front
//   dial y cx cz r C                 a flat upright circle facing the front

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace ItemTool {

struct Point2 {
    double a = 0, b = 0;
};

struct Solid {
    enum Kind { Box, Cylinder, Wedge, Ball, Flat, Disc, Panel, Dial } kind = Box;
    double x0 = 0, y0 = 0, z0 = 0, x1 = 0, y1 = 0, z1 = 0;  // Box, Wedge
    double cx = 0, cy = 0, cz = 0, r = 0, rTop = 0;          // round solids
    char side = 'n';                                         // Wedge: high side
    double zLow = 0;                                         // Wedge: low edge
    double level = 0;                  // Flat, Disc: z; Panel, Dial: y
    std::vector<Point2> points;        // Flat: (x, y); Panel: (x, z)
    int32_t rgb = 0;                   // red in the low byte
    int line = 0;                      // source line, for messages
};

// Item flags as the loader reads them.
enum : int32_t {
    kFlagStacks = 0x1,
    kFlagFromFile = 0x2,
    kFlagWall = 0x4,
    kFlagInFront = 0x8,
};

struct ItemSource {
    double width = 0, depth = 0, height = 0;  // cm
    int64_t priceCents = 0;
    int32_t flags = kFlagFromFile;
    int views = 0;  // after parsing: 1, 2 or 4, or 5 for a wall item
    double mount = 0;  // cm; after parsing, `height` and the solids include it
    std::vector<Solid> solids;
    bool isWall() const { return (flags & kFlagWall) != 0; }
};

// Parses a description. On failure returns false with "line N: what" in
// *error; `out` is then unspecified.
bool ParseItemSource(const QByteArray& text, ItemSource& out, QString* error);

}  // namespace ItemTool
