#include "ItemCompiler.h"

#include "platform/ByteIO.h"
#include "platform/Rounding.h"
#include "scene/ShapeStream.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace ItemTool {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kIso = 0.866025404;  // cos 30°, as the 3D view projects
constexpr double kEps = 1e-9;

struct V3 {
    double x = 0, y = 0, z = 0;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator*(V3 a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Unit(V3 a)
{
    const double l = std::sqrt(Dot(a, a));
    return l > kEps ? a * (1.0 / l) : V3{0, 0, 1};
}

struct Face {
    std::vector<V3> pts;
    V3 normal;
    bool smooth = false;  // part of a curved surface: no edge lines inside it
};

struct Aabb {
    V3 lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
    void add(V3 p)
    {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    V3 centre() const { return (lo + hi) * 0.5; }
};

// One solid ready to draw, in item units (already turned for a view).
struct Mesh {
    std::vector<Face> faces;
    bool sphere = false;
    V3 centre;     // sphere
    double r = 0;  // sphere
    int32_t rgb = 0;
    Aabb box;
    bool hasSmooth() const
    {
        return std::any_of(faces.begin(), faces.end(), [](const Face& f) { return f.smooth; });
    }
};

// ---- colours ---------------------------------------------------------------

int32_t Scale(int32_t rgb, double f)
{
    int32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c = std::clamp(dorv::RoundHalfEven(((rgb >> shift) & 0xFF) * f), 0, 255);
        out |= c << shift;
    }
    return out;
}

// Mixes towards white by t (0 keeps the colour, 1 gives white).
int32_t Lighten(int32_t rgb, double t)
{
    int32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const double c = (rgb >> shift) & 0xFF;
        out |= std::clamp(dorv::RoundHalfEven(c + (255 - c) * t), 0, 255) << shift;
    }
    return out;
}

int32_t Word(int32_t rgb) { return Shapes::ColourToShiftedLong(rgb); }
int32_t EdgeColour(int32_t rgb) { return Scale(rgb, 0.45); }

// Light for the 3D pictures: tops brightest, fronts a little darker, right
// sides darker still, so a box reads as solid even in a small palette cell.
double IsoShade(V3 n) { return std::clamp(0.72 + 0.28 * n.z - 0.10 * n.y - 0.07 * n.x, 0.45, 1.0); }
// The straight-on front picture: surfaces facing the viewer keep their colour.
double FrontShade(V3 n) { return std::clamp(0.80 - 0.20 * n.y + 0.08 * n.z - 0.05 * n.x, 0.5, 1.0); }

// ---- solids to faces (centimetres, the item's own frame) -------------------

void OrientOutward(Face& f, V3 inside)
{
    // Newell's normal, turned to point away from the solid's inside.
    V3 n;
    V3 c;
    const size_t k = f.pts.size();
    for (size_t i = 0; i < k; ++i) {
        const V3 a = f.pts[i], b = f.pts[(i + 1) % k];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
        c = c + a;
    }
    c = c * (1.0 / static_cast<double>(k));
    n = Unit(n);
    if (Dot(n, c - inside) < 0) n = n * -1.0;
    f.normal = n;
}

// Drops repeated corners; a face left with fewer than three is no face.
bool CleanFace(Face& f)
{
    std::vector<V3> out;
    for (const V3& p : f.pts) {
        if (!out.empty()) {
            const V3 d = p - out.back();
            if (Dot(d, d) < 1e-12) continue;
        }
        out.push_back(p);
    }
    while (out.size() > 1) {
        const V3 d = out.front() - out.back();
        if (Dot(d, d) >= 1e-12) break;
        out.pop_back();
    }
    f.pts = out;
    return f.pts.size() >= 3;
}

void AddFace(Mesh& m, std::vector<V3> pts, V3 inside, bool smooth = false)
{
    Face f;
    f.pts = std::move(pts);
    f.smooth = smooth;
    if (!CleanFace(f)) return;
    OrientOutward(f, inside);
    m.faces.push_back(f);
}

int Segments(double r) { return r >= 20 ? 32 : r >= 6 ? 24 : 16; }

Mesh BuildMesh(const Solid& s)
{
    Mesh m;
    m.rgb = s.rgb;
    switch (s.kind) {
    case Solid::Box:
    case Solid::Wedge: {
        // Corner heights: a box is flat on top, a wedge slopes down from its
        // high side to the low height at the opposite side.
        auto top = [&](double x, double y) {
            if (s.kind == Solid::Box) return s.z1;
            double t = 0;  // 1 at the high side, 0 at the low side
            switch (s.side) {
            case 'n': t = (y - s.y0) / (s.y1 - s.y0); break;
            case 's': t = (s.y1 - y) / (s.y1 - s.y0); break;
            case 'e': t = (x - s.x0) / (s.x1 - s.x0); break;
            default: t = (s.x1 - x) / (s.x1 - s.x0); break;
            }
            return s.zLow + (s.z1 - s.zLow) * t;
        };
        const double xs[2] = {s.x0, s.x1}, ys[2] = {s.y0, s.y1};
        V3 b[4], t[4];  // corners anticlockwise from (x0, y0)
        const int order[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i) {
            const double x = xs[order[i][0]], y = ys[order[i][1]];
            b[i] = {x, y, s.z0};
            t[i] = {x, y, top(x, y)};
        }
        V3 inside;  // the corners' average lies inside a convex solid
        for (int i = 0; i < 4; ++i) inside = inside + (b[i] + t[i]) * 0.125;
        AddFace(m, {b[0], b[1], b[2], b[3]}, inside);
        AddFace(m, {t[0], t[1], t[2], t[3]}, inside);
        for (int i = 0; i < 4; ++i) {
            const int j = (i + 1) % 4;
            AddFace(m, {b[i], b[j], t[j], t[i]}, inside);
        }
        break;
    }
    case Solid::Cylinder: {
        const int n = Segments(std::max(s.r, s.rTop));
        std::vector<V3> bottom, top;
        for (int i = 0; i < n; ++i) {
            const double a = 2 * kPi * i / n;
            bottom.push_back({s.cx + s.r * std::cos(a), s.cy + s.r * std::sin(a), s.z0});
            top.push_back({s.cx + s.rTop * std::cos(a), s.cy + s.rTop * std::sin(a), s.z1});
        }
        const V3 inside{s.cx, s.cy, (s.z0 + s.z1) / 2};
        AddFace(m, bottom, inside);
        if (s.rTop > 0) AddFace(m, top, inside);
        for (int i = 0; i < n; ++i) {
            const int j = (i + 1) % n;
            AddFace(m, {bottom[i], bottom[j], top[j], top[i]}, inside, true);
        }
        break;
    }
    case Solid::Ball:
        m.sphere = true;
        m.centre = {s.cx, s.cy, s.cz};
        m.r = s.r;
        break;
    case Solid::Flat:
    case Solid::Disc: {
        std::vector<V3> pts;
        if (s.kind == Solid::Flat) {
            for (const Point2& p : s.points) pts.push_back({p.a, p.b, s.level});
        } else {
            const int n = Segments(s.r);
            for (int i = 0; i < n; ++i) {
                const double a = 2 * kPi * i / n;
                pts.push_back({s.cx + s.r * std::cos(a), s.cy + s.r * std::sin(a), s.level});
            }
        }
        AddFace(m, pts, {pts[0].x, pts[0].y, s.level - 1});  // faces up
        break;
    }
    case Solid::Panel:
    case Solid::Dial: {
        std::vector<V3> pts;
        if (s.kind == Solid::Panel) {
            for (const Point2& p : s.points) pts.push_back({p.a, s.level, p.b});
        } else {
            const int n = Segments(s.r);
            for (int i = 0; i < n; ++i) {
                const double a = 2 * kPi * i / n;
                pts.push_back({s.cx + s.r * std::cos(a), s.level, s.cz + s.r * std::sin(a)});
            }
        }
        AddFace(m, pts, {pts[0].x, s.level + 1, pts[0].z});  // faces the front
        break;
    }
    }
    return m;
}

// ---- turning and scaling ---------------------------------------------------

// Item frame (cm) to the frame of view `quarter` (units): turned anticlockwise
// by quarter x 90° and moved back so that the footprint starts at (0, 0).
struct Turn {
    int quarter = 0;
    double w = 0, d = 0;  // footprint in units, unturned
    V3 point(V3 p) const
    {
        const double x = p.x * kUnitsPerCm, y = p.y * kUnitsPerCm, z = p.z * kUnitsPerCm;
        switch (quarter & 3) {
        case 1: return {d - y, x, z};
        case 2: return {w - x, d - y, z};
        case 3: return {y, w - x, z};
        default: return {x, y, z};
        }
    }
    V3 direction(V3 n) const
    {
        switch (quarter & 3) {
        case 1: return {-n.y, n.x, n.z};
        case 2: return {-n.x, -n.y, n.z};
        case 3: return {n.y, -n.x, n.z};
        default: return n;
        }
    }
};

Mesh TurnMesh(const Mesh& src, const Turn& t)
{
    Mesh m = src;
    m.box = Aabb();
    for (Face& f : m.faces) {
        for (V3& p : f.pts) {
            p = t.point(p);
            m.box.add(p);
        }
        f.normal = t.direction(f.normal);
    }
    if (m.sphere) {
        m.centre = t.point(src.centre);
        m.r = src.r * kUnitsPerCm;
        m.box.add(m.centre - V3{m.r, m.r, m.r});
        m.box.add(m.centre + V3{m.r, m.r, m.r});
    }
    return m;
}

// ---- record writing --------------------------------------------------------

using Poly = std::vector<std::array<int32_t, 2>>;

struct Writer {
    std::vector<int32_t> w;

