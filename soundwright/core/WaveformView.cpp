#include "WaveformView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "Spectrum.h"
#include "editor/TAudioEditor2.h"

namespace {

// Axis strips are dark in both colour sets so the axis text stays readable.
const QColor kScaleBackground(0x26, 0x2c, 0x38);
const QColor kBookmarkColour(0xff, 0xb0, 0x30);
const QColor kRegionColour(0x40, 0xc0, 0xff);

// The smallest value of the 1-2-5 series (times `unit`) that is at least x.
double NiceStep(double x, double unit = 1) {
    if (x <= unit) return unit;
    const double exp10 = std::pow(10.0, std::floor(std::log10(x / unit)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * exp10 * unit >= x) return m * exp10 * unit;
    return 10 * exp10 * unit;
}

// Seconds between time labels: decimal fractions down to 0.1 ms, then
// whole seconds and minutes.
double NiceSeconds(double x) {
    if (x < 1) return std::min(1.0, NiceStep(x, 0.0001));
    for (double s : {1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0, 600.0, 900.0, 1800.0, 3600.0})
        if (s >= x) return s;
    return NiceStep(x, 3600);
}

}  // namespace

QString ScaleXText(std::int64_t sample, int sampleRate, int format) {
    if (format == 1) return QString::number(sample);
    if (sampleRate <= 0) sampleRate = 44100;
    // Tenths of a millisecond, rounded.
    const std::int64_t units = (sample * 10000 + sampleRate / 2) / sampleRate;
    const std::int64_t minutes = units / 600000;
    const std::int64_t seconds = units / 10000 % 60;
    const std::int64_t frac = units % 10000;
    return QString::asprintf("%lld:%02lld.%04lld", static_cast<long long>(minutes), static_cast<long long>(seconds),
                             static_cast<long long>(frac));
}

QString ScaleYText(double amplitude, int format) {
    switch (format) {
    case 1: return QString::number(std::llround(amplitude * 32768.0));
    case 2: {
        const QString t = QString::number(amplitude, 'f', std::abs(amplitude) < 0.1 && amplitude != 0 ? 3 : 2);
        return t == "-0.00" ? QString("0.00") : t;
    }
    default: {
        const double a = std::abs(amplitude);
        if (a < 1e-9) return "-inf";
        const long long db = std::llround(20 * std::log10(a));
        return QString::number(db == 0 ? 0 : db);
    }
    }
}

WaveformView::WaveformView(sw::TAudioEditor2& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    setObjectName("AudioEditor");
    setMinimumSize(200, 120);
    setAutoFillBackground(false);
    setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    scaleFont_ = font();
    scaleFont_.setPointSize(7);
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

double WaveformView::VisibleAmplitude() const { return std::max(verticalZoom_, kMinVerticalSpan) / 100.0; }

void WaveformView::SetTypeView(int type) {
    typeView_ = type == 1 ? 1 : 0;
    update();
}

void WaveformView::SetScaleXFormat(int format) {
    scaleX_.ScaleFormat = format == 1 ? 1 : 2;
    update();
}

void WaveformView::SetScaleYFormat(int format) {
    scaleY_.ScaleFormat = format == 1 || format == 2 ? format : 3;
    update();
}

void WaveformView::SetScaleXVisible(bool visible) {
    scaleX_.ScaleVisible = visible;
    update();
}

void WaveformView::SetScaleYVisible(bool visible) {
    scaleY_.ScaleVisible = visible;
    update();
}

void WaveformView::SetScaleFont(const QFont& font, const QColor& colour) {
    scaleFont_ = font;
    scaleColour_ = colour;
    update();
}

void WaveformView::SetTypeBorder(int border) {
    typeBorder_ = std::clamp(border, 0, 32);
    update();
}

QRect WaveformView::ScaleYArea() const {
    if (!scaleY_.ScaleVisible) return {};
    const QFontMetrics fm(scaleFont_);
    const int w = fm.horizontalAdvance("-32768") + 8;
    return QRect(0, 0, w, height() - ScaleXArea().height());
}

QRect WaveformView::ScaleXArea() const {
    if (!scaleX_.ScaleVisible) return {};
    const QFontMetrics fm(scaleFont_);
    const int h = fm.height() + 6;
    const int left = scaleY_.ScaleVisible ? QFontMetrics(scaleFont_).horizontalAdvance("-32768") + 8 : 0;
    return QRect(left, height() - h, width() - left, h);
}

QRect WaveformView::WaveArea() const {
    const int left = ScaleYArea().width();
    const int bottom = ScaleXArea().height();
    QRect r(left, 0, width() - left, height() - bottom);
    r.adjust(typeBorder_, typeBorder_, -typeBorder_, -typeBorder_);
    if (r.width() < 1) r.setWidth(1);
    if (r.height() < 1) r.setHeight(1);
    return r;
}

void WaveformView::view(std::int64_t& start, std::int64_t& end) const {
    auto& pos = editor_.Position();
    start = pos.ViewStart();
    end = pos.ViewEnd();
    if (end <= start) {
        start = 0;
        end = std::max<std::int64_t>(1, pos.Length());
    }
}

std::int64_t WaveformView::SampleAt(int x) const {
    if (!editor_.IsOpen()) return 0;
    std::int64_t s, e;
    view(s, e);
    const QRect a = WaveArea();
    const double perPixel = double(e - s) / a.width();
    const std::int64_t sample = s + std::llround((x - a.left()) * perPixel);
    return std::clamp<std::int64_t>(sample, 0, editor_.Position().Length());
}

int WaveformView::XOf(std::int64_t sample) const {
    std::int64_t s, e;
    view(s, e);
    const QRect a = WaveArea();
    const double perPixel = double(e - s) / a.width();
    const double x = (sample - s) / perPixel;
    return a.left() + int(std::clamp(std::floor(x), -1e6, 1e6));
}

QList<WaveformView::Tick> WaveformView::xTicks() const {
    QList<Tick> ticks;
    if (!editor_.IsOpen()) return ticks;
    std::int64_t s, e;
    view(s, e);
    const QRect a = WaveArea();
    const int rate = editor_.FileInfo().SampleRate();
    const QFontMetrics fm(scaleFont_);
    const int labelWidth = fm.horizontalAdvance(ScaleXText(e, rate, scaleX_.ScaleFormat)) + 16;
    const double samplesPerPixel = double(e - s) / a.width();
    const double minSamples = samplesPerPixel * labelWidth;
    double step;
    if (scaleX_.ScaleFormat == 1) step = NiceStep(minSamples);
    else step = NiceSeconds(minSamples / std::max(1, rate)) * std::max(1, rate);
    if (step <= 0) return ticks;
    for (double t = std::ceil(s / step) * step; t <= e && ticks.size() < 1000; t += step) {
        const std::int64_t sample = std::llround(t);
        ticks << Tick{XOf(sample), ScaleXText(sample, rate, scaleX_.ScaleFormat)};
    }
    return ticks;
}

QList<WaveformView::Tick> WaveformView::yTicks(int top, int height) const {
    QList<Tick> ticks;
    const int mid = top + height / 2;
    const int half = std::max(1, height / 2 - 2);
    constexpr int kMinGap = 12;
    if (typeView_ == 1) {
        // Frequency, low at the bottom.
        const int rate = editor_.IsOpen() ? editor_.FileInfo().SampleRate() : 44100;
        const double nyquist = rate / 2.0;
        const double step = NiceStep(nyquist * 20.0 / std::max(1, height));
        for (double f = 0; f <= nyquist && ticks.size() < 200; f += step) {
            const int y = top + height - 1 - int(f / nyquist * (height - 1));
            const QString text = f >= 1000 ? QString::number(f / 1000.0, 'g', 3) + "k" : QString::number(f);
            ticks.prepend(Tick{y, text});
        }
        return ticks;
    }
    const double range = VisibleAmplitude();
    auto yOf = [&](double amp) { return mid - int(std::lround(amp / range * half)); };
    QList<double> upper;   // amplitudes above the centre line, top first
    if (scaleY_.ScaleFormat == 3) {
        int lastY = -1000;
        for (double db : {0.0, -1.0, -2.0, -3.0, -4.0, -5.0, -6.0, -8.0, -10.0, -12.0, -15.0, -18.0, -21.0, -24.0,
                          -30.0, -36.0, -42.0, -48.0, -60.0, -72.0, -90.0}) {
            const double amp = std::pow(10.0, db / 20);
            if (amp > range * 1.0001) continue;
            const int y = yOf(amp);
            if (y - lastY < kMinGap || mid - y < kMinGap) continue;
            upper << amp;
            lastY = y;
        }
    } else {
        const double unit = scaleY_.ScaleFormat == 1 ? 1.0 / 32768 : 0.01;
        const double step = NiceStep(range * kMinGap * 1.5 / half, unit);
        for (double amp = std::floor(range / step) * step; amp > step / 2; amp -= step) upper << amp;
    }
    for (double amp : upper) ticks << Tick{yOf(amp), ScaleYText(amp, scaleY_.ScaleFormat)};
    ticks << Tick{mid, ScaleYText(0, scaleY_.ScaleFormat)};
    for (auto it = upper.crbegin(); it != upper.crend(); ++it)
        ticks << Tick{yOf(-*it), ScaleYText(-*it, scaleY_.ScaleFormat)};
    return ticks;
}

QStringList WaveformView::ScaleXLabels() const {
    QStringList out;
    if (!scaleX_.ScaleVisible) return out;
    for (const Tick& t : xTicks()) out << t.text;
    return out;
}

QStringList WaveformView::ScaleYLabels() const {
    QStringList out;
    if (!scaleY_.ScaleVisible || !editor_.IsOpen()) return out;
    const int channels = std::max(1, editor_.FileInfo().Channels());
    const QRect a = WaveArea();
    const int lane = a.height() / channels;
    for (const Tick& t : yTicks(a.top(), lane)) out << t.text;
    return out;
}

void WaveformView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kScaleBackground);
    const QRect area = WaveArea();
    p.fillRect(area, BackgroundColour());
    const int channels = editor_.IsOpen() ? editor_.FileInfo().Channels() : 0;
    if (channels > 0) {
        p.save();
        p.setClipRect(area);
        auto& pos = editor_.Position();
        const bool selected = pos.HasSelection() && pos.SelEnd() > pos.SelStart();
        auto selectionRect = [&] {
            const int x0 = std::clamp(XOf(pos.SelStart()), area.left(), area.right() + 1);
            const int x1 = std::clamp(XOf(pos.SelEnd()), area.left(), area.right() + 1);
            return QRect(x0, area.top(), std::max(1, x1 - x0), area.height());
        };
        if (typeView_ == 1) {
            drawSpectrum(p, area, channels);
            if (selected) p.fillRect(selectionRect(), dark_ ? QColor(255, 255, 255, 60) : QColor(0, 0, 0x64, 50));
        } else {
            if (selected) p.fillRect(selectionRect(), dark_ ? QColor(0x2a, 0x40, 0x66) : QColor(0xc8, 0xd8, 0xf0));
            drawWave(p, area, channels);
        }
        drawMarkers(p, area);
        const int cx = XOf(pos.CurrentPosition());
        if (cx >= area.left() && cx <= area.right()) {
            p.setPen(dark_ ? QColor(0xff, 0xff, 0xff) : QColor(0xd0, 0x20, 0x20));
            p.drawLine(cx, area.top(), cx, area.bottom());
        }
        p.restore();
    }
    drawScales(p, area, std::max(1, channels));
}

