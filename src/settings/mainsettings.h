#pragma once

#include "batch/modes.h"
#include "settings/inifile.h"

#include <QString>
#include <optional>

namespace tessaly {

// The keys of the main window's share of the settings file, spelled as
// stored, and the deletion dialog's and the output location dialog's keys.
namespace keys {
inline const QString kDirectories = QStringLiteral("Directories");
inline const QString kThumbnails = QStringLiteral("Thumbnails");
inline const SettingsKey kInput{kDirectories, QStringLiteral("Input")};
inline const SettingsKey kOutput{kDirectories, QStringLiteral("Output")};
inline const SettingsKey kRecycleBin{kDirectories, QStringLiteral("RecycleBin")};
inline const SettingsKey kHtmlName{kDirectories, QStringLiteral("htmlName")};
inline const SettingsKey kResizeSpeed{kThumbnails, QStringLiteral("Resize Speed")};
inline const SettingsKey kThumbWidth{kThumbnails, QStringLiteral("Thumb Width")};
inline const SettingsKey kThumbHeight{kThumbnails, QStringLiteral("Thumb Height")};
inline const SettingsKey kMaintainRatio{kThumbnails, QStringLiteral("Maintain Ratio")};
inline const SettingsKey kForceWidth{kThumbnails, QStringLiteral("Force Width")};
inline const SettingsKey kForceHeight{kThumbnails, QStringLiteral("Force Height")};
inline const SettingsKey kCreateAs{kThumbnails, QStringLiteral("Create As")};
inline const SettingsKey kNamingOption{kThumbnails, QStringLiteral("Naming Option")};
inline const SettingsKey kQualifier{kThumbnails, QStringLiteral("Output File Qualifier")};
inline const SettingsKey kJpgCompression{kThumbnails, QStringLiteral("Jpg Compression")};
inline const SettingsKey kOverwriteFiles{kThumbnails, QStringLiteral("Overwrite Files")};
// Written only once the user has turned photos upright off.
inline const SettingsKey kAutoOrient{kThumbnails, QStringLiteral("Turn Upright")};
// Written only once the user has turned them on.
inline const SettingsKey kKeepMetadata{kThumbnails, QStringLiteral("Keep Photo Information")};
inline const SettingsKey kKeepLocation{kThumbnails, QStringLiteral("Keep Location")};
}  // namespace keys

// The main window's remembered choices of the "Thumbnails" section, as
// read by its rules: words compared with case, flags "not 0", the slider
// value as stored (the slider clamps it).
struct ThumbnailSettings {
    ResizeSpeed resizeSpeed = ResizeSpeed::Quality;
    QString thumbWidth = QStringLiteral("96");
    QString thumbHeight = QStringLiteral("96");
    bool keepRatio = false;
    bool forceWidth = false;
    bool forceHeight = false;
    // The item of the type list named by the stored word, none for a word
    // outside the list.
    std::optional<OutputType> createAs = OutputType::Jpg;
    // None for a word that is no option.
    std::optional<NamingOption> naming = NamingOption::PreSeq;
    QString thumbQualifier = QStringLiteral("Thumb");
    int jpegQuality = 90;
    bool overwrite = true;
    bool autoOrient = true;
    bool keepMetadata = false;
    bool keepLocation = false;
};

// The two folders; default: the root of the working folder.
QString readInputFolder(const IniFile& file);
QString readOutputFolder(const IniFile& file);
ThumbnailSettings readThumbnailSettings(const IniFile& file);

// What the main window saves, in the order it saves it.
struct MainSettings {
    QString inputFolder;
    QString outputFolder;
    ResizeSpeed resizeSpeed = ResizeSpeed::Quality;
    QString thumbWidth, thumbHeight;
    bool keepRatio = false, forceWidth = false, forceHeight = false;
    // The type list's text, kept as typed.
    QString createAs;
    // None (typed text) is stored as "PreSeq", which reads back as item 0.
    std::optional<NamingOption> naming;
    QString thumbQualifier;
    int jpegQuality = 90;
    bool overwrite = true;
    bool autoOrient = true;
    bool keepMetadata = false;
    bool keepLocation = false;
};
// Writes every key of the main window in its order; both force flags are
// never written as 1. "Turn Upright" is written only when it is off or was
// stored before, and "Keep Photo Information" and "Keep Location" only
// when on or stored before, so that a file written from nothing holds the
// same keys as always. Throws SettingsWriteError at the first failure.
void writeMainSettings(const IniFile& file, const MainSettings& settings);

// The deletion dialog's choice: exactly "Yes" means the trash.
bool readRecycleBin(const IniFile& file);
void writeRecycleBin(const IniFile& file, bool recycle);

// The gallery page's file name of the output location dialog.
QString readHtmlName(const IniFile& file);
void writeHtmlName(const IniFile& file, const QString& name);

}  // namespace tessaly
