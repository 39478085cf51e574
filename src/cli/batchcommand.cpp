#include "cli/batchcommand.h"

#include "app/wizardrules.h"
#include "batch/outputnaming.h"
#include "platform/filelisting.h"
#include "platform/paths.h"
#include "settings/mainsettings.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tessaly {

namespace {

std::optional<BatchMode> modeOf(const QString& word)
{
    if (word == QLatin1String("thumbs"))
        return BatchMode::Thumbs;
    if (word == QLatin1String("rename"))
        return BatchMode::Rename;
    if (word == QLatin1String("copy"))
        return BatchMode::Copy;
    if (word == QLatin1String("convert"))
        return BatchMode::Convert;
    return std::nullopt;
}

}  // namespace

QString batchUsage()
{
    return QStringLiteral(
        "Usage: tessaly-batch MODE [options] FILE...\n"
        "\n"
        "Makes thumbnails of pictures, renames them in place, or copies them to another\n"
        "folder, converting them on the way, with the same rules and output as Tessaly's\n"
        "window. FILE is a picture or a folder (standing for its pictures); all must lie\n"
        "in one folder. They are processed in name order, without regard to case.\n"
        "\n"
        "Modes:\n"
        "  thumbs      make thumbnails in the output folder\n"
        "  rename      rename the files in their own folder\n"
        "  copy        copy the files unchanged under their new names\n"
        "  convert     copy the files converted to another type\n"
        "\n"
        "Options (the others come from the settings file):\n"
        "  --settings FILE      read the options from FILE instead of Tessaly.ini beside\n"
        "                       the program or, when installed or that folder is not\n"
        "                       writable, in ~/.config/tessaly/ (never written here)\n"
        "  --out DIR            the output folder (default: the input folder)\n"
        "  --naming NAME        PreSeq, PreName, SufSeq or SufName\n"
        "  --qualifier TEXT     the prefix or suffix of the new names\n"
        "  --seq TEXT           the first sequence number; its length is the width\n"
        "  --size W[xH]         the thumbnail size (W alone: W by W)\n"
        "  --keep-ratio         keep the aspect ratio, W is the largest side\n"
        "  --force-width        with --keep-ratio: always scale to the width W\n"
        "  --force-height       with --keep-ratio: always scale to the height W\n"
        "  --fast               fast resizing (one source pixel per pixel)\n"
        "  --type TYPE          jpg, gif, bmp, emf, wmf or none (keep each file's type)\n"
        "  --quality N          JPEG quality, 10 to 100\n"
        "  --no-overwrite       leave existing files of the same name alone\n"
        "  --html DIR/NAME.htm  also write the gallery of the run there, as the\n"
        "                       settings file's gallery options say\n"
        "  --mask PATTERNS      the files a folder stands for (default\n"
        "                       \"*.jpg;*.jpeg;*.bmp;*.gif;*.emf;*.wmf\")\n"
        "  --allow-duplicates   go on although two names differ only in their type\n"
        "  --same-folder        go on although input and output folder are the same\n"
        "  --quiet              no progress display\n"
        "  --help               this text\n"
        "  --version            the program's version, alone\n"
        "\n"
        "Progress goes to standard error when it is a terminal; Ctrl-C finishes the\n"
        "file in hand and stops, like Cancel. Exit status: 0 complete, 1 incomplete\n"
        "or failed, 2 bad usage or a check that failed.\n"
        "\n"
        "Examples:\n"
        "  tessaly-batch thumbs --out ~/thumbs --size 120 --keep-ratio ~/photos\n"
        "  tessaly-batch rename --naming PreSeq --qualifier Trip --seq 001 ~/photos/*.jpg\n"
        "  tessaly-batch convert --type gif --out /tmp/gifs --html /tmp/gifs/index.htm ~/photos\n");
}