void WaveformView::drawWave(QPainter& p, const QRect& area, int channels) {
    std::int64_t viewStart, viewEnd;
    view(viewStart, viewEnd);
    const std::int64_t length = editor_.Position().Length();
    const int w = area.width();
    const double perPixel = double(viewEnd - viewStart) / w;
    const double range = VisibleAmplitude();
    const int lane = area.height() / channels;
    for (int ch = 0; ch < channels; ++ch) {
        const int top = area.top() + ch * lane;
        const int mid = top + lane / 2;
        const int half = std::max(1, lane / 2 - 2);
        if (ch > 0) {
            p.setPen(dark_ ? QColor(0x40, 0x48, 0x58) : QColor(0x90, 0x90, 0x90));
            p.drawLine(area.left(), top, area.right(), top);
        }
        p.setPen(dark_ ? QColor(0x30, 0x40, 0x58) : QColor(0xc0, 0xc0, 0xc0));
        p.drawLine(area.left(), mid, area.right(), mid);
        p.setPen(WaveColour());
        auto yOf = [&](double v) { return mid - int(std::clamp(v / range, -1.0, 1.0) * half); };
        if (perPixel >= 1) {
            // One vertical stroke per column from the block summaries.
            for (int x = 0; x < w; ++x) {
                const std::int64_t s0 = viewStart + std::int64_t(x * perPixel);
                const std::int64_t s1 = std::min(viewEnd, viewStart + std::int64_t((x + 1) * perPixel));
                if (s0 >= length) break;
                const sw::MinMax mm = editor_.Peak(ch, s0, std::max<std::int64_t>(1, s1 - s0));
                const int y0 = yOf(mm.max), y1 = yOf(mm.min);
                p.drawLine(area.left() + x, y0, area.left() + x, std::max(y0, y1));
            }
        } else {
            // Fewer samples than columns: a line through the samples, with
            // a dot on each when they are far apart.
            const std::int64_t first = std::max<std::int64_t>(0, viewStart);
            const std::int64_t count = std::min(length, viewEnd + 1) - first;
            if (count <= 0) continue;
            std::vector<float> samples(static_cast<std::size_t>(count));
            const std::int64_t got = editor_.ReadChannel(ch, first, count, samples.data());
            QPolygon line;
            for (std::int64_t i = 0; i < got; ++i)
                line << QPoint(area.left() + int(std::floor((first + i - viewStart) / perPixel)), yOf(samples[i]));
            p.drawPolyline(line);
            if (perPixel < 1.0 / 6) {
                p.setBrush(WaveColour());
                for (const QPoint& pt : line) p.drawEllipse(pt, 2, 2);
                p.setBrush(Qt::NoBrush);
            }
        }
    }
}

