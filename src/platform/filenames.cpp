#include "platform/filenames.h"

namespace tessaly {

namespace {

constexpr char16_t firstEscape = 0xDC80;
constexpr char16_t lastEscape = 0xDCFF;

// A low surrogate in the escape range that does not close a pair (U+10080
// is D800 DC80: a character, not an escape).
bool isEscapeAt(const QString& text, qsizetype at)
{
    const char16_t unit = text.at(at).unicode();
    return unit >= firstEscape && unit <= lastEscape && !(at > 0 && text.at(at - 1).isHighSurrogate());
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is
// none (RFC 3629: no overlong forms, no surrogates, nothing past U+10FFFF).
int sequenceLength(const unsigned char* bytes, qsizetype at, qsizetype size)
{
    const unsigned char lead = bytes[at];
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > size)
        return 0;
    if (bytes[at + 1] < low || bytes[at + 1] > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (bytes[at + i] < 0x80 || bytes[at + i] > 0xBF)
            return 0;
    return length;
}

}  // namespace

QString decodeFileName(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    QString name;
    name.reserve(size);
    qsizetype run = 0;  // start of the pending well-formed stretch
    qsizetype at = 0;
    while (at < size) {
        const int length = sequenceLength(data, at, size);
        if (length > 0) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(bytes.constData() + run, at - run);
        name += QChar(char16_t(firstEscape - 0x80 + data[at]));
        run = ++at;
    }
    name += QString::fromUtf8(bytes.constData() + run, size - run);
    return name;
}

QByteArray encodeFileName(const QString& name)
{
    if (!hasRawBytes(name))
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size() * 3);
    qsizetype run = 0;
    for (qsizetype at = 0; at < name.size(); ++at) {
        if (!isEscapeAt(name, at))
            continue;
        bytes += QStringView(name).mid(run, at - run).toUtf8();
        bytes += char(name.at(at).unicode() - firstEscape + 0x80);
        run = at + 1;
    }
    bytes += QStringView(name).mid(run).toUtf8();
    return bytes;
}

bool hasRawBytes(const QString& path)
{
    for (qsizetype at = 0; at < path.size(); ++at)
        if (isEscapeAt(path, at))
            return true;
    return false;
}

QString displayFileName(const QString& text)
{
    if (!hasRawBytes(text))
        return text;
    QString shown;
    shown.reserve(text.size() + 8);
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (isEscapeAt(text, at))
            shown += QStringLiteral("\\x") + QString::number(text.at(at).unicode() - firstEscape + 0x80, 16).toUpper();
        else
            shown += text.at(at);
    }
    return shown;
}

}  // namespace tessaly
