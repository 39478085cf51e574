#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// File names on this system are bytes, usually but not always UTF-8: a
// name from an old archive or camera card can hold "caf\xe9.jpg". Qt 6
// decodes names as UTF-8 only (under the C locale too, which it switches
// to C.UTF-8): each byte that is not UTF-8 becomes U+FFFD, encodes back as
// EF BF BD and so names another file, and QDir leaves such names out of its
// listings altogether.
//
// Here a name's bytes that are not UTF-8 travel in a QString as the lone
// low surrogates U+DC80 to U+DCFF, one per byte (the escape that Python
// calls surrogateescape). No valid UTF-8 decodes to a lone surrogate, so
// the mapping is exact both ways, and every path passes through one QString
// type as before. Qt's own file classes cannot take such a path: open,
// test and write them through the functions of fileops.h.

// The name or path for `bytes` from the file system or the command line.
QString decodeFileName(const QByteArray& bytes);

// The bytes of the name or path that decodeFileName made, exactly.
QByteArray encodeFileName(const QString& name);

// True when `path` holds bytes that are not UTF-8, so that Qt's file
// classes would reach another file or none.
bool hasRawBytes(const QString& path);

// The name for people to read: each byte that is not UTF-8 written as
// "\xE9" (two upper-case hexadecimal digits). Text without such bytes is
// returned unchanged; any text may go through, messages too.
QString displayFileName(const QString& text);

}  // namespace tessaly