    void setBox(size_t at, const Shapes::Box& b)
    {
        w[at + 2] = b.minX;
        w[at + 3] = b.minY;
        w[at + 4] = b.maxX;
        w[at + 5] = b.maxY;
    }

    // A shape of one or more closed polygons. Polygons that collapse to fewer
    // than three distinct points are left out; a shape left empty is not written.
    void shape(int32_t fill, int32_t line, const std::vector<Poly>& polys)
    {
        std::vector<Poly> kept;
        for (const Poly& p : polys) {
            Poly q;
            for (const auto& pt : p)
                if (q.empty() || pt != q.back()) q.push_back(pt);
            while (q.size() > 1 && q.front() == q.back()) q.pop_back();
            if (q.size() >= 3) kept.push_back(q);
        }
        if (kept.empty()) return;
        const size_t at = w.size();
        w.insert(w.end(), {Shapes::kShape, 0, 0, 0, 0, 0, fill, line, Shapes::kShapeWord8, Shapes::kShapeWord9});
        Shapes::Box b;
        bool any = false;
        for (const Poly& p : kept) {
            for (size_t i = 0; i < p.size(); ++i) {
                w.insert(w.end(), {i == 0 ? 2 : 8, p[i][0], p[i][1]});
                Shapes::Extend(b, any, {p[i][0], p[i][1], p[i][0], p[i][1]});
            }
            w.push_back(5);  // close
        }
        w.push_back(0);  // end of the path
        w[at + 1] = static_cast<int32_t>((w.size() - at) * 4);
        setBox(at, b);
    }

