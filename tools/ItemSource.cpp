#include "ItemSource.h"

#include "platform/Rounding.h"

#include <QHash>
#include <QList>

#include <cctype>
#include <cmath>

namespace ItemTool {

namespace {

constexpr double kEps = 0.001;
constexpr double kMaxLength = 100000.0;  // 1 km: far beyond any furniture
constexpr int64_t kMaxPriceCents = 0xFFFFFF;  // what the footprint word can carry

struct Parser {
    QHash<QByteArray, int32_t> colours;
    ItemSource* item = nullptr;
    int lineNo = 0;
    QString error;
    bool haveSize = false, havePrice = false;

    bool fail(const QString& what)
    {
        error = QStringLiteral("line %1: %2").arg(lineNo).arg(what);
        return false;
    }

    bool number(const QByteArray& word, double& v)
    {
        bool ok = false;
        v = word.toDouble(&ok);
        if (!ok || !std::isfinite(v) || std::fabs(v) > kMaxLength)
            return fail(QStringLiteral("\"%1\" is not a number").arg(QString::fromLatin1(word)));
        return true;
    }

    bool numbers(const QList<QByteArray>& w, int from, int count, double* out)
    {
        for (int i = 0; i < count; ++i)
            if (!number(w[from + i], out[i])) return false;
        return true;
    }

