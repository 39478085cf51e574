#include "gallery/linkreference.h"

#include <QStringList>

namespace tessaly {

namespace {

QString withoutTrailingSeparator(const QString& path, QChar separator)
{
    return path.endsWith(separator) ? path.left(path.size() - 1) : path;
}

// The components after the drive part (the text before the first separator).
QStringList componentsOf(const QString& path, QChar separator)
{
    const qsizetype first = path.indexOf(separator);
    if (first < 0)
        return {};
    return path.mid(first + 1).split(separator);
}

}  // namespace

QString RelativeReference(const QString& page, const QString& pictures, const PathStyle& style)
{
    const QString a = withoutTrailingSeparator(page, style.separator);
    const QString b = withoutTrailingSeparator(pictures, style.separator);
    if (QString::compare(a, b, style.caseSensitivity) == 0)
        return {};
    if (style.hasDrive && QString::compare(a.left(1), b.left(1), Qt::CaseInsensitive) != 0)
        return QStringLiteral("*");
    const QStringList aParts = componentsOf(a, style.separator);
    const QStringList bParts = componentsOf(b, style.separator);
    qsizetype common = 0;
    while (common < aParts.size() && common < bParts.size() &&
           QString::compare(aParts[common], bParts[common], style.caseSensitivity) == 0)
        ++common;
    QString result;
    for (qsizetype i = common; i < aParts.size(); ++i)
        result += QStringLiteral("../");
    const QStringList rest = bParts.mid(common);
    if (!rest.isEmpty())
        result += rest.join(u'/') + u'/';
    return result;
}

}  // namespace tessaly
