// tessaly-batch: the thumbnail, rename, copy and convert runs and the
// gallery from the command line, with the window's own code and rules.
#include "batch/runs.h"
#include "cli/batchcommand.h"
#include "cli/consoleview.h"
#include "gallery/gallerywriter.h"
#include "gallery/linkprefix.h"
#include "imaging/workingpictures.h"
#include "platform/paths.h"
#include "settings/gallerysettings.h"
#include "settings/mainsettings.h"
#include "settings/settingslocation.h"

#include <QFileInfo>
#include <QGuiApplication>
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

void say(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace tessaly;
    // Metafile text needs fonts, which need a GUI application, but never a display.
    qInstallMessageHandler(quietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    const ParsedArguments parsed = parseBatchArguments(QGuiApplication::arguments().mid(1));
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

    const SourceFiles sources = resolveSourceFiles(command.inputs, command.mask);
    if (!sources.error.isEmpty()) {
        say(stderr, sources.error);
        return 2;
    }
    CommandJob job(command, settings, sources.folder);
    // The output folder is made only for a job that passed the checks.
    QString problem = checkBatchJob(command, job, sources.names);
    if (problem.isEmpty())
        problem = prepareOutputFolder(command, job);
    if (!problem.isEmpty()) {
        say(stderr, problem);
        return 2;
    }

    RunState state;
    WorkingPictures pictures;
    ConsoleView view(state, sources.names, command.quiet);
    ConsoleView::catchInterrupt();
    RunContext run{job, view, state, pictures, sources.names};
    const RunOutcome outcome = runBatch(run);
    if (outcome.failed) {
        // The view has shown the window's message; this line says what and where.
        const RunFailure& failure = outcome.failure;
        say(stderr, QStringLiteral("tessaly-batch: ") +
                        (failure.file.isEmpty() ? failure.reason : failure.file + QStringLiteral(": ") + failure.reason));
    }
    say(stdout, outcome.completionText);

    bool galleryFailed = false;
    if (!command.html.isEmpty()) {
        GalleryInput gallery;
        gallery.options = readGalleryOptions(settings);
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
            say(stdout, QStringLiteral("Gallery written: %1").arg(result.browsePath.isEmpty() ? result.shownPath : result.browsePath));
        } catch (const GalleryError& error) {
            say(stderr, error.message());
            galleryFailed = true;
        }
    }
    return outcome.complete && !galleryFailed ? 0 : 1;
}
