#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

#include <algorithm>

namespace dorv {

namespace {

// A walk down a path: the path so far on disk (`cur`, from "." for a
// relative path), the result so far, and whether every name so far exists.
struct Walk {
    QString cur, out;
    bool resolving = true;
};

// What a FolderLookupScope keeps.
struct FolderKnowledge {
    QHash<QString, bool> exists;          // path -> whether it exists
    QHash<QString, QStringList> entries;  // folder -> its entries
    QHash<QString, Walk> walks;           // folder as written -> the walk to it
};
thread_local FolderKnowledge* g_known = nullptr;

bool Exists(const QString& path)
{
    if (!g_known) return QFileInfo::exists(path);
    auto it = g_known->exists.constFind(path);
    if (it != g_known->exists.constEnd()) return *it;
    const bool e = QFileInfo::exists(path);
    g_known->exists.insert(path, e);
    return e;
}

QStringList Entries(const QString& folder)
{
    auto list = [&] {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    };
    if (!g_known) return list();
    auto it = g_known->entries.constFind(folder);
    if (it == g_known->entries.constEnd()) it = g_known->entries.insert(folder, list());
    return *it;
}

QString MatchInFolder(const QString& folder, const QString& name)
{
    const QStringList entries = Entries(folder.isEmpty() ? QStringLiteral("/") : folder);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0) return e;
    return QString();
}
}  // namespace

FolderLookupScope::FolderLookupScope() : outer_(g_known == nullptr)
{
    if (outer_) g_known = new FolderKnowledge;
}

FolderLookupScope::~FolderLookupScope()
{
    if (outer_) {
        delete g_known;
        g_known = nullptr;
    }
}

namespace {

// One name more: matched exactly, then without regard to case; from the
// first name that matches nothing, the rest is kept as written.
void Step(Walk& w, const QString& part, bool absolute)
{
    QString name = part;
    if (w.resolving && part != QLatin1String(".") && part != QLatin1String("..")) {
        const QString base = w.cur.isEmpty() ? QStringLiteral("/") : w.cur;
        QString probe = base;
        probe += QLatin1Char('/');
        probe += part;
        if (!Exists(probe)) {
            QString m = MatchInFolder(base, part);
            if (m.isEmpty())
                w.resolving = false;
            else
                name = m;
        }
    }
    w.cur += QLatin1Char('/');
    w.cur += name;
    if (w.out.isEmpty() && !absolute) {
        w.out = name;
    } else {
        w.out += QLatin1Char('/');
        w.out += name;
    }
}

Walk WalkParts(const QString& p, bool absolute)
{
    Walk w;
    w.cur = absolute ? QString() : QStringLiteral(".");
    for (const QString& part : p.split(QLatin1Char('/'), Qt::SkipEmptyParts)) Step(w, part, absolute);
    return w;
}

// The walk down the whole of `path`; `absolute` tells how it began.
Walk WalkPath(const QString& path, bool& absolute)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    absolute = p.startsWith(QLatin1Char('/'));
    const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
    if (!g_known || slash <= 0 || slash + 1 >= p.size()) return WalkParts(p, absolute);
    // The walk to a folder is the same for every file looked up in it.
    const QString head = p.left(slash);
    auto it = g_known->walks.constFind(head);
    if (it == g_known->walks.constEnd()) it = g_known->walks.insert(head, WalkParts(head, absolute));
    Walk w = *it;
    Step(w, p.mid(slash + 1), absolute);
    return w;
}

}  // namespace

namespace {
QString Found(const Walk& w, bool absolute)
{
    if (absolute) return w.out.isEmpty() ? QStringLiteral("/") : w.out;
    return w.out;
}
}  // namespace

QString FindPath(const QString& path)
{
    if (path.isEmpty()) return path;
    bool absolute = false;
    const Walk w = WalkPath(path, absolute);
    return Found(w, absolute);
}

bool IsReadableFile(const QString& path)
{
    if (path.isEmpty()) return false;
    bool absolute = false;
    const Walk w = WalkPath(path, absolute);
    if (!w.resolving) return false;  // a name on the way matches nothing there
    QFileInfo fi(Found(w, absolute));
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