ParsedArguments parseBatchArguments(const QStringList& arguments)
{
    ParsedArguments parsed;
    BatchCommand command;
    bool haveMode = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto value = [&](QString& into) {
            if (i + 1 >= arguments.size()) {
                parsed.error = QStringLiteral("%1 needs a value").arg(argument);
                return false;
            }
            into = arguments[++i];
            return true;
        };
        QString text;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            parsed.help = true;
            return parsed;
        } else if (argument == QLatin1String("--settings")) {
            if (!value(command.settingsPath))
                return parsed;
        } else if (argument == QLatin1String("--out")) {
            if (!value(text))
                return parsed;
            command.out = paths::normalFolder(QDir::cleanPath(QDir::current().absoluteFilePath(text)));
        } else if (argument == QLatin1String("--naming")) {
            if (!value(text))
                return parsed;
            if (!kNamingWords.contains(text)) {
                parsed.error = QStringLiteral("--naming takes PreSeq, PreName, SufSeq or SufName, not %1").arg(text);
                return parsed;
            }
            command.naming = int(kNamingWords.indexOf(text));
        } else if (argument == QLatin1String("--qualifier")) {
            if (!value(text))
                return parsed;
            command.qualifier = text;
        } else if (argument == QLatin1String("--seq")) {
            if (!value(text))
                return parsed;
            command.sequence = text;
        } else if (argument == QLatin1String("--size")) {
            if (!value(text))
                return parsed;
            const QStringList sides = text.split(u'x');
            if (sides.size() > 2 || sides.front().isEmpty() || (sides.size() == 2 && sides.back().isEmpty())) {
                parsed.error = QStringLiteral("--size takes W or WxH, not %1").arg(text);
                return parsed;
            }
            command.width = sides.front();
            command.height = sides.back();
        } else if (argument == QLatin1String("--keep-ratio")) {
            command.keepRatio = true;
        } else if (argument == QLatin1String("--force-width")) {
            command.forceWidth = true;
            command.forceHeight = false;
        } else if (argument == QLatin1String("--force-height")) {
            command.forceHeight = true;
            command.forceWidth = false;
        } else if (argument == QLatin1String("--fast")) {
            command.fast = true;
        } else if (argument == QLatin1String("--type")) {
            if (!value(text))
                return parsed;
            if (text == QLatin1String("none"))
                text = QStringLiteral("No Conversion");
            if (!kConvertItems.contains(text)) {
                parsed.error = QStringLiteral("--type takes jpg, gif, bmp, emf, wmf or none, not %1").arg(text);
                return parsed;
            }
            command.type = text;
        } else if (argument == QLatin1String("--quality")) {
            if (!value(text))
                return parsed;
            bool ok = false;
            const int quality = text.toInt(&ok);
            if (!ok || quality < 10 || quality > 100) {
                parsed.error = QStringLiteral("--quality takes a number from 10 to 100, not %1").arg(text);
                return parsed;
            }
            command.quality = quality;
        } else if (argument == QLatin1String("--no-overwrite")) {
            command.noOverwrite = true;
        } else if (argument == QLatin1String("--html")) {
            if (!value(text))
                return parsed;
            if (!QFileInfo(text).fileName().contains(QLatin1String(".htm"))) {
                parsed.error = QStringLiteral("--html takes a page name with .htm, not %1").arg(text);
                return parsed;
            }
            command.html = QDir::current().absoluteFilePath(text);
        } else if (argument == QLatin1String("--mask")) {
            if (!value(command.mask))
                return parsed;
        } else if (argument == QLatin1String("--allow-duplicates")) {
            command.allowDuplicates = true;
        } else if (argument == QLatin1String("--same-folder")) {
            command.sameFolder = true;
        } else if (argument == QLatin1String("--quiet") || argument == QLatin1String("-q")) {
            command.quiet = true;
        } else if (argument.startsWith(QLatin1String("--"))) {
            parsed.error = QStringLiteral("unknown option %1").arg(argument);
            return parsed;
        } else if (!haveMode) {
            const auto mode = modeOf(argument);
            if (!mode) {
                parsed.error = QStringLiteral("the mode is thumbs, rename, copy or convert, not %1").arg(argument);
                return parsed;
            }
            command.mode = *mode;
            haveMode = true;
        } else {
            command.inputs << argument;
        }
    }
    if (!haveMode) {
        parsed.error = QStringLiteral("no mode given");
        return parsed;
    }
    if (command.mode == BatchMode::Convert && command.type == QLatin1String("No Conversion")) {
        parsed.error = QStringLiteral("convert needs an output type other than none (copy keeps the files as they are)");
        return parsed;
    }
    parsed.command = command;
    return parsed;
}

