#pragma once
// The editor view: the open document as a waveform (from the engine's block
// summaries, one lane per channel) or as a spectrum, with a time axis below,
// an amplitude (or frequency) axis on the left, the selection, the cursor,
// and the bookmarks and regions.
//
// Mouse: a click in the wave area sets the cursor and clears the selection,
// a drag selects, Shift+click extends the selection from its far edge (or
// from the cursor) to the click. A click on an axis reports OnScaleXClick or
// OnScaleYClick with the mouse's screen position.
#include <QFont>
#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <cstdint>

namespace sw { class TAudioEditor2; }

// One axis of the view.
struct TEditorScale {
    // Horizontal: 1 sample numbers, 2 decimal time "m:ss.dddd".
    // Vertical: 1 sample values (16-bit), 2 normalized values, 3 decibels.
    int ScaleFormat = 2;
    bool ScaleVisible = true;
};

// The smallest amplitude span the view shows, in percent of full scale: a
// vertical zoom value below it (0 or negative included) shows this span.
inline constexpr int kMinVerticalSpan = 10;

// Axis label of a sample position: format 1 the sample number, 2 the time
// "m:ss.dddd" (minutes not bounded).
QString ScaleXText(std::int64_t sample, int sampleRate, int format);
// Axis label of an amplitude (full scale 1.0): format 1 the 16-bit sample
// value, 2 the normalized value, 3 decibels ("-inf" at 0).
QString ScaleYText(double amplitude, int format);

class WaveformView : public QWidget {
    Q_OBJECT
public:
    explicit WaveformView(sw::TAudioEditor2& editor, QWidget* parent = nullptr);

    // The two colour sets of the workplace: dark (black background, green
    // wave) and light (white background, dark blue wave).
    void SetDarkColours(bool dark);
    bool DarkColours() const { return dark_; }
    QColor BackgroundColour() const;
    QColor WaveColour() const;
    // The amplitude axis spans +-percent of full scale (100 the whole
    // range, 50 twice as tall a wave, 200 half as tall). The value is kept
    // as given; spans below kMinVerticalSpan percent are shown as that.
    void SetVerticalZoom(int percent);
    int VerticalZoom() const { return verticalZoom_; }
    // The amplitude at the top of a lane.
    double VisibleAmplitude() const;
    // 0 waveform, 1 spectral.
    void SetTypeView(int type);
    int TypeView() const { return typeView_; }
    // How many spectral pictures were computed (the cache keeps the last).
    int SpectrumRenders() const { return spectrumRenders_; }

    // Axes.
    TEditorScale& ScaleX() { return scaleX_; }
    TEditorScale& ScaleY() { return scaleY_; }
    void SetScaleXFormat(int format);
    void SetScaleYFormat(int format);
    void SetScaleXVisible(bool visible);
    void SetScaleYVisible(bool visible);
    void SetScaleFont(const QFont& font, const QColor& colour);
    QFont ScaleFont() const { return scaleFont_; }
    QColor ScaleColour() const { return scaleColour_; }
    // Width in pixels of the frame between the axes and the wave area.
    void SetTypeBorder(int border);
    int TypeBorder() const { return typeBorder_; }

    // Geometry, for the mouse and for tests.
    QRect WaveArea() const;
    QRect ScaleXArea() const;   // empty when hidden
    QRect ScaleYArea() const;   // empty when hidden
    // The sample under column x of the wave area (clamped to the document)
    // and the column of a sample.
    std::int64_t SampleAt(int x) const;
    int XOf(std::int64_t sample) const;
    // The labels the axes show now, left to right and top to bottom.
    QStringList ScaleXLabels() const;
    QStringList ScaleYLabels() const;

signals:
    void OnScaleXClick(QPoint globalPos);
    void OnScaleYClick(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    struct Tick { int pos; QString text; };
    QList<Tick> xTicks() const;
    QList<Tick> yTicks(int top, int height) const;
    void view(std::int64_t& start, std::int64_t& end) const;
    void drawWave(QPainter& p, const QRect& area, int channels);
    void drawSpectrum(QPainter& p, const QRect& area, int channels);
    void drawMarkers(QPainter& p, const QRect& area);
    void drawScales(QPainter& p, const QRect& area, int channels);
    void selectTo(std::int64_t sample);

    sw::TAudioEditor2& editor_;
    bool dark_ = true;
    int verticalZoom_ = 100;
    int typeView_ = 0;
    TEditorScale scaleX_{2, true};
    TEditorScale scaleY_{3, true};
    QFont scaleFont_;
    QColor scaleColour_{0xA8, 0xDC, 0xF8};
    int typeBorder_ = 4;

    // Mouse selection.
    bool dragging_ = false;
    bool dragMoved_ = false;
    int pressX_ = 0;
    std::int64_t anchor_ = 0;

    // Spectral pictures of the lanes, kept while the document, the view and
    // the size stay the same.
    struct SpectrumKey {
        quint64 serial = 0;
        qint64 start = -1, end = -1;
        QSize size;
        bool dark = true;
        int channels = 0;
        bool operator==(const SpectrumKey&) const = default;
    };
    SpectrumKey spectrumKey_;
    QList<QImage> spectrum_;
    int spectrumRenders_ = 0;
};
