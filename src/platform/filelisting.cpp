#include "platform/filelisting.h"

#include "platform/filenames.h"

#include <QCollator>
#include <QRegularExpression>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tessaly {

void sortNamesIgnoringCase(QStringList& names)
{
    // The locale's collation without regard to case, as file managers list
    // names ("Éclair.jpg" among the e's); names it finds equal keep a fixed
    // order by their characters. Numbers are not read as numbers: "10.jpg"
    // comes before "9.jpg", as the sequence numbers of a run expect.
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);
    std::sort(names.begin(), names.end(), [&collator](const QString& a, const QString& b) {
        const int folded = collator.compare(a, b);
        if (folded != 0)
            return folded < 0;
        const int caseFolded = QString::compare(a, b, Qt::CaseInsensitive);
        return caseFolded != 0 ? caseFolded < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
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
    QList<QRegularExpression> filters;
    for (const QString& pattern : patterns)
        filters << QRegularExpression::fromWildcard(pattern, Qt::CaseInsensitive);
    // Read by bytes rather than through QDir, which leaves out every name
    // that is not UTF-8 (filenames.h). Hidden names (a leading dot) and
    // what is not an ordinary file once links are followed are left out.
    QStringList names;
    DIR* dir = ::opendir(encodeFileName(folder).constData());
    if (!dir)
        return {};
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir), entry->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode))
            continue;
        const QString name = decodeFileName(QByteArray(entry->d_name));
        // A byte that is not UTF-8 counts as one character of its own.
        QString matched = name;
        for (qsizetype i = 0; i < matched.size(); ++i)
            if (matched[i].isLowSurrogate() && !(i > 0 && matched[i - 1].isHighSurrogate()))
                matched[i] = QChar::ReplacementCharacter;
        if (std::any_of(filters.cbegin(), filters.cend(),
                        [&](const QRegularExpression& filter) { return filter.match(matched).hasMatch(); }))
            names << name;
    }
    ::closedir(dir);
    sortNamesIgnoringCase(names);
    return names;
}

}  // namespace tessaly