SourceFiles resolveSourceFiles(const QStringList& inputs, const QString& mask)
{
    SourceFiles files;
    for (const QString& input : inputs) {
        const QFileInfo info(QDir::current().absoluteFilePath(input));
        QString folder;
        QStringList names;
        if (info.isDir()) {
            folder = paths::normalFolder(QDir::cleanPath(info.absoluteFilePath()));
            names = listMatchingFiles(folder, mask);
        } else if (info.isFile()) {
            folder = paths::normalFolder(QDir::cleanPath(info.absolutePath()));
            names << info.fileName();
        } else {
            files.error = QStringLiteral("%1: no such file or folder").arg(input);
            return files;
        }
        if (!files.folder.isEmpty() && folder != files.folder) {
            files.error = QStringLiteral("The files must all lie in one folder: %1 and %2").arg(files.folder, folder);
            return files;
        }
        files.folder = folder;
        for (const QString& name : names)
            if (!files.names.contains(name))
                files.names << name;
    }
    sortNamesIgnoringCase(files.names);
    return files;
}

CommandJob::CommandJob(const BatchCommand& c, const IniFile& settings, const QString& inputFolder)
    : m_mode(c.mode), m_input(inputFolder)
{
    const ThumbnailSettings saved = readThumbnailSettings(settings);
    m_naming = c.naming.value_or(saved.namingIndex.value_or(0));
    // The window keeps only the thumbnail qualifier; the others start as "Image".
    m_qualifier = c.qualifier.value_or(c.mode == BatchMode::Thumbs ? saved.thumbQualifier : QStringLiteral("Image"));
    m_sequence = c.sequence.value_or(QStringLiteral("001"));
    const QString savedType = kConvertItems.value(saved.createAsIndex.value_or(0));
    if (c.mode == BatchMode::Copy)
        m_convert = QStringLiteral("No Conversion");
    else
        m_convert = c.type.value_or(savedType);
    m_width = c.width.value_or(saved.thumbWidth);
    m_height = c.height.value_or(saved.thumbHeight);
    m_keepRatio = c.keepRatio || saved.keepRatio;
    m_forceWidth = c.forceWidth || (!c.forceHeight && saved.forceWidth && !saved.forceHeight);
    m_forceHeight = c.forceHeight || (!c.forceWidth && saved.forceHeight);
    m_speed = c.fast ? 0 : (saved.qualityResize ? 1 : 0);
    m_quality = c.quality.value_or(std::clamp(saved.jpegQuality, 10, 100));
    m_overwrite = !c.noOverwrite && saved.overwrite;
    m_output = c.mode == BatchMode::Rename ? inputFolder : c.out.value_or(inputFolder);
}

QString checkBatchJob(const BatchCommand& command, const JobSource& job, const QStringList& names)
{
    if (names.isEmpty())
        return QStringLiteral("No files selected!");
    if (!command.allowDuplicates) {
        if (const auto clash = findDuplicateNames(names))
            return QStringLiteral("Duplicate File Names: %1 and %2 have identical file names, except for the File "
                                  "Type Extension. Use --allow-duplicates to go on.")
                .arg(clash->first, clash->second);
    }
    if (command.mode != BatchMode::Rename && !command.sameFolder && job.inputFolder() == job.outputFolder())
        return QStringLiteral("Input and Output Directories are the same. This could result in files being "
                              "overwritten or not processed. Use --same-folder to go on.");
    const int naming = job.namingIndex();
    if (command.mode == BatchMode::Rename && (naming == 1 || naming == 3) && job.imageQualifier().isEmpty())
        return QStringLiteral("Invalid output qualifier for option chosen.  Please specify a qualifier, or choose a "
                              "different naming option.");
    if (command.mode != BatchMode::Rename && !QFileInfo(job.outputFolder()).isDir())
        return QStringLiteral("The %1 directory does not exist").arg(job.outputFolder());
    return {};
}

}  // namespace tessaly
