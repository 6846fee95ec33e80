#pragma once
// Little-endian field-by-field reading and writing of binary files.
// ByteReader never reads outside its buffer: a read past the end yields zeros
// and marks the reader failed, and stays failed, so a reader can check once
// after a run of fields.

#include <QByteArray>
#include <cstdint>

namespace dorv {

class ByteReader {
public:
    explicit ByteReader(const QByteArray& data) : data_(data) {}

    int16_t i16();
    int32_t i32();
    float f32();
    double f64();
    uint8_t u8();
    // Copies n bytes into dst (zeros when they are not all there).
    void bytes(void* dst, int n);
    QByteArray bytes(int n);
    void skip(int n);
    // Moves to an absolute offset; an offset outside the buffer fails.
    void seek(int64_t offset);

    int64_t pos() const { return pos_; }
    int64_t size() const { return data_.size(); }
    int64_t remaining() const { return data_.size() - pos_; }
    bool ok() const { return ok_; }
    bool atEnd() const { return pos_ >= data_.size(); }

private:
    bool take(int n, const char** p);
    const QByteArray& data_;
    int64_t pos_ = 0;
    bool ok_ = true;
};

class ByteWriter {
public:
    void i16(int16_t v);
    void i32(int32_t v);
    void f32(float v);
    void f64(double v);
    void u8(uint8_t v);
    void bytes(const void* src, int n);
    void bytes(const QByteArray& b) { data_.append(b); }
    const QByteArray& data() const { return data_; }
    QByteArray& data() { return data_; }

private:
    QByteArray data_;
};

}  // namespace dorv
