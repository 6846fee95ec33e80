#include "platform/ByteIO.h"

#include <cstring>

namespace dorv {

bool ByteReader::take(int n, const char** p)
{
    if (!ok_ || n < 0 || n > data_.size() - pos_) {
        ok_ = false;
        return false;
    }
    *p = data_.constData() + pos_;
    pos_ += n;
    return true;
}

uint8_t ByteReader::u8()
{
    const char* p;
    if (!take(1, &p)) return 0;
    return static_cast<uint8_t>(*p);
}

int16_t ByteReader::i16()
{
    const char* p;
    if (!take(2, &p)) return 0;
    auto b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<int16_t>(static_cast<uint16_t>(b[0] | (b[1] << 8)));
}

int32_t ByteReader::i32()
{
    const char* p;
    if (!take(4, &p)) return 0;
    auto b = reinterpret_cast<const unsigned char*>(p);
    uint32_t v = uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    return static_cast<int32_t>(v);
}

float ByteReader::f32()
{
    uint32_t v = static_cast<uint32_t>(i32());
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

double ByteReader::f64()
{
    uint64_t lo = static_cast<uint32_t>(i32());
    uint64_t hi = static_cast<uint32_t>(i32());
    uint64_t v = lo | (hi << 32);
    double d;
    std::memcpy(&d, &v, 8);
    return ok_ ? d : 0.0;
}

void ByteReader::bytes(void* dst, int n)
{
    const char* p;
    if (n <= 0) return;
    if (!take(n, &p)) {
        std::memset(dst, 0, static_cast<size_t>(n));
        return;
    }
    std::memcpy(dst, p, static_cast<size_t>(n));
}

QByteArray ByteReader::bytes(int n)
{
    const char* p;
    if (n <= 0 || !take(n, &p)) return QByteArray();
    return QByteArray(p, n);
}

void ByteReader::skip(int n)
{
    const char* p;
    take(n, &p);
}

void ByteReader::seek(int64_t offset)
{
    if (offset < 0 || offset > data_.size()) {
        ok_ = false;
        return;
    }
    pos_ = offset;
}

void ByteWriter::u8(uint8_t v) { data_.append(static_cast<char>(v)); }

void ByteWriter::i16(int16_t v)
{
    auto u = static_cast<uint16_t>(v);
    data_.append(static_cast<char>(u & 0xFF));
    data_.append(static_cast<char>(u >> 8));
}

void ByteWriter::i32(int32_t v)
{
    auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) data_.append(static_cast<char>((u >> (8 * i)) & 0xFF));
}

void ByteWriter::f32(float v)
{
    uint32_t u;
    std::memcpy(&u, &v, 4);
    i32(static_cast<int32_t>(u));
}

void ByteWriter::f64(double v)
{
    uint64_t u;
    std::memcpy(&u, &v, 8);
    i32(static_cast<int32_t>(static_cast<uint32_t>(u & 0xFFFFFFFFu)));
    i32(static_cast<int32_t>(static_cast<uint32_t>(u >> 32)));
}

void ByteWriter::bytes(const void* src, int n)
{
    if (n > 0) data_.append(static_cast<const char*>(src), n);
}

}  // namespace dorv
