// dorv-contactsheet: one picture of every item file under a folder, to check
// the shipped furniture by eye. Each cell shows the item from above, its 3D
// picture in the first two views (a wall item: its first 3D view and its
// front picture for the wall view), and its name.
//   dorv-contactsheet OUTPUT.png FOLDER [COLUMNS]
#include "ItemPreview.h"
#include "platform/FileSystem.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>

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

    const int columns = args.size() > 3 ? std::max(1, args[3].toInt()) : 6;
    const int pic = 120, gap = 8, cellW = 3 * pic + 4 * gap, cellH = pic + 40;
    const int rows = (static_cast<int>(files.size()) + columns - 1) / columns;
    QImage sheet(columns * cellW, rows * cellH, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    p.setFont(font);
    int failures = 0;
    for (int i = 0; i < files.size(); ++i) {
        const QRect cell((i % columns) * cellW, (i / columns) * cellH, cellW, cellH);
        p.setPen(QColor(0xCC, 0xCC, 0xCC));
        p.drawRect(cell.adjusted(0, 0, -1, -1));
        const QString name = QDir(root).relativeFilePath(files[i]).chopped(4);
        bool ok = false;
        ItemTool::LoadedItem item;
        QString error;
        const QByteArray bytes = dorv::ReadWholeFile(files[i], &ok);
        if (!ok || !ItemTool::LoadItemWords(bytes, item, &error)) {
            ++failures;
            p.setPen(Qt::red);
            p.drawText(cell.adjusted(gap, 0, 0, 0), Qt::AlignVCenter, name + QStringLiteral(": ") + error);
            continue;
        }
        const bool wall = item.views() == 5;
        const int groups[3] = {0, 1, wall ? 8 : (item.views() > 1 ? 3 : -1)};
        for (int k = 0; k < 3; ++k) {
            const QRectF target(cell.left() + gap + k * (pic + gap), cell.top() + gap, pic, pic);
            ItemTool::PaintGroup(p, item, groups[k], target);
        }
        p.setPen(Qt::black);
        p.drawText(QRect(cell.left() + gap, cell.bottom() - 28, cellW - 2 * gap, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("%1  (%2 views)").arg(name).arg(item.views()));
    }
    p.end();
    if (!sheet.save(args[1])) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    std::printf("%lld items, %d unreadable\n", static_cast<long long>(files.size()), failures);
    return failures ? 1 : 0;
}
