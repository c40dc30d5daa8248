#pragma once
// The slider of the effect and format dialogs: an integer value between Min
// and Max moved in steps of Increment. Change fires on every change of the
// value (also when set by code); EndChange fires once after a user action
// ends (mouse release, a key, a wheel turn) that moved the value.
#include <QFlags>
#include <QSlider>

class TImageSlider : public QSlider {
    Q_OBJECT
public:
    enum Option { soShowPoints = 0x1, soSmooth = 0x2 };
    Q_DECLARE_FLAGS(Options, Option)

    explicit TImageSlider(QWidget* parent = nullptr);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Value() const { return value(); }
    int Increment() const { return singleStep(); }
    void SetMin(int v) { setMinimum(v); }
    void SetMax(int v) { setMaximum(v); }
    void SetRange(int lo, int hi) { setRange(lo, hi); }
    // Clamped to Min..Max.
    void SetValue(int v) { setValue(v); }
    void SetIncrement(int v);

    // soShowPoints draws a tick mark at every step; soSmooth is for long
    // ranges (no marks, Page Up/Down move ten steps).
    Options SliderOptions() const { return options_; }
    void SetOptions(Options o);

    QSize sizeHint() const override;

signals:
    void Change(int value);
    void EndChange(int value);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    void FinishUserAction(int before);
    Options options_;
    int pressValue_ = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TImageSlider::Options)
