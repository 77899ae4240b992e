#include "documents/QxConversion.h"

#include "documents/QxTextDecoder.h"
#include "platform/errors.h"

#include <QFile>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>

namespace {

constexpr qint64 kScanBlock = 64 * 1024;

bool isRetryKind(TConversionTextKind kind) {
    return kind == TConversionTextKind::PlainRetryRich || kind == TConversionTextKind::RichRetryPlain;
}

}  // namespace

bool StartsAsRtf(const QByteArray& head) {
    static const QByteArray signature = QByteArrayLiteral("{\\rtf");
    if (head.size() < signature.size()) return false;
    for (qsizetype i = 0; i < signature.size(); ++i) {
        char c = head[i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != signature[i]) return false;
    }
    return true;
}

// ---- TQxConversion ------------------------------------------------------------------------------

bool TQxConversion::CanHandleExt(const QString&, TConversionKind) { return true; }
bool TQxConversion::CanHandleKind(TConversionKind) { return true; }
QString TQxConversion::FilterText() { return {}; }
TConversionTextKind TQxConversion::TextKind() { return TConversionTextKind::Rich; }
bool TQxConversion::IsFileFormat(const QString&) { return true; }
bool TQxConversion::IsStreamFormat(QIODevice&) { return true; }
bool TQxConversion::OpenFile(const QString&, TConversionKind) { return false; }
bool TQxConversion::OpenStream(QIODevice&, TConversionKind) { return false; }
void TQxConversion::Init(QWidget* parentWindow) { parentWindow_ = parentWindow; }
void TQxConversion::Done() { parentWindow_ = nullptr; }
bool TQxConversion::Retry() { return false; }
qint64 TQxConversion::ReadBlock(char*, qint64) { return -1; }
qint64 TQxConversion::WriteBlock(const char*, qint64) { return -1; }
bool TQxConversion::UserCancelled() { return false; }
bool TQxConversion::HasError() { return false; }
QString TQxConversion::ErrorText() { return {}; }
void TQxConversion::Commit() {}
std::optional<platform::TextEncoding> TQxConversion::PlainTextEncoding() { return std::nullopt; }

void TQxConversion::UpdateProgress(qint64 converted, qint64 size) {
    if (size <= 0) return;
    const qint64 percent = std::clamp<qint64>((converted * 100 + size / 2) / size, 0, 100);
    if (percent == percentDone_) return;
    percentDone_ = int(percent);
    if (progress_) progress_(percentDone_);
}

// ---- TQxStreamConversion ------------------------------------------------------------------------

TQxStreamConversion::TQxStreamConversion() = default;
TQxStreamConversion::~TQxStreamConversion() = default;

bool TQxStreamConversion::OpenFile(const QString& fileName, TConversionKind kind) {
    ReleaseStream();
    if (kind == TConversionKind::Import) {
        auto file = std::make_unique<QFile>(fileName);
        if (!file->open(QIODevice::ReadOnly))
            throw platform::EFOpenError(
                QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file->errorString()));
        size_ = file->size();
        ownedStream_ = std::move(file);
    } else {
        // The target is replaced only by Commit, so a failed save leaves the previous file whole.
        auto file = std::make_unique<QSaveFile>(fileName);
        if (!file->open(QIODevice::WriteOnly))
            throw platform::EFCreateError(
                QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file->errorString()));
        size_ = 0;
        ownedStream_ = std::move(file);
    }
    fileName_ = fileName;
    stream_ = ownedStream_.get();
    start_ = 0;
    converted_ = 0;
    ResetProgress();
    return true;
}

bool TQxStreamConversion::OpenStream(QIODevice& stream, TConversionKind) {
    ReleaseStream();
    stream_ = &stream;
    start_ = stream.isSequential() ? 0 : stream.pos();
    size_ = stream.isSequential() ? 0 : stream.size();
    converted_ = 0;
    ResetProgress();
    return true;
}

void TQxStreamConversion::Done() {
    ReleaseStream();
    TQxConversion::Done();
}

void TQxStreamConversion::ReleaseStream() {
    // Destroying an uncommitted save file discards it; the target stays as it was.
    ownedStream_.reset();
    stream_ = nullptr;
    fileName_.clear();
}

bool TQxStreamConversion::Retry() {
    if (!isRetryKind(TextKind()) || !stream_) return false;
    if (stream_->isSequential() || !stream_->seek(start_)) return false;
    converted_ = 0;
    return true;
}

qint64 TQxStreamConversion::ReadBlock(char* buffer, qint64 count) {
    if (!stream_) return -1;
    const qint64 read = stream_->read(buffer, count);
    if (read < 0) {
        const QString reason = stream_->errorString();
        throw platform::EReadError(
            fileName_.isEmpty() ? reason : QStringLiteral("Cannot read file \"%1\". %2").arg(fileName_, reason));
    }
    converted_ += read;
    UpdateProgress(converted_, size_);
    return read;
}

qint64 TQxStreamConversion::WriteBlock(const char* buffer, qint64 count) {
    if (!stream_) return -1;
    const qint64 written = stream_->write(buffer, count);
    if (written > 0) converted_ += written;
    UpdateProgress(converted_, size_);
    return written;
}

void TQxStreamConversion::Commit() {
    auto* file = dynamic_cast<QSaveFile*>(ownedStream_.get());
    if (!file) return;
    if (!file->commit())
        throw platform::EWriteError(
            QStringLiteral("Cannot save file \"%1\". %2").arg(fileName_, file->errorString()));
}

std::optional<platform::TextEncoding> TQxStreamConversion::PlainTextEncoding() {
    // Only a source that can be read twice can be judged as a whole before the transfer.
    if (!stream_ || stream_->isSequential() || !stream_->isReadable()) return std::nullopt;
    const qint64 position = stream_->pos();
    if (!stream_->seek(start_)) return std::nullopt;
    QByteArray head;
    TQxUtf8Validator validator;
    QByteArray block(kScanBlock, Qt::Uninitialized);
    bool readFailed = false;
    for (;;) {
        const qint64 read = stream_->read(block.data(), block.size());
        if (read < 0) readFailed = true;
        if (read <= 0) break;
        if (head.size() < 3) head.append(block.constData(), std::min<qint64>(read, 3 - head.size()));
        if (!validator.Feed(block.constData(), read)) break;  // one bad byte settles it
    }
    stream_->seek(position);
    if (readFailed) return std::nullopt;  // the transfer itself will meet the failure and report it
    return ChoosePlainTextEncoding(head, validator.Finish());
}

// ---- TQxRTFConversion ---------------------------------------------------------------------------

bool TQxRTFConversion::CanHandleExt(const QString& ext, TConversionKind) {
    return ext.compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0;
}

QString TQxRTFConversion::FilterText() { return QStringLiteral("Rich Text Format (*.rtf)|*.rtf"); }

TConversionTextKind TQxRTFConversion::TextKind() { return TConversionTextKind::RichRetryPlain; }

bool TQxRTFConversion::IsFileFormat(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return StartsAsRtf(file.read(5));
}

bool TQxRTFConversion::IsStreamFormat(QIODevice& stream) {
    // peek leaves the position where it was, also on a sequential device.
    return StartsAsRtf(stream.peek(5));
}

// ---- TQxTextConversion --------------------------------------------------------------------------

bool TQxTextConversion::CanHandleExt(const QString& ext, TConversionKind) {
    return ext.compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0;
}

QString TQxTextConversion::FilterText() { return QStringLiteral("Plain text (*.txt)|*.txt"); }

TConversionTextKind TQxTextConversion::TextKind() { return TConversionTextKind::PlainRetryRich; }
