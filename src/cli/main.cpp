// tessaly-batch: the thumbnail, rename, copy and convert runs and the
// gallery from the command line, with the window's own code and rules.
#include "batch/dryrun.h"
#include "batch/renamejournal.h"
#include "batch/runs.h"
#include "cli/batchcommand.h"
#include "cli/consoleview.h"
#include "cli/dryrunlisting.h"
#include "cli/filelist.h"
#include "gallery/gallerywriter.h"
#include "gallery/linkprefix.h"
#include "imaging/workingpictures.h"
#include "platform/error.h"
#include "platform/filenames.h"
#include "platform/paths.h"
#include "settings/gallerysettings.h"
#include "settings/inifile.h"
#include "settings/mainsettings.h"
#include "settings/settingslocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

// Qt's own chatter (a missing runtime folder of the offscreen platform) is
// no concern of a command-line user; real warnings still go through.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// File names that are not UTF-8 are written readably ("caf\xE9.jpg").
void say(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", tessaly::displayFileName(text).toUtf8().constData());
}

// undo-rename [FOLDER]: 0 when every file got its name back, 1 when some
// were skipped or there was nothing to undo.
int undoRename(const QString& journalFolder, const QStringList& inputs)
{
    using namespace tessaly;
    std::optional<QString> folder;
    if (!inputs.isEmpty())
        folder = paths::normalFolder(QDir::cleanPath(QDir::current().absoluteFilePath(inputs.front())));
    try {
        const UndoOutcome outcome = undoLastRename(journalFolder, folder);
        if (!outcome.found) {
            say(stderr,
                folder ? QStringLiteral("No rename to undo in %1").arg(*folder) : QStringLiteral("No rename to undo"));
            return 1;
        }
        for (const QString& line : outcome.skipped)
            say(stderr, line);
        say(stdout, QStringLiteral("%1 files renamed back in %2.").arg(outcome.restored).arg(outcome.folder));
        return outcome.skipped.isEmpty() ? 0 : 1;
    } catch (const Error& error) {
        say(stderr, error.message());
        return 1;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace tessaly;
    // Nothing here draws text: metafiles from other programs are played
    // back in a child process, which has its own GUI application. A core
    // application starts without a platform plugin or font database, which
    // would cost more than a run of a few thumbnails.
    qInstallMessageHandler(quietQtMessages);
    QCoreApplication application(argc, argv);

    // The arguments by their bytes: QCoreApplication::arguments() turns
    // each byte of a name that is not UTF-8 into U+FFFD (filenames.h).
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << decodeFileName(QByteArray(argv[i]));
    const ParsedArguments parsed = parseBatchArguments(arguments);
    if (parsed.help) {
        std::fputs(batchUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parsed.version) {
        say(stdout, QStringLiteral("tessaly-batch " TESSALY_VERSION));
        return 0;
    }
    if (!parsed.command) {
        say(stderr, QStringLiteral("tessaly-batch: ") + parsed.error);
        say(stderr, QStringLiteral("Try 'tessaly-batch --help'."));
        return 2;
    }
    const BatchCommand& command = *parsed.command;
    const IniFile settings = command.settingsPath.isEmpty() ? defaultSettingsFile() : IniFile(command.settingsPath);
    if (const auto refusal = checkSettingsFile(settings.path())) {
        say(stderr, QStringLiteral("tessaly-batch: ") + *refusal);
        return 2;
    }
    const QString journalFolder = journalFolderBeside(settings.path());
    if (command.undoRename)
        return undoRename(journalFolder, command.inputs);

    SourceFiles sources;
    if (command.filesFrom) {
        const PathList list = readPathList(*command.filesFrom, command.nullSeparated);
        sources = list.error.isEmpty()
                      ? resolveListedFiles(command.inputs, list.paths, command.mask, command.mode == BatchMode::Rename)
                      : SourceFiles{{}, {}, list.error};
    } else {
        sources = resolveSourceFiles(command.inputs, command.mask);
    }
    if (!sources.error.isEmpty()) {
        say(stderr, sources.error);
        return 2;
    }
    CommandJob job(command, settings, sources.folder);
    // The output folder is made only for a job that passed the checks.
    QString problem = checkBatchJob(command, job, sources.names);
    if (problem.isEmpty())
        problem = command.dryRun ? checkOutputFolder(command, job) : prepareOutputFolder(command, job);
    if (!problem.isEmpty()) {
        say(stderr, problem);
        return 2;
    }
    if (command.dryRun) {
        const DryRunResult plan = planRun(job, sources.names);
        std::fputs(displayFileName(dryRunListing(plan, int(sources.names.size()))).toUtf8().constData(), stdout);
        if (plan.incomplete)
            say(stderr, plan.message);
        return plan.incomplete ? 1 : 0;
    }

    RunState state;
    WorkingPictures pictures;
    ConsoleView view(state, sources.names, command.quiet);
    ConsoleView::catchInterrupt();
    RunContext run{job, view, state, pictures, sources.names};
    RenameJournal journal(journalFolder, sources.folder);
    if (command.mode == BatchMode::Rename)
        run.journal = &journal;
    const RunOutcome outcome = runBatch(run);
    if (outcome.failed) {
        // The view has shown the window's message; this line says what and where.
        const RunFailure& failure = outcome.failure;
        say(stderr,
            QStringLiteral("tessaly-batch: ") +
                (failure.file.isEmpty() ? failure.reason : failure.file + QStringLiteral(": ") + failure.reason));
    }
    if (outcome.unopened)
        say(stderr, QStringLiteral("tessaly-batch: ") + outcome.unopened->file + QStringLiteral(": ") +
                        outcome.unopened->reason);
    for (const RunFailure& refused : outcome.refused)
        say(stderr, QStringLiteral("tessaly-batch: ") + refused.file + QStringLiteral(": ") + refused.reason);
    say(stdout, outcome.completionText);

    bool galleryFailed = false;
    if (!command.html.isEmpty()) {
        GalleryInput gallery;
        gallery.options = readGalleryOptions(settings);
        if (command.galleryStyle)
            applyGalleryStyle(gallery.options, *command.galleryStyle);
        gallery.entries.assign(state.ProcessedFiles.begin(),
                               state.ProcessedFiles.begin() + std::min<std::size_t>(std::size_t(state.ProcessedCount),
                                                                                    state.ProcessedFiles.size()));
        gallery.htmlFolder = paths::folderOf(command.html);
        gallery.pageName = paths::fileNameOf(command.html);
        gallery.maxThumbSize = state.maxThumbSize;
        fillLinkPrefixes(gallery.options, gallery.htmlFolder, gallery.entries);
        try {
            FilePageSink sink;
            const GalleryResult result = writeGallery(gallery, sink);
            say(stdout, QStringLiteral("Gallery written: %1")
                            .arg(result.browsePath.isEmpty() ? result.shownPath : result.browsePath));
        } catch (const GalleryError& error) {
            say(stderr, error.message());
            galleryFailed = true;
        }
    }
    return outcome.complete && outcome.refused.empty() && !galleryFailed ? 0 : 1;
}
