#pragma once
// Draws the open document as a waveform, one lane per channel, from the
// engine's block summaries; shows the selection and the cursor.
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
    int VerticalZoom() const { return verticalZoom_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    sw::TAudioEditor2& editor_;
    bool dark_ = true;
    int verticalZoom_ = 100;
};
