#pragma once
// Windows-1252, the code page of every text the program stores: item names,
// language files, settings, scene headers. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the C1 control of the same
// value and encode back to that byte, so any byte string survives a round trip.

#include <QByteArray>
#include <QString>

namespace dorv {

QString DecodeCp1252(const QByteArray& bytes);
QString DecodeCp1252(const char* data, int size);

// Characters outside the code page become '?'.
QByteArray EncodeCp1252(const QString& text);

// The byte for one character, or '?' when it has none.
char EncodeCp1252Char(QChar c);

}  // namespace dorv