    size_t beginGroup()
    {
        const size_t at = w.size();
        w.insert(w.end(), {Shapes::kGroup, 0, 0, 0, 0, 0, 0x20202020, 0x20202020, 0x20202020});
        return at;
    }

    // Closes a group: its length covers its children, its box is theirs
    // together with `frame`.
    void endGroup(size_t at, const Shapes::Box& frame)
    {
        Shapes::Box b = frame;
        bool any = true;
        for (size_t i = at + Shapes::kGroupHeaderWords; i < w.size(); i += static_cast<size_t>(w[i + 1] / 4))
            Shapes::Extend(b, any, {w[i + 2], w[i + 3], w[i + 4], w[i + 5]});
        w[at + 1] = static_cast<int32_t>((w.size() - at) * 4);
        setBox(at, b);
    }

    void quad(int32_t fill, int32_t line, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
    {
        shape(fill, line, {{{x2, y2}, {x1, y2}, {x1, y1}, {x2, y1}}});
    }
};

int32_t R(double v) { return dorv::RoundHalfEven(v); }

// ---- projections -----------------------------------------------------------

// Isometric: whole-number x, y, z first, as the room builder projects.
std::array<int32_t, 2> Iso(V3 p)
{
    const double x = R(p.x), y = R(p.y), z = R(p.z);
    return {R((x + y) * kIso), R((y - x) * 0.5 + z)};
}
std::array<int32_t, 2> Plan(V3 p) { return {R(p.x), R(p.y)}; }
std::array<int32_t, 2> Front(V3 p) { return {R(p.x), R(p.z)}; }

// Convex hull (anticlockwise) of whole-number points.
Poly Hull(Poly pts)
{
    std::sort(pts.begin(), pts.end());
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    if (pts.size() < 3) return pts;
    auto cross = [](const std::array<int32_t, 2>& o, const std::array<int32_t, 2>& a, const std::array<int32_t, 2>& b) {
        return static_cast<double>(a[0] - o[0]) * (b[1] - o[1]) - static_cast<double>(a[1] - o[1]) * (b[0] - o[0]);
    };
    Poly h(2 * pts.size());
    size_t k = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross(h[k - 2], h[k - 1], pts[i]) <= 0) --k;
        h[k++] = pts[i];
    }
    for (size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross(h[k - 2], h[k - 1], pts[i - 1]) <= 0) --k;
        h[k++] = pts[i - 1];
    }
    h.resize(k - 1);
    return h;
}

