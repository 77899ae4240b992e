// The profile (INI) reader and writer over arbitrary bytes. Input: the file's bytes, optionally
// followed by "\0\0" and "section\0key\0value" naming a write. Besides crashes it checks that writing
// is exact: the written value reads back (also after a save and reload), other keys keep their values,
// and saving a parsed file is stable.
#include "platform/profile/profiledocument.h"
#include "platform/profile/profilefile.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

using platform::ProfileDocument;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

QString trimmedValue(const QString& value) {
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(value.toUtf8().trimmed());
    if (text.size() > ProfileDocument::kMaxValueLength) {
        text.truncate(ProfileDocument::kMaxValueLength);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf(QByteArray("\0\0", 2));
    const QByteArray fileBytes = split < 0 ? input : input.left(split);
    QString section = QStringLiteral("nastaveni");
    QString key = QStringLiteral("bod1");
    QString value = QStringLiteral("42");
    if (split >= 0) {
        const QList<QByteArray> parts = input.mid(split + 2).split('\0');
        section = QString::fromUtf8(parts.value(0));
        key = QString::fromUtf8(parts.value(1));
        value = QString::fromUtf8(parts.value(2));
    }

    ProfileDocument document = ProfileDocument::fromBytes(fileBytes);
    const QByteArray saved = document.toBytes();
    check(ProfileDocument::fromBytes(saved).toBytes() == saved);

    if (const std::optional<QString> existing = document.value(section, key))
        (void)platform::ProfileFile::parseInteger(*existing);

    // A key that the write must leave alone.
    const QString otherSection = QStringLiteral("velikost");
    const QString otherKey = QStringLiteral("vyskaformu");
    const std::optional<QString> otherBefore = document.value(otherSection, otherKey);
    const bool sameKey = QString::compare(section.trimmed(), otherSection, Qt::CaseInsensitive) == 0
        && QString::compare(key.trimmed(), otherKey, Qt::CaseInsensitive) == 0;

    const bool storable = ProfileDocument::isStorableSection(section) && ProfileDocument::isStorableKey(key)
        && ProfileDocument::isStorableValue(value);
    check(document.setValue(section, key, value) == storable);
    if (storable) {
        const QString expected = trimmedValue(value);
        check(document.value(section, key) == expected);
        const ProfileDocument reloaded = ProfileDocument::fromBytes(document.toBytes());
        check(reloaded.value(section, key) == expected);
        if (!sameKey)
            check(reloaded.value(otherSection, otherKey) == otherBefore);
    } else {
        check(document.toBytes() == saved);
    }
    return 0;
}
