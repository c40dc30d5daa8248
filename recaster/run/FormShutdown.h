#pragma once
// The countdown before the machine is powered off at the end of a run:
// 30, 29, ... 0 and then OK, unless Cancel is pressed.
#include <QDialog>

class QLabel;
class QTimer;

namespace rc {

class TFormShutdown : public QDialog {
    Q_OBJECT
public:
    explicit TFormShutdown(const QString& title, QWidget* parent = nullptr);
    int Counter() const { return counter_; }
    QString TimeLeftText() const;
    QTimer* Timer() const { return timer_; }
    // One timer tick.
    void TimerTimer();

private:
    int counter_ = 30;
    QLabel* labelTime_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace rc
