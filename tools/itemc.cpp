// dorv-itemc: compiles one item description (*.item) into an item file (*.dvo),
// and, when a third path is given, into the VRML model that exported worlds
// show for it.
//   dorv-itemc SOURCE OUTPUT [MODEL.wrl]
#include "ItemCompiler.h"
#include "ItemSource.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <utility>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr, "usage: dorv-itemc SOURCE.item OUTPUT.dvo [MODEL.wrl]\n");
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
    std::vector<std::pair<QString, QByteArray>> outputs = {{args[2], bytes}};
    if (args.size() == 4) {
        // Named as the program names the item: its group folder and file.
        const QFileInfo source(args[1]);
        const QString name = source.dir().dirName() + QLatin1Char('/') + source.completeBaseName();
        outputs.emplace_back(args[3], ItemTool::ItemVrmlModel(item, name));
    }
    for (const auto& [path, data] : outputs) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!dorv::WriteWholeFile(path, data, &error)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
            return 1;
        }
    }
    return 0;
}
