// dorv-pictures: draws every picture that ships with the program into the
// content folder: the image-list pictures and tool-strip faces, and then the
// pictures listed in a manifest (the splash picture and the pictures of the
// environments and item groups, made from the compiled items).
//   dorv-pictures CONTENT_FOLDER MANIFEST
//
// Manifest lines ("#" starts a comment; item paths are relative to the
// content folder):
//   OUTPUT splash ITEM...             Splash.jpg: the title over a row of items
//   OUTPUT scene #RRGGBB ITEM...      an environment: items on a floor tile
//   OUTPUT item ITEM                  an item group: one item's 3D picture
//   FOLDER backgrounds #SKY #GROUND   the six sides of the sky around an
//                                     exported VRML world: FOLDER/Bkg_front.jpg,
//                                     _back, _left, _right, _top and _bottom
#include "ItemPictures.h"
#include "ProgramPictures.h"
#include "platform/FileSystem.h"
#include "platform/PainterDc.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace ItemTool;

namespace {

QString g_root;

bool LoadItem(const QString& relative, CompiledItem& item)
{
    if (LoadCompiledItem(g_root + QLatin1Char('/') + relative, item)) return true;
    std::fprintf(stderr, "%s: does not load\n", qPrintable(relative));
    return false;
}

bool Save(const QString& relative, const QImage& img)
{
    const QString path = g_root + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (img.save(path, nullptr, 92)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

using Items = std::vector<std::unique_ptr<CompiledItem>>;

// The items' 3D pictures side by side, standing on the bottom of `area`, at
// one scale that fits them all.
void DrawRow(QImage& img, const Items& items, const QRectF& area, qreal gap)
{
    qreal width = 0, height = 0;
    for (const auto& it : items) {
        const QSizeF sz = PictureSize(*it, 1, 0);
        width += sz.width();
        height = std::max(height, sz.height());
    }
    if (width <= 0 || height <= 0) return;
    const qreal free = area.width() - gap * (static_cast<qreal>(items.size()) - 1);
    const qreal s = std::min(free / width, area.height() / height);
    qreal x = area.left() + (free - width * s) / 2;
    dorv::ImageDc dc(&img, 96);
    for (const auto& it : items) {
        DrawAt(dc, *it, 1, 0, QPointF(x, area.bottom()), static_cast<float>(s));
        x += PictureSize(*it, 1, 0).width() * s + gap;
    }
}

QImage Splash(const Items& items)
{
    QImage img(480, 320, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 320);
    sky.setColorAt(0, QColor(120, 190, 245));
    sky.setColorAt(0.62, QColor(215, 238, 252));
    sky.setColorAt(0.63, QColor(150, 210, 120));
    sky.setColorAt(1, QColor(100, 175, 80));
    p.fillRect(img.rect(), sky);
    p.setBrush(QColor(255, 220, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(420, 52), 30, 30);

    QFont title(QStringLiteral("Arial"));
    title.setBold(true);
    title.setPixelSize(64);
    QPainterPath text;
    text.addText(0, 0, title, QStringLiteral("Dorv"));
    const QRectF tb = text.boundingRect();
    text.translate(240 - tb.center().x(), 80 - tb.center().y());
    p.setPen(QPen(QColor(30, 60, 120), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 200, 40));
    p.drawPath(text);
    QFont sub(QStringLiteral("Arial"));
    sub.setBold(true);
    sub.setPixelSize(20);
    p.setFont(sub);
    p.setPen(QColor(30, 60, 120));
    p.drawText(QRectF(0, 118, 480, 28), Qt::AlignCenter, QStringLiteral("Zorazev"));
    p.end();
    if (!items.empty()) DrawRow(img, items, QRectF(20, 150, 440, 150), 14);
    return img;
}

QImage Scene(const QColor& floor, const Items& items)
{
    QImage img(kIconSize, kIconSize, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(floor.darker(150), 1));
    p.setBrush(floor);
    p.drawPolygon(QPolygonF({QPointF(32, 30), QPointF(63, 46), QPointF(32, 62), QPointF(1, 46)}));
    p.end();
    if (!items.empty()) DrawRow(img, items, QRectF(4, 6, 56, 48), 2);
    return img;
}

QImage GroupIcon(const CompiledItem& item)
{
    QImage img(kIconSize, kIconSize, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        dorv::ImageDc dc(&img, 96);
        DrawFitted(dc, item, 1, 0, QRectF(4, 4, kIconSize - 8, kIconSize - 8));
    }
    return img;
}

// A side of the box of pictures around a VRML world: the sky above the
// middle line (the horizon), paler towards it, and the ground below it.
QImage BackgroundSide(const QColor& sky, const QColor& ground)
{
    QImage img(256, 256, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 256);
    g.setColorAt(0, sky);
    g.setColorAt(0.495, sky.lighter(135));
    g.setColorAt(0.505, ground.lighter(115));
    g.setColorAt(1, ground.darker(115));
    p.fillRect(img.rect(), g);
    return img;
}

QImage BackgroundFlat(const QColor& colour)
{
    QImage img(256, 256, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: dorv-pictures CONTENT_FOLDER MANIFEST\n");
        return 2;
    }
    g_root = QFileInfo(args[1]).absoluteFilePath();
    ConsoleWindows console;
    int failures = 0;
    for (const NamedPicture& pic : DrawProgramPictures())
        if (!Save(pic.path, pic.image)) ++failures;

    bool ok = false;
    const QByteArray manifest = dorv::ReadWholeFile(args[2], &ok);
    if (!ok) {
        std::fprintf(stderr, "%s: cannot be read\n", qPrintable(args[2]));
        return 1;
    }
    int lineNo = 0;
    for (const QByteArray& raw : manifest.split('\n')) {
        ++lineNo;
        QByteArray line = raw;
        if (line.startsWith('#')) continue;
        const QStringList w = QString::fromUtf8(line).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (w.isEmpty()) continue;
        const QString how = w.size() > 1 ? w[1] : QString();
        if (how == QLatin1String("backgrounds")) {
            if (w.size() != 4 || !QColor::isValidColorName(w[2]) || !QColor::isValidColorName(w[3])) {
                std::fprintf(stderr, "%s:%d: backgrounds takes a sky and a ground colour\n", qPrintable(args[2]), lineNo);
                ++failures;
                continue;
            }
            const QColor sky(w[2]), ground(w[3]);
            const QImage side = BackgroundSide(sky, ground);
            for (const char* name : {"front", "back", "left", "right"})
                if (!Save(w[0] + QStringLiteral("/Bkg_%1.jpg").arg(QLatin1String(name)), side)) ++failures;
            if (!Save(w[0] + QStringLiteral("/Bkg_top.jpg"), BackgroundFlat(sky))) ++failures;
            if (!Save(w[0] + QStringLiteral("/Bkg_bottom.jpg"), BackgroundFlat(ground.darker(115)))) ++failures;
            continue;
        }
        const int firstItem = how == QLatin1String("scene") ? 3 : 2;
        Items items;
        bool loaded = w.size() > firstItem || how == QLatin1String("splash");
        for (int i = firstItem; i < w.size(); ++i) {
            auto it = std::make_unique<CompiledItem>();
            if (LoadItem(w[i], *it))
                items.push_back(std::move(it));
            else
                loaded = false;
        }
        QImage img;
        if (loaded && how == QLatin1String("splash"))
            img = Splash(items);
        else if (loaded && how == QLatin1String("scene") && QColor::isValidColorName(w[2]))
            img = Scene(QColor(w[2]), items);
        else if (loaded && how == QLatin1String("item") && items.size() == 1)
            img = GroupIcon(*items[0]);
        if (img.isNull()) {
            std::fprintf(stderr, "%s:%d: cannot draw this line\n", qPrintable(args[2]), lineNo);
            ++failures;
            continue;
        }
        if (!Save(w[0], img)) ++failures;
    }
    return failures || console.messages ? 1 : 0;
}
