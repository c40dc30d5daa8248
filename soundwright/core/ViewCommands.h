#pragma once
// The zoom commands of the editor view, as arithmetic on the engine's view
// and selection, so the main window and the tests run the same code.
#include <cstdint>

namespace sw { class IAudioEditor2Position; }

namespace view_commands {

// The view becomes s..e (kept inside the document by the engine).
void SetView(sw::IAudioEditor2Position& p, std::int64_t s, std::int64_t e);
// SetView(s + (c - s) div 2, e - (e - c) div 2), div truncating toward zero.
void HalveAround(sw::IAudioEditor2Position& p, std::int64_t s, std::int64_t e, std::int64_t c);
// The view halves around the cursor.
void ZoomIn(sw::IAudioEditor2Position& p);
// Zoom In between ViewStart and SelEnd, and between SelStart and ViewEnd.
void ZoomToRight(sw::IAudioEditor2Position& p);
void ZoomToLeft(sw::IAudioEditor2Position& p);
// Doubles the visible span around its centre, within the document.
void ZoomOut(sw::IAudioEditor2Position& p);
// The whole document.
void ZoomFull(sw::IAudioEditor2Position& p);
// Exactly the selection; nothing when the view already is the selection.
void ZoomToSelection(sw::IAudioEditor2Position& p);
// Vertical zoom steps: the value moves by 20 (no bounds: the view treats 0
// or less as a flat line).
inline int VerticalZoomIn(int value) { return value - 20; }
inline int VerticalZoomOut(int value) { return value + 20; }

}  // namespace view_commands
