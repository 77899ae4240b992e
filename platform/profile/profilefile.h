#pragma once
// A profile (INI) file on disk, read and written the way the program's configuration files are:
// integers in decimal ("0x", "0X" and "$" hexadecimal also read), booleans as "1" and "0", strings up
// to 2047 characters. Writes are kept in memory and reach the disk, all together and atomically, at
// flush(); a crash never leaves a half-written file.

#include "platform/profile/profiledocument.h"

#include <QString>

namespace platform {

class ProfileFile {
public:
    // Files larger than this are not read (a profile file is a few hundred bytes); the file then counts
    // as unreadable.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    // Reads the file at `path` when it exists; a missing file is an empty profile. An existing file
    // that cannot be read leaves the profile empty and makes every write and flush fail, so that the
    // file is never replaced by a profile that lost its contents.
    explicit ProfileFile(QString path);
    // Flushes changes that were not flushed yet (the result is lost: call flush() to learn it).
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    const QString& path() const { return path_; }

    // The string value of the key, cut to 2047 characters; `defaultValue` when the key is missing.
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The integer value: signed decimal, or "0x"/"0X"/"$" followed by up to eight hexadecimal digits
    // (taken as a 32-bit pattern, so "0xFF00000F" is -16777201). Anything else, and a missing key,
    // gives `defaultValue`.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // An integer (as readInteger) other than 0 is true, 0 is false; anything else gives `defaultValue`.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // Set the key's value in memory (see ProfileDocument::setValue for where it goes). Return false
    // when the value cannot be stored (a name or value that a profile file cannot hold, an unreadable
    // file) or when the last flush failed and none has succeeded since; the value is then still kept
    // for the next flush unless it could not be stored at all.
    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);  // signed decimal
    bool writeBool(const QString& section, const QString& key, bool value);    // "1" or "0"

    // Replaces the file on disk with the whole profile (UTF-8, CR LF), atomically: either the new file
    // is complete or the old one is untouched. The folder is not created. Returns false on any failure
    // (missing or write-protected folder, full disk, unreadable original).
    bool flush();

    // The integer rule of readInteger on a bare value; nothing when it is not a number.
    static std::optional<int> parseInteger(const QString& text);

private:
    bool afterWrite(bool stored);

    QString path_;
    ProfileDocument document_;
    bool readable_ = true;     // the file was missing or read completely
    bool lastFlushFailed_ = false;
    bool unflushed_ = false;
};

}  // namespace platform
