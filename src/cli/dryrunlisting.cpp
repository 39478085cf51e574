#include "cli/dryrunlisting.h"

namespace tessaly {

QString dryRunListing(const DryRunResult& result, int sourceCount)
{
    QString text;
    for (const PlannedFile& file : result.files) {
        text += file.sourcePath + u'\t' + file.outputPath;
        if (file.size)
            text += QStringLiteral("\t%1x%2").arg(file.size->width).arg(file.size->height);
        const QString note = effectText(file.effect);
        if (!note.isEmpty())
            text += QStringLiteral("\t(") + note + u')';
        text += u'\n';
    }
    if (result.incomplete)
        text += QStringLiteral("Dry run: the run would stop at file %1 of %2. Nothing was written.\n")
                    .arg(result.files.size())
                    .arg(sourceCount);
    else
        text += QStringLiteral("Dry run: %1 files. Nothing was written.\n").arg(sourceCount);
    return text;
}

}  // namespace tessaly
