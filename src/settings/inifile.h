#pragma once

#include "platform/error.h"

#include <QString>

namespace tessaly {

// A settings file that cannot be written; the message names the file:
// "Unable to write to /opt/tessaly/Tessaly.ini".
class SettingsWriteError : public Error {
public:
    explicit SettingsWriteError(const QString& path);
};

// One value's place in the settings file: its section and key, as stored.
// Each key is spelled once, in a table beside its reader and writer.
struct SettingsKey {
    QString section;
    QString name;
};

// A private-profile (INI) text file read and written one value at a time:
// "[Section]" lines open sections, "key=value" lines follow. Every call
// opens the file and lets it go again; nothing is cached. Section and key
// names match without regard to letter case, as the platform's profile
// functions do, and are written as given.
class IniFile {
public:
    // Whether a save makes the file's missing folder first (the user's
    // config folder) or fails with SettingsWriteError.
    enum class MissingFolder { Fail, Create };

    explicit IniFile(QString path, MissingFolder missingFolder = MissingFolder::Fail)
        : m_path(std::move(path)), m_missingFolder(missingFolder)
    {
    }
    const QString& path() const { return m_path; }

    // The stored text (at most 2047 characters), or `fallback` when the
    // file, the section or the key is missing.
    QString readString(const QString& section, const QString& key, const QString& fallback) const;
    // A decimal number, or a hexadecimal one after "0x", "0X" or "$";
    // `fallback` when missing or not a number.
    int readInteger(const QString& section, const QString& key, int fallback) const;

    // Replaces one value in place; a new key goes at the end of its section,
    // a new section at the end of the file. Everything else in the file
    // (comments, unknown sections, order) stays. Throws SettingsWriteError.
    void writeString(const QString& section, const QString& key, const QString& value) const;
    void writeInteger(const QString& section, const QString& key, int value) const;

    QString readString(const SettingsKey& key, const QString& fallback) const
    {
        return readString(key.section, key.name, fallback);
    }
    int readInteger(const SettingsKey& key, int fallback) const { return readInteger(key.section, key.name, fallback); }
    void writeString(const SettingsKey& key, const QString& value) const { writeString(key.section, key.name, value); }
    void writeInteger(const SettingsKey& key, int value) const { writeInteger(key.section, key.name, value); }

    static constexpr int kMaxValueLength = 2047;

private:
    QString m_path;
    MissingFolder m_missingFolder = MissingFolder::Fail;
};

// Reads an integer as the settings file stores it; false for anything else.
bool parseSettingsInteger(const QString& text, int& value);

}  // namespace tessaly
