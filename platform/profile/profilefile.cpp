#include "platform/profile/profilefile.h"

#include <QFile>
#include <QSaveFile>

#include <limits>

namespace platform {

namespace {

int hexDigit(QChar c) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return c.unicode() - '0';
    if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
        return c.unicode() - 'a' + 10;
    if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
        return c.unicode() - 'A' + 10;
    return -1;
}

std::optional<int> parseHex(QStringView digits) {
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (QChar c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + quint64(digit);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    // Hexadecimal values are 32-bit patterns: FF00000F is the colour code -16777201.
    return int(quint32(value));
}

std::optional<int> parseDecimal(QStringView text) {
    bool negative = false;
    if (!text.isEmpty() && (text.front() == QLatin1Char('-') || text.front() == QLatin1Char('+'))) {
        negative = text.front() == QLatin1Char('-');
        text = text.sliced(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    const qint64 limit = negative ? -qint64(std::numeric_limits<int>::min()) : std::numeric_limits<int>::max();
    qint64 value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > limit)
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

enum class ReadResult { Missing, Read, Failed };

ReadResult readWholeFile(const QString& path, QByteArray& contents) {
    QFile file(path);
    if (!file.exists())
        return ReadResult::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return ReadResult::Failed;
    if (file.size() > ProfileFile::kMaxFileSize)
        return ReadResult::Failed;
    contents = file.read(ProfileFile::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || contents.size() > ProfileFile::kMaxFileSize)
        return ReadResult::Failed;
    return ReadResult::Read;
}

}  // namespace

ProfileFile::ProfileFile(QString path) : path_(std::move(path)) {
    QByteArray contents;
    switch (readWholeFile(path_, contents)) {
    case ReadResult::Missing:
        break;
    case ReadResult::Read:
        document_ = ProfileDocument::fromBytes(contents);
        break;
    case ReadResult::Failed:
        readable_ = false;
        break;
    }
}

ProfileFile::~ProfileFile() {
    if (unflushed_)
        flush();
}

std::optional<int> ProfileFile::parseInteger(const QString& text) {
    const QStringView view(text);
    if (view.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        return parseHex(view.sliced(2));
    if (view.startsWith(QLatin1Char('$')))
        return parseHex(view.sliced(1));
    return parseDecimal(view);
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    return document_.value(section, key).value_or(defaultValue);
}

int ProfileFile::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const std::optional<QString> text = document_.value(section, key);
    if (!text)
        return defaultValue;
    return parseInteger(*text).value_or(defaultValue);
}

bool ProfileFile::readBool(const QString& section, const QString& key, bool defaultValue) const {
    const std::optional<QString> text = document_.value(section, key);
    if (!text)
        return defaultValue;
    const std::optional<int> number = parseInteger(*text);
    return number ? *number != 0 : defaultValue;
}

bool ProfileFile::afterWrite(bool stored) {
    if (!stored)
        return false;
    unflushed_ = true;
    return readable_ && !lastFlushFailed_;
}

bool ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
    if (!readable_)
        return false;
    return afterWrite(document_.setValue(section, key, value));
}

bool ProfileFile::writeInteger(const QString& section, const QString& key, int value) {
    return writeString(section, key, QString::number(value));
}

bool ProfileFile::writeBool(const QString& section, const QString& key, bool value) {
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ProfileFile::flush() {
    if (!readable_) {
        lastFlushFailed_ = true;
        return false;
    }
    QSaveFile file(path_);
    const QByteArray bytes = document_.toBytes();
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    lastFlushFailed_ = !written;
    if (written)
        unflushed_ = false;
    return written;
}

}  // namespace platform
