#pragma once
// The engine's formatting keys, as users of any word processor expect them: Ctrl+B, Ctrl+I and
// Ctrl+U toggle bold, italic and underline; Ctrl+L, Ctrl+E, Ctrl+R and Ctrl+J align left, centred,
// right and justified; Ctrl+1, Ctrl+5 and Ctrl+2 set single, 1.5 and double line spacing (the number
// row's keys by their place, whatever the layout prints on them); Ctrl+= and Ctrl+Shift+= (Ctrl++)
// toggle subscript and superscript.

class QKeyEvent;

namespace richedit {

class Engine;

// Applies the formatting key of `event` to the selection (or to the insertion format at an empty
// selection) as one undoable step, and returns true; returns false, changing nothing, for any other
// key and in plain-text mode. A toggle looks at the selection's start only and writes that one
// style, so the other styles of every character stay as they were.
bool applyFormatKey(Engine& engine, const QKeyEvent& event);

}  // namespace richedit
