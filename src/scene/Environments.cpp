#include "scene/Environments.h"

#include "platform/FileSystem.h"
#include "scene/FileMod.h"
#include "scene/LangMod.h"
#include "scene/PlaceInfo.h"
#include "scene/SceneState.h"
#include "scene/WindowPort.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>

#include <algorithm>

namespace FileMod {

QString GroupPath;

namespace {

using EnvList = WindowPort::EnvList;

// Pictures in the lists are small; anything beyond these is not one of them.
constexpr qint64 kMaxPictureBytes = 16 * 1024 * 1024;
constexpr int kMaxPictureSide = 4096;

bool IsSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

QString WithoutTrailingSeparators(QString path)
{
    while (path.size() > 1 && IsSeparator(path.back())) path.chop(1);
    return path;
}

// Sub-folder names in the order a folder list shows them; an empty path
// names no folder (and never the current one).
QStringList SubFolders(const QString& folder)
{
    if (folder.isEmpty()) return QStringList();
    return dorv::ListFolder(folder, dorv::ListKind::Folders);
}

// The mirror folder of an environment name, "" without a mirror folder.
QString MirrorFolder(const QString& name)
{
    if (G.EnvironPlusDir.isEmpty()) return QString();
    return G.EnvironPlusDir + QLatin1Char('\\') + name;
}

void AddPicture(EnvList list, const QString& key, const QImage& picture)
{
    if (picture.isNull())
        Windows().AddDefaultListPicture(list, key);
    else
        Windows().AddListPicture(list, key, picture);
}

QString BackslashPath(QString path)
{
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return path;
}

}  // namespace

QImage LoadPictureFile(const QString& path)
{
    const QString real = dorv::FindPath(path);
    const QFileInfo info(real);
    if (!info.isFile() || info.size() > kMaxPictureBytes) return QImage();
    QImageReader reader(real);
    // A picture named .bmp may be of another kind; its bytes decide.
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)) return QImage();
    QImage image;
    if (!reader.read(&image)) return QImage();
    if (image.width() > kMaxPictureSide || image.height() > kMaxPictureSide) return QImage();
    return image;
}

void AddEnvironmentIcon(const QString& file, const QString& key)
{
    // Both lists show the same picture of an environment.
    const QImage picture = LoadPictureFile(file);
    AddPicture(EnvList::Chooser, key, picture);
    AddPicture(EnvList::AllEnvironments, key, picture);
}

void BuildEnvironmentList(const QString& environmentsFolder)
{
    Windows().ClearListPictures(EnvList::Chooser);
    Windows().ClearListPictures(EnvList::AllEnvironments);

    // A missing environments folder lists no environments.
    const QString root = WithoutTrailingSeparators(environmentsFolder);
    const QStringList names = SubFolders(root);
    const int n = static_cast<int>(names.size());
    G.EnvironmentTable.assign(static_cast<size_t>(n) + 1, EnvironmentRow());
    for (int i = 0; i < n; ++i) G.EnvironmentTable[static_cast<size_t>(i)][0] = root + QLatin1Char('\\') + names[i];
    G.EnvironmentCount = n;

    for (int i = 0; i < n; ++i) {
        EnvironmentRow& row = G.EnvironmentTable[static_cast<size_t>(i)];
        const QString name = GetFileNamePart(row[0]);

        const QString own = row[0] + QStringLiteral("\\icon.bmp");
        const QString mirror = MirrorFolder(name);
        const QString mirrored = mirror.isEmpty() ? QString() : mirror + QStringLiteral("\\icon.bmp");
        if (FileExists(own)) {
            AddEnvironmentIcon(own, name);
        } else if (!mirrored.isEmpty() && FileExists(mirrored)) {
            AddEnvironmentIcon(mirrored, name);
        } else {
            Windows().AddDefaultListPicture(EnvList::Chooser, name);
            Windows().AddDefaultListPicture(EnvList::AllEnvironments, name);
        }

        WindowPort::ListEntry entry;
        entry.iconKey = name;
        entry.tag = name + QLatin1Char('\\') + name;
        entry.text = LangMod::GetEnvText(entry.tag);
        entry.row = i + 1;
        Windows().AddListEntry(EnvList::Chooser, entry);
        Windows().AddListEntry(EnvList::AllEnvironments, entry);

        int column = 3;
        for (const QString& f : SubFolders(row[0])) {
            if (f.startsWith(QLatin1Char('+')))
                row[1] = f;
            else if (f.startsWith(QLatin1Char('=')))
                row[2] = f;
            else if (column < kEnvironmentColumns)  // room for 17 groups
                row[static_cast<size_t>(column++)] = f;
        }
    }
}

QString LoadEnvironmentItemGroups(int16_t viewMode, const QString& environmentFolder)
{
    Windows().ClearListEntries(EnvList::Groups);
    Windows().ClearListPictures(EnvList::Groups);

    const QString env = WithoutTrailingSeparators(environmentFolder);
    const QStringList groups = SubFolders(env);
    const QString mirror = MirrorFolder(GetTrimmedFileName(env));
    GroupPath = mirror.isEmpty() ? QString() : mirror + QLatin1Char('\\');

    if (!GroupPath.isEmpty() && FileExists(GroupPath + QStringLiteral("planInfo.dvf")))
        ReadInfoFile(GroupPath, QStringLiteral("planInfo.dvf"), G.PlanInfo);

    QString first;
    for (const QString& g : groups) {
        if (g.startsWith(QLatin1Char('+')) || g.startsWith(QLatin1Char('='))) continue;
        const QString p = env + QLatin1Char('\\') + g;
        const bool wall = g.startsWith(QLatin1Char('!')) || FileExists(p + QStringLiteral("\\Wallinfo.dvf"));
        if (wall != (viewMode == 2)) continue;

        const QString own = p + QStringLiteral("\\icon.bmp");
        const QString mirrored = GroupPath.isEmpty() ? QString() : GroupPath + g + QStringLiteral(".bmp");
        QImage picture;
        if (FileExists(own))
            picture = LoadPictureFile(own);
        else if (!mirrored.isEmpty() && FileExists(mirrored))
            picture = LoadPictureFile(mirrored);
        AddPicture(EnvList::Groups, g, picture);

        WindowPort::ListEntry entry;
        entry.iconKey = g;
        entry.key = g;
        entry.tag = BackslashPath(GetLastTwoPathParts(p));
        entry.text = LangMod::GetEnvText(entry.tag);
        Windows().AddListEntry(EnvList::Groups, entry);

        if (first.isEmpty()) first = p;
    }
    return first;
}

int16_t FindEnvironmentIndex(const QString& name)
{
    const QString wanted = name.toLower();
    const int rows = std::min<int>({G.EnvironmentCount, static_cast<int>(G.EnvironmentTable.size()), 32767});
    for (int i = 0; i < rows; ++i)
        if (GetTrimmedFileName(G.EnvironmentTable[static_cast<size_t>(i)][0]).toLower() == wanted)
            return static_cast<int16_t>(i);
    return -1;
}

}  // namespace FileMod

namespace FindSpecialFolder {

QString GetSpecialFolderPath(int32_t folderId)
{
    constexpr int32_t kDocuments = 5;
    if (folderId != kDocuments) return QString();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString home = QDir::homePath();
    for (const QString& folder : {documents, home})
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return QString();
}

}  // namespace FindSpecialFolder
