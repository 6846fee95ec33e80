#include "platform/FileSystem.h"
#include "scene/FileMod.h"

namespace FileMod {

namespace {
bool IsSeparator(QChar c) { return c == QLatin1Char('\\') || c == QLatin1Char('/'); }

int LastSeparator(const QString& path, int before)
{
    for (int i = before - 1; i >= 0; --i)
        if (IsSeparator(path[i])) return i;
    return -1;
}
}  // namespace

bool FileExists(const QString& path)
{
    return dorv::IsReadableFile(path);
}

QString TrimTrailingSpaces(const QString& text)
{
    int n = static_cast<int>(text.size());
    while (n > 0 && text[n - 1] == QLatin1Char(' ')) --n;
    return text.left(n);
}

QString GetFileNamePart(const QString& path)
{
    return path.mid(LastSeparator(path, static_cast<int>(path.size())) + 1);
}

QString GetTrimmedFileName(const QString& path)
{
    return TrimTrailingSpaces(GetFileNamePart(path));
}

QString GetLastTwoPathParts(const QString& path)
{
    const int last = LastSeparator(path, static_cast<int>(path.size()));
    if (last < 0) return path;
    const int before = LastSeparator(path, last);
    if (before < 0) return path;
    return path.mid(before + 1);
}

}  // namespace FileMod
