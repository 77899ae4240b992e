#pragma once
// Conversions: the objects that stand between the editor control and a file or stream during one
// transfer. TQxConversion is the neutral base; TQxStreamConversion moves bytes to and from a stream
// (a file it opens itself, or a stream it is given); TQxRTFConversion and TQxTextConversion recognise
// their file kinds and say which transfer format they prefer and whether a rejected transfer may be
// tried again in the other format.

#include "platform/encoding/plaintext.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;
class QWidget;

// Direction of a transfer: into the editor (import) or out of it (export).
enum class TConversionKind { Import, Export };

// The transfer format a conversion prefers, and whether a transfer the control rejects may be
// repeated in the other format.
enum class TConversionTextKind { Plain, Rich, PlainRetryRich, RichRetryPlain };

// Called with the new percentage whenever it changes during a transfer.
using TConversionProgress = std::function<void(int percentDone)>;

class TQxConversion {
public:
    TQxConversion() = default;
    virtual ~TQxConversion() = default;
    TQxConversion(const TQxConversion&) = delete;
    TQxConversion& operator=(const TQxConversion&) = delete;

    // Whether the conversion takes files with this extension (lower case, without its dot).
    virtual bool CanHandleExt(const QString& ext, TConversionKind kind);
    virtual bool CanHandleKind(TConversionKind kind);
    // The file-dialog filter of the kind the conversion handles ("label|pattern"); empty for none.
    virtual QString FilterText();
    virtual TConversionTextKind TextKind();
    // Whether the named file holds this conversion's format.
    virtual bool IsFileFormat(const QString& fileName);
    // Whether the stream holds this conversion's format from its current position on; the position is
    // left where it was.
    virtual bool IsStreamFormat(QIODevice& stream);
    // Prepares a transfer from or to the file. False: this conversion cannot do it. A file that cannot
    // be opened or created raises the file layer's error naming the file.
    virtual bool OpenFile(const QString& fileName, TConversionKind kind);
    // Prepares a transfer from or to the stream at its current position; the stream stays the caller's.
    virtual bool OpenStream(QIODevice& stream, TConversionKind kind);
    // Starts using the conversion on behalf of `parentWindow`.
    virtual void Init(QWidget* parentWindow);
    // Ends the use: releases whatever the conversion opened (an uncommitted export file is discarded).
    virtual void Done();
    // True when the transfer may be repeated from its start in the other format; the source is then
    // back at its start.
    virtual bool Retry();
    // Up to `count` bytes of the source into `buffer`: the number given (0 at the end), or -1 when the
    // conversion has no source. Raises a read error when the source fails.
    virtual qint64 ReadBlock(char* buffer, qint64 count);
    // Passes `count` bytes to the target: the number taken, or -1 when the conversion has no target.
    virtual qint64 WriteBlock(const char* buffer, qint64 count);
    virtual bool UserCancelled();
    virtual bool HasError();
    virtual QString ErrorText();
    // Export: makes everything written so far the target's content. A file target is replaced only
    // here, and as a whole; raises a write error naming the file when that fails. Nothing to do for a
    // stream target or an import.
    virtual void Commit();

    // The encoding a plain-text import should read the source in, when the conversion can tell it from
    // the whole source before the transfer starts; std::nullopt when the transfer must decide from its
    // first bytes.
    virtual std::optional<platform::TextEncoding> PlainTextEncoding();

    int PercentDone() const { return percentDone_; }
    QWidget* ParentWindow() const { return parentWindow_; }
    // The callback runs after every change of the percentage; an empty function detaches it.
    void SetProgressCallback(TConversionProgress callback) { progress_ = std::move(callback); }

protected:
    // Sets the percentage from the bytes converted so far out of `size` (nothing when size is 0).
    void UpdateProgress(qint64 converted, qint64 size);
    void ResetProgress() { percentDone_ = 0; }

private:
    QWidget* parentWindow_ = nullptr;
    int percentDone_ = 0;
    TConversionProgress progress_;
};

class TQxStreamConversion : public TQxConversion {
public:
    TQxStreamConversion();
    ~TQxStreamConversion() override;

    bool OpenFile(const QString& fileName, TConversionKind kind) override;
    bool OpenStream(QIODevice& stream, TConversionKind kind) override;
    void Done() override;
    bool Retry() override;
    qint64 ReadBlock(char* buffer, qint64 count) override;
    qint64 WriteBlock(const char* buffer, qint64 count) override;
    void Commit() override;
    std::optional<platform::TextEncoding> PlainTextEncoding() override;

    qint64 StartPosition() const { return start_; }
    qint64 StreamSize() const { return size_; }
    qint64 BytesConverted() const { return converted_; }

private:
    void ReleaseStream();

    QIODevice* stream_ = nullptr;
    std::unique_ptr<QIODevice> ownedStream_;  // set when the conversion opened a file itself
    QString fileName_;                        // of the owned file, for messages
    qint64 start_ = 0;
    qint64 size_ = 0;
    qint64 converted_ = 0;
};

class TQxRTFConversion : public TQxStreamConversion {
public:
    bool CanHandleExt(const QString& ext, TConversionKind kind) override;
    QString FilterText() override;
    TConversionTextKind TextKind() override;
    bool IsFileFormat(const QString& fileName) override;
    bool IsStreamFormat(QIODevice& stream) override;
};

class TQxTextConversion : public TQxStreamConversion {
public:
    bool CanHandleExt(const QString& ext, TConversionKind kind) override;
    QString FilterText() override;
    TConversionTextKind TextKind() override;
};

// Whether `head` begins with "{\rtf", ASCII case ignored.
bool StartsAsRtf(const QByteArray& head);
