#include "settings/mainsettings.h"

#include "platform/paths.h"

namespace tessaly {

using namespace keys;

QString readInputFolder(const IniFile& file)
{
    return file.readString(kDirectories, kInput, paths::rootOfWorkingFolder());
}

QString readOutputFolder(const IniFile& file)
{
    return file.readString(kDirectories, kOutput, paths::rootOfWorkingFolder());
}

ThumbnailSettings readThumbnailSettings(const IniFile& file)
{
    ThumbnailSettings s;
    s.qualityResize = file.readString(kThumbnails, QStringLiteral("Resize Speed"), QStringLiteral("Quality")) ==
                      QLatin1String("Quality");
    s.thumbWidth = file.readString(kThumbnails, QStringLiteral("Thumb Width"), QStringLiteral("96"));
    s.thumbHeight = file.readString(kThumbnails, QStringLiteral("Thumb Height"), QStringLiteral("96"));
    s.keepRatio = file.readInteger(kThumbnails, QStringLiteral("Maintain Ratio"), 0) != 0;
    s.forceWidth = file.readInteger(kThumbnails, QStringLiteral("Force Width"), 0) != 0;
    s.forceHeight = file.readInteger(kThumbnails, QStringLiteral("Force Height"), 0) != 0;
    const QString createAs = file.readString(kThumbnails, QStringLiteral("Create As"), QStringLiteral("jpg"));
    s.createAsIndex = kConvertItems.contains(createAs) ? std::optional<int>(int(kConvertItems.indexOf(createAs)))
                                                       : std::nullopt;
    const QString naming = file.readString(kThumbnails, QStringLiteral("Naming Option"), QStringLiteral("PreSeq"));
    s.namingIndex = kNamingWords.contains(naming) ? std::optional<int>(int(kNamingWords.indexOf(naming)))
                                                  : std::nullopt;
    s.thumbQualifier = file.readString(kThumbnails, QStringLiteral("Output File Qualifier"), QStringLiteral("Thumb"));
    s.jpegQuality = file.readInteger(kThumbnails, QStringLiteral("Jpg Compression"), 90);
    s.overwrite = file.readInteger(kThumbnails, QStringLiteral("Overwrite Files"), 1) != 0;
    return s;
}

void writeMainSettings(const IniFile& file, const MainSettings& s)
{
    file.writeString(kDirectories, kInput, s.inputFolder);
    file.writeString(kDirectories, kOutput, s.outputFolder);
    file.writeString(kThumbnails, QStringLiteral("Resize Speed"),
                     s.qualityResize ? QStringLiteral("Quality") : QStringLiteral("Fast"));
    file.writeString(kThumbnails, QStringLiteral("Thumb Width"), s.thumbWidth);
    file.writeString(kThumbnails, QStringLiteral("Thumb Height"), s.thumbHeight);
    file.writeInteger(kThumbnails, QStringLiteral("Maintain Ratio"), s.keepRatio ? 1 : 0);
    // The two force flags are never both 1: Force Height decides last.
    if (s.forceWidth) {
        file.writeInteger(kThumbnails, QStringLiteral("Force Width"), 1);
        file.writeInteger(kThumbnails, QStringLiteral("Force Height"), 0);
    } else {
        file.writeInteger(kThumbnails, QStringLiteral("Force Width"), 0);
    }
    if (s.forceHeight) {
        file.writeInteger(kThumbnails, QStringLiteral("Force Height"), 1);
        file.writeInteger(kThumbnails, QStringLiteral("Force Width"), 0);
    } else {
        file.writeInteger(kThumbnails, QStringLiteral("Force Height"), 0);
    }
    file.writeString(kThumbnails, QStringLiteral("Create As"), s.createAs);
    file.writeString(kThumbnails, QStringLiteral("Naming Option"),
                     s.namingIndex >= 0 && s.namingIndex < kNamingWords.size() ? kNamingWords[s.namingIndex]
                                                                                : kNamingWords[0]);
    file.writeString(kThumbnails, QStringLiteral("Output File Qualifier"), s.thumbQualifier);
    file.writeInteger(kThumbnails, QStringLiteral("Jpg Compression"), s.jpegQuality);
    file.writeInteger(kThumbnails, QStringLiteral("Overwrite Files"), s.overwrite ? 1 : 0);
}

bool readRecycleBin(const IniFile& file)
{
    return file.readString(kDirectories, kRecycleBin, QStringLiteral("Yes")) == QLatin1String("Yes");
}

void writeRecycleBin(const IniFile& file, bool recycle)
{
    file.writeString(kDirectories, kRecycleBin, recycle ? QStringLiteral("Yes") : QStringLiteral("No"));
}

QString readHtmlName(const IniFile& file)
{
    return file.readString(kDirectories, kHtmlName, QStringLiteral("MyWeb.htm"));
}

void writeHtmlName(const IniFile& file, const QString& name)
{
    file.writeString(kDirectories, kHtmlName, name);
}

}  // namespace tessaly
