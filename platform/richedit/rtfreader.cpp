// RTF reader: the token loop and the dispatch of control words to destinations.
#include "platform/encoding/codepage.h"
#include "platform/richedit/rtf.h"
#include "platform/richedit/rtf_reader.h"

#include <QTextBlock>

#include <algorithm>

namespace richedit {

RtfReadResult readRtf(const QByteArray& data, QTextCursor& cursor) {
    rtf::Reader reader(data, cursor);
    return reader.run();
}

namespace rtf {

namespace {

// Destinations that a reader not knowing them must skip ({\*\word ...}) but that we read.
bool readableStarDestination(Kw kw) {
    switch (kw) {
    case Kw::fldinst: case Kw::pn: case Kw::shppict: case Kw::listtable: case Kw::listoverridetable:
    case Kw::ud: case Kw::fonttbl: case Kw::colortbl: case Kw::stylesheet: case Kw::pict: case Kw::field:
    case Kw::fldrslt: case Kw::listtext: case Kw::pntext: case Kw::pntxta: case Kw::pntxtb: case Kw::list:
    case Kw::listlevel: case Kw::leveltext: case Kw::listoverride: case Kw::lfolevel: case Kw::cs:
    case Kw::nesttableprops:
        return true;
    default:
        return false;
    }
}

// Destinations whose content is never part of the document's text.
bool hiddenDestination(Kw kw) {
    switch (kw) {
    case Kw::info: case Kw::header: case Kw::headerl: case Kw::headerr: case Kw::headerf: case Kw::footer:
    case Kw::footerl: case Kw::footerr: case Kw::footerf: case Kw::footnote: case Kw::annotation: case Kw::xe:
    case Kw::tc: case Kw::tcn: case Kw::txe: case Kw::rxe: case Kw::comment: case Kw::objdata:
    case Kw::themedata: case Kw::colorschememapping: case Kw::datastore: case Kw::latentstyles:
    case Kw::generator: case Kw::objclass: case Kw::objname: case Kw::privateData: case Kw::bkmkstart:
    case Kw::bkmkend: case Kw::pgdsctbl: case Kw::revtbl: case Kw::rsidtbl: case Kw::filetbl: case Kw::docvar:
    case Kw::templateName: case Kw::ftnsep: case Kw::ftnsepc: case Kw::ftncn: case Kw::aftnsep:
    case Kw::aftnsepc: case Kw::aftncn: case Kw::listpicture: case Kw::pnseclvl: case Kw::userprops:
    case Kw::xmlnstbl: case Kw::mmathPr: case Kw::wgrffmtfilter: case Kw::fchars: case Kw::lchars:
    case Kw::shpinst: case Kw::panose: case Kw::falt: case Kw::keycode:
    case Kw::listname: case Kw::levelnumbers: case Kw::nonesttables:
        return true;
    default:
        return false;
    }
}

bool startsAsRtf(const QByteArray& data) {
    qsizetype i = 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
    return data.size() - i >= 5 && data.mid(i, 5).toLower() == "{\\rtf";
}

}  // namespace

Reader::Reader(const QByteArray& data, QTextCursor& cursor)
    : tokenizer_(data), cursor_(cursor), pixelBudget_(kMaxPixelsPerDocument) {}

RtfReadResult Reader::run() {
    if (!startsAsRtf(tokenizer_.data()))
        return RtfReadResult{false, QStringLiteral("The data is not RTF: it does not start with {\\rtf.")};

    stack_.reserve(kMaxGroupDepth + 2);
    stack_.push_back(GroupState{});
    ownsBlock_ = cursor_.atBlockStart() && cursor_.block().length() <= 1;
    cursor_.beginEditBlock();
    for (;;) {
        Token t = tokenizer_.next();
        if (t.kind != TokenKind::Text && t.kind != TokenKind::HexByte) flushBytes();
        if (t.kind == TokenKind::End) break;
        const bool star = starPending_;
        starPending_ = false;
        if (t.kind == TokenKind::GroupStart || t.kind == TokenKind::GroupEnd) {
            skipFallback_ = 0;
        } else if (overflowDepth_ > 0) {
            continue;
        } else if (skipFallback_ > 0) {
            // The fallback of \uN: N characters, where a control word or a \'hh counts as one.
            if (t.kind != TokenKind::Text) {
                --skipFallback_;
                continue;
            }
            const std::size_t n = std::min<std::size_t>(std::size_t(skipFallback_), t.text.size());
            skipFallback_ -= int(n);
            t.text.remove_prefix(n);
            if (t.text.empty()) continue;
        }
        switch (t.kind) {
        case TokenKind::GroupStart: groupStart(); break;
        case TokenKind::GroupEnd:
            // The document's own group ends the document; anything after it is not read.
            if (overflowDepth_ == 0 && stack_.size() == 2) goto done;
            groupEnd();
            break;
        case TokenKind::ControlWord: controlWord(t, star); break;
        case TokenKind::ControlSymbol: controlSymbol(t.symbol); break;
        case TokenKind::HexByte: {
            if (top().dest == Dest::Picture || top().dest == Dest::Skip) break;
            const char b = char(t.param);
            bytes(std::string_view(&b, 1));
            break;
        }
        case TokenKind::Text:
            if (top().dest == Dest::Picture) pictureHex(t.text);
            else if (top().dest != Dest::Skip) bytes(t.text);
            break;
        case TokenKind::Binary:
            if (top().dest == Dest::Picture) pictureBinary(t.text);
            break;
        case TokenKind::End: break;
        }
    }
done:
    flushBytes();
    finish();
    cursor_.endEditBlock();
    return RtfReadResult{true, {}};
}

void Reader::groupStart() {
    if (overflowDepth_ > 0 || int(stack_.size()) > kMaxGroupDepth) {
        ++overflowDepth_;  // too deep to be a real document: skip the whole group
        return;
    }
    const bool styleEntry = top().dest == Dest::StyleSheet && top().destOwner;
    GroupState next = top();
    next.destOwner = false;
    next.pictureGroupOwner = false;
    stack_.push_back(next);
    if (styleEntry) beginStyleEntry();
}

void Reader::groupEnd() {
    if (overflowDepth_ > 0) {
        --overflowDepth_;
        return;
    }
    if (stack_.size() <= 1) return;  // an unmatched brace
    const GroupState ending = stack_.back();
    stack_.pop_back();
    if (ending.destOwner) {
        switch (ending.dest) {
        case Dest::FontTable: commitFont(); break;
        case Dest::ColorTable: if (red_ >= 0 || green_ >= 0 || blue_ >= 0) commitColor(); break;
        case Dest::StyleSheet:
            commitStyle();
            installStyleSheet();
            break;
        case Dest::ListLevel: commitListLevel(); break;
        case Dest::List: commitList(); break;
        case Dest::ListOverride: commitListOverride(); break;
        case Dest::ListOverrideLevel: commitOverrideLevel(); break;
        case Dest::Picture: insertPictureFromBuilder(); break;
        case Dest::Pn: commitPn(top()); break;
        default: break;
        }
    } else if (ending.dest == Dest::FontTable) {
        commitFont();  // an entry {\fN ...} without its semicolon
    } else if (ending.dest == Dest::StyleSheet) {
        commitStyle();
    }
    if (ending.pictureGroupOwner && ending.dest != Dest::Skip) lastPictureGroup_ = ending.pictureGroup;
}

void Reader::setDest(Dest dest) {
    top().dest = dest;
    top().destOwner = true;
}

void Reader::controlWord(const Token& t, bool star) {
    const Kw kw = keyword(t.name);
    GroupState& g = top();
    if (g.dest == Dest::Skip) {
        // Inside {\upr ...} only the Unicode version {\*\ud ...} is read.
        if (kw == Kw::ud && g.resumeDest != Dest::Skip) setDest(g.resumeDest);
        return;
    }
    if (ownWeight(kw, t.param, star)) return;
    if (star && !readableStarDestination(kw)) {
        setDest(Dest::Skip);
        return;
    }
    const std::int32_t param = t.param;
    switch (kw) {
    case Kw::rtf: case Kw::ansi: ansiCodePage_ = 1252; return;
    case Kw::mac: ansiCodePage_ = 10000; return;
    case Kw::pc: ansiCodePage_ = 437; return;
    case Kw::pca: ansiCodePage_ = 850; return;
    case Kw::ansicpg:
        if (!platform::iconvNameForCodePage(param).isEmpty()) ansiCodePage_ = param;
        return;
    case Kw::deff: defaultFont_ = param; return;
    case Kw::uc: g.uc = std::clamp(param, 0, 16); return;
    case Kw::u: unicodeUnit(param); return;
    default: break;
    }
    if (destinationWord(kw)) return;
    switch (g.dest) {
    case Dest::Picture: pictureWord(kw, param); return;
    case Dest::FontTable: case Dest::ColorTable: case Dest::ListTable: case Dest::List: case Dest::ListLevel:
    case Dest::ListOverrideTable: case Dest::ListOverride: case Dest::ListOverrideLevel: case Dest::Pn:
        tableWord(kw, param, t.hasParam);
        return;
    case Dest::StyleSheet:
        if (tableWord(kw, param, t.hasParam)) return;
        if (property(kw, param, t.hasParam) && pendingStyleIndex_ >= 0 &&
            int(pendingStyle_.words.size()) < kMaxStyleWords)
            pendingStyle_.words.push_back(StyleWord{kw, param, t.hasParam});
        return;
    default: break;
    }
    if (g.dest == Dest::Body && rowWord(kw, param)) return;
    if (property(kw, param, t.hasParam)) return;
    specialWord(kw);
}

bool Reader::destinationWord(Kw kw) {
    GroupState& g = top();
    const bool body = g.dest == Dest::Body;
    switch (kw) {
    case Kw::fonttbl: setDest(Dest::FontTable); return true;
    case Kw::colortbl: setDest(Dest::ColorTable); return true;
    case Kw::stylesheet: setDest(Dest::StyleSheet); return true;
    case Kw::listtable: setDest(Dest::ListTable); return true;
    case Kw::listoverridetable: setDest(Dest::ListOverrideTable); return true;
    case Kw::list:
        if (g.dest != Dest::ListTable) return false;
        setDest(Dest::List);
        pendingLevels_.clear();
        pendingListId_ = 0;
        return true;
    case Kw::listlevel:
        if (g.dest != Dest::List) return false;
        setDest(Dest::ListLevel);
        pendingLevel_ = ListLevelDef{};
        return true;
    case Kw::leveltext:
        if (g.dest != Dest::ListLevel) return false;
        setDest(Dest::LevelText);
        pendingLevel_.text.clear();
        return true;
    case Kw::listoverride:
        if (g.dest != Dest::ListOverrideTable) return false;
        setDest(Dest::ListOverride);
        overrideListId_ = overrideLs_ = 0;
        pendingOverride_ = ListOverrideDef{};
        pendingOverrideLevel_ = 0;
        return true;
    case Kw::lfolevel:
        if (g.dest != Dest::ListOverride) return false;
        setDest(Dest::ListOverrideLevel);
        pendingOverrideStart_ = -1;
        pendingOverrideStartAt_ = false;
        return true;
    case Kw::pict:
        if (body) {
            setDest(Dest::Picture);
            picture_ = PictureBuilder{};
        } else {
            setDest(Dest::Skip);
        }
        return true;
    case Kw::shppict:
        if (!body) return true;
        // The newer picture wins over an old-style copy read just before it.
        if (lastPictureGroup_ == GroupState::PictureGroup::NonShppict && nonShpStart_ >= 0) {
            flushRun();
            QTextCursor remove(cursor_);
            remove.setPosition(nonShpStart_);
            remove.setPosition(nonShpEnd_, QTextCursor::KeepAnchor);
            remove.removeSelectedText();
            nonShpStart_ = nonShpEnd_ = -1;
        }
        g.pictureGroup = GroupState::PictureGroup::Shppict;
        g.pictureGroupOwner = true;
        return true;
    case Kw::nonshppict:
        if (!body || lastPictureGroup_ == GroupState::PictureGroup::Shppict) {
            setDest(Dest::Skip);
        } else {
            g.pictureGroup = GroupState::PictureGroup::NonShppict;
            g.pictureGroupOwner = true;
        }
        return true;
    case Kw::field:
        if (body) {
            g.field = int(fields_.size());
            fields_.push_back(Field{});
        }
        return true;
    case Kw::fldinst:
        setDest(body && g.field >= 0 ? Dest::FieldInstruction : Dest::Skip);
        return true;
    case Kw::fldrslt:
        if (body && g.field >= 0) {
            Field& field = fields_[std::size_t(g.field)];
            parseField(field);
            if (!field.href.isEmpty()) g.ch.link = g.field;
        }
        return true;
    case Kw::pn:
        if (body) {
            setDest(Dest::Pn);
            pn_ = Pn{};
        } else {
            setDest(Dest::Skip);
        }
        return true;
    case Kw::pntxta: setDest(g.dest == Dest::Pn ? Dest::PnTextAfter : Dest::Skip); return true;
    case Kw::pntxtb: setDest(g.dest == Dest::Pn ? Dest::PnTextBefore : Dest::Skip); return true;
    case Kw::pntext:
    case Kw::listtext:
        if (body) {
            setDest(Dest::ListText);
            listText_.clear();
        } else {
            setDest(Dest::Skip);
        }
        return true;
    case Kw::upr:
        g.resumeDest = g.dest;
        setDest(Dest::Skip);
        return true;
    case Kw::ud: return true;
    case Kw::nesttableprops:
        if (body) return false;  // a nested row ends there: rowWord reads it
        setDest(Dest::Skip);
        return true;
    default: break;
    }
    if (hiddenDestination(kw)) {
        setDest(Dest::Skip);
        return true;
    }
    return false;
}

void Reader::specialWord(Kw kw) {
    const bool body = top().dest == Dest::Body;
    auto character = [this](char16_t c) { text(QStringView(&c, 1)); };
    switch (kw) {
    case Kw::par:
    case Kw::row: if (body) paragraphBreak(); break;
    case Kw::sect:
    case Kw::column:
        if (body && (paragraphHasContent_ || !listText_.isEmpty())) paragraphBreak();
        break;
    case Kw::page: if (body) pageBreak(); break;
    case Kw::line: character(u'\u2028'); break;
    case Kw::tab: character(u'\t'); break;
    case Kw::cell:
    case Kw::nestcell: character(u'\t'); break;  // outside the body; rowWord reads body rows
    case Kw::emdash: character(u'\u2014'); break;
    case Kw::endash: character(u'\u2013'); break;
    case Kw::emspace: character(u'\u2003'); break;
    case Kw::enspace: character(u'\u2002'); break;
    case Kw::qmspace: character(u'\u2005'); break;
    case Kw::bullet: character(u'\u2022'); break;
    case Kw::lquote: character(u'\u2018'); break;
    case Kw::rquote: character(u'\u2019'); break;
    case Kw::ldblquote: character(u'\u201C'); break;
    case Kw::rdblquote: character(u'\u201D'); break;
    case Kw::zwj: character(u'\u200D'); break;
    case Kw::zwnj: character(u'\u200C'); break;
    case Kw::ltrmark: character(u'\u200E'); break;
    case Kw::rtlmark: character(u'\u200F'); break;
    case Kw::zwbo: character(u'\u200B'); break;
    case Kw::zwnbo: character(u'\u2060'); break;
    default: break;  // a control word we do not know changes nothing
    }
}

void Reader::controlSymbol(char symbol) {
    const Dest dest = top().dest;
    if (dest == Dest::Skip || dest == Dest::Picture) {
        if (symbol == '*') starPending_ = true;
        return;
    }
    char16_t c = 0;
    switch (symbol) {
    case '*': starPending_ = true; return;
    case '\\': case '{': case '}': c = char16_t(symbol); break;
    case '~': c = u'\u00A0'; break;
    case '-': c = u'\u00AD'; break;
    case '_': c = u'\u2011'; break;
    case '\t': c = u'\t'; break;
    default: return;  // \: \| and the rest carry nothing we show
    }
    text(QStringView(&c, 1));
}

void Reader::bytes(std::string_view data) {
    const int cp = codePage();
    if (cp != tableCodePage_) {
        tableCodePage_ = cp;
        byteTable_ = platform::singleByteTable(cp);
    }
    if (byteTable_) {
        flushBytes();
        scratch_.resize(qsizetype(data.size()));
        QChar* out = scratch_.data();
        for (const char b : data) *out++ = QChar((*byteTable_)[static_cast<unsigned char>(b)]);
        text(scratch_);
        return;
    }
    // Multi-byte pages decode whole runs, so that lead and trail bytes stay together.
    if (!pendingBytes_.isEmpty() && pendingCodePage_ != cp) flushBytes();
    pendingCodePage_ = cp;
    pendingBytes_.append(data.data(), qsizetype(data.size()));
}

void Reader::flushBytes() {
    if (pendingBytes_.isEmpty()) return;
    const QString decoded = platform::decodeCodePage(pendingBytes_, pendingCodePage_);
    pendingBytes_.clear();
    text(decoded);
}

void Reader::unicodeUnit(std::int32_t value) {
    if (value < 0) value += 65536;
    const char16_t unit = (value < 0 || value > 0xFFFF) ? char16_t(0xFFFD) : char16_t(value);
    skipFallback_ = top().uc;
    if (QChar::isHighSurrogate(unit)) {
        if (highSurrogate_) deliver(u"\uFFFD");  // the previous half never found its partner
        highSurrogate_ = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (!highSurrogate_) {
            deliver(u"\uFFFD");
            return;
        }
        const char16_t pair[2] = {highSurrogate_, unit};
        highSurrogate_ = 0;
        deliver(QStringView(pair, 2));
        return;
    }
    text(QStringView(&unit, 1));
}

void Reader::text(QStringView chars) {
    if (highSurrogate_) {
        highSurrogate_ = 0;
        deliver(u"\uFFFD");
    }
    deliver(chars);
}

}  // namespace rtf
}  // namespace richedit
