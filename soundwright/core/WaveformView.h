#pragma once
// Draws the open document as a waveform, one lane per channel, from the
// engine's block summaries; shows the selection and the cursor.
#include <QImage>
#include <QList>
#include <QWidget>

namespace sw { class TAudioEditor2; }

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
    // Amplitude scale in percent (100 = full height); 0 or less draws the
    // wave as a flat line.
    void SetVerticalZoom(int percent);
    // 0 waveform, 1 spectral.
    void SetTypeView(int type);
    int TypeView() const { return typeView_; }
    // How many spectral pictures were computed (the cache keeps the last).
    int SpectrumRenders() const { return spectrumRenders_; }
    int VerticalZoom() const { return verticalZoom_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    sw::TAudioEditor2& editor_;
    bool dark_ = true;
    int verticalZoom_ = 100;
    int typeView_ = 0;
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
