#include "WaveformView.h"

#include <QPainter>
#include <algorithm>

#include "Spectrum.h"
#include "editor/TAudioEditor2.h"

WaveformView::WaveformView(sw::TAudioEditor2& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    setObjectName("AudioEditor");
    setMinimumSize(200, 120);
    setAutoFillBackground(false);
}

void WaveformView::SetDarkColours(bool dark) {
    dark_ = dark;
    update();
}

// Windows colour values are blue in the high byte: $66FF66 and $640000.
QColor WaveformView::BackgroundColour() const { return dark_ ? QColor(0, 0, 0) : QColor(0xFF, 0xFF, 0xFF); }
QColor WaveformView::WaveColour() const { return dark_ ? QColor(0x66, 0xFF, 0x66) : QColor(0x00, 0x00, 0x64); }

void WaveformView::SetVerticalZoom(int percent) {
    verticalZoom_ = percent;
    update();
}

void WaveformView::SetTypeView(int type) {
    typeView_ = type == 1 ? 1 : 0;
    update();
}

void WaveformView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor background = BackgroundColour();
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
        p.fillRect(QRect(x0, 0, std::max(1, x1 - x0), height()), dark_ ? QColor(0x2a, 0x40, 0x66) : QColor(0xc8, 0xd8, 0xf0));
    }
    const int lane = height() / channels;
    if (typeView_ == 1) {
        const SpectrumKey key{editor_.StateSerial(), viewStart, viewEnd, QSize(w, lane), dark_, channels};
        if (!(key == spectrumKey_) || spectrum_.size() != channels) {
            spectrum_.clear();
            for (int ch = 0; ch < channels; ++ch)
                spectrum_ << RenderSpectrum(editor_, ch, viewStart, viewEnd, QSize(w, lane), dark_);
            spectrumKey_ = key;
            ++spectrumRenders_;
        }
        for (int ch = 0; ch < channels; ++ch) p.drawImage(0, ch * lane, spectrum_[ch]);
        if (pos.HasSelection() && pos.SelEnd() > pos.SelStart()) {
            const int x0 = std::clamp(xOf(pos.SelStart()), 0, w);
            const int x1 = std::clamp(xOf(pos.SelEnd()), 0, w);
            p.fillRect(QRect(x0, 0, std::max(1, x1 - x0), height()), QColor(255, 255, 255, 60));
        }
    }
    for (int ch = 0; ch < channels && typeView_ == 0; ++ch) {
        const int top = ch * lane;
        const int mid = top + lane / 2;
        p.setPen(dark_ ? QColor(0x30, 0x40, 0x58) : QColor(0xc0, 0xc0, 0xc0));
        p.drawLine(0, mid, w, mid);
        p.setPen(WaveColour());
        const double scale = std::max(0, verticalZoom_) / 100.0;
        for (int x = 0; x < w; ++x) {
            const sw::SampleCount s0 = viewStart + sw::SampleCount(x * perPixel);
            const sw::SampleCount s1 = std::min(viewEnd, viewStart + sw::SampleCount((x + 1) * perPixel));
            if (s0 >= length) break;
            const sw::MinMax mm = editor_.Peak(ch, s0, std::max<sw::SampleCount>(1, s1 - s0));
            const int half = lane / 2 - 2;
            const int y0 = mid - int(std::clamp(mm.max * scale, -1.0, 1.0) * half);
            const int y1 = mid - int(std::clamp(mm.min * scale, -1.0, 1.0) * half);
            p.drawLine(x, y0, x, std::max(y0, y1));
        }
    }
    const int cx = xOf(pos.CurrentPosition());
    if (cx >= 0 && cx < w) {
        p.setPen(QColor(0xff, 0xd0, 0x40));
        p.drawLine(cx, 0, cx, height());
    }
}
