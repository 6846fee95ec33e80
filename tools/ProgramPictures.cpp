#include "ProgramPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace ItemTool {

namespace {

using Icon = std::function<void(QPainter&)>;  // draws into a 40 x 40 square

const QColor kInk(40, 44, 52);

QImage Blank(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A button face: a rounded tile, lit from the top left when raised and
// sunk (darker, lit from below, picture nudged down and right) when pressed.
// A disabled face is grey throughout.
enum class Face { Raised, Pressed, Disabled };

QImage DrawFace(const Icon& icon, Face face, int size = kFaceSize)
{
    QImage img = Blank(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF tile(1, 1, size - 2, size - 2);
    QLinearGradient g(tile.topLeft(), tile.bottomLeft());
    if (face == Face::Pressed) {
        g.setColorAt(0, QColor(170, 196, 226));
        g.setColorAt(1, QColor(206, 224, 244));
    } else if (face == Face::Disabled) {
        g.setColorAt(0, QColor(232, 232, 232));
        g.setColorAt(1, QColor(212, 212, 212));
    } else {
        g.setColorAt(0, QColor(252, 252, 255));
        g.setColorAt(1, QColor(220, 228, 240));
    }
    p.setPen(QPen(face == Face::Pressed ? QColor(60, 90, 140) : QColor(150, 160, 175), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(tile, 6, 6);
    p.translate(face == Face::Pressed ? 1.5 : 0, face == Face::Pressed ? 1.5 : 0);
    p.scale(size / 40.0, size / 40.0);
    icon(p);
    p.end();
    if (face == Face::Disabled) {
        // Washed-out grey: the button cannot be used now.
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = QColor::fromRgba(img.pixel(x, y));
                if (c.alpha() == 0) continue;
                const int grey = 150 + qGray(c.rgb()) * 95 / 255;
                img.setPixelColor(x, y, QColor(grey, grey, grey, c.alpha()));
            }
    }
    return img;
}

void Outline(QPainter& p, const QColor& fill, qreal width = 1.6)
{
    p.setPen(QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

// ---- the pictures on the faces ---------------------------------------------

void Cube(QPainter& p)
{
    const QPointF top(20, 7), left(8, 14), right(32, 14), mid(20, 21), bl(8, 28), br(32, 28), bottom(20, 35);
    Outline(p, QColor(255, 214, 90));
    p.drawPolygon(QPolygonF({top, right, mid, left}));
    Outline(p, QColor(90, 150, 230));
    p.drawPolygon(QPolygonF({left, mid, bottom, bl}));
    Outline(p, QColor(220, 80, 70));
    p.drawPolygon(QPolygonF({mid, right, br, bottom}));
}

void PlanIcon(QPainter& p)
{
    Outline(p, QColor(236, 216, 170));
    p.drawRect(QRectF(7, 7, 26, 26));
    Outline(p, QColor(90, 150, 230), 1.2);
    p.drawRect(QRectF(10, 10, 10, 7));
    Outline(p, QColor(220, 80, 70), 1.2);
    p.drawRect(QRectF(23, 20, 7, 10));
    Outline(p, QColor(90, 180, 90), 1.2);
    p.drawEllipse(QPointF(14, 26), 3.5, 3.5);
}

void WallIcon(QPainter& p)
{
    Outline(p, QColor(250, 228, 190));
    p.drawRect(QRectF(6, 8, 28, 24));
    Outline(p, QColor(170, 215, 245), 1.2);
    p.drawRect(QRectF(10, 12, 9, 9));
    p.drawLine(QPointF(14.5, 12), QPointF(14.5, 21));
    Outline(p, QColor(180, 120, 64), 1.2);
    p.drawRect(QRectF(23, 16, 8, 16));
    Outline(p, QColor(120, 190, 100), 1.0);
    p.drawRect(QRectF(6, 32, 28, 2));
}

void SheetIcon(QPainter& p)
{
    Outline(p, Qt::white);
    p.drawRect(QRectF(6, 8, 28, 24));
    p.fillRect(QRectF(6.8, 8.8, 26.4, 5.5), QColor(120, 180, 240));
    p.setPen(QPen(kInk, 1.0));
    for (qreal y : {14.5, 20.5, 26.5}) p.drawLine(QPointF(6, y), QPointF(34, y));
    for (qreal x : {15.0, 25.0}) p.drawLine(QPointF(x, 8), QPointF(x, 32));
}

void GraphIcon(QPainter& p)
{
    Outline(p, QColor(220, 80, 70), 1.2);
    p.drawRect(QRectF(9, 20, 6, 13));
    Outline(p, QColor(255, 200, 60), 1.2);
    p.drawRect(QRectF(17, 11, 6, 22));
    Outline(p, QColor(90, 150, 230), 1.2);
    p.drawRect(QRectF(25, 16, 6, 17));
    p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 7), QPointF(6, 34));
    p.drawLine(QPointF(6, 34), QPointF(35, 34));
}

// The chart kinds of the graph panel, flat and in 3D.
void PieChartIcon(QPainter& p, bool in3D)
{
    const QRectF top = in3D ? QRectF(5, 9, 30, 16) : QRectF(6, 6, 28, 28);
    if (in3D) {
        // The front of the pie below its top.
        QPainterPath side;
        side.moveTo(5, 17);
        side.arcTo(QRectF(5, 17, 30, 16), 180, 180);
        side.lineTo(35, 17);
        side.arcTo(top, 0, -180);
        side.closeSubpath();
        Outline(p, QColor(150, 40, 40), 1.2);
        p.drawPath(side);
    }
    const QColor slices[] = {QColor(230, 40, 40), QColor(255, 140, 0), QColor(250, 220, 40), QColor(60, 200, 120)};
    const int spans[] = {150, 90, 70, 50};
    int start = 0;
    for (int i = 0; i < 4; ++i) {
        Outline(p, slices[i], 1.2);
        p.drawPie(top, start * 16, spans[i] * 16);
        start += spans[i];
    }
}

void BarChartIcon(QPainter& p, bool in3D)
{
    const QColor c[] = {QColor(230, 40, 40), QColor(255, 140, 0), QColor(60, 140, 230)};
    const qreal h[] = {14, 24, 18};
    for (int i = 0; i < 3; ++i) {
        const QRectF bar(8 + i * 9, 33 - h[i], 7, h[i]);
        if (in3D) {
            QPolygonF side;
            side << bar.topLeft() << bar.topLeft() + QPointF(3, -3) << bar.topRight() + QPointF(3, -3)
                 << bar.bottomRight() + QPointF(3, -3) << bar.bottomRight() << bar.topRight();
            Outline(p, c[i].darker(170), 1.0);
            p.drawPolygon(side);
        }
        Outline(p, c[i], 1.0);
        p.drawRect(bar);
    }
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 34), QPointF(35, 34));
}

void PictogramIcon(QPainter& p, bool in3D)
{
    // Two columns of little people.
    const int counts[] = {2, 3};
    const QColor c[] = {QColor(120, 160, 240), QColor(250, 190, 120)};
    for (int col = 0; col < 2; ++col) {
        const qreal x = 8 + col * 14;
        if (in3D) {
            Outline(p, c[col].darker(130), 1.0);
            p.drawRect(QRectF(x + 3, 33 - counts[col] * 9 - 3, 11, counts[col] * 9));
        }
        Outline(p, c[col].lighter(115), 1.0);
        p.drawRect(QRectF(x, 33 - counts[col] * 9, 11, counts[col] * 9));
        for (int k = 0; k < counts[col]; ++k) {
            const qreal y = 33 - (k + 1) * 9;
            Outline(p, QColor(250, 220, 180), 0.9);
            p.drawEllipse(QRectF(x + 3.5, y + 1, 4, 4));
            Outline(p, QColor(70, 110, 190), 0.9);
            p.drawRoundedRect(QRectF(x + 2.5, y + 5, 6, 3.5), 1.5, 1.5);
        }
    }
}

void LineChartIcon(QPainter& p, bool area)
{
    const QPointF pts[] = {{8, 26}, {16, 14}, {24, 20}, {32, 9}};
    if (area) {
        QPolygonF poly;
        for (const QPointF& pt : pts) poly << pt;
        poly << QPointF(32, 33) << QPointF(8, 33);
        Outline(p, QColor(230, 40, 40), 1.6);
        p.setPen(QPen(QColor(70, 60, 130), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolygon(poly);
    } else {
        p.setPen(QPen(QColor(70, 60, 130), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(pts, 4);
    }
    p.setPen(QPen(kInk, 0.8));
    p.setBrush(QColor(255, 230, 0));
    for (const QPointF& pt : pts) p.drawEllipse(pt, 2.4, 2.4);
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 34), QPointF(35, 34));
}

void ColoursIcon(QPainter& p)
{
    QPainterPath pal;
    pal.addEllipse(QRectF(5, 8, 30, 25));
    QPainterPath hole;
    hole.addEllipse(QRectF(24, 22, 6, 6));
    Outline(p, QColor(230, 196, 140));
    p.drawPath(pal.subtracted(hole));
    const QColor blobs[] = {QColor(220, 60, 60), QColor(255, 210, 50), QColor(60, 170, 80), QColor(60, 110, 220)};
    const QPointF at[] = {{12, 15}, {20, 12}, {28, 15}, {12, 24}};
    for (int i = 0; i < 4; ++i) {
        Outline(p, blobs[i], 1.0);
        p.drawEllipse(at[i], 3.2, 3.2);
    }
}

void GroupsIcon(QPainter& p)
{
    const QColor c[] = {QColor(220, 80, 70), QColor(90, 150, 230), QColor(90, 180, 90), QColor(255, 200, 60)};
    for (int i = 0; i < 4; ++i) {
        Outline(p, c[i], 1.3);
        p.drawRoundedRect(QRectF(7 + (i % 2) * 14, 7 + (i / 2) * 14, 12, 12), 2, 2);
    }
}

// Money: a stack of coins; the front coin carries the currency's sign when
// there is one.
void CoinsIcon(QPainter& p, const QString& sign, qreal scale = 1.0)
{
    p.save();
    p.scale(scale, scale);
    Outline(p, QColor(240, 190, 60), 1.3);
    for (int i = 0; i < 3; ++i) p.drawEllipse(QRectF(5, 26 - i * 5, 18, 8));
    p.drawEllipse(QRectF(15, 10, 20, 20));
    p.setPen(QPen(QColor(150, 100, 20), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(18, 13, 14, 14));
    if (!sign.isEmpty()) {
        QFont f(QStringLiteral("Arial"));
        f.setBold(true);
        f.setPixelSize(13);
        p.setFont(f);
        p.setPen(QColor(120, 70, 10));
        p.drawText(QRectF(15, 10, 20, 20), Qt::AlignCenter, sign);
    }
    p.restore();
}

void HouseIcon(QPainter& p, bool plus)
{
    Outline(p, QColor(255, 225, 140));
    p.drawRect(QRectF(9, 18, 20, 16));
    Outline(p, QColor(220, 80, 70));
    p.drawPolygon(QPolygonF({QPointF(5, 19), QPointF(19, 7), QPointF(33, 19)}));
    Outline(p, QColor(180, 120, 64), 1.2);
    p.drawRect(QRectF(16, 25, 6, 9));
    if (plus) {
        Outline(p, QColor(80, 190, 90), 1.2);
        p.drawEllipse(QPointF(31, 30), 6.5, 6.5);
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(27.5, 30), QPointF(34.5, 30));
        p.drawLine(QPointF(31, 26.5), QPointF(31, 33.5));
    }
}

// The room from above with one wall marked (0 north, 1 west, 2 south,
// 3 east; -1 none) and an arrow that turns.
void RotateWallIcon(QPainter& p, int wall)
{
    Outline(p, QColor(236, 216, 170), 1.2);
    p.drawRect(QRectF(11, 11, 18, 18));
    if (wall >= 0) {
        const QLineF side[] = {{11, 11, 29, 11}, {11, 11, 11, 29}, {11, 29, 29, 29}, {29, 11, 29, 29}};
        p.setPen(QPen(QColor(220, 60, 60), 4.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(side[wall]);
    }
    p.setPen(QPen(QColor(50, 110, 210), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 32, 32), 20 * 16, 250 * 16);
    p.setBrush(QColor(50, 110, 210));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(33, 6), QPointF(36.5, 17), QPointF(26, 14)}));
}

void Magnifier(QPainter& p, int sign)  // +1 zoom in, -1 zoom out, 0 fit
{
    p.setPen(QPen(kInk, 4.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(24, 24), QPointF(34, 34));
    Outline(p, QColor(210, 235, 250), 2.2);
    p.drawEllipse(QPointF(17, 17), 10, 10);
    p.setPen(QPen(QColor(40, 90, 180), 2.6, Qt::SolidLine, Qt::RoundCap));
    if (sign != 0) p.drawLine(QPointF(12, 17), QPointF(22, 17));
    if (sign > 0) p.drawLine(QPointF(17, 12), QPointF(17, 22));
    if (sign == 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(40, 90, 180), 1.8));
        p.drawRect(QRectF(12, 12.5, 10, 9));
    }
}

void PriceTag(QPainter& p, const QString& sign)
{
    Outline(p, QColor(255, 236, 150), 1.5);
    p.drawPolygon(QPolygonF({QPointF(5, 14), QPointF(14, 6), QPointF(35, 6), QPointF(35, 24), QPointF(14, 24)}));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(12, 15), 2, 2);
    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(13);
    p.setFont(f);
    p.setPen(QColor(150, 60, 20));
    p.drawText(QRectF(16, 6, 19, 18), Qt::AlignCenter, sign.isEmpty() ? QStringLiteral("123") : sign);
    p.setPen(QPen(kInk, 1.3));
    p.setBrush(QColor(240, 190, 60));
    p.drawEllipse(QRectF(7, 27, 10, 7));
    p.drawEllipse(QRectF(19, 27, 10, 7));
}

// ---- tool strip ----------------------------------------------------------

void PageIcon(QPainter& p, QPointF at, const QColor& fill)
{
    Outline(p, fill, 1.4);
    p.drawPolygon(QPolygonF({at, at + QPointF(15, 0), at + QPointF(21, 6), at + QPointF(21, 26), at + QPointF(0, 26)}));
}

void OpenIcon(QPainter& p)
{
    Outline(p, QColor(240, 200, 90));
    p.drawPolygon(QPolygonF({QPointF(5, 10), QPointF(15, 10), QPointF(18, 13), QPointF(33, 13), QPointF(33, 32), QPointF(5, 32)}));
    Outline(p, QColor(255, 225, 130));
    p.drawPolygon(QPolygonF({QPointF(5, 32), QPointF(10, 19), QPointF(37, 19), QPointF(33, 32)}));
}

void SaveIcon(QPainter& p)
{
    Outline(p, QColor(90, 150, 230));
    p.drawRoundedRect(QRectF(6, 22, 28, 12), 2, 2);
    p.setPen(QPen(QColor(50, 160, 70), 4.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 5), QPointF(20, 21));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 160, 70));
    p.drawPolygon(QPolygonF({QPointF(12, 16), QPointF(28, 16), QPointF(20, 25)}));
}

