#pragma once
// The one way the program touches files by name. Stored files and settings
// write paths with "\" and name the same file in several letter cases
// ("PlanInfo.dvf", "planinfo.dvf"), so every path is resolved here against
// what is really on disk: "\" and "/" both separate, and each name is matched
// exactly first, then without regard to case.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace dorv {

// The path of the existing file or folder that `path` names. The part that
// does not exist is kept as written (with "/" separators), so the result can
// also name a file about to be created.
QString FindPath(const QString& path);

// While one lives, FindPath keeps what it learns of the folders it walks
// (which names exist there, what each lists), so that a reader looking up
// many files in the same folders lists each folder once instead of once a
// file. For the span of one reading only, in which the reader itself makes
// no files: a file made or removed meanwhile by someone else may be missed.
// Nested scopes share the outer one's knowledge.
class FolderLookupScope {
public:
    FolderLookupScope();
    ~FolderLookupScope();
    FolderLookupScope(const FolderLookupScope&) = delete;
    FolderLookupScope& operator=(const FolderLookupScope&) = delete;

private:
    bool outer_;
};

// True when `path` names a regular file that can be opened for reading.
bool IsReadableFile(const QString& path);
// True when `path` names an existing folder.
bool IsFolder(const QString& path);

// Reads a whole file. Fails (ok = false, empty result) when the file cannot be
// opened or is larger than maxBytes, so a huge file never fills the memory.
QByteArray ReadWholeFile(const QString& path, bool* ok, qint64 maxBytes = 64 * 1024 * 1024);

// Writes a whole file or nothing: a temporary file in the same folder is
// renamed over the target only once everything was written.
bool WriteWholeFile(const QString& path, const QByteArray& data, QString* error = nullptr);

enum class ListKind { Files, Folders };
// Names (not paths) of the files or folders in `folder`, sorted as a Windows
// list control sorts them: without regard to letter case. `suffix` (such as
// ".dvo") keeps only files whose name ends with it, in any case. Names that
// begin with "." are left out.
QStringList ListFolder(const QString& folder, ListKind kind, const QString& suffix = QString());

}  // namespace dorv
