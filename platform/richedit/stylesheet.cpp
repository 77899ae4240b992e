#include "platform/richedit/stylesheet.h"

#include "platform/richedit/textformat.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVariant>

Q_DECLARE_METATYPE(std::shared_ptr<const richedit::StyleSheet>)

namespace richedit {

namespace {

constexpr const char* kProperty = "qx.stylesheet";

}  // namespace

const ParagraphStyle* StyleSheet::find(int index) const {
    const auto it = styles_.find(index);
    return it == styles_.end() ? nullptr : &it->second;
}

int StyleSheet::indexOf(const QString& name) const {
    if (name.isEmpty()) return -1;
    for (const auto& [index, style] : styles_)
        if (style.name.compare(name, Qt::CaseInsensitive) == 0) return index;
    return -1;
}

int StyleSheet::freeIndex() const {
    // Indices above the ones in use, so that a sheet's own numbering reads in order.
    const int candidate = styles_.empty() ? 1 : styles_.rbegin()->first + 1;
    if (candidate <= kMaxIndex) return candidate;
    for (int i = 1; i <= kMaxIndex; ++i)
        if (!styles_.count(i)) return i;
    return -1;
}

void StyleSheet::set(int index, ParagraphStyle style) {
    if (index < 0 || index > kMaxIndex) return;
    style.para.sStyle = std::int16_t(index);
    styles_[index] = std::move(style);
}

std::map<int, int> StyleSheet::merge(const StyleSheet& incoming) {
    std::map<int, int> where;
    QHash<QString, int> byName;  // this sheet's styles by name, as a name is compared
    for (const auto& [index, style] : styles_)
        if (!style.name.isEmpty() && !byName.contains(style.name.toCaseFolded())) byName.insert(style.name.toCaseFolded(), index);
    // First where every incoming style goes, so that bases and next styles can follow.
    std::map<int, bool> added;
    for (const auto& [index, style] : incoming.styles_) {
        const ParagraphStyle* here = find(index);
        if (here && (here->name.compare(style.name, Qt::CaseInsensitive) == 0)) {
            where[index] = index;
            continue;
        }
        const int named = style.name.isEmpty() ? -1 : byName.value(style.name.toCaseFolded(), -1);
        if (named >= 0) {
            where[index] = named;
            continue;
        }
        const int target = here ? freeIndex() : index;
        if (target < 0) {
            where[index] = kNormal;  // no room left: its paragraphs become normal ones
            continue;
        }
        where[index] = target;
        styles_[target] = ParagraphStyle{};  // taken, for the choice of the next incoming style
        added[target] = true;
    }
    auto mapped = [&where](int index) {
        if (index < 0) return -1;
        const auto it = where.find(index);
        return it == where.end() ? -1 : it->second;
    };
    for (const auto& [index, style] : incoming.styles_) {
        const int target = where[index];
        if (!added.count(target)) continue;
        ParagraphStyle copy = style;
        copy.basedOn = mapped(style.basedOn);
        copy.next = mapped(style.next);
        if (copy.basedOn == target) copy.basedOn = -1;
        set(target, std::move(copy));
    }
    return where;
}

std::uint8_t headingLevelOfName(const QString& name) {
    static const QRegularExpression heading(QStringLiteral("^heading ([1-9])$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = heading.match(name);
    return m.hasMatch() ? std::uint8_t(m.captured(1).toInt()) : 0;
}

std::shared_ptr<const StyleSheet> StyleSheet::of(const QTextDocument& document) {
    return document.property(kProperty).value<std::shared_ptr<const StyleSheet>>();
}

void StyleSheet::install(QTextDocument& document, std::shared_ptr<const StyleSheet> sheet) {
    if (!sheet || sheet->empty()) return drop(document);
    document.setProperty(kProperty, QVariant::fromValue(std::move(sheet)));
}

void StyleSheet::drop(QTextDocument& document) { document.setProperty(kProperty, QVariant()); }

void mergeStyleSheet(QTextDocument& target, QTextDocument& source) {
    const std::shared_ptr<const StyleSheet> incoming = StyleSheet::of(source);
    if (!incoming) return;
    auto merged = std::make_shared<StyleSheet>();
    if (const auto current = StyleSheet::of(target)) *merged = *current;
    const std::map<int, int> where = merged->merge(*incoming);
    StyleSheet::install(target, merged);
    StyleSheet::install(source, merged);

    QTextCursor c(&source);
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (!format.hasProperty(PropStyle)) continue;
        const auto it = where.find(format.intProperty(PropStyle));
        const int index = it == where.end() ? StyleSheet::kNormal : it->second;
        if (index == format.intProperty(PropStyle)) continue;
        format.setProperty(PropStyle, index);
        c.setPosition(block.position());
        c.setBlockFormat(format);
    }
}

}  // namespace richedit