void WaveformView::drawSpectrum(QPainter& p, const QRect& area, int channels) {
    std::int64_t viewStart, viewEnd;
    view(viewStart, viewEnd);
    const int lane = area.height() / channels;
    const SpectrumKey key{editor_.StateSerial(), viewStart, viewEnd, QSize(area.width(), lane), dark_, channels};
    if (!(key == spectrumKey_) || spectrum_.size() != channels) {
        spectrum_.clear();
        for (int ch = 0; ch < channels; ++ch)
            spectrum_ << RenderSpectrum(editor_, ch, viewStart, viewEnd, QSize(area.width(), lane), dark_);
        spectrumKey_ = key;
        ++spectrumRenders_;
    }
    for (int ch = 0; ch < channels; ++ch) p.drawImage(area.left(), area.top() + ch * lane, spectrum_[ch]);
}

void WaveformView::drawMarkers(QPainter& p, const QRect& area) {
    auto& markers = editor_.Markers();
    const int count = markers.MarkerCount();
    if (count == 0) return;
    p.setFont(scaleFont_);
    const QFontMetrics fm(scaleFont_);
    const int strip = fm.height() + 2;
    for (int i = 1; i <= count; ++i) {
        const auto m = markers.MarkerAt(i);
        const int x0 = XOf(m.position);
        const QString name = QString::fromStdString(m.name);
        if (m.length > 0) {
            const int x1 = XOf(m.position + m.length);
            if (x1 < area.left() || x0 > area.right()) continue;
            QColor fill = kRegionColour;
            fill.setAlpha(50);
            p.fillRect(QRect(x0, area.top(), std::max(1, x1 - x0), area.height()), fill);
            fill.setAlpha(150);
            p.fillRect(QRect(x0, area.top(), std::max(1, x1 - x0), strip), fill);
            p.setPen(QPen(kRegionColour, 1, Qt::DashLine));
            p.drawLine(x0, area.top(), x0, area.bottom());
            p.drawLine(x1, area.top(), x1, area.bottom());
            p.setPen(Qt::white);
            p.drawText(QRect(std::max(x0, area.left()) + 3, area.top(), std::max(0, x1 - std::max(x0, area.left()) - 4), strip),
                       Qt::AlignVCenter | Qt::AlignLeft, fm.elidedText(name, Qt::ElideRight, std::max(0, x1 - x0 - 4)));
        } else {
            if (x0 < area.left() || x0 > area.right()) continue;
            p.setPen(QPen(kBookmarkColour, 1, Qt::DashLine));
            p.drawLine(x0, area.top(), x0, area.bottom());
            const int tw = fm.horizontalAdvance(name) + 6;
            const QRect flag(x0, area.bottom() - strip + 1, tw, strip);
            p.fillRect(flag, kBookmarkColour);
            p.setPen(Qt::black);
            p.drawText(flag, Qt::AlignCenter, name);
        }
    }
}