// Points on a sphere, enough for its outline to look round.
std::vector<V3> SpherePoints(V3 c, double r)
{
    std::vector<V3> out;
    for (int i = 0; i <= 12; ++i) {
        const double lat = kPi * i / 12 - kPi / 2;
        for (int j = 0; j < 32; ++j) {
            const double lon = 2 * kPi * j / 32;
            out.push_back({c.x + r * std::cos(lat) * std::cos(lon), c.y + r * std::cos(lat) * std::sin(lon),
                           c.z + r * std::sin(lat)});
        }
    }
    return out;
}

template <typename Project>
Poly ProjectHull(const std::vector<V3>& pts, Project project)
{
    Poly p;
    for (const V3& v : pts) p.push_back(project(v));
    return Hull(p);
}

std::vector<V3> AllPoints(const Mesh& m)
{
    std::vector<V3> pts;
    for (const Face& f : m.faces) pts.insert(pts.end(), f.pts.begin(), f.pts.end());
    return pts;
}

// ---- back-to-front ordering ------------------------------------------------

// Orders the meshes so that each is drawn after every mesh it may hide.
// `behind(a, b)` is +1 when a lies wholly behind b, -1 when b lies behind a,
// 0 when neither can be told from their boxes; overlapping pictures with no
// such answer fall back to `depth` (larger is nearer).
template <typename Behind, typename Depth, typename ScreenBox>
std::vector<size_t> BackToFront(const std::vector<Mesh>& meshes, Behind behind, Depth depth, ScreenBox screen)
{
    const size_t n = meshes.size();
    std::vector<std::vector<size_t>> after(n);  // after[a]: meshes drawn after a
    std::vector<int> pending(n, 0);
    std::vector<std::array<double, 4>> boxes(n);
    for (size_t i = 0; i < n; ++i) boxes[i] = screen(meshes[i]);
    for (size_t a = 0; a < n; ++a)
        for (size_t b = a + 1; b < n; ++b) {
            const auto& A = boxes[a];
            const auto& B = boxes[b];
            if (A[2] <= B[0] || B[2] <= A[0] || A[3] <= B[1] || B[3] <= A[1]) continue;  // pictures apart
            int rel = behind(meshes[a], meshes[b]);
            if (rel == 0) {
                const double da = depth(meshes[a]), db = depth(meshes[b]);
                rel = da < db ? 1 : da > db ? -1 : 0;
            }
            if (rel > 0) {
                after[a].push_back(b);
                ++pending[b];
            } else if (rel < 0) {
                after[b].push_back(a);
                ++pending[a];
            }
        }
    // Kahn's walk; among the meshes free to go, the farthest first, and a
    // cycle (only possible with solids that cut into each other) is broken
    // at its farthest mesh.
    std::vector<size_t> order;
    std::vector<bool> done(n, false);
    while (order.size() < n) {
        size_t pick = n;
        for (size_t i = 0; i < n; ++i)
            if (!done[i] && pending[i] == 0 && (pick == n || depth(meshes[i]) < depth(meshes[pick]))) pick = i;
        if (pick == n)
            for (size_t i = 0; i < n; ++i)
                if (!done[i] && (pick == n || depth(meshes[i]) < depth(meshes[pick]))) pick = i;
        done[pick] = true;
        order.push_back(pick);
        for (size_t b : after[pick])
            if (pending[b] > 0) --pending[b];
    }
    return order;
}

