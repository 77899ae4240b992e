#pragma once
// Windows metafiles (WMF, with or without the placeable header) and enhanced metafiles (EMF),
// replayed into a QPicture so they stay vector pictures that scale cleanly. The player never trusts
// the data: record counts, sizes and the object table are bounded and every read is checked; records
// it does not know are skipped.

#include <QByteArray>
#include <QImage>
#include <QPicture>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <optional>

namespace platform {

// A replayed metafile: `picture` draws the metafile into the rectangle (0, 0, size.width(),
// size.height()); `size` is the metafile's natural size in pixels at 96 dpi.
struct MetafilePicture {
    MetafilePicture() {}  // QPicture's default constructor is explicit
    QPicture picture;
    QSizeF size;
};

// Files larger than this and files with more records than kMaxMetafileRecords are refused.
constexpr qint64 kMaxMetafileSize = qint64(64) * 1024 * 1024;
constexpr int kMaxMetafileRecords = 1'000'000;

// Replays `data` as `format`, "wmf" or "emf" (without regard to case). Returns nothing for another
// format and for data without a valid header; a metafile cut short plays up to its last whole record.
std::optional<MetafilePicture> replayMetafile(const QByteArray& data, const QString& format);

// "wmf" or "emf" by the data's header, or an empty string.
QString detectMetafileFormat(const QByteArray& data);

// Draws `metafile` scaled into `target` on `painter` (the painter's state is kept).
void drawMetafile(QPainter* painter, const MetafilePicture& metafile, const QRectF& target);

// A metafile as a document stores it: a plain WMF (RTF's \wmetafile8 holds no placeable header) or
// an EMF, with its natural size in twips.
struct StoredMetafile {
    QByteArray data;
    QString format;  // "wmf" or "emf"
    QSize twips;
};

// `data` (a .wmf file, placeable or plain, or an .emf file) ready to be stored, when it plays.
std::optional<StoredMetafile> metafileForStorage(const QByteArray& data);

// `metafile` drawn on white into a bitmap of `size`, for programs that cannot take the metafile.
QImage renderMetafile(const MetafilePicture& metafile, const QSize& size);

}  // namespace platform
