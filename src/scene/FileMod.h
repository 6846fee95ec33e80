#pragma once
// File and path routines shared by the loaders, the language tables, the
// exports and the windows. Paths inside the program use "\" as stored files
// do; every routine here also accepts "/".

#include <QString>

namespace FileMod {

// True when `path` names a file that can be opened for reading (a folder,
// a missing file or an unreadable one give false). Never creates anything.
bool FileExists(const QString& path);

// The text without its trailing blanks (character 32 only).
QString TrimTrailingSpaces(const QString& text);

// The text after the last separator: the whole text when there is none, ""
// when the path ends with one.
QString GetFileNamePart(const QString& path);

// GetFileNamePart without trailing blanks.
QString GetTrimmedFileName(const QString& path);

// The text after the second-to-last separator (the last two parts of the
// path); the whole path when it has fewer than two separators.
QString GetLastTwoPathParts(const QString& path);

}  // namespace FileMod
