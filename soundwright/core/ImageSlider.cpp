#include "ImageSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

TImageSlider::TImageSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setSingleStep(1);
    setPageStep(1);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QSlider::valueChanged, this, [this](int v) { emit Change(v); });
    SetOptions({});
}

void TImageSlider::SetIncrement(int v) {
    setSingleStep(v < 1 ? 1 : v);
    SetOptions(options_);
}

void TImageSlider::SetOptions(Options o) {
    options_ = o;
    if (o & soShowPoints) {
        setTickPosition(QSlider::TicksBelow);
        setTickInterval(singleStep());
    } else {
        setTickPosition(QSlider::NoTicks);
    }
    // A smooth slider covers a long range: Page Up/Down move ten steps.
    setPageStep(o & soSmooth ? 10 * singleStep() : singleStep());
}

QSize TImageSlider::sizeHint() const {
    QSize s = QSlider::sizeHint();
    return QSize(qMax(s.width(), 200), s.height());
}

void TImageSlider::mousePressEvent(QMouseEvent* e) {
    pressValue_ = value();
    QSlider::mousePressEvent(e);
}

void TImageSlider::mouseReleaseEvent(QMouseEvent* e) {
    QSlider::mouseReleaseEvent(e);
    FinishUserAction(pressValue_);
}

void TImageSlider::keyPressEvent(QKeyEvent* e) {
    const int before = value();
    QSlider::keyPressEvent(e);
    FinishUserAction(before);
}

void TImageSlider::wheelEvent(QWheelEvent* e) {
    const int before = value();
    QSlider::wheelEvent(e);
    FinishUserAction(before);
}

void TImageSlider::FinishUserAction(int before) {
    if (value() != before) emit EndChange(value());
}
