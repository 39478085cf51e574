#pragma once

#include <QByteArray>
#include <cstdint>

namespace tessaly {

// Unsigned numbers stored in `bytes` from `at`, little- or big-endian. The
// caller has checked that they lie inside.
inline std::uint32_t le16(const QByteArray& bytes, qsizetype at)
{
    return std::uint32_t(std::uint8_t(bytes[at])) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8;
}

inline std::uint32_t le32(const QByteArray& bytes, qsizetype at)
{
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

inline std::uint32_t be32(const QByteArray& bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return std::uint32_t(std::uint8_t(bytes[at + i])); };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

}  // namespace tessaly
