#pragma once
// Bounds-checked little-endian reads over a metafile record: a read past the end gives zero and
// marks the reader as failed, so a truncated record never reads outside the data.

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <cstring>

namespace platform::metafile_detail {

class RecordReader {
public:
    RecordReader(const char* data, qint64 size) : data_(data), size_(size) {}

    qint64 size() const { return size_; }
    bool failed() const { return failed_; }
    // Whether `count` bytes are present at `offset`.
    bool has(qint64 offset, qint64 count) const { return offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset; }

    std::uint8_t u8(qint64 offset) { return has(offset, 1) ? std::uint8_t(data_[offset]) : fail<std::uint8_t>(); }
    std::uint16_t u16(qint64 offset) { return has(offset, 2) ? qFromLittleEndian<std::uint16_t>(data_ + offset) : fail<std::uint16_t>(); }
    std::int16_t i16(qint64 offset) { return std::int16_t(u16(offset)); }
    std::uint32_t u32(qint64 offset) { return has(offset, 4) ? qFromLittleEndian<std::uint32_t>(data_ + offset) : fail<std::uint32_t>(); }
    std::int32_t i32(qint64 offset) { return std::int32_t(u32(offset)); }
    float f32(qint64 offset) {
        const std::uint32_t bits = u32(offset);
        float value;
        static_assert(sizeof value == sizeof bits);
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // The bytes at `offset`, or an empty array when they are not all there.
    QByteArray bytes(qint64 offset, qint64 count) {
        if (!has(offset, count)) return fail<QByteArray>();
        return QByteArray(data_ + offset, qsizetype(count));
    }

private:
    template <typename T>
    T fail() {
        failed_ = true;
        return T{};
    }
    const char* data_;
    qint64 size_;
    bool failed_ = false;
};

}  // namespace platform::metafile_detail
