#pragma once
// Paragraph attributes of the paragraphs the selection touches, in points (20 twips). Every read asks
// the engine anew (zeros without an engine window); every write creates the engine window when needed
// and sends one record with exactly the mask bits of the attribute.

#include "platform/richedit/records.h"

class TQxRichEdit;

enum class TParaAlignment : int { Left = 0, Right = 1, Center = 2, Justify = 3 };

class TQxParaAttributes {
public:
    explicit TQxParaAttributes(TQxRichEdit& owner);

    // wAlignment - 1 (reads -1 on a cleared record). Justify switches advanced typography on first
    // when the control's AutoAdvancedTypography is set.
    TParaAlignment Alignment() const;
    void SetAlignment(TParaAlignment alignment);

    int FirstIndent() const;  // the first line's start, points
    void SetFirstIndent(int points);
    int LeftIndent() const;  // further lines, relative to the first line's start, points
    void SetLeftIndent(int points);
    int RightIndent() const;
    void SetRightIndent(int points);

    // Line spacing value and rule are written independently: each write starts from the current record
    // and changes only its own field.
    int LineSpacing() const;  // points
    void SetLineSpacing(int points);
    int LineSpacingRule() const;  // 0 single, 1 one and a half, 2 double, 3 at least, 4 exactly, 5 multiple
    void SetLineSpacingRule(int rule);

    int SpaceBefore() const;
    void SetSpaceBefore(int points);
    int SpaceAfter() const;
    void SetSpaceAfter(int points);

    // 0 none, 1 bullet, 2 arabic numbers, further engine codes pass through. Writing 0 first sets
    // LeftIndent to 0; a non-zero write first raises a LeftIndent below 10 to 10.
    int Numbering() const;
    void SetNumbering(int numbering);
    void SetNumberingStart(int start);
    // 0 "1)", 1 "1.", 2 "(1)", 3 "1"; other values are dropped.
    void SetNumberingStyle(int style);

    // Copy from another accessor: its whole record, with the fields its engine reported, in one write.
    void Assign(const TQxParaAttributes& source);

    richedit::PARAFORMAT2 GetAttributes() const;
    void SetAttributes(const richedit::PARAFORMAT2& format);  // creates the engine window when needed

private:
    TQxRichEdit& owner_;
};
