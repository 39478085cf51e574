#pragma once

#include <QByteArray>
#include <QIODevice>
#include <algorithm>
#include <cstdint>
#include <functional>

namespace tessaly {

// Up to `count` bytes of a file from `at`: fewer at its end, none past it.
// The header readers reach the parts of a file they need through it, without
// reading the file whole; the decoders read the same parts of bytes in
// memory, so that both walk a file the same way.
using ByteSource = std::function<QByteArray(std::int64_t at, std::int64_t count)>;

// Over bytes in memory, which must outlive the source.
inline ByteSource memorySource(const QByteArray& bytes)
{
    return [&bytes](std::int64_t at, std::int64_t count) {
        if (at < 0 || count <= 0 || at >= bytes.size())
            return QByteArray();
        return bytes.mid(qsizetype(at), qsizetype(std::min<std::int64_t>(count, bytes.size() - at)));
    };
}

// Over a device that can seek (a file), counted from its start; `size` is
// its length, past which nothing is asked for, so that a length a damaged
// header claims never becomes an allocation.
inline ByteSource deviceSource(QIODevice& device, std::int64_t size)
{
    return [&device, size](std::int64_t at, std::int64_t count) {
        if (at < 0 || count <= 0 || at >= size || !device.seek(at))
            return QByteArray();
        return device.read(std::min<std::int64_t>(count, size - at));
    };
}

}  // namespace tessaly