void WaveformView::drawScales(QPainter& p, const QRect& area, int channels) {
    p.setFont(scaleFont_);
    const QFontMetrics fm(scaleFont_);
    if (scaleX_.ScaleVisible) {
        const QRect r = ScaleXArea();
        p.setPen(scaleColour_);
        for (const Tick& t : xTicks()) {
            if (t.pos < area.left() || t.pos > area.right()) continue;
            p.drawLine(t.pos, r.top(), t.pos, r.top() + 3);
            const int tw = fm.horizontalAdvance(t.text);
            const int x = std::clamp(t.pos - tw / 2, r.left(), r.right() - tw);
            p.drawText(QPoint(x, r.top() + 3 + fm.ascent() + 1), t.text);
        }
    }
    if (scaleY_.ScaleVisible && editor_.IsOpen()) {
        const QRect r = ScaleYArea();
        const int lane = area.height() / channels;
        p.setPen(scaleColour_);
        for (int ch = 0; ch < channels; ++ch) {
            const int top = area.top() + ch * lane;
            for (const Tick& t : yTicks(top, lane)) {
                p.drawLine(r.right() - 3, t.pos, r.right(), t.pos);
                const int tw = fm.horizontalAdvance(t.text);
                const int y = std::clamp(t.pos + fm.ascent() / 2 - 1, top + fm.ascent(), top + lane - 1);
                p.drawText(QPoint(r.right() - 5 - tw, y), t.text);
            }
        }
    }
}

