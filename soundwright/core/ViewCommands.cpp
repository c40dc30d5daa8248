#include "ViewCommands.h"

#include <algorithm>

#include "editor/TAudioEditor2.h"

namespace view_commands {

void SetView(sw::IAudioEditor2Position& p, std::int64_t s, std::int64_t e) {
    if (e < s) std::swap(s, e);
    p.SetViewStart(s);
    p.SetViewEnd(e);
}

void HalveAround(sw::IAudioEditor2Position& p, std::int64_t s, std::int64_t e, std::int64_t c) {
    SetView(p, s + (c - s) / 2, e - (e - c) / 2);
}

void ZoomIn(sw::IAudioEditor2Position& p) { HalveAround(p, p.ViewStart(), p.ViewEnd(), p.CurrentPosition()); }
void ZoomToRight(sw::IAudioEditor2Position& p) { HalveAround(p, p.ViewStart(), p.SelEnd(), p.CurrentPosition()); }
void ZoomToLeft(sw::IAudioEditor2Position& p) { HalveAround(p, p.SelStart(), p.ViewEnd(), p.CurrentPosition()); }

void ZoomOut(sw::IAudioEditor2Position& p) {
    const std::int64_t length = p.Length();
    const std::int64_t s = p.ViewStart(), e = p.ViewEnd();
    const std::int64_t span = std::max<std::int64_t>(1, e - s);
    const std::int64_t wanted = std::min<std::int64_t>(length, span * 2);
    std::int64_t start = s - (wanted - span) / 2;
    start = std::clamp<std::int64_t>(start, 0, std::max<std::int64_t>(0, length - wanted));
    SetView(p, start, start + wanted);
}

void ZoomFull(sw::IAudioEditor2Position& p) { SetView(p, 0, p.Length()); }

void ZoomToSelection(sw::IAudioEditor2Position& p) {
    if (p.ViewStart() == p.SelStart() && p.ViewEnd() == p.SelEnd()) return;
    SetView(p, p.SelStart(), p.SelEnd());
}

}  // namespace view_commands
