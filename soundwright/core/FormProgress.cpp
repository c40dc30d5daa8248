#include "FormProgress.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>

#include "DialogConventions.h"

TFormProgress::TFormProgress(QWidget* parent) : QDialog(parent) {
    setObjectName("FormProgress");
    setWindowTitle("Processing...");
    setModal(false);
    auto* grid = new QGridLayout(this);
    ImageIcon = new QLabel(this);
    ImageIcon->setObjectName("ImageIcon");
    ImageIcon->setPixmap(style()->standardIcon(QStyle::SP_MediaPlay).pixmap(32, 32));
    LabelProcess = new QLabel("Process audio data.", this);
    LabelProcess->setObjectName("LabelProcess");
    LabelWait = new QLabel("Please wait...", this);
    LabelWait->setObjectName("LabelWait");
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    grid->addWidget(ImageIcon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(LabelProcess, 0, 1);
    grid->addWidget(LabelWait, 1, 1);
    grid->addWidget(ProgressBar, 2, 0, 1, 2);
    sw::ApplyHintFont(this);
}

TProgressDisplay::TProgressDisplay(QWidget* mainWindow, TFormProgress* form) : main_(mainWindow), form_(form) {}

void TProgressDisplay::ShowProgress(int percent) {
    if (main_) main_->setEnabled(false);
    if (!form_) return;
    if (!form_->isVisible()) {
        form_->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint);
        form_->setMinimumSize(0, 0);
        form_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        form_->setFixedSize(300, 128);
        if (main_) {
            const QRect m = main_->frameGeometry();
            form_->move(m.left() + (m.width() - 300) / 2, m.top() + (m.height() - 128) / 2);
        }
        form_->show();
    }
    form_->ProgressBar->setValue(qBound(0, percent, 100));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TProgressDisplay::HideProgress() {
    if (main_) main_->setEnabled(true);
    if (!form_ || !form_->isVisible()) return;
    form_->hide();
    form_->setMinimumSize(0, 0);
    form_->resize(0, 0);
    form_->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}
