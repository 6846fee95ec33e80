#pragma once
// Place information files (PlanInfo.dvf, WallInfo.dvf): key-and-value lines
// that describe a place or an item group: its names, the limits and defaults
// of its size, its scale, colours, budget and whether prices are used. The
// same files carry language sections, which this reader passes over.

#include "scene/Records.h"

#include <QByteArray>
#include <QString>

namespace FileMod {

// Reads the file at folder & fileName (the callers put the separating "\" in
// one or the other) into `info`, over what it held: fields the file does not
// name keep their values, except background_colour and useprices, which start
// again from white and true with every file. The callers test that the file
// exists first. A file that cannot be read, or is far larger than any place
// information file, is reported and leaves `info` unchanged (returns false).
bool ReadInfoFile(const QString& folder, const QString& fileName, PlanInfoRecord& info);

// The same over the bytes of a file already read.
void ReadInfoData(const QByteArray& bytes, PlanInfoRecord& info);

// The number at the start of `text` as the plain leading-number rule reads
// it: blanks skipped wherever they stand, a point as decimal separator, an
// optional sign and exponent (E or D), "&H" and "&O" for hexadecimal and
// octal; reading stops at the first character that cannot continue the
// number, and no number at all gives 0. False in `ok` when the number is
// beyond the range of a Double.
double LeadingNumber(const QString& text, bool* ok = nullptr);

}  // namespace FileMod
