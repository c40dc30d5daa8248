#include "FormProgress.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <QVBoxLayout>

#include "DialogConventions.h"

TFormProgress::TFormProgress(QWidget* parent) : QDialog(parent) {
    setObjectName("FormProgress");
    setWindowTitle("Processing...");
    setModal(false);
    ImageIcon = new QLabel(this);
    ImageIcon->setObjectName("ImageIcon");
    ImageIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    ImageIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    LabelProcess = new QLabel("Process audio data.", this);
    LabelProcess->setObjectName("LabelProcess");
    LabelWait = new QLabel("Please wait...", this);
    LabelWait->setObjectName("LabelWait");
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName("ProgressBar");
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(LabelProcess);
    texts->addWidget(LabelWait);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(ImageIcon);
    top->addLayout(texts, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->addLayout(top, 1);
    column->addWidget(ProgressBar);
    sw::ApplyHintFont(this);
}

TProgressDisplay::TProgressDisplay(QWidget* mainWindow, TFormProgress* form) : main_(mainWindow), form_(form) {}

void TProgressDisplay::ShowProgress(int percent, bool disableMain) {
    if (main_ && disableMain) main_->setEnabled(false);
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

void TProgressDisplay::HideProgress(bool enableMain) {
    if (main_ && enableMain) main_->setEnabled(true);
    if (!form_ || !form_->isVisible()) return;
    form_->hide();
    form_->setMinimumSize(0, 0);
    form_->resize(0, 0);
    form_->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}
