#include "batch/integertext.h"

#include <limits>

namespace tessaly {

NotAnInteger::NotAnInteger(const QString& text) : Error(QStringLiteral("'%1' is not a valid integer value").arg(text))
{
}

int parseWholeNumber(const QString& text)
{
    qsizetype at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
        negative = text[at] == u'-';
        ++at;
    }
    if (at == text.size())
        throw NotAnInteger(text);
    long long value = 0;
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c < u'0' || c > u'9')
            throw NotAnInteger(text);
        value = value * 10 + (c.unicode() - u'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            throw NotAnInteger(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        throw NotAnInteger(text);
    return static_cast<int>(value);
}

int parseSizeField(const QString& text)
{
    const int value = parseWholeNumber(text);
    if (value == std::numeric_limits<int>::min())
        throw NotAnInteger(text);
    return value;
}

}  // namespace tessaly
