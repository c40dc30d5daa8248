#include "WaveformView.h"

#include <QPainter>
#include <algorithm>

#include "editor/TAudioEditor2.h"

WaveformView::WaveformView(sw::TAudioEditor2& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    setObjectName("AudioEditor");
    setMinimumSize(200, 120);
    setAutoFillBackground(false);
}

void WaveformView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor background(0x10, 0x18, 0x28);
    p.fillRect(rect(), background);
    if (!editor_.IsOpen()) return;
    auto& pos = editor_.Position();
    const sw::SampleCount length = pos.Length();
    const int channels = editor_.FileInfo().Channels();
    if (channels <= 0) return;
    sw::SampleCount viewStart = pos.ViewStart();
    sw::SampleCount viewEnd = pos.ViewEnd();
    if (viewEnd <= viewStart) { viewStart = 0; viewEnd = length; }
    const int w = width();
    const double perPixel = double(std::max<sw::SampleCount>(1, viewEnd - viewStart)) / w;
    const auto xOf = [&](sw::SampleCount s) { return int((s - viewStart) / perPixel); };

    if (pos.HasSelection() && pos.SelEnd() > pos.SelStart()) {
        const int x0 = std::clamp(xOf(pos.SelStart()), 0, w);
        const int x1 = std::clamp(xOf(pos.SelEnd()), 0, w);
        p.fillRect(QRect(x0, 0, std::max(1, x1 - x0), height()), QColor(0x2a, 0x40, 0x66));
    }
    const int lane = height() / channels;
    for (int ch = 0; ch < channels; ++ch) {
        const int top = ch * lane;
        const int mid = top + lane / 2;
        p.setPen(QColor(0x30, 0x40, 0x58));
        p.drawLine(0, mid, w, mid);
        p.setPen(QColor(0x7c, 0xd6, 0x9a));
        for (int x = 0; x < w; ++x) {
            const sw::SampleCount s0 = viewStart + sw::SampleCount(x * perPixel);
            const sw::SampleCount s1 = std::min(viewEnd, viewStart + sw::SampleCount((x + 1) * perPixel));
            if (s0 >= length) break;
            const sw::MinMax mm = editor_.Peak(ch, s0, std::max<sw::SampleCount>(1, s1 - s0));
            const int y0 = mid - int(mm.max * (lane / 2 - 2));
            const int y1 = mid - int(mm.min * (lane / 2 - 2));
            p.drawLine(x, y0, x, std::max(y0, y1));
        }
    }
    const int cx = xOf(pos.CurrentPosition());
    if (cx >= 0 && cx < w) {
        p.setPen(QColor(0xff, 0xd0, 0x40));
        p.drawLine(cx, 0, cx, height());
    }
}
