#pragma once
// A faithful copy of a character range of a document: text runs with their character formats, and at
// every paragraph break the block format and block character format of the paragraph that follows it,
// plus the format of the paragraph the range starts in. Undo steps keep what an edit replaced in one,
// and documents are copied through it (Qt's own fragments drop the first paragraph's format).

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

#include <vector>

class QTextCursor;
class QTextDocument;

namespace richedit {

class Fragment {
public:
    enum class Content { Everything, ParagraphFormatsOnly };

    // Copies [from, to) of `document`; positions are clamped to the text.
    static Fragment capture(const QTextDocument& document, int from, int to, Content content = Content::Everything);

    enum class FirstParagraph { TakeFormat, KeepFormat };
    // Inserts the copy at `cursor` (which must have no selection); with TakeFormat the paragraph it
    // starts in gets the captured format. The cursor ends after the inserted text. Pictures keep their
    // image resource when `source` (the document they came from) is given.
    void insertAt(QTextCursor& cursor, const QTextDocument* source = nullptr,
                  FirstParagraph first = FirstParagraph::TakeFormat) const;
    // Whether the copy holds a paragraph break.
    bool spansParagraphs() const;
    // The text of the copy, paragraph breaks as U+2029.
    QString text() const;

    // Gives the same range of `document`, starting at `position`, the captured formats again without
    // touching its text (the text there must be what was captured).
    void reapplyFormats(QTextDocument& document, int position) const;

    int length() const { return length_; }
    bool isEmpty() const { return length_ == 0; }
    Content content() const { return content_; }

private:
    struct Run {
        enum class Kind { Text, Break } kind = Kind::Text;
        int offset = 0;            // from the start of the range; a break is the character before its paragraph
        QString text;              // Text
        QTextCharFormat format;    // Text: the run's format; Break: the next paragraph's char format
        QTextBlockFormat block;    // Break: the next paragraph's format
    };
    std::vector<Run> runs_;
    QTextBlockFormat firstBlock_;
    QTextCharFormat firstBlockChar_;
    int length_ = 0;
    Content content_ = Content::Everything;
};

// Copies the image resources of every picture of `source` into `target` that `target` lacks.
void adoptPictureResources(const QTextDocument& source, QTextDocument& target);

}  // namespace richedit
