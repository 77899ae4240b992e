#pragma once
// The contents of one profile (INI) file held in memory: sections in square brackets, "key=value"
// lines belonging to the section opened last. Names are matched without regard to case and the first
// match counts. Every line the document does not write to is kept byte for byte, in its place.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace platform {

class ProfileDocument {
public:
    // The longest string value handed out, in characters; longer values are cut.
    static constexpr int kMaxValueLength = 2047;

    ProfileDocument() = default;

    // Parses UTF-8 bytes with CR LF or LF line ends. Never fails: lines that are neither sections nor
    // keys are kept as they are and take no part in lookups.
    static ProfileDocument fromBytes(const QByteArray& bytes);

    // The value of the first matching key of the first matching section, without surrounding blanks,
    // at most kMaxValueLength characters; nothing when the section or the key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets the value: replaces the first matching key line in place (its name and the blanks before the
    // value are kept), or adds "key=value" after the last key line of the section (after the section
    // line when it has no keys), or appends "[section]" and "key=value" at the end of the document.
    // Returns false and changes nothing when the names or the value cannot be stored in a profile
    // file (see isStorable*).
    bool setValue(const QString& section, const QString& key, const QString& value);

    // A section name is storable when, without surrounding blanks, it is not empty and holds no "]"
    // and no line break.
    static bool isStorableSection(const QString& section);
    // A key name is storable when, without surrounding blanks, it is not empty, holds no "=" and no
    // line break, and does not start with "[" or ";" (which would make the line a section or a comment).
    static bool isStorableKey(const QString& key);
    // A value is storable when it holds no line break: it would otherwise end the line and start a new
    // one, so that the file no longer reads back what was written.
    static bool isStorableValue(const QString& value);

    // The whole document as UTF-8, every line ended with CR LF.
    QByteArray toBytes() const;

private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        QByteArray raw;     // the line without its line end
        LineKind kind = LineKind::Other;
        QString name;       // section or key name, blanks around it removed
    };

    static Line parseLine(const QByteArray& raw);
    int findSection(const QString& section) const;                // line index or -1
    int findKey(int sectionLine, const QString& key) const;        // line index or -1
    int lastKeyOrHeader(int sectionLine) const;                    // where a new key goes after

    bool byteOrderMark_ = false;  // the file started with a UTF-8 signature; it is written back
    std::vector<Line> lines_;
};

}  // namespace platform
