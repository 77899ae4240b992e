#include "platform/profile/profiledocument.h"

#include <QStringDecoder>

namespace platform {

namespace {

const QByteArray kUtf8Signature("\xEF\xBB\xBF");

// Blanks are the ASCII white-space characters, the same set QByteArray::trimmed() drops from lines,
// so that a name asked for and a name read from the file are trimmed alike.
bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}

QString trimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Decodes without dropping a leading U+FEFF (QString::fromUtf8 drops it), so that every name and
// value reads back exactly as it was written.
QString decodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

bool hasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

QString cutToMaxLength(QString text) {
    if (text.size() <= ProfileDocument::kMaxValueLength)
        return text;
    text.truncate(ProfileDocument::kMaxValueLength);
    // Never hand out half of a surrogate pair.
    if (text.back().isHighSurrogate())
        text.chop(1);
    return text;
}

}  // namespace

ProfileDocument ProfileDocument::fromBytes(const QByteArray& bytes) {
    ProfileDocument doc;
    QByteArrayView rest(bytes);
    if (rest.startsWith(kUtf8Signature)) {
        doc.byteOrderMark_ = true;
        rest = rest.sliced(kUtf8Signature.size());
    }
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        doc.lines_.push_back(parseLine(line.toByteArray()));
    }
    return doc;
}

ProfileDocument::Line ProfileDocument::parseLine(const QByteArray& raw) {
    Line line;
    line.raw = raw;
    const QByteArray text = raw.trimmed();
    if (text.isEmpty() || text.startsWith(';'))
        return line;
    if (text.startsWith('[')) {
        const qsizetype close = text.indexOf(']');
        line.kind = LineKind::Section;
        line.name = decodeUtf8(text.mid(1, close < 0 ? -1 : close - 1).trimmed());
        return line;
    }
    const qsizetype equals = text.indexOf('=');
    if (equals <= 0)
        return line;
    const QByteArray name = text.left(equals).trimmed();
    if (name.isEmpty())
        return line;
    line.kind = LineKind::Key;
    line.name = decodeUtf8(name);
    return line;
}

int ProfileDocument::findSection(const QString& section) const {
    const QString wanted = trimBlanks(section);
    for (int i = 0; i < int(lines_.size()); ++i)
        if (lines_[i].kind == LineKind::Section && sameName(lines_[i].name, wanted))
            return i;
    return -1;
}

int ProfileDocument::findKey(int sectionLine, const QString& key) const {
    const QString wanted = trimBlanks(key);
    for (int i = sectionLine + 1; i < int(lines_.size()); ++i) {
        if (lines_[i].kind == LineKind::Section)
            break;
        if (lines_[i].kind == LineKind::Key && sameName(lines_[i].name, wanted))
            return i;
    }
    return -1;
}

int ProfileDocument::lastKeyOrHeader(int sectionLine) const {
    int last = sectionLine;
    for (int i = sectionLine + 1; i < int(lines_.size()); ++i) {
        if (lines_[i].kind == LineKind::Section)
            break;
        if (lines_[i].kind == LineKind::Key)
            last = i;
    }
    return last;
}

std::optional<QString> ProfileDocument::value(const QString& section, const QString& key) const {
    const int sectionLine = findSection(section);
    if (sectionLine < 0)
        return std::nullopt;
    const int keyLine = findKey(sectionLine, key);
    if (keyLine < 0)
        return std::nullopt;
    const QByteArray& raw = lines_[keyLine].raw;
    return cutToMaxLength(decodeUtf8(raw.mid(raw.indexOf('=') + 1).trimmed()));
}

bool ProfileDocument::isStorableSection(const QString& section) {
    const QString name = trimBlanks(section);
    return !name.isEmpty() && !name.contains(QLatin1Char(']')) && !hasLineBreak(name);
}

bool ProfileDocument::isStorableKey(const QString& key) {
    const QString name = trimBlanks(key);
    return !name.isEmpty() && !name.contains(QLatin1Char('=')) && !hasLineBreak(name)
        && !name.startsWith(QLatin1Char('[')) && !name.startsWith(QLatin1Char(';'));
}

bool ProfileDocument::isStorableValue(const QString& value) {
    return !hasLineBreak(value);
}

bool ProfileDocument::setValue(const QString& section, const QString& key, const QString& value) {
    if (!isStorableSection(section) || !isStorableKey(key) || !isStorableValue(value))
        return false;
    const QByteArray newValue = value.toUtf8();
    int sectionLine = findSection(section);
    if (sectionLine >= 0) {
        const int keyLine = findKey(sectionLine, key);
        if (keyLine >= 0) {
            Line& line = lines_[keyLine];
            const qsizetype equals = line.raw.indexOf('=');
            qsizetype valueStart = equals + 1;
            while (valueStart < line.raw.size() && (line.raw[valueStart] == ' ' || line.raw[valueStart] == '\t'))
                ++valueStart;
            line.raw = line.raw.left(valueStart) + newValue;
            return true;
        }
    } else {
        lines_.push_back(parseLine('[' + trimBlanks(section).toUtf8() + ']'));
        sectionLine = int(lines_.size()) - 1;
    }
    const int after = lastKeyOrHeader(sectionLine);
    lines_.insert(lines_.begin() + after + 1, parseLine(trimBlanks(key).toUtf8() + '=' + newValue));
    return true;
}

QByteArray ProfileDocument::toBytes() const {
    QByteArray out;
    if (byteOrderMark_)
        out += kUtf8Signature;
    for (const Line& line : lines_) {
        out += line.raw;
        out += "\r\n";
    }
    return out;
}

}  // namespace platform
