#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace dorv {

namespace {
QString MatchInFolder(const QString& folder, const QString& name)
{
    QDir dir(folder.isEmpty() ? QStringLiteral("/") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
    return QString();
}
}  // namespace

QString FindPath(const QString& path)
{
    if (path.isEmpty()) return path;
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const bool absolute = p.startsWith(QLatin1Char('/'));
    const QStringList parts = p.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString cur = absolute ? QString() : QStringLiteral(".");
    QString out;
    bool resolving = true;
    for (const QString& part : parts) {
        QString name = part;
        if (resolving && part != QLatin1String(".") && part != QLatin1String("..")) {
            const QString base = cur.isEmpty() ? QStringLiteral("/") : cur;
            if (!QFileInfo::exists(base + QLatin1Char('/') + part)) {
                QString m = MatchInFolder(base, part);
                if (m.isEmpty())
                    resolving = false;
                else
                    name = m;
            }
        }
        cur = cur + QLatin1Char('/') + name;
        if (out.isEmpty() && !absolute)
            out = name;
        else
            out = out + QLatin1Char('/') + name;
    }
    if (absolute) return out.isEmpty() ? QStringLiteral("/") : out;
    return out;
}

bool IsReadableFile(const QString& path)
{
    QFileInfo fi(FindPath(path));
    if (!fi.isFile()) return false;
    QFile f(fi.filePath());
    if (!f.open(QIODevice::ReadOnly)) return false;
    f.close();
    return true;
}

bool IsFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(FindPath(path)).isDir();
}

QByteArray ReadWholeFile(const QString& path, bool* ok, qint64 maxBytes)
{
    if (ok) *ok = false;
    QFile f(FindPath(path));
    if (!QFileInfo(f.fileName()).isFile() || !f.open(QIODevice::ReadOnly)) return QByteArray();
    if (f.size() > maxBytes) return QByteArray();
    QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) return QByteArray();
    if (ok) *ok = true;
    return data;
}

bool WriteWholeFile(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile f(FindPath(path));
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

QStringList ListFolder(const QString& folder, ListKind kind, const QString& suffix)
{
    QDir dir(FindPath(folder));
    if (!dir.exists()) return QStringList();
    QStringList names = dir.entryList(
        (kind == ListKind::Files ? QDir::Files : QDir::Dirs) | QDir::NoDotAndDotDot | QDir::Hidden);
    // Hidden entries (".Trash-1000", ".git", the "._chair.dvo" another
    // system leaves beside a file) are never content.
    names.erase(std::remove_if(names.begin(), names.end(), [](const QString& n) { return n.startsWith(QLatin1Char('.')); }),
                names.end());
    if (!suffix.isEmpty())
        names.erase(std::remove_if(names.begin(), names.end(),
                                   [&](const QString& n) { return !n.endsWith(suffix, Qt::CaseInsensitive); }),
                    names.end());
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

}  // namespace dorv
