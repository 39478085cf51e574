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

QString prefixForMode(std::optional<LinkMode> mode, const QString& pictureFolder, const QString& explicitPrefix,
                      const QString& relativePrefix)
{
    if (!mode)
        return {};
    switch (*mode) {
    case LinkMode::Local: return pictureFolder.isEmpty() ? QString() : QUrl::fromLocalFile(pictureFolder).toString();
    case LinkMode::Explicit: return explicitPrefix;
    case LinkMode::Relative: return relativePrefix;
    case LinkMode::Generic: break;
    }
    return {};
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
        relativeOriginal = prefixForMode(LinkMode::Local, sources, {}, {});
        options.OriginalLinkOpt = LinkMode::Local;
    }
    QString relativeThumb = RelativeReference(htmlFolder, outputs);
    if (relativeThumb == QLatin1String("*")) {
        relativeThumb = prefixForMode(LinkMode::Local, outputs, {}, {});
        options.ThumbLinkOpt = LinkMode::Local;
    }
    options.OriginalLinkPrefix = prefixForMode(options.OriginalLinkOpt, sources, explicitOriginal, relativeOriginal);
    options.ThumbLinkPrefix = prefixForMode(options.ThumbLinkOpt, outputs, explicitThumb, relativeThumb);
}

}  // namespace tessaly
