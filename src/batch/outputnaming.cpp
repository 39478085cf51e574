#include "batch/outputnaming.h"

#include "batch/integertext.h"
#include "batch/nameparts.h"
#include "imaging/picture.h"
#include "platform/paths.h"

namespace tessaly {

QString extensionOf(FileType type)
{
    switch (type) {
    case FileType::Jpg: return QStringLiteral(".jpg");
    case FileType::Gif: return QStringLiteral(".gif");
    case FileType::Bmp: return QStringLiteral(".bmp");
    case FileType::Emf: return QStringLiteral(".emf");
    case FileType::Wmf: return QStringLiteral(".wmf");
    case FileType::Png: return QStringLiteral(".png");
    case FileType::Webp: return QStringLiteral(".webp");
    case FileType::Tiff: return QStringLiteral(".tif");
    case FileType::Heif: return QStringLiteral(".heic");
    case FileType::Avif: return QStringLiteral(".avif");
    case FileType::None: break;
    }
    return {};
}

SequenceFormat::SequenceFormat(const QString& fieldAtStart) : m_width(int(fieldAtStart.size())) {}

QString SequenceFormat::text(const QString& field, int position) const
{
    const long long number = static_cast<long long>(parseWholeNumber(field)) + position;
    QString result = QString::number(number).rightJustified(m_width, u' ');
    result.replace(u' ', u'0');
    return result;
}

QString SequenceText(const QString& field, int position)
{
    return SequenceFormat(field).text(field, position);
}

namespace {

// ".jpeg" for "jpeg"; nothing for no type text.
QString dotted(const QString& typeText)
{
    return typeText.isEmpty() ? QString() : u'.' + typeText;
}

}  // namespace

QString BuildOutputName(RunKind kind, const SequenceFormat& format, const NamingInputs& in)
{
    const QString& q = in.qualifier;
    auto sequence = [&] { return format.text(in.sequenceField, in.position); };
    QString name;
    if (kind == RunKind::ThumbnailOrConvert) {
        switch (in.option) {
        case NamingOption::PreSeq: name = q + sequence(); break;
        case NamingOption::PreName: name = q + baseNameOf(in.sourceName); break;
        case NamingOption::SufSeq: name = sequence() + q; break;
        case NamingOption::SufName: name = baseNameOf(in.sourceName) + q; break;
        }
    } else {
        const QString type = typeTextOf(in.sourceName);
        switch (in.option) {
        case NamingOption::PreSeq: name = q + sequence() + dotted(type); break;
        case NamingOption::PreName: name = q + in.sourceName; break;
        case NamingOption::SufSeq: name = sequence() + q + dotted(type); break;
        case NamingOption::SufName: name = baseNameOf(in.sourceName) + q + dotted(type); break;
        }
    }
    return paths::join(in.folder, name);
}

FileType outputTypeOf(std::optional<OutputType> chosen, const QString& sourceName)
{
    if (!chosen)
        return FileType::None;
    switch (*chosen) {
    case OutputType::Jpg: return FileType::Jpg;
    case OutputType::Gif: return FileType::Gif;
    case OutputType::Bmp: return FileType::Bmp;
    case OutputType::Emf: return FileType::Emf;
    case OutputType::Wmf: return FileType::Wmf;
    case OutputType::NoConversion: break;
    }
    switch (pictureKindForName(sourceName)) {
    case PictureKind::Jpeg: return FileType::Jpg;
    case PictureKind::Gif: return FileType::Gif;
    case PictureKind::Bmp: return FileType::Bmp;
    case PictureKind::Metafile:
        return typeTextOf(sourceName).toLower() == QLatin1String("emf") ? FileType::Emf : FileType::Wmf;
    case PictureKind::Png: return FileType::Png;
    case PictureKind::Webp: return FileType::Webp;
    case PictureKind::Tiff: return FileType::Tiff;
    case PictureKind::Heif: return FileType::Heif;
    case PictureKind::Avif: return FileType::Avif;
    case PictureKind::None: break;
    }
    return FileType::None;
}

}  // namespace tessaly
