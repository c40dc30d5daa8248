#include "NewFileForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogButtonRow.h"
#include "DialogConventions.h"
#include "Help.h"

TNewFileForm::TNewFileForm(QWidget* parent) : QDialog(parent) {
    setObjectName("NewFileForm");
    setWindowTitle("New Sample");
    auto* column = new QVBoxLayout(this);
    auto* rateRow = new QHBoxLayout;
    auto* rateLabel = new QLabel("&Sample Rate:", this);
    cbSampleRate = new QComboBox(this);
    cbSampleRate->setObjectName("cbSampleRate");
    cbSampleRate->addItems({"96,000", "88,200", "48,000", "44,100", "32,000", "24,000", "22,050", "16,000",
                            "12,000", "11,025", "8,000", "6,000"});
    cbSampleRate->setCurrentIndex(3);
    rateLabel->setBuddy(cbSampleRate);
    rateRow->addWidget(rateLabel);
    rateRow->addWidget(cbSampleRate, 1);
    column->addLayout(rateRow);
    auto* channels = new QGroupBox("&Channels: ", this);
    auto* cl = new QVBoxLayout(channels);
    rbStereo = new QRadioButton("Ste&reo (Dual)", channels);
    rbStereo->setObjectName("rbStereo");
    rbStereo->setChecked(true);
    rbMono = new QRadioButton("&Mono (Single)", channels);
    rbMono->setObjectName("rbMono");
    cl->addWidget(rbStereo);
    cl->addWidget(rbMono);
    column->addWidget(channels);
    column->addLayout(sw::DialogButtonRow(this, &ButtonOK, &ButtonCancel, &ButtonHelp));
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonHelp, &QPushButton::clicked, this,
            [this] { sw::ShowHelpTopicGuarded(this, "CreateOpenandSaveaudiofiles"); });
    // Drawn in Tahoma; the hint font takes its place already here, so the
    // size is right when the dialog is placed over its owner.
    setFont(QFont("Tahoma", font().pointSize()));
    sw::ApplyHintFont(this);
}

void TNewFileForm::showEvent(QShowEvent* event) {
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