void WaveformView::selectTo(std::int64_t sample) {
    auto& pos = editor_.Position();
    const std::int64_t a = std::min(anchor_, sample), b = std::max(anchor_, sample);
    pos.SetHasSelection(true);
    pos.SetSelStart(a);
    pos.SetSelEnd(b);
}

void WaveformView::mousePressEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    if (ScaleXArea().contains(pt)) {
        if (e->button() == Qt::LeftButton) emit OnScaleXClick(e->globalPosition().toPoint());
        return;
    }
    if (ScaleYArea().contains(pt)) {
        if (e->button() == Qt::LeftButton) emit OnScaleYClick(e->globalPosition().toPoint());
        return;
    }
    if (e->button() != Qt::LeftButton || !editor_.IsOpen()) return;
    setFocus();
    auto& pos = editor_.Position();
    const std::int64_t sample = SampleAt(pt.x());
    if (e->modifiers() & Qt::ShiftModifier) {
        // Extend: the edge farther from the click stays put.
        if (pos.HasSelection() && pos.SelEnd() > pos.SelStart())
            anchor_ = std::abs(sample - pos.SelStart()) > std::abs(sample - pos.SelEnd()) ? pos.SelStart() : pos.SelEnd();
        else
            anchor_ = pos.CurrentPosition();
        selectTo(sample);
        dragMoved_ = true;
    } else {
        anchor_ = sample;
        pos.SetHasSelection(false);
        pos.SetCurrentPosition(sample);
        dragMoved_ = false;
    }
    pressX_ = pt.x();
    dragging_ = true;
    update();
}

void WaveformView::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_ || !(e->buttons() & Qt::LeftButton) || !editor_.IsOpen()) return;
    const int x = int(e->position().x());
    if (!dragMoved_ && std::abs(x - pressX_) < 3) return;
    dragMoved_ = true;
    selectTo(SampleAt(x));
    update();
}

void WaveformView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) dragging_ = false;
    QWidget::mouseReleaseEvent(e);
}
