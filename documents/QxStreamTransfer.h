#pragma once
// The callbacks through which the engine's stream-in and stream-out move a document in blocks
// between the engine and a conversion.
//
// Reading asks the conversion for at most half the block the engine wants, leaving room for line
// breaks to grow. Rich text (RTF) passes unchanged. Plain text is decoded from the file's encoding,
// its line breaks become CR LF (a lone LF, a lone CR and a CR LF pair alike, also when the pair is
// split between two blocks), a CR that ends the file is dropped, NUL characters are dropped, and the
// text goes to the engine in the encoding it reads (UTF-8, or UTF-16 for a Unicode transfer).

#include "documents/QxTextDecoder.h"

#include <QByteArray>

#include <cstdint>

class TQxConversion;

enum class TransferContent { RichText, PlainText };
enum class EngineTextEncoding { Utf8, Utf16 };

// Error codes the callbacks hand back to the engine.
inline constexpr std::uint32_t kStreamReadError = 1;
inline constexpr std::uint32_t kStreamWriteError = 2;

class TQxStreamReader {
public:
    TQxStreamReader(TQxConversion& conversion, TransferContent content,
                    EngineTextEncoding engineEncoding = EngineTextEncoding::Utf8);

    // The engine's read callback: fills `buffer` with up to `count` bytes and stores their number in
    // `transferred`, 0 only at the end of the data. A failing source gives kStreamReadError; nothing
    // is thrown.
    std::uint32_t operator()(char* buffer, int count, int& transferred);

private:
    std::uint32_t ReadRaw(char* buffer, int count, int& transferred);
    void FillPending(int count);
    void AppendText(const QString& text);
    void AppendLineBreak();
    int TakePending(char* buffer, int count);

    TQxConversion& conversion_;
    TransferContent content_;
    EngineTextEncoding engineEncoding_;
    bool decoderReady_ = false;
    TQxPlainTextDecoder decoder_;
    bool sourceEnded_ = false;
    bool crPending_ = false;   // a CR whose partner may be the next character
    QString converted_;        // scratch: the text of one block after the line-break rules
    QByteArray pending_;       // bytes for the engine not yet handed over
    qsizetype pendingOffset_ = 0;
};

class TQxStreamWriter {
public:
    explicit TQxStreamWriter(TQxConversion& conversion) : conversion_(conversion) {}

    // The engine's write callback: passes the block to the conversion. A conversion that takes less
    // than the whole block, or fails, gives kStreamWriteError; nothing is thrown.
    std::uint32_t operator()(char* buffer, int count, int& transferred);

private:
    TQxConversion& conversion_;
};
