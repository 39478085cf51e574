#pragma once

#include "settings/inifile.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tessaly {

// The sections and keys of the settings file, spelled as stored.
namespace keys {
inline const QString kDirectories = QStringLiteral("Directories");
inline const QString kInput = QStringLiteral("Input");
inline const QString kOutput = QStringLiteral("Output");
inline const QString kRecycleBin = QStringLiteral("RecycleBin");
inline const QString kHtmlName = QStringLiteral("htmlName");
inline const QString kThumbnails = QStringLiteral("Thumbnails");
}  // namespace keys

// The main window's remembered choices of the "Thumbnails" section, as
// read by its rules: words compared with case, flags "not 0", the slider
// value as stored (the slider clamps it).
struct ThumbnailSettings {
    bool qualityResize = true;
    QString thumbWidth = QStringLiteral("96");
    QString thumbHeight = QStringLiteral("96");
    bool keepRatio = false;
    bool forceWidth = false;
    bool forceHeight = false;
    // The item of the type list named by the stored word, none for a word
    // outside the list.
    std::optional<int> createAsIndex = 0;
    std::optional<int> namingIndex = 0;
    QString thumbQualifier = QStringLiteral("Thumb");
    int jpegQuality = 90;
    bool overwrite = true;
};

// The two folders; default: the root of the working folder.
QString readInputFolder(const IniFile& file);
QString readOutputFolder(const IniFile& file);
ThumbnailSettings readThumbnailSettings(const IniFile& file);

// What the main window saves, in the order it saves it.
struct MainSettings {
    QString inputFolder;
    QString outputFolder;
    bool qualityResize = true;
    QString thumbWidth, thumbHeight;
    bool keepRatio = false, forceWidth = false, forceHeight = false;
    QString createAs;
    int namingIndex = 0;
    QString thumbQualifier;
    int jpegQuality = 90;
    bool overwrite = true;
};
// Writes every key of the main window in its order; both force flags are
// never written as 1. Throws SettingsWriteError at the first failure.
void writeMainSettings(const IniFile& file, const MainSettings& settings);

// The items of the type list and the stored words of the naming options.
inline const QStringList kConvertItems = {QStringLiteral("jpg"), QStringLiteral("gif"), QStringLiteral("bmp"),
                                          QStringLiteral("emf"), QStringLiteral("wmf"),
                                          QStringLiteral("No Conversion")};
inline const QStringList kNamingWords = {QStringLiteral("PreSeq"), QStringLiteral("PreName"),
                                         QStringLiteral("SufSeq"), QStringLiteral("SufName")};

// The deletion dialog's choice: exactly "Yes" means the trash.
bool readRecycleBin(const IniFile& file);
void writeRecycleBin(const IniFile& file, bool recycle);

// The gallery page's file name of the output location dialog.
QString readHtmlName(const IniFile& file);
void writeHtmlName(const IniFile& file, const QString& name);

}  // namespace tessaly
