// dorv-itemc: compiles one item description (*.item) into an item file (*.dvo).
//   dorv-itemc SOURCE OUTPUT
#include "ItemCompiler.h"
#include "ItemSource.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: dorv-itemc SOURCE.item OUTPUT.dvo\n");
        return 2;
    }
    bool ok = false;
    const QByteArray text = dorv::ReadWholeFile(args[1], &ok, 1024 * 1024);
    if (!ok) {
        std::fprintf(stderr, "%s: cannot be read\n", qPrintable(args[1]));
        return 1;
    }
    ItemTool::ItemSource item;
    QString error;
    if (!ItemTool::ParseItemSource(text, item, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[1]), qPrintable(error));
        return 1;
    }
    const QByteArray bytes = ItemTool::ItemFileBytes(ItemTool::CompileItem(item));
    QDir().mkpath(QFileInfo(args[2]).absolutePath());
    if (!dorv::WriteWholeFile(args[2], bytes, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[2]), qPrintable(error));
        return 1;
    }
    return 0;
}
