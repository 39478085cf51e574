#include "viewer/pagetext.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tessaly {

QString withNewlines(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

EditorText textFromFile(const QByteArray& bytes)
{
    EditorText result;
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) {
        result.encoding.byteOrderMark = true;
        body.remove(0, 3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(body);
    if (utf8.hasError()) {
        result.encoding.latin1 = true;
        decoded = QString::fromLatin1(body);
    }
    decoded = withNewlines(decoded);
    if (decoded.endsWith(u'\n'))
        decoded.chop(1);
    result.text = decoded;
    return result;
}

QByteArray fileFromText(const QString& text, const TextEncoding& encoding)
{
    // An empty editor holds no line at all and saves an empty file.
    if (text.isEmpty())
        return encoding.byteOrderMark && !encoding.latin1 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    QString lines = withNewlines(text);
    lines.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    lines += QLatin1String("\r\n");
    QByteArray bytes;
    // A Latin-1 file stays Latin-1 while every character fits; a character
    // that does not turns the file into UTF-8 rather than into "?".
    bool fitsLatin1 = encoding.latin1;
    if (fitsLatin1) {
        for (const QChar c : lines) {
            if (c.unicode() > 0xFF) {
                fitsLatin1 = false;
                break;
            }
        }
    }
    if (fitsLatin1)
        return lines.toLatin1();
    if (encoding.byteOrderMark)
        bytes = "\xEF\xBB\xBF";
    return bytes + lines.toUtf8();
}

}  // namespace tessaly
