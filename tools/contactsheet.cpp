// dorv-contactsheet: one picture of every item file under a folder, drawn by
// the program's picture engine, to check the shipped furniture by eye. Each
// cell shows the item from above, its 3D picture in the first two views (a
// wall item: its first 3D view and its front picture for the wall view),
// and its name.
//   dorv-contactsheet OUTPUT.png FOLDER [COLUMNS]
#include "ItemPictures.h"
#include "platform/PainterDc.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: dorv-contactsheet OUTPUT.png FOLDER [COLUMNS]\n");
        return 2;
    }
    const QString root = QFileInfo(args[2]).absoluteFilePath();
    QStringList files;
    QDirIterator it(root, {QStringLiteral("*.dvo")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    std::sort(files.begin(), files.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    if (files.isEmpty()) {
        std::fprintf(stderr, "no item files under %s\n", qPrintable(root));
        return 1;
    }

    ItemTool::ConsoleWindows console;
    std::vector<std::unique_ptr<ItemTool::CompiledItem>> items;
    for (const QString& f : files) {
        auto c = std::make_unique<ItemTool::CompiledItem>();
        if (!ItemTool::LoadCompiledItem(f, *c)) c.reset();
        items.push_back(std::move(c));
    }

    const int columns = args.size() > 3 ? std::max(1, args[3].toInt()) : 6;
    const int pic = 120, gap = 8, cellW = 3 * pic + 4 * gap, cellH = pic + 40;
    const int rows = (static_cast<int>(files.size()) + columns - 1) / columns;
    QImage sheet(columns * cellW, rows * cellH, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    {
        QPainter p(&sheet);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(12);
        p.setFont(font);
        for (int i = 0; i < files.size(); ++i) {
            const QRect cell((i % columns) * cellW, (i / columns) * cellH, cellW, cellH);
            p.setPen(QColor(0xCC, 0xCC, 0xCC));
            p.drawRect(cell.adjusted(0, 0, -1, -1));
            const QString name = QDir(root).relativeFilePath(files[i]).chopped(4);
            const auto& c = items[static_cast<size_t>(i)];
            p.setPen(c ? Qt::black : Qt::red);
            p.drawText(QRect(cell.left() + gap, cell.bottom() - 28, cellW - 2 * gap, 24),
                       Qt::AlignLeft | Qt::AlignVCenter,
                       c ? QStringLiteral("%1  (%2 views)").arg(name).arg(c->item.ViewCount)
                         : name + QStringLiteral(": does not load"));
        }
    }
    {
    dorv::ImageDc dc(&sheet, 96);
    for (int i = 0; i < files.size(); ++i) {
        const auto& c = items[static_cast<size_t>(i)];
        if (!c) continue;
        const QRect cell((i % columns) * cellW, (i / columns) * cellH, cellW, cellH);
        const int16_t views = c->item.ViewCount;
        const bool wall = (c->item.Flags & kItemOnWall) != 0;
        struct Picture {
            int16_t mode, view;
        };
        const Picture pics[3] = {{0, 0}, {1, 0}, wall ? Picture{0, int16_t(views - 1)} : Picture{1, int16_t(views > 1 ? 1 : -2)}};
        for (int k = 0; k < 3; ++k) {
            if (pics[k].view < -1) continue;
            const QRectF box(cell.left() + gap + k * (pic + gap), cell.top() + gap, pic, pic);
            ItemTool::DrawFitted(dc, *c, pics[k].mode, pics[k].view, box);
        }
    }
    }
    if (!sheet.save(args[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    std::printf("%lld items, %d did not load\n", static_cast<long long>(files.size()), console.messages);
    return console.messages ? 1 : 0;
}
