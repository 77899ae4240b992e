#pragma once
// The one header the program and its external libraries share: the entry points the program looks
// up by name, and the editor interface that the HTML-syntax library works through.
//
// Entries (C linkage, looked up by exactly these names):
//   void Autor(const char* programName);            quilauth.dll: the author box
//   void Info();                                     quilinf.dll: the program information box
//   void htmlsyntaxe(QxEditorAccess* editor);        quilhtmls.dll: HTML syntax treatment, in place
//   void CreateShortcut(const char* executablePath, unsigned char place, int reserved);
//                                                    quilcsc.dll: place 0 the desktop, 3 the applications menu

#include <cstdint>

// The editor control as a library sees it. Positions are characters from 0 (a paragraph break is one
// character); text is UTF-16. Every change goes through the control's own replace-selection, so it is
// undoable and raises the control's notifications.
class QxEditorAccess {
public:
    virtual int textLength() const = 0;
    // Copies up to `capacity` characters of [start, start + count) into `buffer`; returns how many.
    virtual int copyText(int start, int count, char16_t* buffer, int capacity) const = 0;
    virtual void select(int start, int length) = 0;
    virtual void replaceSelection(const char16_t* text, int length) = 0;
    // Character format of the selection: colour as 0x00BBGGRR, bold on or off.
    virtual void setSelectionColor(std::uint32_t colorRef) = 0;
    virtual void setSelectionBold(bool bold) = 0;
    // Gives each run its text colour (0x00BBGGRR) in one pass, as a display treatment: no undo step,
    // the modified flag and the selection unchanged. Runs are sorted and do not overlap.
    struct ColorRun {
        int start;
        int length;
        std::uint32_t colorRef;
    };
    virtual void colorRuns(const ColorRun* runs, int count) = 0;
    // Brackets a series of changes: no repainting in between.
    virtual void beginUpdate() = 0;
    virtual void endUpdate() = 0;

protected:
    ~QxEditorAccess() = default;
};

extern "C" {
using QxAutorEntry = void (*)(const char* programName);
using QxInfoEntry = void (*)();
using QxHtmlSyntaxeEntry = void (*)(QxEditorAccess* editor);
using QxCreateShortcutEntry = void (*)(const char* executablePath, unsigned char place, int reserved);
}

#define QX_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
