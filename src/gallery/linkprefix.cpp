#include "gallery/linkprefix.h"

#include "gallery/linkreference.h"
#include "platform/paths.h"

#include <QUrl>

namespace tessaly {

namespace {

QString folderWithSeparator(const QString& path)
{
    if (path.isEmpty())
        return {};
    const QString folder = paths::folderOf(path);
    return folder.endsWith(paths::separator) ? folder : folder + paths::separator;
}

}  // namespace

QString prefixForMode(int mode, const QString& pictureFolder, const QString& explicitPrefix,
                      const QString& relativePrefix)
{
    switch (mode) {
    case LocalLinks: return pictureFolder.isEmpty() ? QString() : QUrl::fromLocalFile(pictureFolder).toString();
    case ExplicitLinks: return explicitPrefix;
    case RelativeLinks: return relativePrefix;
    default: return {};
    }
}

QString sourceFolderOf(const ProcessedFileTable& entries)
{
    return entries.empty() ? QString() : folderWithSeparator(entries.front().OriginalPath);
}

QString outputFolderOf(const ProcessedFileTable& entries)
{
    return entries.empty() ? QString() : folderWithSeparator(entries.front().OutputPath);
}

void fillLinkPrefixes(GalleryOptions& options, const QString& htmlFolder, const ProcessedFileTable& entries,
                      const QString& explicitOriginal, const QString& explicitThumb)
{
    const QString sources = sourceFolderOf(entries);
    const QString outputs = outputFolderOf(entries);
    QString relativeOriginal = RelativeReference(htmlFolder, sources);
    if (relativeOriginal == QLatin1String("*")) {
        relativeOriginal = prefixForMode(LocalLinks, sources, {}, {});
        options.OriginalLinkOpt = LocalLinks;
    }
    QString relativeThumb = RelativeReference(htmlFolder, outputs);
    if (relativeThumb == QLatin1String("*")) {
        relativeThumb = prefixForMode(LocalLinks, outputs, {}, {});
        options.ThumbLinkOpt = LocalLinks;
    }
    options.OriginalLinkPrefix = prefixForMode(options.OriginalLinkOpt, sources, explicitOriginal, relativeOriginal);
    options.ThumbLinkPrefix = prefixForMode(options.ThumbLinkOpt, outputs, explicitThumb, relativeThumb);
}

}  // namespace tessaly
