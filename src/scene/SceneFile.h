#pragma once
// Scene files (".dvp"): the place with all its items, so that a scene loads
// without its item files. The file holds a header with the place's settings,
// the room record, the scene's picture words and every placed item record.
// Two older stream formats ("0.01B", "0.02B") that stored only item names
// and positions are read too, their pictures loaded from the item files of
// the environment.
//
// A scene file is outside data: every count, length and index is checked
// against what was read, and a file that fails leaves the scene in memory
// exactly as it was.

#include "platform/ByteIO.h"
#include "scene/Records.h"
#include "scene/ShapeStream.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace FileMod {

// The version this program writes, and the newest it reads.
constexpr double kSceneVersion = 2.01;
// A counted string longer than this is no text of a scene file.
constexpr int32_t kMaxCountedString = 10000;

// The largest scene file. A place of ten thousand of the shipped items makes
// a file of about 150 MB (each item carries its pictures); a larger file is
// no scene and is refused before it fills the memory. A scene that would
// make a larger file is neither built from an old file nor written, so that
// every file saved opens again.
constexpr qint64 kLargestSceneFile = qint64(1) << 30;

// The size of the file of a scene of `itemCount` items and `wordCount`
// picture words.
qint64 SceneFileSize(int64_t itemCount, int64_t wordCount);

// True when the scene would make a file larger than kLargestSceneFile.
bool SceneTooLarge(const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& words,
                   int32_t wordCount);

// The bytes of a scene file of the current version: the header filled from
// the scene state and the windows (budget and size texts), the room, the
// words 0 .. wordCount - 1 and the items 0 .. itemCount - 1.
QByteArray SceneFileBytes(const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& words,
                          int32_t wordCount, const RoomRecord& room);

// The path a scene is written to: `path` with ".dvp" added unless it ends
// with it (in any letter case).
QString SceneFilePath(const QString& path);

// Writes the scene to `path`, adding ".dvp" when the path does not end with
// it (in any letter case); the longer path comes back in `path`. The file is
// written whole or not at all: false, with the reason in `error`, when it
// could not be. A scene too large for a scene file is not written.
bool SaveSceneFile(QString& path, const std::vector<ItemRecord>& items, int32_t itemCount, const ShapeStream& words,
                   int32_t wordCount, const RoomRecord& room, QString* error = nullptr);

// Reads the scene file at `path` into the arguments and the scene state
// (colours, money spent, currency, language, length unit, the budget and
// size texts), and gives the 1-based row of the file's environment in
// G.EnvironmentTable, 0 when it is not installed. A file that cannot be
// read, is not a scene, is of a newer version or breaks its own counts is
// reported in a message box and returns false with nothing changed.
bool LoadSceneFile(const QString& path, std::vector<ItemRecord>& items, int32_t& itemCount, ShapeStream& words,
                   int32_t& wordCount, RoomRecord& room, int16_t& environmentNumber);

// The same over the bytes of a file already read.
bool LoadSceneData(const QByteArray& bytes, std::vector<ItemRecord>& items, int32_t& itemCount, ShapeStream& words,
                   int32_t& wordCount, RoomRecord& room, int16_t& environmentNumber);

// The next counted string: a Long n, then n single-byte characters. When n
// is below 1 or above kMaxCountedString nothing more is read and the result
// is "". A string that runs past the end fails the reader.
QString ReadCountedString(dorv::ByteReader& in);

}  // namespace FileMod
