#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// How a text file was stored, so that saving it again keeps its encoding.
struct TextEncoding {
    bool latin1 = false;  // not valid UTF-8: read byte for byte as Latin-1
    bool byteOrderMark = false;
};

// A text file as the editor holds it: its lines joined with "\n".
struct EditorText {
    QString text;
    TextEncoding encoding;
};

// Reads a file's bytes as lines. "\r\n", a lone "\n" and a lone "\r" each
// end a line; a line end after the last line ends that line and does not
// start an empty one, so "a\r\nb\r\n" holds the two lines "a" and "b".
// Bytes that are not UTF-8 are read as Latin-1, so nothing is lost.
EditorText textFromFile(const QByteArray& bytes);

// The bytes the editor saves: every line followed by "\r\n", the last one
// too. A text that ends with a line end therefore ends in an empty line,
// and text read with textFromFile comes back byte for byte when it used
// "\r\n" and ended in one. An empty text saves an empty file.
QByteArray fileFromText(const QString& text, const TextEncoding& encoding = {});

// Turns every line end of `text` ("\r\n", "\r", "\n" and the editor's own
// paragraph and line separators) into "\n".
QString withNewlines(QString text);

}  // namespace tessaly
