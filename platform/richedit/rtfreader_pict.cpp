// RTF reader: \pict groups become pictures in the document.
#include "platform/richedit/rtf_picture.h"
#include "platform/richedit/rtf_reader.h"
#include "platform/richedit/textformat.h"

#include <algorithm>

namespace richedit::rtf {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The displayed size in twips along one axis.
int displayTwips(int goal, int scale, int natural) {
    const qint64 base = goal > 0 ? goal : natural;
    const qint64 scaled = base * (scale > 0 ? scale : 100) / 100;
    return int(std::clamp<qint64>(scaled, 1, kMaxLength));
}

}  // namespace

bool Reader::pictureWord(Kw kw, std::int32_t param) {
    PictureBuilder& p = picture_;
    auto dimension = [param] { return std::clamp(param, 0, 1 << 20); };
    switch (kw) {
    case Kw::pngblip: p.kind = PictureKind::Png; return true;
    case Kw::jpegblip: p.kind = PictureKind::Jpeg; return true;
    case Kw::dibitmap: p.kind = PictureKind::Dib; return true;
    case Kw::wbitmap: p.kind = PictureKind::Wbitmap; return true;
    case Kw::wmetafile: p.kind = PictureKind::Wmf; return true;
    case Kw::emfblip: p.kind = PictureKind::Emf; return true;
    case Kw::macpict:
    case Kw::pmmetafile: p.kind = PictureKind::Other; return true;
    case Kw::picw: p.picw = dimension(); return true;
    case Kw::pich: p.pich = dimension(); return true;
    case Kw::picwgoal: p.goalw = dimension(); return true;
    case Kw::pichgoal: p.goalh = dimension(); return true;
    case Kw::picscalex: p.scalex = std::clamp(param, 1, 10000); return true;
    case Kw::picscaley: p.scaley = std::clamp(param, 1, 10000); return true;
    case Kw::wbmbitspixel: p.bitsPixel = std::clamp(param, 0, 64); return true;
    case Kw::wbmplanes: p.planes = std::clamp(param, 0, 64); return true;
    case Kw::wbmwidthbytes: p.widthBytes = std::clamp(param, 0, 1 << 20); return true;
    default: return false;
    }
}

void Reader::pictureHex(std::string_view hex) {
    PictureBuilder& p = picture_;
    if (p.tooLarge) return;
    if (p.data.size() + qsizetype(hex.size() / 2) + 1 > kMaxPictureBytes) {
        p.tooLarge = true;
        p.data.clear();
        return;
    }
    for (const char c : hex) {
        const int v = hexDigit(c);
        if (v < 0) continue;  // spaces and line breaks between the digits
        if (p.nibble < 0) {
            p.nibble = v;
        } else {
            p.data.append(char(p.nibble << 4 | v));
            p.nibble = -1;
        }
    }
}

void Reader::pictureBinary(std::string_view data) {
    PictureBuilder& p = picture_;
    if (p.tooLarge) return;
    if (p.data.size() + qsizetype(data.size()) > kMaxPictureBytes) {
        p.tooLarge = true;
        p.data.clear();
        return;
    }
    p.data.append(data.data(), qsizetype(data.size()));
}

void Reader::insertPictureFromBuilder() {
    const PictureBuilder p = std::move(picture_);
    picture_ = PictureBuilder{};
    if (top().dest != Dest::Body || top().ch.hidden) return;
    if (p.tooLarge || p.kind == PictureKind::None || p.kind == PictureKind::Other) return;
    if (p.data.isEmpty()) return;  // nothing to show and nothing to write back

    Picture picture;
    picture.data = p.data;
    QImage image;
    int naturalWidth = 0, naturalHeight = 0;  // twips
    switch (p.kind) {
    case PictureKind::Png: picture.format = QStringLiteral("png"); break;
    case PictureKind::Jpeg: picture.format = QStringLiteral("jpeg"); break;
    case PictureKind::Dib: picture.format = QStringLiteral("dib"); break;
    case PictureKind::Wbitmap:
        picture.format = QStringLiteral("bmp");
        picture.data = bmpFromDdb(p.data, p.picw, p.pich, p.bitsPixel, p.widthBytes);
        break;
    case PictureKind::Wmf: picture.format = QStringLiteral("wmf"); break;
    case PictureKind::Emf: picture.format = QStringLiteral("emf"); break;
    default: return;
    }
    if (picture.format == u"wmf" || picture.format == u"emf") {
        // Metafiles give \picw and \pich in hundredths of a millimetre; we keep their place only.
        naturalWidth = int(qint64(p.picw) * 1440 / 2540);
        naturalHeight = int(qint64(p.pich) * 1440 / 2540);
    } else {
        if (!picture.data.isEmpty()) image = decodeBoundedPicture(picture.data, picture.format, pixelBudget_);
        // Bitmaps give \picw and \pich in pixels.
        const int w = p.picw > 0 ? p.picw : image.width();
        const int h = p.pich > 0 ? p.pich : image.height();
        naturalWidth = int(std::min<qint64>(qint64(w) * 15, kMaxLength));
        naturalHeight = int(std::min<qint64>(qint64(h) * 15, kMaxLength));
    }
    if (naturalWidth <= 0) naturalWidth = 1440;
    if (naturalHeight <= 0) naturalHeight = 1440;
    picture.widthTwips = displayTwips(p.goalw, p.scalex, naturalWidth);
    picture.heightTwips = displayTwips(p.goalh, p.scaley, naturalHeight);

    beginContent();
    flushRun();
    const int before = cursor_.position();
    cursor_.setCharFormat(charFormat(top().ch));
    insertPicture(cursor_, picture, image);
    if (top().pictureGroup == GroupState::PictureGroup::NonShppict) {
        nonShpStart_ = before;
        nonShpEnd_ = cursor_.position();
    }
}

}  // namespace richedit::rtf
