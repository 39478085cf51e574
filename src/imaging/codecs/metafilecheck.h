#pragma once

#include <QByteArray>

namespace tessaly {

// The metafile libraries trust what a file says about itself. Before they
// see a file from another program, every record is checked against the
// data really there: its size lies within the file, the counts it gives
// fit within the record, bitmaps hold the pixels their headers claim,
// object numbers stay within the header's table, and the file ends with
// its end record. Throws CodecError for the first record that fails.

void checkEmfRecords(const QByteArray& bytes);

// The same for a Windows metafile (placeable or not). Returns the file
// with its header's size fields (file size, largest record) set to what
// the records really are, as the library sizes its buffers by them.
QByteArray checkedWmfRecords(const QByteArray& bytes);

}  // namespace tessaly