constexpr double kTouch = 1.0;  // units: boxes this close count as touching

// The 3D view looks along (-1, 1, -1): west, north and low lie behind.
int IsoBehind(const Mesh& a, const Mesh& b)
{
    if (a.box.hi.x <= b.box.lo.x + kTouch) return 1;
    if (b.box.hi.x <= a.box.lo.x + kTouch) return -1;
    if (a.box.lo.y >= b.box.hi.y - kTouch) return 1;
    if (b.box.lo.y >= a.box.hi.y - kTouch) return -1;
    if (a.box.hi.z <= b.box.lo.z + kTouch) return 1;
    if (b.box.hi.z <= a.box.lo.z + kTouch) return -1;
    return 0;
}
double IsoDepth(const Mesh& m)
{
    const V3 c = m.box.centre();
    return c.x - c.y + c.z;
}
std::array<double, 4> IsoScreen(const Mesh& m)
{
    const V3& l = m.box.lo;
    const V3& h = m.box.hi;
    return {(l.x + l.y) * kIso, (l.y - h.x) * 0.5 + l.z, (h.x + h.y) * kIso, (h.y - l.x) * 0.5 + h.z};
}

// The front picture looks north: the far side (larger y) lies behind.
int FrontBehind(const Mesh& a, const Mesh& b)
{
    if (a.box.lo.y >= b.box.hi.y - kTouch) return 1;
    if (b.box.lo.y >= a.box.hi.y - kTouch) return -1;
    return 0;
}
double FrontDepth(const Mesh& m) { return -m.box.centre().y; }
std::array<double, 4> FrontScreen(const Mesh& m) { return {m.box.lo.x, m.box.lo.z, m.box.hi.x, m.box.hi.z}; }

// ---- the three pictures ----------------------------------------------------

void DrawPlan(Writer& out, const std::vector<Mesh>& meshes)
{
    // From above the highest surface wins: lower solids first.
    std::vector<size_t> order(meshes.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return meshes[a].box.hi.z < meshes[b].box.hi.z; });
    for (size_t i : order) {
        const Mesh& m = meshes[i];
        if (m.sphere) {
            out.shape(Word(m.rgb), Word(EdgeColour(m.rgb)), {ProjectHull(SpherePoints(m.centre, m.r), Plan)});
            const V3 glint = m.centre + V3{-0.3 * m.r, 0.3 * m.r, 0};
            out.shape(Word(Lighten(m.rgb, 0.35)), -1, {ProjectHull(SpherePoints(glint, 0.35 * m.r), Plan)});
            continue;
        }
        // The outline seen from above, in the colour of the uppermost face.
        const Face* up = nullptr;
        for (const Face& f : m.faces)
            if (f.normal.z > 0.2 && (!up || f.normal.z > up->normal.z)) up = &f;
        if (!up) continue;  // upright flat shapes have no area from above
        const int32_t fill = Scale(m.rgb, IsoShade(up->normal) / IsoShade({0, 0, 1}));
        out.shape(Word(fill), Word(EdgeColour(m.rgb)), {ProjectHull(AllPoints(m), Plan)});
    }
}

template <typename Project, typename Shade>
void DrawFaces(Writer& out, const Mesh& m, V3 toViewer, Project project, Shade shade)
{
    std::vector<const Face*> visible;
    for (const Face& f : m.faces)
        if (Dot(f.normal, toViewer) > 1e-6) visible.push_back(&f);
    for (const Face* f : visible) {
        const int32_t fill = Scale(m.rgb, shade(f->normal));
        Poly p;
        for (const V3& v : f->pts) p.push_back(project(v));
        // Strips of a curved surface are outlined in their own colour, so
        // that no seam shows between them; flat faces get dark edges.
        out.shape(Word(fill), Word(f->smooth ? fill : EdgeColour(m.rgb)), {p});
    }
    if (m.hasSmooth() && !visible.empty()) {
        out.shape(-1, Word(EdgeColour(m.rgb)), {ProjectHull(AllPoints(m), project)});
        for (const Face* f : visible)
            if (!f->smooth) {
                Poly p;
                for (const V3& v : f->pts) p.push_back(project(v));
                out.shape(-1, Word(EdgeColour(m.rgb)), {p});
            }
    }
}

