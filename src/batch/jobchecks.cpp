#include "batch/jobchecks.h"

#include "batch/nameparts.h"
#include "platform/filenames.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace tessaly {

std::optional<QString> checkFilesSelected(qsizetype selectedCount)
{
    if (selectedCount > 0)
        return std::nullopt;
    return checktexts::kNoFilesSelected;
}

std::optional<std::pair<QString, QString>> findDuplicateNames(const QStringList& sourceList)
{
    struct Shortened {
        QString text;
        qsizetype position;
    };
    std::vector<Shortened> shortened;
    shortened.reserve(std::size_t(sourceList.size()));
    for (qsizetype i = 0; i < sourceList.size(); ++i)
        shortened.push_back({baseNameOf(sourceList[i]), i});
    // Names equal but for case sort by case next, so that names equal with
    // case always end up side by side.
    std::stable_sort(shortened.begin(), shortened.end(), [](const Shortened& a, const Shortened& b) {
        const int folded = QString::compare(a.text, b.text, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : QString::compare(a.text, b.text, Qt::CaseSensitive) < 0;
    });
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i + 1 < shortened.size(); ++i)
        if (shortened[i].text == shortened[i + 1].text)
            last = i;
    if (!last)
        return std::nullopt;
    const qsizetype first = std::min(shortened[*last].position, shortened[*last + 1].position);
    const qsizetype second = std::max(shortened[*last].position, shortened[*last + 1].position);
    return std::make_pair(sourceList[first], sourceList[second]);
}

bool sameFolder(const QString& first, const QString& second)
{
    if (first == second)
        return true;
    // One folder under two names (a link, a bind mount, "a/../b", a
    // trailing separator) is the same device and file number.
    struct stat a {
    }, b{};
    if (::stat(encodeFileName(first).constData(), &a) == 0 && ::stat(encodeFileName(second).constData(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    // A folder not made yet: compare the cleaned absolute paths.
    return QDir::cleanPath(QDir(first).absolutePath()) == QDir::cleanPath(QDir(second).absolutePath());
}

bool needsSameFolderQuestion(bool renamingInPlace, const QString& inputFolder, const QString& outputFolder)
{
    return !renamingInPlace && sameFolder(inputFolder, outputFolder);
}

std::optional<QString> checkQualifier(const QString& qualifier)
{
    if (qualifier.contains(u'/') || qualifier.contains(u'\\'))
        return checktexts::kQualifierWithSeparator.arg(qualifier);
    return std::nullopt;
}

std::optional<QString> checkRenameQualifier(bool renamingInPlace, std::optional<NamingOption> naming,
                                            const QString& qualifier)
{
    if (renamingInPlace && naming && !usesSequence(*naming) && qualifier.isEmpty())
        return checktexts::kMissingQualifier;
    return std::nullopt;
}

std::optional<QString> outputNamesSentence(std::optional<NamingOption> naming, const QString& qualifier,
                                           const QString& sequence)
{
    if (!naming)
        return std::nullopt;
    const QString numbered = QStringLiteral(" and be numbered sequentially");
    const QString start = QStringLiteral("...Will start with ");
    const QString unchanged = QStringLiteral("...Will not be changed.");
    const bool none = qualifier.isEmpty();
    switch (*naming) {
    case NamingOption::PreSeq: return start + qualifier + sequence + numbered;
    case NamingOption::PreName:
        return none ? unchanged : start + qualifier + QStringLiteral(" and then have the original name appended.");
    case NamingOption::SufSeq: return start + sequence + qualifier + numbered;
    case NamingOption::SufName:
        return none ? unchanged
                    : QStringLiteral("...Will start with the original file name and then have ") + qualifier +
                          QStringLiteral(" appended.");
    }
    return std::nullopt;
}

}  // namespace tessaly
