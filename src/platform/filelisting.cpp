#include "platform/filelisting.h"

#include <QDir>
#include <algorithm>

namespace tessaly {

void sortNamesIgnoringCase(QStringList& names)
{
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = QString::compare(a, b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
}

QStringList listMatchingFiles(const QString& folder, const QString& mask)
{
    if (folder.isEmpty())
        return {};
    QStringList patterns;
    for (const QString& pattern : mask.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty())
            patterns << trimmed;
    }
    if (patterns.isEmpty())
        return {};
    // Without QDir::CaseSensitive the name filters ignore letter case, and
    // without QDir::Hidden and QDir::System only ordinary files are listed.
    QDir dir(folder);
    QStringList names = dir.entryList(patterns, QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    sortNamesIgnoringCase(names);
    return names;
}

}  // namespace tessaly