template <typename Project>
void DrawSphere(Writer& out, const Mesh& m, V3 light, Project project)
{
    out.shape(Word(Scale(m.rgb, 0.9)), Word(EdgeColour(m.rgb)), {ProjectHull(SpherePoints(m.centre, m.r), project)});
    out.shape(Word(m.rgb), -1, {ProjectHull(SpherePoints(m.centre + light * (0.25 * m.r), 0.7 * m.r), project)});
    out.shape(Word(Lighten(m.rgb, 0.4)), -1,
              {ProjectHull(SpherePoints(m.centre + light * (0.55 * m.r), 0.3 * m.r), project)});
}

void DrawIso(Writer& out, const std::vector<Mesh>& meshes)
{
    const V3 toViewer{1, -1, 1};
    for (size_t i : BackToFront(meshes, IsoBehind, IsoDepth, IsoScreen)) {
        if (meshes[i].sphere)
            DrawSphere(out, meshes[i], Unit({-0.2, -0.55, 0.81}), Iso);
        else
            DrawFaces(out, meshes[i], toViewer, Iso, IsoShade);
    }
}

void DrawFront(Writer& out, const std::vector<Mesh>& meshes)
{
    const V3 toViewer{0, -1, 0};
    for (size_t i : BackToFront(meshes, FrontBehind, FrontDepth, FrontScreen)) {
        if (meshes[i].sphere)
            DrawSphere(out, meshes[i], Unit({-0.4, -0.6, 0.7}), Front);
        else
            DrawFaces(out, meshes[i], toViewer, Front, FrontShade);
    }
}

}  // namespace

std::vector<int32_t> CompileItem(const ItemSource& item)
{
    const double wu = item.width * kUnitsPerCm, du = item.depth * kUnitsPerCm, hu = item.height * kUnitsPerCm;
    const int32_t W = R(wu), D = R(du), H = R(hu);

    std::vector<Mesh> meshes;
    for (const Solid& s : item.solids) meshes.push_back(BuildMesh(s));

    Writer out;
    out.w = {kHeaderSignature,
             kHeaderVersion,
             item.views,
             item.flags,
             static_cast<int32_t>(item.priceCents),
             W,
             D,
             H,
             0,
             0};
    // Height marker, then the footprint carrying flags and price.
    out.quad(-1, -1, 0, 0, W, H);
    out.quad(Word(item.flags & 0xFFFFFF), Word(static_cast<int32_t>(item.priceCents)), 0, 0, W, D);

    const int turns = item.isWall() ? 4 : item.views;
    for (int v = 0; v < item.views; ++v) {
        const bool frontView = item.isWall() && v == 4;
        Turn t;
        t.quarter = frontView ? 0 : v * 4 / turns;
        t.w = wu;
        t.d = du;
        std::vector<Mesh> turned;
        for (const Mesh& m : meshes) turned.push_back(TurnMesh(m, t));
        const bool across = (t.quarter & 1) != 0;
        const int32_t pw = across ? D : W, pd = across ? W : D;

        const size_t plan = out.beginGroup();
        if (frontView)
            DrawFront(out, turned);
        else
            DrawPlan(out, turned);
        out.endGroup(plan, frontView ? Shapes::Box{0, 0, W, H} : Shapes::Box{0, 0, pw, pd});

        // The 3D group's box is the picture of the whole item box, so that its
        // lower-left corner is the picture of the footprint's lower-left.
        const size_t iso = out.beginGroup();
        DrawIso(out, turned);
        Shapes::Box frame;
        frame.minX = Iso({0, 0, 0})[0];
        frame.minY = Iso({static_cast<double>(pw), 0, 0})[1];
        frame.maxX = Iso({static_cast<double>(pw), static_cast<double>(pd), 0})[0];
        frame.maxY = Iso({0, static_cast<double>(pd), static_cast<double>(H)})[1];
        out.endGroup(iso, frame);
    }
    return out.w;
}

