#include "FormShutdown.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace rc {

TFormShutdown::TFormShutdown(const QString& title, QWidget* parent) : QDialog(parent) {
    setObjectName("FormShutdown");
    setWindowTitle("Shutdown");
    auto* layout = new QVBoxLayout(this);
    auto* warning = new QLabel("Warning!", this);
    warning->setObjectName("LabelWarning");
    QFont f = warning->font();
    f.setBold(true);
    warning->setFont(f);
    auto* text = new QLabel(QStringLiteral("If you don't press cancel now, \r\n%1\r\nwill shutdown Windows.").arg(title), this);
    text->setObjectName("LabelText");
    labelTime_ = new QLabel(this);
    labelTime_->setObjectName("LabelTimeLeft");
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("ButtonCancel");
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* w : {static_cast<QWidget*>(warning), static_cast<QWidget*>(text), static_cast<QWidget*>(labelTime_)})
        layout->addWidget(w);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    labelTime_->setText(TimeLeftText());
    timer_ = new QTimer(this);
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TFormShutdown::TimerTimer);
    timer_->start();
    adjustSize();
    if (const QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

QString TFormShutdown::TimeLeftText() const { return QStringLiteral("Time left: %1").arg(counter_); }

void TFormShutdown::TimerTimer() {
    --counter_;
    if (counter_ >= 0) {
        labelTime_->setText(TimeLeftText());
    } else {
        timer_->stop();
        accept();
    }
}

}  // namespace rc