void PasteIcon(QPainter& p)
{
    Outline(p, QColor(200, 150, 90));
    p.drawRoundedRect(QRectF(7, 7, 22, 28), 2, 2);
    Outline(p, QColor(160, 166, 176), 1.2);
    p.drawRect(QRectF(13, 4, 10, 6));
    PageIcon(p, {17, 14}, Qt::white);
}

void CopyIcon(QPainter& p)
{
    PageIcon(p, {6, 5}, QColor(230, 236, 246));
    PageIcon(p, {14, 11}, Qt::white);
}

void CutIcon(QPainter& p)
{
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 5), QPointF(25, 26));
    p.drawLine(QPointF(28, 5), QPointF(15, 26));
    Outline(p, QColor(220, 80, 70), 2.0);
    p.drawEllipse(QPointF(13, 30), 5, 5);
    p.drawEllipse(QPointF(27, 30), 5, 5);
}

void PrintIcon(QPainter& p)
{
    PageIcon(p, {12, 4}, Qt::white);
    Outline(p, QColor(150, 160, 175));
    p.drawRoundedRect(QRectF(5, 15, 30, 14), 3, 3);
    Outline(p, Qt::white, 1.2);
    p.drawRect(QRectF(11, 24, 18, 12));
    p.setPen(QPen(QColor(90, 150, 230), 1.5));
    p.drawLine(QPointF(14, 29), QPointF(26, 29));
    p.drawLine(QPointF(14, 32), QPointF(23, 32));
}

