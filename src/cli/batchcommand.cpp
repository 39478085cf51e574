#include "cli/batchcommand.h"

#include "batch/jobchecks.h"
#include "batch/outputnaming.h"
#include "batch/plannedoutput.h"
#include "platform/error.h"
#include "platform/filelisting.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "settings/mainsettings.h"

#include <QCommandLineParser>
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
    return QStringLiteral("Usage: tessaly-batch MODE [options] [--] FILE...\n"
                          "       tessaly-batch MODE [options] --files-from LIST [FILE...]\n"
                          "\n"
                          "Makes thumbnails of pictures, renames them in place, or copies them to another\n"
                          "folder, converting them on the way, with the same rules and output as Tessaly's\n"
                          "window. FILE is a picture or a folder (standing for its pictures); all must lie\n"
                          "in one folder. They are processed in name order, without regard to case.\n"
                          "With --files-from they are processed in the order given (FILE arguments\n"
                          "first), and thumbs, copy and convert take files from several folders into\n"
                          "one output folder (--out); a new name two files would both get is refused\n"
                          "before anything is written.\n"
                          "\n"
                          "Modes:\n"
                          "  thumbs      make thumbnails in the output folder\n"
                          "  rename      rename the files in their own folder\n"
                          "  copy        copy the files unchanged under their new names\n"
                          "  convert     copy the files converted to another type\n"
                          "  undo-rename [FOLDER]\n"
                          "              rename the files of the last rename run in FOLDER (without\n"
                          "              one: the last rename run anywhere) back to their old names\n"
                          "\n"
                          "Options (the others come from the settings file; a value may also follow\n"
                          "'=', as in --out=DIR; '--' ends the options, for file names that start\n"
                          "with '-'):\n"
                          "  --settings FILE      read the options from FILE instead of Tessaly.ini beside\n"
                          "                       the program or, when installed or that folder is not\n"
                          "                       writable, in ~/.config/tessaly/ (never written here)\n"
                          "  --out DIR            the output folder (default: the input folder); created,\n"
                          "                       with its parents, when it does not exist\n"
                          "  --naming NAME        PreSeq, PreName, SufSeq or SufName\n"
                          "  --qualifier TEXT     the prefix or suffix of the new names\n"
                          "  --seq TEXT           the first sequence number; its length is the width\n"
                          "  --size W[xH]         the thumbnail size (W alone: W by W); WxH without\n"
                          "                       --keep-ratio is exactly W by H\n"
                          "  --keep-ratio         keep the aspect ratio, W is the largest side\n"
                          "  --no-keep-ratio      stretch to the size\n"
                          "  --force-width        with --keep-ratio: always scale to the width W\n"
                          "  --force-height       with --keep-ratio: always scale to the height W\n"
                          "  --no-force           with --keep-ratio: fit the larger side into W\n"
                          "  --fast               fast resizing (one source pixel per pixel)\n"
                          "  --quality-resize     smooth resizing\n"
                          "  --type TYPE          jpg, gif, bmp, emf, wmf or none (keep each file's type)\n"
                          "  --quality N          JPEG quality, 10 to 100\n"
                          "  --overwrite          replace existing files of the same name\n"
                          "  --no-overwrite       leave existing files of the same name alone\n"
                          "  --auto-orient        turn photos upright as their camera orientation says\n"
                          "  --no-auto-orient     keep photos as their pixels are stored\n"
                          "  --keep-metadata      JPEGs written from photos keep their information\n"
                          "                       (date, camera, colour profile), without the location\n"
                          "  --no-keep-metadata   JPEGs written carry no photo information\n"
                          "  --keep-location      with --keep-metadata: keep the location too\n"
                          "  --no-keep-location   with --keep-metadata: leave the location out\n"
                          "  --html DIR/NAME.htm  also write the gallery of the run there, as the\n"
                          "                       settings file's gallery options say\n"
                          "  --gallery-style STYLE  with --html: responsive (a page for phones and\n"
                          "                       desktops with a picture viewer), table, plain or\n"
                          "                       frames, over the settings file's choice\n"
                          "  --mask PATTERNS      the files a folder stands for (default: every\n"
                          "                       picture type read, \"*.jpg;*.jpeg;*.gif;*.bmp;*.wmf;\n"
                          "                       *.emf;*.png;*.webp;*.tif;*.tiff;*.heic;*.heif;*.avif\")\n"
                          "  --allow-duplicates   go on although two names differ only in their type\n"
                          "  --same-folder        go on although input and output folder are the same\n"
                          "  -q, --quiet          no progress display\n"
                          "  --files-from LIST    also process the files and folders listed in LIST, one\n"
                          "                       path a line; - reads the list from standard input\n"
                          "  --null               the paths in LIST end with a NUL byte (find -print0),\n"
                          "                       so that they may hold newlines\n"
                          "  --dry-run            write and rename nothing: list each file and the name\n"
                          "                       it would get (and the size of pictures written), run\n"
                          "                       every check, and exit as the run would\n"
                          "  -h, --help           this text\n"
                          "  --version            the program's version\n"
                          "\n"
                          "When an option is given more than once, or together with its opposite, the\n"
                          "last one counts.\n"
                          "\n"
                          "Progress goes to standard error when it is a terminal; Ctrl-C finishes the\n"
                          "file in hand and stops, like Cancel. A file that fails stops the run with\n"
                          "\"Error during processing!\" and a line naming the file and the reason.\n"
                          "Exit status: 0 complete, 1 incomplete or failed, 2 bad usage or a check that\n"
                          "failed.\n"
                          "\n"
                          "Examples:\n"
                          "  tessaly-batch thumbs --out ~/thumbs --size 120 --keep-ratio ~/photos\n"
                          "  tessaly-batch rename --naming PreSeq --qualifier Trip --seq 001 ~/photos/*.jpg\n"
                          "  tessaly-batch convert --type gif --out /tmp/gifs --html /tmp/gifs/index.htm ~/photos\n"
                          "  tessaly-batch thumbs --html site/index.htm --gallery-style responsive ~/photos\n");
}

