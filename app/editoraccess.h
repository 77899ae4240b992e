#pragma once
// The editor control as the external libraries see it (the interface of plugins/include).

#include "plugins/include/quillex_plugin.h"

class TQxRichEdit;

class EditorAccess final : public QxEditorAccess {
public:
    explicit EditorAccess(TQxRichEdit& editor) : editor_(&editor) {}

    int textLength() const override;
    int copyText(int start, int count, char16_t* buffer, int capacity) const override;
    void select(int start, int length) override;
    void replaceSelection(const char16_t* text, int length) override;
    void setSelectionColor(std::uint32_t colorRef) override;
    void setSelectionBold(bool bold) override;
    void colorRuns(const ColorRun* runs, int count) override;
    void beginUpdate() override;
    void endUpdate() override;

private:
    TQxRichEdit* editor_;
};