QImage DrawTool(const Icon& icon)
{
    QImage img = Blank(kToolSize);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kToolSize / 40.0, kToolSize / 40.0);
    icon(p);
    return img;
}

// ---- cursors -------------------------------------------------------------

QImage DrawCursor(const Icon& icon)
{
    QImage img = Blank(kCursorSize);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(kCursorSize / 40.0, kCursorSize / 40.0);
    icon(p);
    return img;
}

void HandIcon(QPainter& p)  // an open hand: drag to move the view
{
    QPainterPath hand;
    hand.addRoundedRect(QRectF(11, 18, 20, 17), 7, 7);
    const qreal fx[] = {11, 16, 21, 26};
    const qreal top[] = {10, 6, 7, 10};
    for (int i = 0; i < 4; ++i) hand.addRoundedRect(QRectF(fx[i], top[i], 5, 18), 2.5, 2.5);
    hand.addRoundedRect(QRectF(4, 19, 12, 5), 2.5, 2.5);
    Outline(p, QColor(255, 230, 200), 1.8);
    p.drawPath(hand.simplified());
}

void PointerIcon(QPainter& p)  // a pointing finger: press this button
{
    QPainterPath hand;
    hand.addRoundedRect(QRectF(10, 18, 20, 17), 6, 6);
    hand.addRoundedRect(QRectF(10, 2, 6, 24), 3, 3);
    for (int i = 0; i < 3; ++i) hand.addRoundedRect(QRectF(15 + i * 5, 14, 5, 10), 2.5, 2.5);
    Outline(p, QColor(255, 230, 200), 1.8);
    p.drawPath(hand.simplified());
}

}  // namespace

