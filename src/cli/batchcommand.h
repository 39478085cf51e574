#pragma once

#include "batch/runinterfaces.h"
#include "gallery/gallerystyle.h"
#include "imaging/picture.h"
#include "settings/inifile.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tessaly {

enum class BatchMode { Thumbs, Rename, Copy, Convert };

// Which side a kept aspect ratio is always scaled to.
enum class ForceSide { Neither, Width, Height };

// What the command line asked for; options left out (none) take the
// settings file's values, and every setting can be given either way.
struct BatchCommand {
    BatchMode mode = BatchMode::Thumbs;
    QStringList inputs;
    QString settingsPath;
    QString mask = kAllPicturesMask;
    std::optional<QString> out;
    std::optional<NamingOption> naming;
    std::optional<QString> qualifier;
    std::optional<QString> sequence;
    std::optional<QString> width, height;
    bool exactSize = false;  // --size WxH: exactly W by H unless --keep-ratio
    std::optional<bool> keepRatio;
    std::optional<ForceSide> force;
    std::optional<ResizeSpeed> speed;
    std::optional<OutputType> type;
    std::optional<int> quality;
    std::optional<bool> overwrite;
    std::optional<bool> autoOrient;
    std::optional<bool> keepMetadata;
    std::optional<bool> keepLocation;
    QString html;
    std::optional<GalleryStyle> galleryStyle;  // none: the settings file's options
    bool allowDuplicates = false, sameFolder = false, quiet = false;
    bool undoRename = false;           // undo-rename [FOLDER]: inputs hold the folder
    bool dryRun = false;               // list what the run would do, write nothing
    std::optional<QString> filesFrom;  // a list of files; "-" for standard input
    bool nullSeparated = false;        // the list's paths end with NUL, not newline
};

struct ParsedArguments {
    std::optional<BatchCommand> command;
    bool help = false;
    bool version = false;
    QString error;  // bad usage
};

// Reads `arguments` (without the program name).
ParsedArguments parseBatchArguments(const QStringList& arguments);
QString batchUsage();

// The selected files: one folder and the names in the order the window
// lists them (without regard to case).
struct SourceFiles {
    QString folder;
    QStringList names;
    QString error;
};
// Files stand for themselves, folders for their files matching `mask`.
SourceFiles resolveSourceFiles(const QStringList& inputs, const QString& mask);

// The job the command describes, over the settings file's values: fixed
// for the whole run.
class CommandJob final : public JobSource {
public:
    CommandJob(const BatchCommand& command, const IniFile& settings, const QString& inputFolder);

    bool thumbnails() const override { return m_mode == BatchMode::Thumbs; }
    bool renameOnly() const override { return m_mode == BatchMode::Rename; }
    std::optional<NamingOption> naming() const override { return m_naming; }
    QString thumbQualifier() const override { return m_qualifier; }
    QString imageQualifier() const override { return m_qualifier; }
    QString sequenceField() const override { return m_sequence; }
    std::optional<OutputType> outputType() const override { return m_type; }
    QString widthText() const override { return m_width; }
    QString heightText() const override { return m_height; }
    bool keepAspect() const override { return m_keepRatio; }
    bool forceWidth() const override { return m_forceWidth; }
    bool forceHeight() const override { return m_forceHeight; }
    ResizeSpeed resizeSpeed() const override { return m_speed; }
    int jpegQuality() const override { return m_quality; }
    bool overwrite() const override { return m_overwrite; }
    QString inputFolder() const override { return m_input; }
    QString outputFolder() const override { return m_output; }
    bool autoOrient() const override { return m_autoOrient; }
    bool keepMetadata() const override { return m_keepMetadata; }
    bool keepLocation() const override { return m_keepLocation; }

private:
    BatchMode m_mode;
    NamingOption m_naming = NamingOption::PreSeq;
    QString m_qualifier, m_sequence, m_width, m_height;
    OutputType m_type = OutputType::Jpg;
    bool m_keepRatio = false, m_forceWidth = false, m_forceHeight = false;
    ResizeSpeed m_speed = ResizeSpeed::Quality;
    int m_quality = 90;
    bool m_overwrite = true;
    bool m_autoOrient = true;
    bool m_keepMetadata = false, m_keepLocation = false;
    QString m_input, m_output;
};

// The wizard's checks that protect the user; the message, or empty.
QString checkBatchJob(const BatchCommand& command, const JobSource& job, const QStringList& names);

// Creates a missing output folder with its parents (not for renaming,
// which writes into the input folder); the message when it cannot, or empty.
QString prepareOutputFolder(const BatchCommand& command, const JobSource& job);
// The same check without creating anything, for a dry run.
QString checkOutputFolder(const BatchCommand& command, const JobSource& job);

}  // namespace tessaly
