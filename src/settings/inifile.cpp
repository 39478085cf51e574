#include "settings/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <optional>

namespace tessaly {

namespace {

struct Lines {
    QStringList lines;
    QString lineEnd = QStringLiteral("\n");
};

std::optional<Lines> readLines(const QString& path)
{
    // Only a regular file of a settings file's size is read: a device
    // (/dev/zero), a pipe or a huge file would read without end, block or
    // take minutes; they count as no file (the defaults apply).
    if (checkSettingsFile(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = QString::fromUtf8(file.readAll());
    Lines result;
    if (text.contains(QLatin1String("\r\n")))
        result.lineEnd = QStringLiteral("\r\n");
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.lines = normal.split(u'\n');
    // A final line end leaves one empty piece that is not a line.
    if (!result.lines.isEmpty() && result.lines.back().isEmpty())
        result.lines.removeLast();
    return result;
}

std::optional<QString> sectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(u'[') && trimmed.endsWith(u']'))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return std::nullopt;
}

bool isComment(const QString& line)
{
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

// The key of a "key=value" line, or none.
std::optional<QString> keyOf(const QString& line)
{
    if (isComment(line))
        return std::nullopt;
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return line.left(equals).trimmed();
}

bool sameName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

}  // namespace

SettingsWriteError::SettingsWriteError(const QString& path) : Error(QStringLiteral("Unable to write to %1").arg(path))
{
}

std::optional<QString> checkSettingsFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    if (!info.isFile())
        return QStringLiteral("%1 is not a settings file: not a regular file").arg(path);
    if (info.size() > IniFile::kMaxFileSize)
        return QStringLiteral("%1 is not a settings file: larger than %2 KB")
            .arg(path)
            .arg(IniFile::kMaxFileSize / 1024);
    return std::nullopt;
}

bool parseSettingsInteger(const QString& text, int& value)
{
    QString digits = text.trimmed();
    bool negative = false;
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) {
        negative = digits.startsWith(u'-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1String("0x")) || digits.startsWith(QLatin1String("0X"))) {
        base = 16;
        digits.remove(0, 2);
    } else if (digits.startsWith(u'$')) {
        base = 16;
        digits.remove(0, 1);
    }
    if (digits.isEmpty())
        return false;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        const bool decimal = u >= u'0' && u <= u'9';
        const bool hex = decimal || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        const bool ok = base == 10 ? decimal : hex;
        if (!ok)
            return false;
    }
    bool ok = false;
    const qlonglong parsed = digits.toLongLong(&ok, base);
    if (!ok)
        return false;
    const qlonglong signedValue = negative ? -parsed : parsed;
    // Hexadecimal values fill the 32 bits as they stand ($FFFFFFFF is -1).
    if (base == 16 && !negative && signedValue <= 0xFFFFFFFFLL) {
        value = int(std::uint32_t(signedValue));
        return true;
    }
    if (signedValue < std::numeric_limits<int>::min() || signedValue > std::numeric_limits<int>::max())
        return false;
    value = int(signedValue);
    return true;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& fallback) const
{
    const std::optional<Lines> file = readLines(m_path);
    if (!file)
        return fallback;
    bool inSection = false;
    for (const QString& line : file->lines) {
        if (const auto name = sectionName(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto lineKey = keyOf(line); lineKey && sameName(*lineKey, key))
            return line.mid(line.indexOf(u'=') + 1).trimmed().left(kMaxValueLength);
    }
    return fallback;
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const
{
    int value = fallback;
    const QString text = readString(section, key, QString());
    return parseSettingsInteger(text, value) ? value : fallback;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) const
{
    Lines file = readLines(m_path).value_or(Lines{});
    const QString entry = key + u'=' + value;
    qsizetype sectionAt = -1;
    qsizetype lastInSection = -1;  // the last key line of the section
    bool inSection = false;
    bool written = false;
    for (qsizetype i = 0; i < file.lines.size() && !written; ++i) {
        if (const auto name = sectionName(file.lines[i])) {
            if (inSection)
                break;
            inSection = sameName(*name, section);
            if (inSection) {
                sectionAt = i;
                lastInSection = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (const auto lineKey = keyOf(file.lines[i])) {
            if (sameName(*lineKey, key)) {
                file.lines[i] = entry;
                written = true;
            } else {
                lastInSection = i;
            }
        }
    }
    if (!written) {
        if (sectionAt < 0) {
            if (!file.lines.isEmpty() && !file.lines.back().trimmed().isEmpty())
                file.lines << QString();
            file.lines << u'[' + section + u']' << entry;
        } else {
            file.lines.insert(lastInSection + 1, entry);
        }
    }

    if (m_missingFolder == MissingFolder::Create)
        QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile out(m_path);
    // A file in a folder we may not write to can still be rewritten in place.
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        throw SettingsWriteError(m_path);
    const QByteArray bytes = (file.lines.join(file.lineEnd) + file.lineEnd).toUtf8();
    // Flushed and checked before the commit, which would rename a file
    // whose last flush failed (a full disk).
    if (out.write(bytes) != bytes.size() || !out.flush() || out.error() != QFileDevice::NoError || !out.commit())
        throw SettingsWriteError(m_path);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) const
{
    writeString(section, key, QString::number(value));
}

}  // namespace tessaly
