#include "support/ItemFiles.h"

namespace ItemFiles {

Words Shape(const Box& b, int32_t fill, int32_t line)
{
    Words w = {2, 0, b.minX, b.minY, b.maxX, b.maxY, fill, line, 1, 67240002,
               2, b.minX, b.minY, 8, b.maxX, b.minY, 8, b.maxX, b.maxY, 8, b.minX, b.maxY, 5, 0};
    w[1] = static_cast<int32_t>(w.size() * 4);
    return w;
}

Words Group(const Box& b, const std::vector<Words>& children)
{
    Words w = {6, 0, b.minX, b.minY, b.maxX, b.maxY, 0x20202020, 0x20202020, 0x20202020};
    for (const Words& c : children) w.insert(w.end(), c.begin(), c.end());
    w[1] = static_cast<int32_t>(w.size() * 4);
    return w;
}

Words Other(int32_t kind, int32_t length)
{
    Words w(static_cast<size_t>(length), 0);
    w[0] = kind;
    w[1] = length * 4;
    return w;
}

int32_t FlagsWord(int32_t flags) { return flags << 8; }
int32_t PriceWord(int32_t hundredths) { return static_cast<int32_t>(static_cast<uint32_t>(hundredths) << 8); }

Words WithHeader(const std::vector<Words>& records)
{
    Words w(10, 0);
    w[0] = 0x4F56442E;  // anything: the header is not read
    for (const Words& r : records) w.insert(w.end(), r.begin(), r.end());
    return w;
}

Words ItemWords(const Item& item)
{
    std::vector<Words> records;
    if (!item.before.empty()) records.push_back(item.before);
    records.push_back(Shape(item.first, 0x808080 << 8, 0));
    records.push_back(Shape(item.foot, item.flagsWord, item.priceWord));
    for (int v = 0; v < item.views; ++v) {
        records.push_back(Group(item.foot, {Shape(item.foot, 0xFF << 8, 0)}));
        records.push_back(Group(item.first, {Shape(item.first, 0xFF00 << 8, 0)}));
    }
    return WithHeader(records);
}

QByteArray Bytes(const Words& words)
{
    QByteArray b;
    b.reserve(static_cast<qsizetype>(words.size() * 4));
    for (int32_t v : words) {
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) b.append(static_cast<char>((u >> (8 * i)) & 0xFF));
    }
    return b;
}

}  // namespace ItemFiles
