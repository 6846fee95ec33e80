// dorv-make-scenes: builds the scene file of one scene description (*.scene)
// from the compiled content, with the program's own loaders, room builder
// and scene file writer.
//   dorv-make-scenes CONTENT-FOLDER SOURCE.scene OUTPUT.dvp
// The content folder is the one holding Environments (share/dorv).
#include "SceneSource.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: dorv-make-scenes CONTENT-FOLDER SOURCE.scene OUTPUT.dvp\n");
        return 2;
    }
    bool ok = false;
    const QByteArray text = dorv::ReadWholeFile(args[2], &ok, 1024 * 1024);
    if (!ok) {
        std::fprintf(stderr, "%s: cannot be read\n", qPrintable(args[2]));
        return 1;
    }
    SceneTool::SceneSource scene;
    QString error;
    SceneTool::ToolWindows windows;
    if (!SceneTool::ParseSceneSource(text, scene, &error) || !SceneTool::BuildScene(scene, args[1], &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[2]), qPrintable(error));
        return 1;
    }
    // A loader that spoke found something wrong with the content.
    if (!windows.messages.isEmpty()) {
        for (const QString& m : windows.messages) std::fprintf(stderr, "%s: %s\n", qPrintable(args[2]), qPrintable(m));
        return 1;
    }
    QDir().mkpath(QFileInfo(args[3]).absolutePath());
    if (!SceneTool::WriteScene(scene, args[3], &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(args[3]), qPrintable(error));
        return 1;
    }
    return 0;
}