std::vector<NamedPicture> DrawProgramPictures()
{
    std::vector<NamedPicture> out;
    auto add = [&](const QString& path, const QImage& img) { out.push_back({path, img}); };
    auto list = [](int number, int n) {
        return QStringLiteral("Pictures/ImageList%1/%2.png").arg(number).arg(n, 2, 10, QLatin1Char('0'));
    };

    // Image list 1: button i raised (2i + 1) and pressed (2i + 2). Buttons
    // 0-4 switch views, 5-11 are tools.
    const Icon buttons[12] = {
        Cube,
        PlanIcon,
        WallIcon,
        SheetIcon,
        GraphIcon,
        ColoursIcon,
        GroupsIcon,
        [](QPainter& p) { CoinsIcon(p, QString()); },
        [](QPainter& p) { HouseIcon(p, true); },
        [](QPainter& p) { RotateWallIcon(p, -1); },
        [](QPainter& p) { Magnifier(p, +1); },
        [](QPainter& p) { Magnifier(p, -1); },
    };
    for (int i = 0; i < 12; ++i) {
        add(list(1, 2 * i + 1), DrawFace(buttons[i], Face::Raised));
        add(list(1, 2 * i + 2), DrawFace(buttons[i], Face::Pressed));
    }
    // 25-27: the budget button's face for the currency in use.
    add(list(1, 25), DrawFace([](QPainter& p) { CoinsIcon(p, QString()); }, Face::Raised));
    add(list(1, 26), DrawFace([](QPainter& p) { CoinsIcon(p, QStringLiteral("\u20AC")); }, Face::Raised));
    add(list(1, 27), DrawFace([](QPainter& p) { CoinsIcon(p, QStringLiteral("\u00A3")); }, Face::Raised));

    // Image list 2: faces that change with the place.
    add(list(2, 1), DrawFace(WallIcon, Face::Disabled));
    add(list(2, 2), DrawFace([](QPainter& p) { RotateWallIcon(p, -1); }, Face::Disabled));
    add(list(2, 5), DrawFace(WallIcon, Face::Raised));
    for (int wall = 0; wall < 4; ++wall)
        add(list(2, 9 + wall), DrawFace([wall](QPainter& p) { RotateWallIcon(p, wall); }, Face::Raised));
    add(list(2, 13), DrawFace([](QPainter& p) { HouseIcon(p, false); }, Face::Raised, kIconSize));
    add(list(2, 14), DrawFace(SheetIcon, Face::Disabled));

    // Image list 3: cursors. Hot spots: 1 and 3 at the centre (16, 16), 2 at
    // the fingertip (10, 2).
    add(list(3, 1), DrawCursor(HandIcon));
    add(list(3, 2), DrawCursor(PointerIcon));
    add(list(3, 3), DrawCursor([](QPainter& p) { Magnifier(p, +1); }));

    // Image list 4: the change-price button for the currency in use.
    add(list(4, 1), DrawFace([](QPainter& p) { PriceTag(p, QString()); }, Face::Raised));
    add(list(4, 2), DrawFace([](QPainter& p) { PriceTag(p, QStringLiteral("\u20AC")); }, Face::Raised));
    add(list(4, 3), DrawFace([](QPainter& p) { PriceTag(p, QStringLiteral("\u00A3")); }, Face::Raised));

    // The graph panel's chart buttons 0 to 7: pie, bar, pictogram, line,
    // then the 3D pie, bar and pictogram and the area graph.
    for (int i = 0; i < 8; ++i) {
        const bool in3D = i >= 4;
        const Icon icons[4] = {
            [in3D](QPainter& p) { PieChartIcon(p, in3D); },
            [in3D](QPainter& p) { BarChartIcon(p, in3D); },
            [in3D](QPainter& p) { PictogramIcon(p, in3D); },
            [in3D](QPainter& p) { LineChartIcon(p, in3D); },
        };
        add(QStringLiteral("Pictures/Graphs/%1.png").arg(i + 1, 2, 10, QLatin1Char('0')),
            DrawFace(icons[i % 4], Face::Raised));
    }

    // The tool strip and the reset-zoom button keep pictures of their own.
    add(QStringLiteral("Pictures/Toolbar/New.png"), DrawTool([](QPainter& p) { HouseIcon(p, true); }));
    add(QStringLiteral("Pictures/Toolbar/Open.png"), DrawTool(OpenIcon));
    add(QStringLiteral("Pictures/Toolbar/Save.png"), DrawTool(SaveIcon));
    add(QStringLiteral("Pictures/Toolbar/Paste.png"), DrawTool(PasteIcon));
    add(QStringLiteral("Pictures/Toolbar/Copy.png"), DrawTool(CopyIcon));
    add(QStringLiteral("Pictures/Toolbar/Cut.png"), DrawTool(CutIcon));
    add(QStringLiteral("Pictures/Toolbar/Print.png"), DrawTool(PrintIcon));
    add(QStringLiteral("Pictures/Toolbar/ResetZoom.png"), DrawFace([](QPainter& p) { Magnifier(p, 0); }, Face::Raised));
    return out;
}

}  // namespace ItemTool
