#include "settings/mainsettings.h"

#include "platform/paths.h"

namespace tessaly {

using namespace keys;

QString readInputFolder(const IniFile& file)
{
    return file.readString(kInput, paths::startFolder());
}

QString readOutputFolder(const IniFile& file)
{
    return file.readString(kOutput, paths::startFolder());
}

ThumbnailSettings readThumbnailSettings(const IniFile& file)
{
    const ThumbnailSettings d;  // the defaults of the keys
    ThumbnailSettings s;
    s.resizeSpeed = resizeSpeedFromWord(file.readString(kResizeSpeed, wordOf(d.resizeSpeed)));
    s.thumbWidth = file.readString(kThumbWidth, d.thumbWidth);
    s.thumbHeight = file.readString(kThumbHeight, d.thumbHeight);
    s.keepRatio = file.readInteger(kMaintainRatio, 0) != 0;
    s.forceWidth = file.readInteger(kForceWidth, 0) != 0;
    s.forceHeight = file.readInteger(kForceHeight, 0) != 0;
    s.createAs = outputTypeFromText(file.readString(kCreateAs, textOf(*d.createAs)));
    s.naming = namingOptionFromWord(file.readString(kNamingOption, wordOf(*d.naming)));
    s.thumbQualifier = file.readString(kQualifier, d.thumbQualifier);
    s.jpegQuality = file.readInteger(kJpgCompression, d.jpegQuality);
    s.overwrite = file.readInteger(kOverwriteFiles, 1) != 0;
    s.autoOrient = file.readInteger(kAutoOrient, 1) != 0;
    s.keepMetadata = file.readInteger(kKeepMetadata, 0) != 0;
    s.keepLocation = file.readInteger(kKeepLocation, 0) != 0;
    return s;
}

void writeMainSettings(const IniFile& file, const MainSettings& s)
{
    file.writeString(kInput, s.inputFolder);
    file.writeString(kOutput, s.outputFolder);
    file.writeString(kResizeSpeed, wordOf(s.resizeSpeed));
    file.writeString(kThumbWidth, s.thumbWidth);
    file.writeString(kThumbHeight, s.thumbHeight);
    file.writeInteger(kMaintainRatio, s.keepRatio ? 1 : 0);
    // The two force flags are never both 1: Force Height decides last.
    if (s.forceWidth) {
        file.writeInteger(kForceWidth, 1);
        file.writeInteger(kForceHeight, 0);
    } else {
        file.writeInteger(kForceWidth, 0);
    }
    if (s.forceHeight) {
        file.writeInteger(kForceHeight, 1);
        file.writeInteger(kForceWidth, 0);
    } else {
        file.writeInteger(kForceHeight, 0);
    }
    file.writeString(kCreateAs, s.createAs);
    file.writeString(kNamingOption, wordOf(s.naming.value_or(NamingOption::PreSeq)));
    file.writeString(kQualifier, s.thumbQualifier);
    file.writeInteger(kJpgCompression, s.jpegQuality);
    file.writeInteger(kOverwriteFiles, s.overwrite ? 1 : 0);
    // A key missing from the file reads as -1: there is nothing to undo.
    if (!s.autoOrient || file.readInteger(kAutoOrient, -1) != -1)
        file.writeInteger(kAutoOrient, s.autoOrient ? 1 : 0);
    if (s.keepMetadata || file.readInteger(kKeepMetadata, -1) != -1)
        file.writeInteger(kKeepMetadata, s.keepMetadata ? 1 : 0);
    if (s.keepLocation || file.readInteger(kKeepLocation, -1) != -1)
        file.writeInteger(kKeepLocation, s.keepLocation ? 1 : 0);
}

bool readRecycleBin(const IniFile& file)
{
    return file.readString(kRecycleBin, QStringLiteral("Yes")) == QLatin1String("Yes");
}

void writeRecycleBin(const IniFile& file, bool recycle)
{
    file.writeString(kRecycleBin, recycle ? QStringLiteral("Yes") : QStringLiteral("No"));
}

QString readHtmlName(const IniFile& file)
{
    return file.readString(kHtmlName, QStringLiteral("MyWeb.htm"));
}

void writeHtmlName(const IniFile& file, const QString& name)
{
    file.writeString(kHtmlName, name);
}

}  // namespace tessaly
