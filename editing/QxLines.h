#pragma once
// The editor's line store `Lines`: file and stream transfer of the whole content and line-by-line
// access. The store itself lives with the documents subsystem; the editor control owns the one that is
// attached to it (TQxRichEdit::SetLines) and hands it out through TQxRichEdit::Lines().

#include <QString>
#include <QStringList>

class QIODevice;

enum class TextMode { Rich, Plain };
enum class UpdateState { Off, On };

class TQxLines {
public:
    virtual ~TQxLines() = default;

    // Whole content. Each raises a platform error on failure and leaves the transfer format as it was.
    virtual void LoadFile(const QString& fileName) = 0;
    virtual void SaveFile(const QString& fileName) = 0;
    virtual void LoadStream(QIODevice& stream) = 0;
    virtual void SaveStream(QIODevice& stream) = 0;

    // Switches the control between rich and plain text keeping the text (formatting, pictures and
    // objects are dropped). The control calls this from its PlainText setter when the value changes and
    // its engine window exists; the store sets the mode through TQxRichEdit::ApplyTextMode.
    virtual void SwitchTextMode(TextMode mode) = 0;

    // Line access: lines as the control lays them out, without their breaks.
    virtual int LineCount() const = 0;
    virtual QString LineText(int index) const = 0;
    virtual void ReplaceLine(int index, const QString& text) = 0;
    virtual void InsertLine(int index, const QString& text) = 0;
    virtual void AddLine(const QString& text) = 0;
    virtual void DeleteLine(int index) = 0;
    virtual void Clear() = 0;
    virtual void AddLines(const QStringList& texts) = 0;
    virtual void SetAllText(const QString& text) = 0;
    virtual void SetUpdating(UpdateState state) = 0;
};
