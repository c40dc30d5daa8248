#include "ConvertSampleRateForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "DialogButtonRow.h"
#include "DialogConventions.h"

TConvertSampleRateForm::TConvertSampleRateForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ConvertSampleRateForm");
    setWindowTitle("Convert Sample Rate");
    auto* column = new QVBoxLayout(this);
    auto* rateGroup = new QGroupBox("Sample Rate:", this);
    auto* rl = new QHBoxLayout(rateGroup);
    rl->addWidget(new QLabel("New Sample Rate:", rateGroup));
    ComboBoxRate = new QComboBox(rateGroup);
    ComboBoxRate->setObjectName("ComboBoxRate");
    ComboBoxRate->addItems({"96000 Hz", "88200 Hz", "48000 Hz", "44100 Hz", "32000 Hz", "22050 Hz", "16000 Hz",
                            "11025 Hz", "8000 Hz", "6000 Hz"});
    ComboBoxRate->setCurrentIndex(3);
    rl->addWidget(ComboBoxRate, 1);
    column->addWidget(rateGroup);
    GroupBoxSChannels = new QGroupBox("Channels", this);
    GroupBoxSChannels->setObjectName("GroupBoxSChannels");
    auto* cl = new QHBoxLayout(GroupBoxSChannels);
    RadioButtonMono = new QRadioButton("Mono", GroupBoxSChannels);
    RadioButtonMono->setObjectName("RadioButtonMono");
    RadioButtonStereo = new QRadioButton("Stereo", GroupBoxSChannels);
    RadioButtonStereo->setObjectName("RadioButtonStereo");
    RadioButtonStereo->setChecked(true);
    cl->addWidget(RadioButtonMono);
    cl->addWidget(RadioButtonStereo);
    column->addWidget(GroupBoxSChannels);
    column->addLayout(sw::DialogButtonRow(this, &ButtonOK, &ButtonCancel, nullptr));
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    // Drawn in Tahoma; the hint font takes its place already here, so the
    // size is right when the dialog is placed over its owner.
    setFont(QFont("Tahoma", font().pointSize()));
    sw::ApplyHintFont(this);
}

void TConvertSampleRateForm::showEvent(QShowEvent* event) {
    sw::ApplyHintFont(this);
    QDialog::showEvent(event);
}

