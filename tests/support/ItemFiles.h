#pragma once
// Builds item definition files word by word for fixtures: ten header words,
// then shape and group records as the loader reads them.

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace ItemFiles {

using Words = std::vector<int32_t>;

struct Box {
    int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// A shape record with a closed square path filling its box.
Words Shape(const Box& box, int32_t fill, int32_t line);
// A group record around its children, back to back.
Words Group(const Box& box, const std::vector<Words>& children = {});
// A record of another kind, `length` words long.
Words Other(int32_t kind, int32_t length);

// The colour words of a footprint: flags in bits 8 to 11, the price in
// hundredths in bits 8 to 31.
int32_t FlagsWord(int32_t flags);
int32_t PriceWord(int32_t hundredths);

// A well-formed item: the first shape (its box gives the height), the
// footprint, then a plan and a 3D group per view.
struct Item {
    Box first = {0, 0, 36288, 18144};
    Box foot = {-18144, -9072, 18144, 9072};
    int32_t flagsWord = FlagsWord(1);
    int32_t priceWord = PriceWord(1250);
    int views = 4;
    Words before;  // records placed between the header and the first shape
};
Words ItemWords(const Item& item);

// The header followed by the records; bytes little-endian.
Words WithHeader(const std::vector<Words>& records);
QByteArray Bytes(const Words& words);
inline QByteArray ItemFile(const Item& item = Item()) { return Bytes(ItemWords(item)); }

}  // namespace ItemFiles