    static bool hexColour(const QByteArray& word, int32_t& rgb)
    {
        if (word.size() != 7 || word[0] != '#') return false;
        bool ok = false;
        const uint v = word.mid(1).toUInt(&ok, 16);
        if (!ok) return false;
        // #RRGGBB to the program's colour value: red in the low byte.
        rgb = static_cast<int32_t>(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
        return true;
    }

    bool colour(const QByteArray& word, int32_t& rgb)
    {
        if (hexColour(word, rgb)) return true;
        auto it = colours.constFind(word.toLower());
        if (it == colours.constEnd())
            return fail(QStringLiteral("unknown colour \"%1\"").arg(QString::fromLatin1(word)));
        rgb = *it;
        return true;
    }

    bool inside(double v, double limit, const char* what)
    {
        if (v < -kEps || v > limit + kEps)
            return fail(QStringLiteral("%1 %2 lies outside the item (0 to %3)")
                            .arg(QLatin1String(what))
                            .arg(v)
                            .arg(limit));
        return true;
    }
    bool insideX(double v) { return inside(v, item->width, "x"); }
    bool insideY(double v) { return inside(v, item->depth, "y"); }
    bool insideZ(double v) { return inside(v, item->height, "z"); }

    bool ordered(double a, double b, const char* axis)
    {
        if (b - a < kEps)
            return fail(QStringLiteral("the %1 range is empty or reversed").arg(QLatin1String(axis)));
        return true;
    }

    bool needSize()
    {
        if (!haveSize) return fail(QStringLiteral("\"size\" must come before the first solid"));
        return true;
    }

    // Lifts every solid by dz and the item's top with them.
    void raise(double dz)
    {
        for (Solid& s : item->solids) {
            s.z0 += dz, s.z1 += dz, s.zLow += dz, s.cz += dz;
            if (s.kind == Solid::Flat || s.kind == Solid::Disc) s.level += dz;
            if (s.kind == Solid::Panel)
                for (Point2& p : s.points) p.b += dz;
        }
        item->height += dz;
    }

    bool statement(const QList<QByteArray>& w);
    bool solid(const QList<QByteArray>& w);
    bool finish();
};

bool Parser::statement(const QList<QByteArray>& w)
{
    const QByteArray key = w[0].toLower();
    if (key == "size") {
        if (w.size() != 4) return fail(QStringLiteral("size takes width, depth and height"));
        double v[3];
        if (!numbers(w, 1, 3, v)) return false;
        for (double x : v)
            if (x <= 0) return fail(QStringLiteral("sizes must be above 0"));
        item->width = v[0];
        item->depth = v[1];
        item->height = v[2];
        haveSize = true;
        return true;
    }
    if (key == "price") {
        double v = 0;
        if (w.size() != 2 || !number(w[1], v)) return fail(QStringLiteral("price takes one amount"));
        // Checked before rounding: the rounding helper clamps to 32 bits.
        const int64_t cents = v < 0 || v * 100.0 > kMaxPriceCents ? -1 : dorv::RoundHalfEven(v * 100.0);
        if (cents < 0 || cents > kMaxPriceCents)
            return fail(QStringLiteral("price must lie between 0 and 167772.15"));
        item->priceCents = cents;
        havePrice = true;
        return true;
    }
    if (key == "flags") {
        for (int i = 1; i < w.size(); ++i) {
            const QByteArray f = w[i].toLower();
            if (f == "stacks")
                item->flags |= kFlagStacks;
            else if (f == "wall")
                item->flags |= kFlagWall;
            else if (f == "infront")
                item->flags |= kFlagInFront;
            else
                return fail(QStringLiteral("unknown flag \"%1\"").arg(QString::fromLatin1(w[i])));
        }
        return true;
    }
    if (key == "views") {
        bool ok = false;
        const int v = w.size() == 2 ? w[1].toInt(&ok) : 0;
        if (!ok || (v != 1 && v != 2 && v != 4 && v != 5))
            return fail(QStringLiteral("views must be 1, 2 or 4 (5 for wall items)"));
        item->views = v;
        return true;
    }
    if (key == "mount") {
        double v = 0;
        if (w.size() != 2 || !number(w[1], v) || v < 0) return fail(QStringLiteral("mount takes one height of 0 or more"));
        item->mount = v;
        return true;
    }
    if (key == "colour" || key == "color") {
        int32_t rgb = 0;
        if (w.size() != 3 || !hexColour(w[2], rgb))
            return fail(QStringLiteral("colour takes a name and #RRGGBB"));
        if (w[1].startsWith('#')) return fail(QStringLiteral("a colour name cannot start with #"));
        colours.insert(w[1].toLower(), rgb);
        return true;
    }
    return solid(w);
}

bool Parser::solid(const QList<QByteArray>& w)
{
    const QByteArray key = w[0].toLower();
    Solid s;
    s.line = lineNo;
    const int n = w.size() - 2;  // numbers between the keyword and the colour
    static const QList<QByteArray> kSolids = {"box", "wedge", "cylinder", "ball", "disc", "dial", "flat", "panel"};
    if (!kSolids.contains(key))
        return fail(QStringLiteral("unknown statement \"%1\"").arg(QString::fromLatin1(w[0])));
    if (w.size() < 2) return fail(QStringLiteral("%1 needs its measures and a colour").arg(QString::fromLatin1(key)));
    if (!needSize()) return false;

    if (key == "box" || key == "wedge") {
        const bool wedge = key == "wedge";
        if (!wedge && n != 6) return fail(QStringLiteral("box takes x0 y0 z0 x1 y1 z1 and a colour"));
        if (wedge && n != 7 && n != 8)
            return fail(QStringLiteral("wedge takes x0 y0 z0 x1 y1 z1, a side, maybe a low height, and a colour"));
        double v[6];
        if (!numbers(w, 1, 6, v)) return false;
        s.kind = wedge ? Solid::Wedge : Solid::Box;
        s.x0 = v[0], s.y0 = v[1], s.z0 = v[2], s.x1 = v[3], s.y1 = v[4], s.z1 = v[5];
        if (!ordered(s.x0, s.x1, "x") || !ordered(s.y0, s.y1, "y") || !ordered(s.z0, s.z1, "z")) return false;
        if (!insideX(s.x0) || !insideX(s.x1) || !insideY(s.y0) || !insideY(s.y1) || !insideZ(s.z0) ||
            !insideZ(s.z1))
            return false;
        if (wedge) {
            const QByteArray side = w[7].toLower();
            if (side != "n" && side != "s" && side != "e" && side != "w")
                return fail(QStringLiteral("the wedge's high side must be n, s, e or w"));
            s.side = side[0];
            s.zLow = s.z0;
            if (n == 8) {
                if (!number(w[8], s.zLow)) return false;
                if (s.zLow < s.z0 || s.zLow >= s.z1)
                    return fail(QStringLiteral("the wedge's low height must lie from z0 up to below z1"));
            }
        }
    } else if (key == "cylinder") {
        if (n != 5 && n != 6) return fail(QStringLiteral("cylinder takes cx cy z0 z1 r, maybe a top radius, and a colour"));
        double v[6] = {0, 0, 0, 0, 0, 0};
        if (!numbers(w, 1, n, v)) return false;
        s.kind = Solid::Cylinder;
        s.cx = v[0], s.cy = v[1], s.z0 = v[2], s.z1 = v[3], s.r = v[4];
        s.rTop = n == 6 ? v[5] : v[4];
        if (s.r <= 0 || s.rTop < 0) return fail(QStringLiteral("the radius must be above 0"));
        const double rMax = std::max(s.r, s.rTop);
        if (!ordered(s.z0, s.z1, "z") || !insideX(s.cx - rMax) || !insideX(s.cx + rMax) ||
            !insideY(s.cy - rMax) || !insideY(s.cy + rMax) || !insideZ(s.z0) || !insideZ(s.z1))
            return false;
    } else if (key == "ball") {
        if (n != 4) return fail(QStringLiteral("ball takes cx cy cz r and a colour"));
        double v[4];
        if (!numbers(w, 1, 4, v)) return false;
        s.kind = Solid::Ball;
        s.cx = v[0], s.cy = v[1], s.cz = v[2], s.r = v[3];
        if (s.r <= 0) return fail(QStringLiteral("the radius must be above 0"));
        if (!insideX(s.cx - s.r) || !insideX(s.cx + s.r) || !insideY(s.cy - s.r) || !insideY(s.cy + s.r) ||
            !insideZ(s.cz - s.r) || !insideZ(s.cz + s.r))
            return false;
    } else if (key == "disc" || key == "dial") {
        if (n != 4) return fail(QStringLiteral("%1 takes a level, a centre, a radius and a colour").arg(QString::fromLatin1(key)));
        double v[4];
        if (!numbers(w, 1, 4, v)) return false;
        s.kind = key == "disc" ? Solid::Disc : Solid::Dial;
        s.level = v[0], s.cx = v[1], s.r = v[3];
        if (s.r <= 0) return fail(QStringLiteral("the radius must be above 0"));
        if (s.kind == Solid::Disc) {
            s.cy = v[2];
            if (!insideZ(s.level) || !insideX(s.cx - s.r) || !insideX(s.cx + s.r) || !insideY(s.cy - s.r) ||
                !insideY(s.cy + s.r))
                return false;
        } else {
            s.cz = v[2];
            if (!insideY(s.level) || !insideX(s.cx - s.r) || !insideX(s.cx + s.r) || !insideZ(s.cz - s.r) ||
                !insideZ(s.cz + s.r))
                return false;
        }
    } else if (key == "flat" || key == "panel") {
        if (n < 7 || n % 2 == 0)
            return fail(QStringLiteral("%1 takes a level, at least three points and a colour").arg(QString::fromLatin1(key)));
        s.kind = key == "flat" ? Solid::Flat : Solid::Panel;
        if (!number(w[1], s.level)) return false;
        if (s.kind == Solid::Flat ? !insideZ(s.level) : !insideY(s.level)) return false;
        for (int i = 2; i + 1 < w.size() - 1; i += 2) {
            Point2 p;
            if (!number(w[i], p.a) || !number(w[i + 1], p.b)) return false;
            if (!insideX(p.a)) return false;
            if (s.kind == Solid::Flat ? !insideY(p.b) : !insideZ(p.b)) return false;
            s.points.push_back(p);
        }
    } else {
        return fail(QStringLiteral("unknown statement \"%1\"").arg(QString::fromLatin1(w[0])));
    }
    if (!colour(w.last(), s.rgb)) return false;
    item->solids.push_back(s);
    return true;
}

bool Parser::finish()
{
    if (!haveSize) return fail(QStringLiteral("the item has no size"));
    if (!havePrice) return fail(QStringLiteral("the item has no price"));
    if (item->solids.empty()) return fail(QStringLiteral("the item has no solids"));
    if (item->isWall()) {
        if (item->views != 0 && item->views != 5)
            return fail(QStringLiteral("a wall item always has 5 views"));
        if (item->flags & kFlagStacks) return fail(QStringLiteral("a wall item cannot stack"));
        item->views = 5;
        raise(item->mount);
    } else {
        if (item->mount != 0) return fail(QStringLiteral("only wall items are mounted"));
        if (item->views == 5) return fail(QStringLiteral("only wall items have 5 views"));
        if (item->views == 0) item->views = 4;
    }
    return true;
}

}  // namespace

bool ParseItemSource(const QByteArray& text, ItemSource& out, QString* error)
{
    out = ItemSource();
    Parser p;
    p.item = &out;
    // A few plain colours every item may use without defining them.
    const struct {
        const char* name;
        const char* hex;
    } builtIn[] = {{"white", "#FFFFFF"}, {"black", "#202020"}, {"grey", "#9A9A9A"},  {"red", "#D83A34"},
                   {"green", "#4CA64C"}, {"blue", "#3A6FD8"},  {"yellow", "#F2CC30"}, {"orange", "#F08A24"},
                   {"brown", "#8A5A32"}, {"pink", "#F29AB8"},  {"purple", "#8A5AC8"}, {"glass", "#BFE3F2"}};
    for (const auto& c : builtIn) {
        int32_t rgb = 0;
        Parser::hexColour(c.hex, rgb);
        p.colours.insert(c.name, rgb);
    }

    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& raw : lines) {
        ++p.lineNo;
        QByteArray line = raw;
        const int hash = line.indexOf('#');
        // "#" starts a comment unless it begins a colour (#RRGGBB).
        for (int i = hash; i >= 0; i = line.indexOf('#', i + 1)) {
            const bool colourWord = (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t') && i + 7 <= line.size() &&
                                    (i + 7 == line.size() || line[i + 7] == ' ' || line[i + 7] == '\t' || line[i + 7] == '\r');
            bool hex = colourWord;
            for (int k = 1; hex && k <= 6; ++k) hex = std::isxdigit(static_cast<unsigned char>(line[i + k])) != 0;
            if (!hex) {
                line.truncate(i);
                break;
            }
        }
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.isEmpty() || words[0].isEmpty()) continue;
        if (!p.statement(words)) {
            if (error) *error = p.error;
            return false;
        }
    }
    if (!p.finish()) {
        if (error) *error = p.error;
        return false;
    }
    return true;
}

}  // namespace ItemTool
