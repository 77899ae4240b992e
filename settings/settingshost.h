#pragma once
// What the settings dialog reads and writes of the main window, so that the dialog does not depend on
// the window's class.

#include <QString>

class TQxRichEdit;

enum class FormatButton { Bold, Italic, Underline, StrikeOut };

class SettingsHost {
public:
    virtual ~SettingsHost() = default;
    virtual TQxRichEdit& editor() = 0;

    virtual bool autosaveRunning() const = 0;
    virtual int autosaveInterval() const = 0;  // milliseconds
    virtual void setAutosave(bool running, int interval) = 0;
    virtual QString saveFolder() const = 0;
    virtual void setSaveFolder(const QString& folder) = 0;
    virtual bool statusBarVisible() const = 0;
    virtual void setStatusBarVisible(bool visible) = 0;
    virtual bool rulerVisible() const = 0;
    virtual void setRulerVisible(bool visible) = 0;

    // The toolbar's pressed state of a formatting button.
    virtual void setFormatButtonDown(FormatButton button, bool down) = 0;
    // The ruler follows the paragraph at the selection.
    virtual void paragraphChanged() = 0;
    // The toolbar shows the formatting at the selection.
    virtual void updateFormatControls() = 0;
    // Through the shortcut library: place 0 the desktop, 3 the applications menu.
    virtual void createShortcut(unsigned char place) = 0;
};
