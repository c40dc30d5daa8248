#pragma once
// Draws the open document as a waveform, one lane per channel, from the
// engine's block summaries; shows the selection and the cursor.
#include <QWidget>

namespace sw { class TAudioEditor2; }

class WaveformView : public QWidget {
    Q_OBJECT
public:
    explicit WaveformView(sw::TAudioEditor2& editor, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    sw::TAudioEditor2& editor_;
};
