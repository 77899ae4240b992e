#include "documents/QxStreamTransfer.h"

#include "documents/QxConversion.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

// At most half the block the engine asks for (at least one byte, so that a tiny block cannot end the
// data early).
qint64 halfBlock(int count) { return std::max(1, count / 2); }

}  // namespace

TQxStreamReader::TQxStreamReader(TQxConversion& conversion, TransferContent content,
                                 EngineTextEncoding engineEncoding)
    : conversion_(conversion), content_(content), engineEncoding_(engineEncoding) {}

std::uint32_t TQxStreamReader::operator()(char* buffer, int count, int& transferred) {
    transferred = 0;
    if (count <= 0) return 0;
    // The engine cannot carry an exception through its transfer: a failure becomes its read error.
    try {
        if (content_ == TransferContent::RichText) return ReadRaw(buffer, count, transferred);
        if (pendingOffset_ >= pending_.size()) FillPending(count);
        transferred = TakePending(buffer, count);
        return 0;
    } catch (const std::exception&) {
        transferred = 0;
        return kStreamReadError;
    }
}

std::uint32_t TQxStreamReader::ReadRaw(char* buffer, int count, int& transferred) {
    // RTF passes as it is: its line breaks carry no meaning, and changing bytes would corrupt binary
    // picture data.
    const qint64 read = conversion_.ReadBlock(buffer, halfBlock(count));
    if (read < 0) return kStreamReadError;
    transferred = int(read);
    return 0;
}

void TQxStreamReader::FillPending(int count) {
    pending_.clear();
    pendingOffset_ = 0;
    if (!decoderReady_) {
        // Asked now, while the source is still at its start.
        decoder_ = TQxPlainTextDecoder(conversion_.PlainTextEncoding());
        decoderReady_ = true;
    }
    QByteArray block(halfBlock(count), Qt::Uninitialized);
    // A block may give no text (NULs only, a CR waiting for its partner, part of a character): read on,
    // since handing over nothing would end the transfer.
    while (pending_.isEmpty() && !sourceEnded_) {
        const qint64 read = conversion_.ReadBlock(block.data(), block.size());
        if (read < 0) throw std::runtime_error("the conversion has no source");
        QString text;
        if (read == 0) {
            text = decoder_.Finish();
            sourceEnded_ = true;
        } else {
            text = decoder_.Decode(QByteArray(block.constData(), read));
        }
        converted_.clear();
        AppendText(text);
        // A CR that ends the file is dropped.
        if (sourceEnded_) crPending_ = false;
        pending_ = engineEncoding_ == EngineTextEncoding::Utf8
                       ? converted_.toUtf8()
                       : QByteArray(reinterpret_cast<const char*>(converted_.utf16()), converted_.size() * 2);
    }
}

void TQxStreamReader::AppendText(const QString& text) {
    for (const QChar c : text) {
        if (c.isNull()) continue;  // a NUL is dropped alone; the rest of the text stays
        if (crPending_) {
            crPending_ = false;
            AppendLineBreak();
            if (c == u'\n') continue;  // CR LF, also split between two blocks, is one break
        }
        if (c == u'\r') crPending_ = true;
        else if (c == u'\n') AppendLineBreak();
        else converted_.append(c);
    }
}

void TQxStreamReader::AppendLineBreak() { converted_.append(QStringLiteral("\r\n")); }

int TQxStreamReader::TakePending(char* buffer, int count) {
    const qsizetype available = pending_.size() - pendingOffset_;
    qsizetype take = std::min<qsizetype>(count, available);
    if (take < available) {
        // Keep characters whole where the block allows it.
        const char* p = pending_.constData() + pendingOffset_;
        qsizetype whole = take;
        if (engineEncoding_ == EngineTextEncoding::Utf8) {
            while (whole > 0 && (static_cast<unsigned char>(p[whole]) & 0xC0) == 0x80) --whole;
        } else {
            whole -= whole % 2;
        }
        if (whole > 0) take = whole;
    }
    std::copy_n(pending_.constData() + pendingOffset_, take, buffer);
    pendingOffset_ += take;
    return int(take);
}

std::uint32_t TQxStreamWriter::operator()(char* buffer, int count, int& transferred) {
    transferred = 0;
    try {
        const qint64 written = conversion_.WriteBlock(buffer, count);
        if (written < 0) return kStreamWriteError;
        transferred = int(written);
        return written == count ? 0 : kStreamWriteError;
    } catch (const std::exception&) {
        return kStreamWriteError;
    }
}