ParsedArguments parseBatchArguments(const QStringList& arguments)
{
    ParsedArguments parsed;
    const auto fail = [&](const QString& error) {
        parsed.error = error;
        return parsed;
    };
    const auto flag = [](const char* name) { return QCommandLineOption(QString::fromLatin1(name)); };
    const auto valued = [](const char* name, const char* valueName) {
        return QCommandLineOption(QString::fromLatin1(name), QString(), QString::fromLatin1(valueName));
    };
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.addOptions({
        QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}),
        flag("version"),
        QCommandLineOption(QStringList{QStringLiteral("q"), QStringLiteral("quiet")}),
        valued("settings", "FILE"),
        valued("out", "DIR"),
        valued("naming", "NAME"),
        valued("qualifier", "TEXT"),
        valued("seq", "TEXT"),
        valued("size", "WxH"),
        valued("type", "TYPE"),
        valued("quality", "N"),
        valued("html", "PAGE"),
        valued("gallery-style", "STYLE"),
        valued("mask", "PATTERNS"),
        flag("keep-ratio"),
        flag("no-keep-ratio"),
        flag("force-width"),
        flag("force-height"),
        flag("no-force"),
        flag("fast"),
        flag("quality-resize"),
        flag("overwrite"),
        flag("no-overwrite"),
        flag("auto-orient"),
        flag("no-auto-orient"),
        flag("keep-metadata"),
        flag("no-keep-metadata"),
        flag("keep-location"),
        flag("no-keep-location"),
        flag("allow-duplicates"),
        flag("same-folder"),
        flag("dry-run"),
        valued("files-from", "FILE"),
        flag("null"),
    });
    if (!parser.parse(QStringList{QStringLiteral("tessaly-batch")} + arguments))
        return fail(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        parsed.help = true;
        return parsed;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        parsed.version = true;
        return parsed;
    }

    BatchCommand command;
    // Flags in the order given, so that the last of two opposites counts.
    for (const QString& name : parser.optionNames()) {
        if (name == QLatin1String("keep-ratio"))
            command.keepRatio = true;
        else if (name == QLatin1String("no-keep-ratio"))
            command.keepRatio = false;
        else if (name == QLatin1String("force-width"))
            command.force = ForceSide::Width;
        else if (name == QLatin1String("force-height"))
            command.force = ForceSide::Height;
        else if (name == QLatin1String("no-force"))
            command.force = ForceSide::Neither;
        else if (name == QLatin1String("fast"))
            command.speed = ResizeSpeed::Fast;
        else if (name == QLatin1String("quality-resize"))
            command.speed = ResizeSpeed::Quality;
        else if (name == QLatin1String("overwrite"))
            command.overwrite = true;
        else if (name == QLatin1String("no-overwrite"))
            command.overwrite = false;
        else if (name == QLatin1String("auto-orient"))
            command.autoOrient = true;
        else if (name == QLatin1String("no-auto-orient"))
            command.autoOrient = false;
        else if (name == QLatin1String("keep-metadata"))
            command.keepMetadata = true;
        else if (name == QLatin1String("no-keep-metadata"))
            command.keepMetadata = false;
        else if (name == QLatin1String("keep-location"))
            command.keepLocation = true;
        else if (name == QLatin1String("no-keep-location"))
            command.keepLocation = false;
    }
    command.allowDuplicates = parser.isSet(QStringLiteral("allow-duplicates"));
    command.sameFolder = parser.isSet(QStringLiteral("same-folder"));
    command.quiet = parser.isSet(QStringLiteral("quiet"));
    command.dryRun = parser.isSet(QStringLiteral("dry-run"));
    const auto value = [&](const char* name) -> std::optional<QString> {
        const QString option = QString::fromLatin1(name);
        return parser.isSet(option) ? std::optional<QString>(parser.value(option)) : std::nullopt;
    };

    command.filesFrom = value("files-from");
    command.nullSeparated = parser.isSet(QStringLiteral("null"));
    if (command.nullSeparated && !command.filesFrom)
        return fail(QStringLiteral("--null needs --files-from"));

    if (const auto text = value("settings"))
        command.settingsPath = *text;
    if (const auto text = value("out"))
        command.out = paths::normalFolder(QDir::cleanPath(QDir::current().absoluteFilePath(*text)));
    if (const auto text = value("naming")) {
        command.naming = namingOptionFromWord(*text);
        if (!command.naming)
            return fail(QStringLiteral("--naming takes PreSeq, PreName, SufSeq or SufName, not %1").arg(*text));
    }
    command.qualifier = value("qualifier");
    command.sequence = value("seq");
    if (const auto text = value("size")) {
        const QStringList sides = text->split(u'x');
        if (sides.size() > 2 || sides.front().isEmpty() || (sides.size() == 2 && sides.back().isEmpty()))
            return fail(QStringLiteral("--size takes W or WxH, not %1").arg(*text));
        command.width = sides.front();
        command.height = sides.back();
        command.exactSize = sides.size() == 2;
    }
    if (const auto text = value("type")) {
        command.type = *text == QLatin1String("none") ? OutputType::NoConversion : outputTypeFromText(*text);
        if (!command.type)
            return fail(QStringLiteral("--type takes jpg, gif, bmp, emf, wmf or none, not %1").arg(*text));
    }
    if (const auto text = value("quality")) {
        bool ok = false;
        const int quality = text->toInt(&ok);
        if (!ok || quality < 10 || quality > 100)
            return fail(QStringLiteral("--quality takes a number from 10 to 100, not %1").arg(*text));
        command.quality = quality;
    }
    if (const auto text = value("html")) {
        if (!QFileInfo(*text).fileName().contains(QLatin1String(".htm")))
            return fail(QStringLiteral("--html takes a page name with .htm, not %1").arg(*text));
        command.html = QDir::current().absoluteFilePath(*text);
    }
    if (const auto text = value("mask"))
        command.mask = *text;
    if (const auto text = value("gallery-style")) {
        command.galleryStyle = galleryStyleFromWord(*text);
        if (!command.galleryStyle)
            return fail(QStringLiteral("--gallery-style takes responsive, table, plain or frames, not %1").arg(*text));
        if (command.html.isEmpty())
            return fail(QStringLiteral("--gallery-style needs --html"));
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return fail(QStringLiteral("no mode given"));
    if (positional.front() == QLatin1String("undo-rename")) {
        if (positional.size() > 2)
            return fail(QStringLiteral("undo-rename takes at most one folder"));
        command.mode = BatchMode::Rename;
        command.undoRename = true;
        command.inputs = positional.mid(1);
        parsed.command = command;
        return parsed;
    }
    const auto mode = modeOf(positional.front());
    if (!mode)
        return fail(QStringLiteral("the mode is thumbs, rename, copy or convert, not %1").arg(positional.front()));
    command.mode = *mode;
    command.inputs = positional.mid(1);
    if (command.mode == BatchMode::Convert && command.type == OutputType::NoConversion)
        return fail(QStringLiteral("convert needs an output type other than none (copy keeps the files as they are)"));
    if (command.mode == BatchMode::Copy && command.type && command.type != OutputType::NoConversion)
        return fail(
            QStringLiteral("copy keeps the files as they are; use convert --type %1").arg(textOf(*command.type)));
    parsed.command = command;
    return parsed;
}

