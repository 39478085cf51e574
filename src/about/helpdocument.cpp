#include "about/helpdocument.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocumentFragment>
#include <algorithm>

namespace tessaly {

namespace {

QString attribute(const QString& tag, const QString& name)
{
    const QRegularExpression pattern(QStringLiteral("\\b%1\\s*=\\s*\"([^\"]*)\"").arg(name),
                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(tag);
    return match.hasMatch() ? match.captured(1) : QString();
}

QString plainText(const QString& html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

}  // namespace

HelpOutline readHelpOutline(const QString& html)
{
    HelpOutline outline;
    static const QRegularExpression heading(QStringLiteral("<h([1-3])\\b[^>]*>(.*?)</h\\1>"),
                                            QRegularExpression::CaseInsensitiveOption |
                                                QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression anchorTag(QStringLiteral("<a\\b[^>]*>"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (auto it = heading.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QRegularExpressionMatch tag = anchorTag.match(match.captured(2));
        const QString anchor = tag.hasMatch() ? attribute(tag.captured(0), QStringLiteral("name")) : QString();
        if (anchor.isEmpty())
            continue;
        outline.contents.push_back({plainText(match.captured(2)), anchor, match.captured(1).toInt()});
    }
    for (auto it = anchorTag.globalMatch(html); it.hasNext();) {
        const QString tag = it.next().captured(0);
        if (attribute(tag, QStringLiteral("class")) != QStringLiteral("index"))
            continue;
        const QString anchor = attribute(tag, QStringLiteral("name"));
        const QStringList terms = attribute(tag, QStringLiteral("title")).split(u';', Qt::SkipEmptyParts);
        for (const QString& term : terms)
            if (!anchor.isEmpty() && !term.trimmed().isEmpty())
                outline.index.push_back({term.trimmed(), anchor, 0});
    }
    std::stable_sort(outline.index.begin(), outline.index.end(), [](const HelpEntry& a, const HelpEntry& b) {
        return a.title.compare(b.title, Qt::CaseInsensitive) < 0;
    });
    return outline;
}

QString helpFileName()
{
    return QStringLiteral("tessaly-help.html");
}

QStringList helpFileCandidates(const QString& programFolder)
{
    const QString name = helpFileName();
    QStringList candidates{
        QDir::cleanPath(programFolder + QStringLiteral("/help/") + name),
        QDir::cleanPath(programFolder + QStringLiteral("/../share/doc/tessaly/") + name),
    };
    const QStringList shared = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString& folder : shared) {
        const QString path = QDir::cleanPath(folder + QStringLiteral("/doc/tessaly/") + name);
        if (!candidates.contains(path))
            candidates << path;
    }
    return candidates;
}

QString findHelpFile(const QStringList& candidates)
{
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile())
            return path;
    return {};
}

}  // namespace tessaly