namespace {

// ---- the VRML model ----------------------------------------------------------

QByteArray Num(double v)
{
    QByteArray t = QByteArray::number(v, 'f', 4);
    while (t.endsWith('0')) t.chop(1);
    if (t.endsWith('.')) t.chop(1);
    return t == "-0" ? QByteArray("0") : t;
}

QByteArray Rgb(int32_t rgb, double k)
{
    return Num((rgb & 0xFF) / 255.0 * k) + ' ' + Num(((rgb >> 8) & 0xFF) / 255.0 * k) + ' ' +
           Num(((rgb >> 16) & 0xFF) / 255.0 * k);
}

// The world lights its scenes with one light from above and the front; a
// little of the colour glows by itself so that the sides it misses keep it.
QByteArray VrmlAppearance(int32_t rgb)
{
    return "appearance Appearance { material Material { diffuseColor " + Rgb(rgb, 1.0) + " emissiveColor " +
           Rgb(rgb, 0.35) + " } }";
}

}  // namespace

QByteArray ItemVrmlModel(const ItemSource& item, const QString& name)
{
    const double w = item.width, d = item.depth;
    // Item centimetres to model metres: centred over the footprint, the
    // item's back (larger y) away from the viewer (smaller z).
    const auto point = [&](V3 p) { return Num((p.x - w / 2) / 100) + ' ' + Num(p.z / 100) + ' ' + Num((d / 2 - p.y) / 100); };
    QByteArray out = "#VRML V2.0 utf8\n# " + name.toUtf8() + ", a Dorv item: " + Num(w) + " x " + Num(d) + " x " +
                     Num(item.height) + " cm\n\nGroup { children [\n";
    for (const Solid& s : item.solids) {
        Mesh m = BuildMesh(s);
        if (m.sphere) {
            out += "  Transform { translation " + point(m.centre) + " children Shape {\n    " + VrmlAppearance(m.rgb) +
                   "\n    geometry Sphere { radius " + Num(m.r / 100) + " } } }\n";
            continue;
        }
        const bool flat = s.kind == Solid::Flat || s.kind == Solid::Disc || s.kind == Solid::Panel || s.kind == Solid::Dial;
        // A flat shape lying on a face of a solid would flicker with it:
        // it stands a millimetre proud of its level, towards where it faces.
        const V3 proud = s.kind == Solid::Flat || s.kind == Solid::Disc ? V3{0, 0, 0.1}
                         : flat                                         ? V3{0, -0.1, 0}
                                                                        : V3{};
        QByteArray points, faces;
        int next = 0;
        for (Face f : m.faces) {
            // Corners counterclockwise seen from outside, as VRML reads them.
            V3 n;
            for (size_t i = 0; i < f.pts.size(); ++i) {
                const V3 a = f.pts[i], b = f.pts[(i + 1) % f.pts.size()];
                n.x += (a.y - b.y) * (a.z + b.z);
                n.y += (a.z - b.z) * (a.x + b.x);
                n.z += (a.x - b.x) * (a.y + b.y);
            }
            if (Dot(n, f.normal) < 0) std::reverse(f.pts.begin(), f.pts.end());
            for (const V3& p : f.pts) {
                points += "      " + point(p + proud) + ",\n";
                faces += QByteArray::number(next++) + ' ';
            }
            faces += "-1,\n      ";
        }
        if (next == 0) continue;
        out += "  Shape {\n    " + VrmlAppearance(m.rgb) + "\n    geometry IndexedFaceSet {\n      solid " +
               (flat ? "FALSE" : "TRUE") + " creaseAngle " + (m.hasSmooth() ? "0.8" : "0") +
               "\n      coord Coordinate { point [\n" + points + "      ] }\n      coordIndex [\n      " +
               faces.trimmed() + "\n      ]\n    }\n  }\n";
    }
    out += "] }\n";
    return out;
}

QByteArray ItemFileBytes(const std::vector<int32_t>& words)
{
    dorv::ByteWriter w;
    for (int32_t v : words) w.i32(v);
    return w.data();
}

}  // namespace ItemTool