SourceFiles resolveSourceFiles(const QStringList& inputs, const QString& mask)
{
    SourceFiles files;
    for (const QString& input : inputs) {
        // Only the path's text is taken from QFileInfo: the file system is
        // asked by the name's bytes.
        const QFileInfo info(QDir::current().absoluteFilePath(input));
        const QString absolute = info.absoluteFilePath();
        QString folder;
        QStringList names;
        if (isFolder(absolute)) {
            folder = paths::normalFolder(QDir::cleanPath(info.absoluteFilePath()));
            names = listMatchingFiles(folder, mask);
        } else if (isOrdinaryFile(absolute)) {
            folder = paths::normalFolder(QDir::cleanPath(info.absolutePath()));
            names << info.fileName();
        } else if (const auto reason = notOrdinaryFileReason(absolute)) {
            // A pipe or a device would hang the run or never end.
            files.error = QStringLiteral("%1: %2").arg(input, *reason);
            return files;
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
    m_naming = c.naming.value_or(saved.naming.value_or(NamingOption::PreSeq));
    // The window keeps only the thumbnail qualifier; the others start as "Image".
    m_qualifier = c.qualifier.value_or(c.mode == BatchMode::Thumbs ? saved.thumbQualifier : QStringLiteral("Image"));
    m_sequence = c.sequence.value_or(QStringLiteral("001"));
    // A stored type that is no item leaves the window's list at "jpg".
    m_type = c.mode == BatchMode::Copy ? OutputType::NoConversion
                                       : c.type.value_or(saved.createAs.value_or(OutputType::Jpg));
    m_width = c.width.value_or(saved.thumbWidth);
    m_height = c.height.value_or(saved.thumbHeight);
    // An explicit WxH means that size, whatever the settings file keeps.
    m_keepRatio = c.keepRatio.value_or(c.exactSize ? false : saved.keepRatio);
    // The window's force boxes clear each other; Force Height wins a tie.
    const ForceSide savedForce = saved.forceHeight  ? ForceSide::Height
                                 : saved.forceWidth ? ForceSide::Width
                                                    : ForceSide::Neither;
    const ForceSide force = c.force.value_or(savedForce);
    m_forceWidth = force == ForceSide::Width;
    m_forceHeight = force == ForceSide::Height;
    m_speed = c.speed.value_or(saved.resizeSpeed);
    m_quality = c.quality.value_or(std::clamp(saved.jpegQuality, 10, 100));
    m_overwrite = c.overwrite.value_or(saved.overwrite);
    m_autoOrient = c.autoOrient.value_or(saved.autoOrient);
    m_keepMetadata = c.keepMetadata.value_or(saved.keepMetadata);
    m_keepLocation = c.keepLocation.value_or(saved.keepLocation);
    m_output = c.mode == BatchMode::Rename ? inputFolder : c.out.value_or(inputFolder);
}

QString checkBatchJob(const BatchCommand& command, const JobSource& job, const QStringList& names)
{
    if (const auto message = checkFilesSelected(names.size()))
        return *message;
    if (!command.allowDuplicates) {
        if (const auto clash = findDuplicateNames(names))
            return QStringLiteral("Duplicate File Names: %1 and %2 have identical file names, except for the File "
                                  "Type Extension. Use --allow-duplicates to go on.")
                .arg(clash->first, clash->second);
    }
    const bool renamingInPlace = command.mode == BatchMode::Rename;
    // Files from several folders stand as paths beside an empty input folder.
    const bool severalFolders = job.inputFolder().isEmpty();
    if (severalFolders && job.outputFolder().isEmpty())
        return QStringLiteral("Files from several folders need an output folder: give --out");
    if (!command.sameFolder) {
        QStringList inputFolders{job.inputFolder()};
        if (severalFolders) {
            inputFolders.clear();
            for (const QString& path : names)
                inputFolders << paths::folderOf(path);
        }
        for (const QString& folder : inputFolders)
            if (needsSameFolderQuestion(renamingInPlace, folder, job.outputFolder()))
                return checktexts::kSameFolders + QStringLiteral(" Use --same-folder to go on.");
    }
    if (const auto message = checkRenameQualifier(renamingInPlace, job.naming(), job.imageQualifier()))
        return *message;
    if (const auto message =
            checkQualifier(command.mode == BatchMode::Thumbs ? job.thumbQualifier() : job.imageQualifier()))
        return *message;
    // The settings file's "No Conversion" would turn a conversion into a plain copy.
    if (command.mode == BatchMode::Convert && job.outputType() == OutputType::NoConversion)
        return QStringLiteral("convert needs an output type: the settings file says No Conversion; give --type");
    if (severalFolders) {
        try {
            if (const auto collision = findOutputCollision(job, names))
                return QStringLiteral("%1 and %2 would both be written as %3. Nothing was written.")
                    .arg(collision->firstSource, collision->secondSource, collision->output);
        } catch (const Error&) {
            // A sequence that is no number: the run itself reports it.
        }
    }
    return {};
}

QString checkOutputFolder(const BatchCommand& command, const JobSource& job)
{
    const QString folder = job.outputFolder();
    if (command.mode != BatchMode::Rename && fileExists(folder) && !isFolder(folder))
        return QStringLiteral("The output folder %1 is a file").arg(folder);
    return {};
}

QString prepareOutputFolder(const BatchCommand& command, const JobSource& job)
{
    const QString folder = job.outputFolder();
    if (command.mode == BatchMode::Rename || isFolder(folder))
        return {};
    if (fileExists(folder))
        return QStringLiteral("The output folder %1 is a file").arg(folder);
    if (!makeFolders(folder))
        return QStringLiteral("Cannot create the output folder %1").arg(folder);
    return {};
}

}  // namespace tessaly
